// The real message boxes (MessageBoxDialogs) on the offscreen platform.
#include "support/window_fixture.h"
#include "window/ui/fonts.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kalvo::test {
namespace {

using BoxAct = std::function<void(QMessageBox&)>;

// Acts on the box that opens next; a box left open is closed, so a failing test ends.
void onNextBox(BoxAct act) {
    QTimer::singleShot(0, [act] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QApplication::setActiveWindow(box);
        EXPECT_TRUE(QTest::qWaitForWindowActive(box));
        act(*box);
        for (int i = 0; i < 40 && box->isVisible(); ++i) QTest::qWait(50);  // a pressed key shows first
        if (box->isVisible()) ADD_FAILURE() << "the box is still open";
        box->close();
    });
}

// The unload step ends the program (QCoreApplication::exit): every event loop, a box's
// too, then returns at once until the application's own loop has run again.
void letEventLoopsRun() {
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

class RealBoxes : public WindowTest {
protected:
    void SetUp() override {
        letEventLoopsRun();
        QFile::remove(eventFilePath());
        dialogs.reset();
        Services s = makeServices();
        s.dialogs = std::make_shared<MessageBoxDialogs>();
        form = std::make_unique<frmKV>(s);
        form->Form_Load();
        form->show();
    }
};

// The end question answered by keys to the focused button: Y saves and ends, N ends
// without saving (with Alt or without), Escape and キャンセル return to the window.
TEST_F(RealBoxes, EndQuestionAnsweredByKeys) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        bool ends, saved;
    };
    const Case cases[] = {{Qt::Key_Y, Qt::NoModifier, true, true},        {Qt::Key_Y, Qt::AltModifier, true, true},
                          {Qt::Key_N, Qt::NoModifier, true, false},       {Qt::Key_N, Qt::AltModifier, true, false},
                          {Qt::Key_Escape, Qt::NoModifier, false, false}, {Qt::Key_unknown, {}, false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString());
        SetUp();
        frmKV& f = *form;
        f.saveSilently = 0;  // a first start's list, as after an event command: the end asks
        QString shown;
        onNextBox([&](QMessageBox& box) {
            shown = box.windowTitle() + box.text();
            for (QAbstractButton* b : box.buttons()) shown += QLatin1Char('|') + b->text();
            if (c.key != Qt::Key_unknown) QTest::keyClick(box.focusWidget(), c.key, c.modifiers);
            for (QAbstractButton* b : box.buttons())
                if (c.key == Qt::Key_unknown && b->text() == QStringLiteral("キャンセル")) b->click();
        });
        f.btEND_Click(0);
        EXPECT_EQ(shown, QStringLiteral(
                             "終了変更を保存しますか？\n[ｷｬﾝｾﾙ]で Kalvoに戻れます。|キャンセル|はい(&Y)|いいえ(&N)"));
        EXPECT_EQ(f.unloaded, c.ends);
        EXPECT_EQ(QFile::exists(eventFilePath()), c.saved);
    }
}

// A box is in the window's Gothic face, at least 9 points, and wide enough for its title
// in the title-bar font made bold beside an icon and three frame buttons.
TEST_F(RealBoxes, BoxesUseTheWindowsFaceAndShowTheirTitleWhole) {
    QFont bar = QApplication::font("QMdiSubWindowTitleBar");
    bar.setBold(true);
    const QFontMetrics metrics(bar);
    for (const char* title : {"Version Information", "入力エラー", "Kalvo"}) {
        const QString t = QString::fromUtf8(title);
        onNextBox([&](QMessageBox& box) {
            EXPECT_EQ(box.windowTitle(), t);
            EXPECT_EQ(QFontInfo(box.buttons().front()->font()).family(), QFontInfo(makeFont({})).family());
            EXPECT_GE(QFontInfo(box.buttons().front()->font()).pointSizeF(), 8.5);
            EXPECT_GE(box.width(), titleBarMinimumWidth(t));
            EXPECT_GE(box.width(), metrics.horizontalAdvance(t) + 4 * metrics.height()) << title;
            QTest::keyClick(box.focusWidget(), Qt::Key_Return);
        });
        form->services.dialogs->showMessage(QStringLiteral("本文"), t == QStringLiteral("Kalvo") ? QString() : t);
    }
    const QFont desktop = QApplication::font();
    for (const auto& [size, shown] : {std::pair{7.0, 9.0}, std::pair{12.0, 12.0}}) {
        QFont font = desktop;
        font.setPointSizeF(size);
        QApplication::setFont(font);
        EXPECT_DOUBLE_EQ(messageBoxFont().pointSizeF(), shown);
    }
    QApplication::setFont(desktop);
}

}  // namespace
}  // namespace kalvo::test
