#pragma once

#include <QPlainTextEdit>

struct StyleDocument;

// The side panel's "info" tab: what the selected sprite or tile holds.
class InfoPanel : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit InfoPanel(const StyleDocument &document, QWidget *parent = nullptr);

    void describeSprite(int sprite);
    // `fileName` is the name the tile's export proposes, empty when the pattern is not valid.
    void describeTile(int tile, const QString &fileName);

private:
    const StyleDocument &document_;
};
