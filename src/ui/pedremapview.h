#pragma once

#include <QImage>
#include <QWidget>

class Prompts;
class QSpinBox;
class StretchedImageView;
struct StyleDocument;

// The ped remap viewer of the "tool" page: one pedestrian picture, shown at twice its size, in
// the colours of the remap the number field names, with "open bmp" and "save bmp".
class PedRemapView : public QWidget {
    Q_OBJECT
public:
    explicit PedRemapView(Prompts *prompts, QWidget *parent = nullptr);

    // After each load and each change of the document: the picture takes the remap's colours
    // again, unless it still shows the colours of the file "open bmp" read, which stay until the
    // remap number changes. A remap the new document has no palette for keeps the colours
    // quietly; the user is told only when choosing a number.
    void setDocument(const StyleDocument *doc);
    // A press on the palette table picks the remap number.
    void setRemap(int remap);

    void setPrompts(Prompts *prompts) { prompts_ = prompts; }
    int remap() const;
    const QImage &picture() const { return picture_; }

private:
    void remapChanged(int remap);
    void openBmp();
    void saveBmp();
    void showPicture();

    Prompts *prompts_;
    const StyleDocument *doc_ = nullptr;
    QImage picture_;
    // The picture shows the colours of its file, not those of a remap.
    bool fileColours_ = false;
    QSpinBox *number_;
    StretchedImageView *pedview_;
};
