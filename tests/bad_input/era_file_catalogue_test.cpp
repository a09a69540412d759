// Era files that a user could really have beside the program, at start-up (the event
// file asks for that court table) and at a switch: the message that names the file, the
// line and the fault, the built-in table or the table in force kept whole, and an event
// file that still holds every entry after the exit.
#include "core/events/event_file.h"
#include "support/event_support.h"

#include <QCheckBox>
#include <QRadioButton>

namespace kalvo::test {
namespace {

struct BadEraFile {
    const char* what;
    const char* file;  // KalvoN.dat or KalvoS.dat
    int option;        // the option button of that file
    QByteArray bytes;
    QString message;  // after the file name
};

const QString kAdvice = QStringLiteral("\r\n正しいファイルを用意してください。");

QByteArray manyEras(int count) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        lines.push_back("ねんごう" + std::to_string(i) + ",年号" + std::to_string(i) + "," + std::to_string(2000 - i) +
                        "/1/1");
    lines.push_back("#,#,");
    return cp932Lines(lines);
}

std::vector<BadEraFile> catalogue() {
    return {
        {"300 eras", "KalvoN.dat", 0, manyEras(300),
         QStringLiteral(":年号ファイルの256行目に誤りがあります\r\n年号が255を超えています。") + kAdvice},
        {"an unclosed quote", "KalvoS.dat", 1,
         cp932Lines({"れいわ,令和,2019/5/1", "\"へいせい,平成,1989/1/8", "しょうわ,昭和,1926/12/25", "#,#,"}),
         QStringLiteral(":年号ファイルの2行目に誤りがあります\r\n引用符（\"）が閉じていません。") + kAdvice},
    };
}

class EraFileCatalogue : public EventWindowTest {
protected:
    QTemporaryDir programFolder;
    const std::vector<std::string> entries = {"記念日@2003/9/14", "今日@TODAY", "関東大震災       @1923/9/1"};

    void putEraFile(const BadEraFile& c) {
        programDir = programFolder.path();
        QFile f(QDir(programFolder.path()).filePath(QString::fromUtf8(c.file)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(c.bytes);
    }
    int checkedOption() const {
        for (int i = 0; i < 3; ++i)
            if (form->opNS(i)->isChecked()) return i;
        return -1;
    }
    void expectBuiltInTable() {
        EXPECT_EQ(form->fgNS, 2);
        EXPECT_EQ(checkedOption(), 2);
        EXPECT_EQ(form->nCM, 41);
        for (int panel = 0; panel < 2; ++panel) {
            EXPECT_EQ(form->cobNG(panel)->count(), 41);
            EXPECT_EQ(form->cobNG(panel)->itemText(0), QStringLiteral("令和"));
        }
    }
    // After a change and the exit: a valid event file with every entry.
    void expectSavedWithEveryEntry(int eraTable) {
        const TextLines text = readTextFile(eventFilePath().toStdString());
        ASSERT_EQ(text.status, FileStatus::Ok);
        const EventFileRead back = readEventLines(text.lines);
        EXPECT_EQ(back.error, EventFileError::None);
        EXPECT_EQ(back.file.entries, entries);
        EXPECT_EQ(back.file.eraTable, eraTable);
    }

    void checkAtStartUp(const BadEraFile& c) {
        putEraFile(c);
        writeFile(cp932Lines(eventLines("0,0,0," + std::to_string(c.option), " 0 ", entries)));
        dialogs->shown.clear();
        start();
        ASSERT_EQ(dialogs->shown.size(), 1u);
        EXPECT_EQ(dialogs->shown[0].text, QString::fromUtf8(c.file) + c.message);
        EXPECT_EQ(dialogs->shown[0].title, QStringLiteral("ファイルエラー"));
        EXPECT_EQ(dialogs->shown[0].buttons, Buttons::OK);
        expectBuiltInTable();
        EXPECT_EQ(form->cobEV->count(), 3);
        EXPECT_EQ(form->modified, 0);

        form->ckST->click();
        unload();
        EXPECT_EQ(dialogs->shown.size(), 1u);
        // The built-in table stood in for this run only: the court stays the stored choice.
        expectSavedWithEveryEntry(c.option);
    }

    void checkAtSwitch(const BadEraFile& c) {
        putEraFile(c);
        writeFile(cp932Lines(eventLines("0,0,0,2", " 0 ", entries)));
        dialogs->shown.clear();
        start();
        const Serial upper = form->panelDate[0];
        dialogs->answers.push_back(Answer::OK);
        form->opNS(c.option)->click();
        ASSERT_EQ(dialogs->shown.size(), 2u);
        EXPECT_EQ(dialogs->shown[1].text, QString::fromUtf8(c.file) + c.message);
        EXPECT_EQ(dialogs->shown[1].title, QStringLiteral("ファイルエラー"));
        expectBuiltInTable();
        EXPECT_EQ(form->panelDate[0], upper);
        EXPECT_EQ(form->modified, 0);

        form->ckST->click();
        unload();
        EXPECT_EQ(dialogs->shown.size(), 2u);
        expectSavedWithEveryEntry(2);  // the switch did not happen
    }
};

TEST_F(EraFileCatalogue, AtStartUpTheBuiltInTableTakesOver) {
    for (const BadEraFile& c : catalogue()) {
        SCOPED_TRACE(c.what);
        checkAtStartUp(c);
    }
}

TEST_F(EraFileCatalogue, AtASwitchTheTableInForceStays) {
    for (const BadEraFile& c : catalogue()) {
        SCOPED_TRACE(c.what);
        checkAtSwitch(c);
    }
}

}  // namespace
}  // namespace kalvo::test
