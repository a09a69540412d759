#include "window/ui/moon_picture.h"

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstring>

namespace kalvo {

namespace {

// User units onto a target of the given size: -200..200 across each side.
QTransform userTransform(const QSize& target) {
    QTransform t;
    t.translate(target.width() / 2.0, target.height() / 2.0);
    t.scale(target.width() / MoonPicture::kUnits, target.height() / MoonPicture::kUnits);
    return t;
}

// A figure drawn within a few thousand times the box's size is all that can show;
// anything else (infinite or absurd sizes) is left out rather than handed to the painter.
bool drawable(double v) { return std::isfinite(v) && std::fabs(v) < 1e6; }

}  // namespace

MoonPicture::MoonPicture(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

QSize MoonPicture::devicePixelSize() const {
    const qreal ratio = devicePixelRatioF();
    return QSize(std::max(1, static_cast<int>(std::lround(width() * ratio))),
                 std::max(1, static_cast<int>(std::lround(height() * ratio))));
}

// Each figure is painted by a painter of its own, so a kept base gives the same pixels
// as painting it afresh.
const QImage& MoonPicture::baseImage(const QSize& pixels) const {
    const QColor background = palette().color(QPalette::Window);
    for (const Base& b : bases_)
        if (b.image.size() == pixels && b.background == background && b.figure == figures_.front()) return b.image;
    QImage base(pixels, QImage::Format_RGB32);
    base.fill(background);
    paintFigure(base, figures_.front());
    if (bases_.size() == 2) bases_.erase(bases_.begin());
    bases_.push_back({background, figures_.front(), std::move(base)});
    return bases_.back().image;
}

void MoonPicture::renderInto(QImage& target) const {
    if (figures_.empty()) {
        target.fill(palette().color(QPalette::Window));
        return;
    }
    // Copied into the target's own pixels: no new image each time.
    const QImage& base = baseImage(target.size());
    std::memcpy(target.bits(), base.constBits(), static_cast<size_t>(base.sizeInBytes()));
    for (size_t i = 1; i < figures_.size(); ++i) paintFigure(target, figures_[i]);
}

QImage MoonPicture::render(const QSize& pixels) const {
    QImage target(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    renderInto(target);
    return target;
}

void MoonPicture::refreshImage() const {
    const QSize size = devicePixelSize();
    if (!stale_ && image_.size() == size) return;
    if (image_.size() != size) image_ = QImage(size, QImage::Format_RGB32);
    renderInto(image_);
    stale_ = false;
}

const QImage& MoonPicture::image() const {
    refreshImage();
    return image_;
}

void MoonPicture::clear() {
    figures_.clear();
    figuresChanged();
}

// A drawing is a clear and a few figures in one go; whether the screen must change is
// known when it is done, so the comparison waits for the event loop. It runs before the
// window's pending repaint, which then takes the picture along.
void MoonPicture::figuresChanged() {
    stale_ = true;
    if (checkPending_) return;
    checkPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            checkPending_ = false;
            if (figures_ != shown_) showFigures();
        },
        Qt::QueuedConnection);
}

void MoonPicture::showFigures() {
    shown_ = figures_;
    update();
}

void MoonPicture::paintFigure(QImage& target, const Figure& f) const {
    QPainter p(&target);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(userTransform(target.size()));
    // Outline and fill in the same colour; the outline is one pixel wide at any scale.
    QPen pen(f.color);
    pen.setCosmetic(true);
    pen.setWidthF(1.0);
    p.setPen(pen);
    p.setBrush(f.color);
    const QRectF box(f.cx - f.rx, f.cy - f.ry, 2 * f.rx, 2 * f.ry);
    if (f.pie) {
        QPainterPath path;
        path.moveTo(f.cx, f.cy);
        // QPainterPath angles run counter-clockwise as seen on screen, as ours do.
        path.arcTo(box, f.startDeg, f.spanDeg);
        path.closeSubpath();
        p.drawPath(path);
    } else {
        p.drawEllipse(box);
    }
}

void MoonPicture::addFigure(const Figure& figure) {
    figures_.push_back(figure);
    figuresChanged();
}

void MoonPicture::drawPie(double cx, double cy, double radius, double startDeg, double endDeg, const QColor& color) {
    if (!drawable(cx) || !drawable(cy) || !drawable(radius) || !drawable(startDeg) || !drawable(endDeg)) return;
    double span = std::fmod(endDeg - startDeg, 360.0);
    if (span <= 0) span += 360.0;
    addFigure({true, cx, cy, std::fabs(radius), std::fabs(radius), startDeg, span, color});
}

void MoonPicture::drawEllipse(double cx, double cy, double rx, double ry, const QColor& color) {
    if (!drawable(cx) || !drawable(cy) || !drawable(rx) || !drawable(ry)) return;
    addFigure({false, cx, cy, std::fabs(rx), std::fabs(ry), 0, 0, color});
}

void MoonPicture::paintEvent(QPaintEvent*) {
    refreshImage();  // the screen's pixel ratio may have changed since the last paint
    QPainter p(this);
    p.drawImage(rect(), image_);
    if (hasFocus()) {  // drawn over the picture only: image() stays the figure alone
        p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));  // the fore colour, yellow
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void MoonPicture::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) && !event->isAutoRepeat() &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        event->accept();
        click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MoonPicture::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void MoonPicture::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void MoonPicture::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) {  // a new background colour
        stale_ = true;
        update();
    }
}

void MoonPicture::mousePressEvent(QMouseEvent* event) { clicks_.press(event); }

void MoonPicture::mouseDoubleClickEvent(QMouseEvent* event) { clicks_.doubleClick(event); }

void MoonPicture::mouseReleaseEvent(QMouseEvent* event) {
    if (clicks_.release(event, rect())) emit clicked();
}

}  // namespace kalvo
