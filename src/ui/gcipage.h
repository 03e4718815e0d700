#pragma once

#include <QPlainTextEdit>

struct DocumentChange;
struct PageContext;

// The "GCI raw editor" page: the car script as text. What the user types goes to the document
// through the runner as a free-text edit; the script shown from the document is not handed back.
class GciPage : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit GciPage(const PageContext &context, QWidget *parent = nullptr);

    // Shows the document's script, keeping the page's own undo and scroll.
    void refresh();
    // Shows the script again when `change` altered it and did not come from this page.
    void showChange(const DocumentChange &change);

private:
    const PageContext &context_;
    bool showing_ = false;
};
