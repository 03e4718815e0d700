#include "ui/editorapplication.h"

#include <gtest/gtest.h>

// Widget tests need one application object for the whole run; the platform is offscreen.
int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    EditorApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
