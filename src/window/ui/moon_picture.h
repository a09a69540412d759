// The moon picture box: a square with a user coordinate system from -200 to 200 units
// in both directions (3 twips a unit, y downwards, (0,0) in the centre). The figures
// drawn since the last clear are kept as a short list and rendered into a backing
// image at the widget's size in device pixels, so the picture survives every repaint
// (covering, hiding and showing) and stays sharp when the size or the screen's pixel
// ratio changes. Drawing works while the widget is hidden, too. With the keyboard focus
// it shows a dotted frame over the picture, and Space or Enter presses it as a click does.
//
// A clear followed by the same figures as before leaves the screen alone: the widget
// asks for a repaint only once the event loop runs again and the list differs from the
// one last shown. The image is rendered when it is needed (a paint, image()), starting
// from a kept copy of the background with the first figure where one fits, as the
// window's first figure is always one of the two halves of the disc.
#pragma once

#include "window/ui/click_tracker.h"

#include <QColor>
#include <QImage>
#include <QWidget>
#include <vector>

namespace kalvo {

class MoonPicture : public QWidget {
    Q_OBJECT
public:
    explicit MoonPicture(QWidget* parent = nullptr);

    static constexpr double kUnits = 400.0;  // width and height in user units

    // Clears to the background colour (the palette's window colour) and forgets every figure.
    void clear();
    // A filled circular sector; angles in degrees, counter-clockwise from the positive x
    // axis as seen on screen, running from startDeg to endDeg.
    void drawPie(double cx, double cy, double radius, double startDeg, double endDeg, const QColor& color);
    // A filled ellipse with horizontal semi-axis rx and vertical semi-axis ry.
    void drawEllipse(double cx, double cy, double rx, double ry, const QColor& color);

    // The backing image: the widget's size in device pixels (brought up to date first,
    // as a hidden widget learns of a resize only when it is shown).
    const QImage& image() const;
    // The current picture rendered at any size in pixels.
    QImage render(const QSize& pixels) const;

    // A press that did not come from the mouse: Space or Enter while it has the focus,
    // a screen reader's press action.
    void click() { emit clicked(); }

signals:
    void clicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;  // not a second click
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Figure {
        bool pie = false;
        double cx = 0, cy = 0, rx = 0, ry = 0;
        double startDeg = 0, spanDeg = 0;  // pies only
        QColor color;
        bool operator==(const Figure&) const = default;
    };
    // The background with one figure on it, at one size.
    struct Base {
        QColor background;
        Figure figure;
        QImage image;
    };
    QSize devicePixelSize() const;
    void refreshImage() const;  // re-renders when the figures, colour or size changed
    void paintFigure(QImage& target, const Figure& figure) const;
    const QImage& baseImage(const QSize& pixels) const;  // background and first figure
    void renderInto(QImage& target) const;               // the figures at the target's size
    void addFigure(const Figure& figure);
    void figuresChanged();
    void showFigures();  // the figures differ from the screen's: repaint

    std::vector<Figure> figures_;
    std::vector<Figure> shown_;  // the figures the last repaint request was for
    bool checkPending_ = false;
    mutable QImage image_;
    mutable bool stale_ = true;
    mutable std::vector<Base> bases_;  // at most two: the left and the right half
    ClickTracker clicks_;
};

}  // namespace kalvo
