#include "window/ui/click_tracker.h"
#include "window/ui/controls.h"
#include "window/ui/moon_picture.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

namespace kalvo {
namespace {

enum class Step { Press, Release, DoubleClick };

struct MouseStep {
    Step step;
    Qt::MouseButton button = Qt::LeftButton;
    QPoint at{5, 5};
};

int clicksOf(const std::vector<MouseStep>& steps) {
    ClickTracker tracker;
    const QRect area(0, 0, 20, 20);
    int clicks = 0;
    for (const MouseStep& s : steps) {
        const QEvent::Type type = s.step == Step::Press     ? QEvent::MouseButtonPress
                                  : s.step == Step::Release ? QEvent::MouseButtonRelease
                                                            : QEvent::MouseButtonDblClick;
        QMouseEvent event(type, s.at, QPointF(s.at), s.button, s.button, Qt::NoModifier);
        if (s.step == Step::Press) tracker.press(&event);
        else if (s.step == Step::DoubleClick) tracker.doubleClick(&event);
        else if (tracker.release(&event, area)) ++clicks;
    }
    return clicks;
}

TEST(ClickTracker, APressAndAReleaseInsideMakeAClick) {
    const struct {
        const char* what;
        std::vector<MouseStep> steps;
        int clicks;
    } cases[] = {
        {"click", {{Step::Press}, {Step::Release}}, 1},
        {"released outside", {{Step::Press}, {Step::Release, Qt::LeftButton, {30, 5}}}, 0},
        {"right button", {{Step::Press, Qt::RightButton}, {Step::Release, Qt::RightButton}}, 0},
        {"release alone", {{Step::Release}}, 0},
        {"double-click", {{Step::Press}, {Step::Release}, {Step::Press}, {Step::DoubleClick}, {Step::Release}}, 1},
        {"two clicks", {{Step::Press}, {Step::Release}, {Step::Press}, {Step::Release}}, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(clicksOf(c.steps), c.clicks) << c.what;
}

// Both kinds of clickable widget count a double-click as one click.
TEST(ClickTracker, WidgetsTakeADoubleClickAsOneClick) {
    ClickLabel label;
    MoonPicture picture;
    for (QWidget* w : std::initializer_list<QWidget*>{&label, &picture}) {
        w->resize(40, 40);
        QSignalSpy clicked(w, SIGNAL(clicked()));
        const QPoint at(3, 3);
        QTest::mousePress(w, Qt::LeftButton, {}, at);
        QTest::mouseRelease(w, Qt::LeftButton, {}, at);
        QTest::mousePress(w, Qt::LeftButton, {}, at);
        QTest::mouseDClick(w, Qt::LeftButton, {}, at);
        QTest::mouseRelease(w, Qt::LeftButton, {}, at);
        EXPECT_EQ(clicked.count(), 1) << w->metaObject()->className();
    }
}

}  // namespace
}  // namespace kalvo
