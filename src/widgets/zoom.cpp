#include "widgets/zoom.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

namespace {

// Turns Ctrl + wheel over a viewport into zoom steps; other wheel turns scroll as before.
class WheelZoom : public QObject {
public:
    WheelZoom(QAbstractScrollArea *area, std::function<void(int, QPoint)> step)
        : QObject(area), step_(std::move(step)) {}

    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() != QEvent::Wheel)
            return false;
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier))
            return false;
        // Touch pads send many small turns; a step is one notch of a wheel.
        pending_ += wheel->angleDelta().y();
        const int steps = pending_ / QWheelEvent::DefaultDeltasPerStep;
        pending_ -= steps * QWheelEvent::DefaultDeltasPerStep;
        if (steps != 0)
            step_(steps, wheel->position().toPoint());
        return true;
    }

private:
    std::function<void(int, QPoint)> step_;
    int pending_ = 0;
};

// The pixel grid over picture pixels `rect` of a picture drawn at `origin`.
void drawPixelGrid(QPainter &painter, QPoint origin, int zoom, const QRect &rect) {
    if (zoom < PixelGridZoom || rect.isEmpty())
        return;
    painter.setPen(QColor::fromRgb(PixelGridColour));
    const int left = origin.x() + rect.left() * zoom;
    const int top = origin.y() + rect.top() * zoom;
    const int right = origin.x() + (rect.right() + 1) * zoom - 1;
    const int bottom = origin.y() + (rect.bottom() + 1) * zoom - 1;
    for (int x = rect.left(); x <= rect.right(); ++x)
        painter.drawLine(origin.x() + x * zoom, top, origin.x() + x * zoom, bottom);
    for (int y = rect.top(); y <= rect.bottom(); ++y)
        painter.drawLine(left, origin.y() + y * zoom, right, origin.y() + y * zoom);
}

} // namespace

int clampedZoom(int zoom) {
    return std::clamp(zoom, MinZoom, MaxZoom);
}

QPoint unzoomed(QPoint point, int zoom) {
    const auto floored = [zoom](int v) {
        return v >= 0 ? v / zoom : -((-v + zoom - 1) / zoom);
    };
    return QPoint(floored(point.x()), floored(point.y()));
}

void drawZoomed(QPainter &painter, const QImage &image, QPoint origin, int zoom, const QRect &exposed) {
    if (image.isNull())
        return;
    if (zoom == 1) {
        const QRect source = exposed.translated(-origin) & image.rect();
        painter.drawImage(source.topLeft() + origin, image, source);
        return;
    }
    const QRect shown = exposed.translated(-origin);
    const QRect source =
        QRect(unzoomed(shown.topLeft(), zoom), unzoomed(shown.bottomRight(), zoom)) & image.rect();
    if (source.isEmpty())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect target(origin + source.topLeft() * zoom, source.size() * zoom);
    painter.drawImage(target, image, source);
    drawPixelGrid(painter, origin, zoom, source);
}

QPoint zoomedOrigin(QPoint origin, QSize picture, QPoint anchor, int before, int after) {
    if (picture.isEmpty())
        return origin;
    // The screen point that stays: the anchor, or off the picture its nearest edge, so that the
    // picture stays in sight. Its distance into the picture scales with it; flooring keeps it in the
    // same picture pixel.
    const auto into = [before](int distance, int side) {
        return qint64(std::clamp(distance, 0, side * before - 1));
    };
    const qint64 x = into(anchor.x() - origin.x(), picture.width());
    const qint64 y = into(anchor.y() - origin.y(), picture.height());
    return origin + QPoint(int(x - x * after / before), int(y - y * after / before));
}

PicturePlacement placePicture(QPoint origin, QSize shown, QSize view) {
    const auto place = [](int at, int picture, int room, int &margin, int &scroll, int &content) {
        margin = std::max(0, at);
        scroll = std::max(0, -at);
        // Scrolling takes the picture from where the zoom put it back to the view's edge.
        content = at == 0 ? picture : margin + std::max(picture, scroll + room);
    };
    PicturePlacement placed;
    int width = 0;
    int height = 0;
    place(origin.x(), shown.width(), view.width(), placed.margin.rx(), placed.scroll.rx(), width);
    place(origin.y(), shown.height(), view.height(), placed.margin.ry(), placed.scroll.ry(), height);
    placed.content = QSize(width, height);
    return placed;
}

void addZoomControls(QWidget *page, QAbstractScrollArea *area, const std::function<int()> &zoom,
                     const std::function<void(int, QPoint)> &setZoom) {
    const auto step = [zoom, setZoom](int steps, QPoint anchor) {
        setZoom(clampedZoom(zoom() + steps), anchor);
    };
    area->viewport()->installEventFilter(new WheelZoom(area, step));
    const auto middle = [area] {
        return area->viewport()->rect().center();
    };
    const auto shortcut = [page](const QList<QKeySequence> &keys, const QString &name,
                                 const std::function<void()> &run) {
        auto *action = new QAction(name, page);
        action->setShortcuts(keys);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(action, &QAction::triggered, page, run);
        page->addAction(action);
    };
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)},
             QStringLiteral("Zoom in"), [step, middle] { step(1, middle()); });
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_Minus)}, QStringLiteral("Zoom out"),
             [step, middle] { step(-1, middle()); });
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_0)}, QStringLiteral("Actual size"),
             [setZoom, middle] { setZoom(MinZoom, middle()); });
}
