#include "support/window_fixture.h"
#include "window/control_table.h"
#include "window/ui/moon_picture.h"

#include <QApplication>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QStyleOptionComboBox>
#include <QTest>
#include <QTextCharFormat>
#include <QWindow>
#include <set>
#include <string>

namespace kalvo::test {
namespace {

TEST(LayoutTable, EveryControlFitsTheClientAreaAndNamesAreUnique) {
    std::set<std::pair<std::string, int>> seen;
    std::set<int> tabs;
    int lowest = 0;
    std::string lowestName;
    for (const ControlSpec& c : controlTable()) {
        EXPECT_TRUE(seen.insert({c.name, c.index}).second) << c.name << "(" << c.index << ")";
        EXPECT_TRUE(tabs.insert(c.tab).second) << "tab " << c.tab;
        if (c.container) continue;
        EXPECT_LE(c.left + c.width, kClientWidthTwips + 100) << c.name;
        EXPECT_LE(c.top + c.height, kClientHeightTwips) << c.name;
        if (c.top + c.height > lowest) {
            lowest = c.top + c.height;
            lowestName = c.name;
        }
    }
    EXPECT_EQ(lowest, 3240);
    EXPECT_EQ(lowestName, "frNSM");
}

TEST(LayoutFonts, DesignFacesFallBackToMetricCompatibleOnes) {
    struct Case {
        Face face;
        const char* family;
    };
    for (const Case& c : {Case{Face::Gothic, "IPAGothic"}, Case{Face::PGothic, "IPAPGothic"},
                          Case{Face::Arial, "Liberation Sans"}, Case{Face::ArialNarrow, "Liberation Sans Narrow"}}) {
        const QFont font = makeFont({c.face, 9, false});
        EXPECT_EQ(QFontInfo(font).family(), QString::fromUtf8(c.family));
        EXPECT_EQ(font.pixelSize(), 12);
    }
    EXPECT_EQ(makeFont({Face::Arial, 15.75, false}).pixelSize(), 21);
}

using WindowLayout = WindowTest;

TEST_F(WindowLayout, ControlsStandAtTheirPlacesWithTheirCaptions) {
    frmKV& f = start();
    EXPECT_EQ(f.btBB(27)->geometry(), QRect(190, 38, 28, 19));
    EXPECT_EQ(f.btBB(27)->text(), QStringLiteral("+50"));
    EXPECT_EQ(f.btEV(0)->text(), QStringLiteral("下段の初期表示に設定"));
    EXPECT_EQ(f.btEV(0)->toolTip(), QStringLiteral("表示されている設定を、起動時に下段にセットするようにします。"));
    EXPECT_EQ(f.laZL(12)->text(), QStringLiteral("南北朝時代設定："));
    EXPECT_EQ(f.laZL(8)->text(), QStringLiteral("年 + (歳)"));
    EXPECT_EQ(f.ckST->text(), QStringLiteral("起算日含む"));
    EXPECT_EQ(f.opNS(2)->text(), QStringLiteral("ミニ"));
    EXPECT_EQ(f.opNS(0)->parentWidget(), f.frNSM);
    EXPECT_EQ(f.opNS(0)->geometry(), QRect(10, 2, 47, 16));
    EXPECT_EQ(f.picM->geometry(), QRect(11, 20, 80, 80));
    EXPECT_EQ(f.laD->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    EXPECT_EQ(f.laYer(0)->palette().color(QPalette::Window), QColor(255, 255, 128));
    EXPECT_EQ(f.cobEV->palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(f.cobEV->palette().color(QPalette::Text), QColor(255, 255, 255));
    EXPECT_FALSE(f.laTest->isVisibleTo(&f));
    EXPECT_FALSE(f.laBT->isVisibleTo(&f));
    EXPECT_EQ(f.btBB.size(), 16);
    EXPECT_EQ(f.laZL.size(), 16);
}

// The combo boxes' fields complete nothing: what is typed stays as typed, even the start
// of an era name or of an entry in the list.
TEST_F(WindowLayout, ComboFieldsCompleteNothing) {
    frmKV& f = start();
    showActive(f);
    for (QComboBox* combo : {f.cobNG(0), f.cobNG(1), f.cobEV}) {
        SCOPED_TRACE(combo->objectName().toStdString());
        EXPECT_EQ(combo->completer(), nullptr);
        const QString start = combo->itemText(0).left(1);
        combo->lineEdit()->setFocus();
        combo->lineEdit()->clear();
        QTest::sendKeyEvent(QTest::Click, combo->lineEdit(), Qt::Key_unknown, start, {});
        EXPECT_EQ(combo->lineEdit()->text(), start);
    }
}

TEST_F(WindowLayout, AccessKeysPressTheirButtons) {
    frmKV& f = start();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
    int pressed = 0;
    QObject::connect(f.btEND(1), &QPushButton::clicked, [&] { ++pressed; });
    f.modified = 1;
    f.saveSilently = 0;
    dialogs->answers = {Answer::Cancel};
    QTest::keyClick(f.windowHandle(), Qt::Key_Q, Qt::AltModifier);
    // A mnemonic shows the button pressed for a moment before it clicks.
    for (int i = 0; i < 40 && pressed == 0; ++i) QTest::qWait(50);
    EXPECT_EQ(pressed, 1);
    EXPECT_EQ(f.btSIZE->shortcut(), QKeySequence(Qt::ALT | Qt::Key_W));
}

TEST_F(WindowLayout, TabOrderFollowsTheTable) {
    frmKV& f = start();
    // +/- day buttons come first, then the end button, the help button, the era steps.
    EXPECT_EQ(f.btBB(1)->nextInFocusChain(), f.btBB(3));
    QWidget* w = f.btBB(3)->nextInFocusChain();
    EXPECT_EQ(w, f.btEND(0));
    EXPECT_EQ(w->nextInFocusChain(), f.btHELP);
}

// Pixels of two pictures of the same size whose colours differ by at least a contrast
// ratio of 3, the least for a mark one must see.
int visiblyChanged(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += contrastRatio(a.pixelColor(x, y), b.pixelColor(x, y)) >= 3.0;
    return n;
}

TEST(Contrast, RatiosAsTheAccessibilityGuidelinesMeasureThem) {
    EXPECT_NEAR(contrastRatio(Qt::white, Qt::black), 21.0, 0.01);
    EXPECT_NEAR(contrastRatio(QColor(118, 118, 118), Qt::white), 4.54, 0.02);
    EXPECT_NEAR(contrastRatio(Qt::white, QColor(118, 118, 118)), 4.54, 0.02);
}

// Tab moves the keyboard focus onto each kind of control in turn (in the tab order, so
// that no era combo takes the focus and redraws the moon on the way); the focused
// control's picture then differs from its unfocused one by a frame of visible contrast,
// two pixels wide round at least an option button's circle.
TEST_F(WindowLayout, KeyboardFocusShowsOnEveryKindOfControl) {
    frmKV& f = start();
    showActive(f);
    const std::pair<const char*, QWidget*> controls[] = {
        {"button", f.btBB(22)}, {"picture", f.picM},       {"event list", f.cobEV}, {"event button", f.btEV(2)},
        {"check box", f.ckST},  {"era combo", f.cobNG(0)}, {"option", f.opNS(0)},   {"small check box", f.ckBS},
    };
    for (const auto& [kind, control] : controls) {
        SCOPED_TRACE(kind);
        const QImage unfocused = control->grab().toImage();
        for (int i = 0; i < 80 && QApplication::focusWidget() != control; ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), control);
        EXPECT_GE(visiblyChanged(control->grab().toImage(), unfocused), 30);
    }
}

// The event list's arrow, white text colour and all, shows as plainly as an era combo's,
// in each size mode that shows the list: dark on the light button face.
TEST_F(WindowLayout, EventListArrowShowsAsPlainlyAsAnEraCombos) {
    frmKV& f = start();
    f.show();
    const auto ink = [&](const QImage& window, QComboBox* combo) {  // darkest on lightest
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = true;
        const QRect arrow =
            combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, combo);
        const QImage part = window.copy(arrow.translated(combo->mapTo(&f, QPoint(0, 0))).adjusted(3, 3, -3, -3));
        QColor light = Qt::black, dark = Qt::white;
        for (int y = 0; y < part.height(); ++y)
            for (int x = 0; x < part.width(); ++x) {
                const QColor c = part.pixelColor(x, y);
                if (c.lightness() > light.lightness()) light = c;
                if (c.lightness() < dark.lightness()) dark = c;
            }
        return contrastRatio(light, dark);
    };
    for (short mode : {0, 1}) {
        f.sizeMode = mode;
        f.applySizeMode();
        const QImage window = f.grab().toImage();
        EXPECT_GE(ink(window, f.cobEV), std::min(4.5, ink(window, f.cobNG(0)))) << mode;
    }
}

// Text being composed with an input method is underlined in the event field (white on
// black), readably, whatever format the input method sends: the picture of the composed
// text differs from that of the same text committed by a line as long as the text.
TEST_F(WindowLayout, ComposedTextIsMarkedInTheEventField) {
    using Attribute = QInputMethodEvent::Attribute;
    QTextCharFormat black, underlined, highlighted;
    black.setForeground(QColor(Qt::black));  // meant for a white field
    underlined.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    highlighted.setUnderlineStyle(QTextCharFormat::DashUnderline);
    highlighted.setBackground(QColor(0, 120, 215));
    highlighted.setForeground(QColor(Qt::white));
    frmKV& f = start();
    showActive(f);
    QLineEdit* field = f.cobEV->lineEdit();
    const QString word = QStringLiteral("にほんご");
    const int width = QFontMetrics(field->font()).horizontalAdvance(word);
    // none: the hints of newer input methods, which Qt does not read
    for (const auto& formats : {QList<QTextCharFormat>{}, {black}, {underlined}, {highlighted}}) {
        QList<Attribute> attributes{Attribute(QInputMethodEvent::Cursor, 4, 1, {})};
        for (const QTextCharFormat& format : formats)
            attributes.append(Attribute(QInputMethodEvent::TextFormat, 0, 4, format));
        field->setFocus();
        field->clear();
        QInputMethodEvent composing(word, attributes);
        QCoreApplication::sendEvent(field, &composing);
        const QImage composed = field->grab().toImage();
        QInputMethodEvent commit;
        commit.setCommitString(word);
        QCoreApplication::sendEvent(field, &commit);
        const QImage committed = field->grab().toImage();
        int lines = 0;
        for (int y = 0; y < composed.height(); ++y)
            lines += visiblyChanged(composed.copy(0, y, composed.width(), 1),
                                    committed.copy(0, y, composed.width(), 1)) >= width * 9 / 10;
        EXPECT_GE(lines, 1) << formats.size();
    }
}

}  // namespace
}  // namespace kalvo::test
