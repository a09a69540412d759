// A window with scripted services: a fixed today, scripted boxes, a fresh empty working
// folder, and the era files of the build tree as the program's folder.
#pragma once

#include "support/scripted_dialogs.h"
#include "window/frmKV.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace kalvo::test {

class WindowTest : public ::testing::Test {
protected:
    QTemporaryDir workDir;
    QTemporaryDir stateDir;  // the journals of saves into the file itself
    std::shared_ptr<ScriptedDialogs> dialogs = std::make_shared<ScriptedDialogs>();
    Serial today = fromYmd(2026, 12, 7);
    QString programDir = QStringLiteral(KALVO_BINARY_DIR);
    std::unique_ptr<frmKV> form;

    Services makeServices() {
        Services s;
        s.dialogs = dialogs;
        s.today = [this] { return today; };
        s.workDir = workDir.path().toStdString();
        s.programDir = programDir.toStdString();
        s.stateDir = stateDir.path().toStdString();
        return s;
    }

    // Builds the window and runs its start-up.
    frmKV& start() {
        form = std::make_unique<frmKV>(makeServices());
        form->Form_Load();
        return *form;
    }

    QString eventFilePath() const { return QDir(workDir.path()).filePath(QStringLiteral("kalvoe.dat")); }
};

// Shows the window and makes it the active one, as the keyboard focus needs.
inline void showActive(frmKV& f) {
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
}

}  // namespace kalvo::test
