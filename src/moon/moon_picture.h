// The moon picture box: a square with a user coordinate system from -200 to 200 units
// in both directions (3 twips a unit, y downwards, (0,0) in the centre). The figures
// drawn since the last clear are kept as a short list and rendered into a backing
// image at the widget's size in device pixels, so the picture survives every repaint
// (covering, hiding and showing) and stays sharp when the size or the screen's pixel
// ratio changes. Drawing works while the widget is hidden, too. With the keyboard focus
// it shows a dotted frame over the picture, and Space or Enter presses it as a click does.
#pragma once

#include "ui/click_tracker.h"

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
    void resizeEvent(QResizeEvent* event) override;
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
    };
    QSize devicePixelSize() const;
    void refreshImage() const;  // re-renders when the size in device pixels changed
    void paintFigure(QImage& target, const Figure& figure) const;
    void addFigure(const Figure& figure);

    std::vector<Figure> figures_;
    mutable QImage image_;
    ClickTracker clicks_;
};

}  // namespace kalvo
