#pragma once

#include <QImage>
#include <algorithm>

// A rectangle of an 8-bit image, drawn through its row pointers; writes outside it are dropped.
class Canvas {
public:
    Canvas(QImage &image, int x, int y, int w, int h)
        : bits_(image.bits() + static_cast<qsizetype>(y) * image.bytesPerLine() + x),
          stride_(image.bytesPerLine()), w_(w), h_(h) {}
    explicit Canvas(QImage &image) : Canvas(image, 0, 0, image.width(), image.height()) {}

    int width() const { return w_; }
    int height() const { return h_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < w_ && y < h_; }
    uchar at(int x, int y) const { return contains(x, y) ? bits_[y * stride_ + x] : 0; }
    void set(int x, int y, uchar v) {
        if (contains(x, y))
            bits_[y * stride_ + x] = v;
    }
    uchar *row(int y) { return bits_ + static_cast<qsizetype>(y) * stride_; }
    void fillRect(int x, int y, int w, int h, uchar v) {
        for (int yy = std::max(y, 0); yy < std::min(y + h, h_); ++yy)
            for (int xx = std::max(x, 0); xx < std::min(x + w, w_); ++xx)
                bits_[yy * stride_ + xx] = v;
    }

private:
    uchar *bits_;
    qsizetype stride_;
    int w_;
    int h_;
};
