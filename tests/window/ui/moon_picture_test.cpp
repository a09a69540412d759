#include "window/ui/moon_picture.h"

#include <gtest/gtest.h>
#include <QPalette>

namespace kalvo {
namespace {

const QColor kYellow(255, 255, 0);

// An empty black picture 80 pixels square (1200 twips), as in the window.
void makeBlank(MoonPicture& widget) {
    QPalette pal = widget.palette();
    pal.setColor(QPalette::Window, Qt::black);
    widget.setPalette(pal);
    widget.resize(80, 80);
    widget.clear();
}

// The same with the right half lit.
struct Picture {
    MoonPicture widget;
    Picture() {
        makeBlank(widget);
        widget.drawPie(0, 0, 150, 270, 90, kYellow);
    }
};

TEST(MoonPicture, UserCoordinatesAndSectorAngles) {
    MoonPicture w;
    makeBlank(w);
    // (0, 0) in the middle, y downwards: a small disc at x = 100, y = 100 is lower right.
    w.drawEllipse(100, 100, 10, 10, kYellow);
    // Angles counter-clockwise on screen: 0 -> 90 runs from the right point to the top.
    w.drawPie(0, 0, 50, 0, 90, kYellow);
    const QImage img = w.render(QSize(400, 400));
    EXPECT_EQ(img.pixelColor(300, 300), kYellow);
    EXPECT_EQ(img.pixelColor(100, 300), QColor(Qt::black));
    EXPECT_EQ(img.pixelColor(220, 180), kYellow);            // upper right of the centre
    EXPECT_EQ(img.pixelColor(220, 220), QColor(Qt::black));  // lower right
    EXPECT_EQ(img.pixelColor(180, 180), QColor(Qt::black));  // upper left
}

TEST(MoonPicture, ClearForgetsTheFigures) {
    Picture p;
    p.widget.clear();
    QImage black(p.widget.image().size(), QImage::Format_RGB32);
    black.fill(Qt::black);
    EXPECT_EQ(p.widget.image(), black);
}

TEST(MoonPicture, FigureSurvivesHidingShowingAndRepaints) {
    Picture p;
    const QImage drawn = p.widget.image();
    p.widget.show();
    EXPECT_EQ(p.widget.grab().toImage().convertToFormat(QImage::Format_RGB32), drawn);
    p.widget.hide();
    p.widget.show();
    p.widget.repaint();
    EXPECT_EQ(p.widget.image(), drawn);
    EXPECT_EQ(p.widget.grab().toImage().convertToFormat(QImage::Format_RGB32), drawn);
}

TEST(MoonPicture, ResizingRedrawsAtTheNewSize) {
    Picture p;
    p.widget.resize(160, 160);
    const QImage big = p.widget.image();
    ASSERT_EQ(big.size(), QSize(160, 160));
    EXPECT_EQ(big, p.widget.render(QSize(160, 160)));  // drawn afresh, not stretched
    EXPECT_EQ(big.pixelColor(120, 80), kYellow);
    EXPECT_EQ(big.pixelColor(40, 80), QColor(Qt::black));
    p.widget.resize(80, 80);
    EXPECT_EQ(p.widget.image(), p.widget.render(QSize(80, 80)));
}

TEST(MoonPicture, DrawsWhileHidden) {
    Picture p;
    p.widget.hide();
    p.widget.clear();
    p.widget.drawPie(0, 0, 150, 90, 270, kYellow);  // now the left half
    p.widget.show();
    const QImage shown = p.widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.pixelColor(20, 40), kYellow);
    EXPECT_EQ(shown.pixelColor(60, 40), QColor(Qt::black));
}

TEST(MoonPicture, NewBackgroundColourRedrawsTheBackground) {
    Picture p;
    QPalette pal = p.widget.palette();
    pal.setColor(QPalette::Window, Qt::blue);
    p.widget.setPalette(pal);
    EXPECT_EQ(p.widget.image().pixelColor(2, 2), QColor(Qt::blue));
    EXPECT_EQ(p.widget.image().pixelColor(60, 40), kYellow);
}

TEST(MoonPicture, UnusableSizesDrawNothing) {
    Picture p;
    const QImage before = p.widget.image();
    p.widget.drawEllipse(0, 0, std::numeric_limits<double>::infinity(), 150, Qt::red);
    p.widget.drawEllipse(0, 0, std::numeric_limits<double>::quiet_NaN(), 150, Qt::red);
    p.widget.drawPie(0, 0, 1e300, 0, 90, Qt::red);
    EXPECT_EQ(p.widget.image(), before);
    p.widget.drawEllipse(0, 0, 0, 150, Qt::red);  // a line of width zero: only the outline
    EXPECT_EQ(p.widget.image().pixelColor(40, 20).red(), 255);
}

}  // namespace
}  // namespace kalvo
