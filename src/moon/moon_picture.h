// The moon picture box: a black square with a user coordinate system from -200 to 200
// units in both directions (3 twips a unit, y downwards, (0,0) in the centre). What is
// drawn is kept in a backing image, so it survives every repaint.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace kalvo {

class MoonPicture : public QWidget {
    Q_OBJECT
public:
    explicit MoonPicture(QWidget* parent = nullptr);

    static constexpr double kUnits = 400.0;  // width and height in user units

    void setBackground(const QColor& color);
    void clear();
    // A filled circular sector; angles in degrees, counter-clockwise from the positive x
    // axis as seen on screen, running from startDeg to endDeg.
    void drawPie(double cx, double cy, double radius, double startDeg, double endDeg, const QColor& color);
    // A filled ellipse with horizontal semi-axis rx and vertical semi-axis ry.
    void drawEllipse(double cx, double cy, double rx, double ry, const QColor& color);

    const QImage& image() const { return image_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void resetImage();
    QImage image_;
    QColor background_{Qt::black};
    bool pressed_ = false;
};

}  // namespace kalvo
