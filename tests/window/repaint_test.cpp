// What one click repaints: the controls whose text, colour or picture changed, and what
// Qt has to paint with them because it lies over or under them. Any other repaint is
// work the click did not need.
#include "support/window_fixture.h"

#include <QPaintEvent>
#include <QTest>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <set>

namespace kalvo::test {
namespace {

QRect inWindow(const QWidget* w, const QWidget* window) { return QRect(w->mapTo(window, QPoint()), w->size()); }

// Records the paint events of the window's controls, and the window's own paint of a
// spot that no control covers, which marks the end of a repaint the test asked for.
class PaintLog : public QObject {
public:
    explicit PaintLog(QWidget* window) : window_(window) {
        for (int y = 0; y < window->height() && spot_.x() < 0; ++y)
            for (int x = 0; x < window->width() && spot_.x() < 0; ++x)
                if (!window->childAt(x, y)) spot_ = QPoint(x, y);
        qApp->installEventFilter(this);
    }
    ~PaintLog() override { qApp->removeEventFilter(this); }
    bool hasSpot() const { return spot_.x() >= 0; }

    // Lets every repaint that is due happen: twice, as a repaint may ask for another.
    bool settle() {
        for (int pass = 0; pass < 2; ++pass) {
            spotPainted_ = false;
            window_->update(QRect(spot_, QSize(1, 1)));
            if (!QTest::qWaitFor([this] { return spotPainted_; }, 10000)) return false;
        }
        return true;
    }

    std::set<QWidget*> painted;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() != QEvent::Paint || !object->isWidgetType()) return false;
        auto* w = static_cast<QWidget*>(object);
        if (w == window_) spotPainted_ |= static_cast<QPaintEvent*>(event)->region().contains(spot_);
        else if (window_->isAncestorOf(w)) painted.insert(w);
        return false;
    }

private:
    QWidget* window_;
    QPoint spot_{-1, -1};
    bool spotPainted_ = false;
};

using Repaints = WindowTest;

TEST_F(Repaints, OneClickRepaintsWhatChangedAndWhatLiesOnIt) {
    struct Case {
        const char* what;
        const char* target;  // the control clicked
        QPoint at;           // in the control
        std::vector<const char*> changed;
    };
    const Case cases[] = {
        {"day + of the upper panel: day, weekday, span, date line, moon; the button itself",
         "btBB(1)",
         {12, 9},
         {"btBB(1)", "laDay(0)", "laYB(0)", "laDD(1)", "laDD(0)", "laYMD(0)", "picM"}},
        // The highlight and the moon are drawn again, in the colours and the phase they
        // already show.
        {"a click on the background of the highlighted panel", "laOB2(0)", {10, 5}, {}},
    };
    frmKV& f = start();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    PaintLog log(&f);
    ASSERT_TRUE(log.hasSpot());
    QWindow* window = f.windowHandle();
    const auto where = [&](const Case& c) {
        auto* target = f.findChild<QWidget*>(QString::fromUtf8(c.target));
        return target ? target->mapTo(&f, c.at) : QPoint();
    };
    // Once first: the click gives the button the keyboard focus, and its frame.
    QTest::mouseClick(window, Qt::LeftButton, {}, where(cases[0]));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(f.childAt(where(c)), f.findChild<QWidget*>(QString::fromUtf8(c.target)));
        QTest::mouseMove(window, where(c));  // a button under the pointer lights up
        ASSERT_TRUE(log.settle());
        log.painted.clear();
        QTest::mouseClick(window, Qt::LeftButton, {}, where(c));
        ASSERT_TRUE(log.settle());
        std::vector<QWidget*> changed;
        for (const char* name : c.changed) {
            QWidget* w = f.findChild<QWidget*>(QString::fromUtf8(name));
            ASSERT_TRUE(w) << name;
            changed.push_back(w);
            EXPECT_TRUE(log.painted.count(w)) << name << " changed but was not repainted";
        }
        for (QWidget* w : log.painted) {
            const bool covers = std::any_of(changed.begin(), changed.end(), [&](QWidget* other) {
                return inWindow(w, &f).intersects(inWindow(other, &f));
            });
            EXPECT_TRUE(covers) << w->objectName().toStdString() << " (" << w->metaObject()->className()
                                << ") was repainted without a change";
        }
    }
}

}  // namespace
}  // namespace kalvo::test
