#include "moon/moon_picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace kalvo {

MoonPicture::MoonPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resetImage();
}

void MoonPicture::resetImage() {
    // The backing image is kept at a fixed resolution of the user scale times the
    // device pixel ratio, so the drawing is independent of the widget's geometry.
    const qreal ratio = devicePixelRatioF();
    const int side = static_cast<int>(std::max(width(), height()) * ratio);
    image_ = QImage(std::max(side, 1), std::max(side, 1), QImage::Format_RGB32);
    image_.fill(background_);
}

void MoonPicture::setBackground(const QColor& color) { background_ = color; }

void MoonPicture::clear() {
    resetImage();
    update();
}

namespace {

// Maps user units onto the image.
QTransform userTransform(const QImage& image) {
    const double scale = image.width() / MoonPicture::kUnits;
    QTransform t;
    t.translate(image.width() / 2.0, image.height() / 2.0);
    t.scale(scale, scale);
    return t;
}

}  // namespace

void MoonPicture::drawPie(double cx, double cy, double radius, double startDeg, double endDeg, const QColor& color) {
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(userTransform(image_));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    double span = endDeg - startDeg;
    if (span <= 0) span += 360.0;
    QPainterPath path;
    path.moveTo(cx, cy);
    // QPainterPath angles are counter-clockwise as seen on screen, as ours are.
    path.arcTo(QRectF(cx - radius, cy - radius, 2 * radius, 2 * radius), startDeg, span);
    path.closeSubpath();
    p.drawPath(path);
    update();
}

void MoonPicture::drawEllipse(double cx, double cy, double rx, double ry, const QColor& color) {
    QPainter p(&image_);
    p.setRenderHint(QPainter::Antialiasing);
    p.setTransform(userTransform(image_));
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(QPointF(cx, cy), rx, ry);
    update();
}

void MoonPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(rect(), image_);
}

void MoonPicture::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (image_.width() < static_cast<int>(std::max(width(), height()) * devicePixelRatioF())) {
        const QImage old = image_;
        resetImage();
        QPainter p(&image_);
        p.drawImage(image_.rect(), old);
    }
}

void MoonPicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) pressed_ = true;
}

void MoonPicture::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    if (click) emit clicked();
}

}  // namespace kalvo
