// Era table in force, conversion of the focused slot, the era controls, the switch
// between era tables and the reset of both panels to their start dates.
#include "core/era/era_file.h"
#include "core/era/era_table.h"
#include "core/events/event_file.h"
#include "platform/paths.h"
#include "platform/text_file.h"
#include "window/frmKV.h"
#include "window/ui/qt_text.h"

#include <QApplication>
#include <QSignalBlocker>
#include <algorithm>

namespace kalvo {

namespace {
const QString kNorthFile = QStringLiteral("KalvoN.dat");
const QString kSouthFile = QStringLiteral("KalvoS.dat");
const QString kSwitchQuestion = QStringLiteral("年号ファイルを切り替えます！\r\n年月日は初期設定に戻ります。");
const QString kConfirmTitle = QStringLiteral("確認");
const QString kFileErrorTitle = QStringLiteral("ファイルエラー");
const QString kNotFound = QStringLiteral(":年号ファイルが見つかりませんでした\r\nファイルを用意してください。");
const QString kEndMarkText = QStringLiteral("#");

// The hourglass for the whole screen while a table is read and listed.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { release(); }
    void release() {
        if (active_) QApplication::restoreOverrideCursor();
        active_ = false;
    }

private:
    bool active_ = true;
};

void clearEraLists(frmKV& w) {
    for (int panel = 0; panel < 2; ++panel) {
        const QSignalBlocker block(w.cobNG(panel));
        w.cobNG(panel)->clear();
    }
}

// Puts the rows in force: rows 1..n of the columns, the end row after them (its
// reading "#" is the hint when no era applies), both lists, and list position 0 of the
// upper combo selected as a choice there would be.
void putEraTable(frmKV& w, const std::vector<EraRow>& rows, Serial endStart) {
    const int n = std::min(static_cast<int>(rows.size()), kMaxEras);
    for (int row = 1; row <= n; ++row) {
        w.eraReading[row] = toQt(rows[row - 1].reading);
        w.eraName[row] = toQt(rows[row - 1].name);
        w.eraStart[row] = rows[row - 1].start;
    }
    if (n + 1 < static_cast<int>(w.eraReading.size())) {
        w.eraReading[n + 1] = kEndMarkText;
        w.eraName[n + 1] = kEndMarkText;
        w.eraStart[n + 1] = endStart;
    }
    // All rows at once: each single insertion would make the combo redo its size and text.
    QStringList names;
    names.reserve(n);
    for (int row = 1; row <= n; ++row) names.push_back(w.eraName[row]);
    w.cobNG(0)->addItems(names);
    w.cobNG(1)->addItems(names);
    w.nCM = n;
    w.eraLookup = EraLookup(std::span<const Serial>(w.eraStart.data() + 1, static_cast<size_t>(n)));
    w.dateEras = DateEras(std::span(rows).first(static_cast<size_t>(n)));
    w.selectNG(0, 0);
    w.laTest->setText(QStringLiteral("%1/%2").arg(w.eraIndex).arg(w.cobNG(0)->currentIndex()));
}

QString eraFileMessage(const QString& file, const EraFileError& error) {
    return file + QStringLiteral(":年号ファイルの%1行目に誤りがあります\r\n").arg(error.line) +
           toQt(error.description) + QStringLiteral("\r\n正しいファイルを用意してください。");
}

// 0, 1 or 2 for the option selected; the built-in table when none is.
int selectedOption(const frmKV& w) {
    for (int i = 0; i < 2; ++i)
        if (w.opNS(i) && w.opNS(i)->isChecked()) return i;
    return 2;
}
}  // namespace

void frmKV::loadNGTable() { putEraTable(*this, builtInEraRows(), builtInEndRow().start); }

void frmKV::S2NG() {
    const int count = std::clamp(nCM, 0, kMaxEras);
    const Serial date = panelDate[curPanel];
    const EraLookup::Found found = eraLookup.find(date);
    eraIndex = static_cast<short>(found.row);
    if (eraIndex >= 1 && eraIndex <= count) eraYear = static_cast<short>(found.eraYear);
    panelEra[curPanel] = eraIndex;
    QComboBox* combo = cobNG(curPanel);
    if (eraIndex > count) {  // before the oldest era
        {
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(-1);
            combo->setEditText(QString());
        }
        laNen(curPanel)->setText(QString());
        // With a full table the end row lies past the columns; its hint is still "#".
        if (eraIndex >= static_cast<int>(eraReading.size())) combo->setToolTip(kEndMarkText);
        return;
    }
    selectNG(curPanel, eraIndex - 1);  // finds the row this panel shows: moves nothing
    laNen(curPanel)->setText(toQt(eraYearText(eraIndex, eraYear, toUtf8(eraName[eraIndex]))));
}

// A choice is compared with the row that this panel itself showed at its last
// conversion, so a program-made selection never moves the date while a choice in the
// other panel of the row the window converted last still does.
void frmKV::cobNG_Click(int index) {
    curPanel = static_cast<short>(index == 0 ? 0 : 1);
    const int row = cobNG(curPanel)->currentIndex() + 1;
    if (row == panelEra[curPanel]) {
        eraIndex = static_cast<short>(row);  // the row of the date now focused, which stays
        return;
    }
    if (row < 1 || row > std::min(nCM, kMaxEras)) return;
    eraIndex = static_cast<short>(row);
    panelDate[curPanel] = eraStart[row];
    setDate();
    drwMoon3();
}

void frmKV::btNG_Click(int index) {
    const int count = std::min(nCM, kMaxEras);
    if (count < 1) return;
    const int shown = cobNG(curPanel)->currentIndex() + 1;
    const int row = std::clamp(index == 0 ? shown - 1 : shown + 1, 1, count);
    eraIndex = static_cast<short>(row);
    panelDate[curPanel] = eraStart[row];
    setDate();
    drwMoon3();
}

void frmKV::cobNG_GotFocus(int index) {
    curPanel = static_cast<short>(index);
    showFocus();
}

// Puts the table of the selected option in force. A court file that cannot be used
// leaves the table in force as it was and puts the option back; at start-up, when no
// table is in force yet, the built-in table takes its place.
void frmKV::chooseNGTable() {
    const int choice = selectedOption(*this);
    if (choice == 2) {
        clearEraLists(*this);
        loadNGTable();
        fgNS = 2;
        return;
    }
    const QString previousFile = zNGF;
    const int previous = fgNS;
    zNGF = choice == 0 ? kNorthFile : kSouthFile;
    fgNS = choice;
    if (readNGFile()) return;
    if (nCM > 0) {
        zNGF = previousFile;
        fgNS = previous;
        if (opNS(fgNS)) selectNS(fgNS);
        return;
    }
    fgNS = 2;
    selectNS(2);
    clearEraLists(*this);
    loadNGTable();
}

bool frmKV::readNGFile() {
    const std::string path = findFile(eraFileFolders(services.programDir), toUtf8(zNGF));
    WaitCursor wait;
    const FileBytes file = readFileBytes(path);
    EraFileResult table;
    if (file.status == FileStatus::Ok) table = readEraBytes(file.bytes);
    if (file.status != FileStatus::Ok) {
        wait.release();
        services.dialogs->showMessage(zNGF + kNotFound, kFileErrorTitle);
        return false;
    }
    if (!table.ok()) {
        wait.release();
        services.dialogs->showMessage(eraFileMessage(zNGF, *table.error), kFileErrorTitle);
        return false;
    }
    clearEraLists(*this);
    putEraTable(*this, table.rows, 0);
    return true;
}

void frmKV::opNS_Click(int) {
    if (opNS(fgNS) && opNS(fgNS)->isChecked()) return;  // the table in force
    if (services.dialogs->message(kSwitchQuestion, kConfirmTitle, Buttons::OKCancel, Icon::None) != Answer::OK) {
        if (opNS(fgNS)) selectNS(fgNS);
        return;
    }
    const int before = fgNS;
    chooseNGTable();
    if (fgNS == before) return;  // the new table could not be read: nothing changed
    storedEraTable = fgNS;
    modified = 1;
    resetDates();
}

// Puts the upper panel on its start date (today for "TODAY" and for a text that is no
// date) and the lower panel on the stored start entry (entry 0 when the stored position
// is not a number, negative or past the list; today when the list is empty), and leaves
// the upper panel focused. The entry is applied once, through the selection.
void frmKV::resetDates() {
    const Serial today = services.today();
    if (startDisplay[0].isEmpty()) startDisplay[0] = QStringLiteral("TODAY");
    Serial upper = today;
    if (startDisplay[0] != QStringLiteral("TODAY")) {
        if (const auto stored = parseDateText(toUtf8(startDisplay[0]), dateEras)) upper = *stored;
    }
    panelDate[0] = upper;
    curPanel = 0;
    setDate();
    drwMoon3();

    const int count = cobEV->count();
    if (count == 0) {
        eventPos = -1;
        laD->setText(QStringLiteral("-1"));
        curPanel = 1;
        panelDate[1] = today;
        setDate();
    } else {
        selectEV(startEntryPosition(toUtf8(startDisplay[1]), count));
    }

    curPanel = 0;
    panelActive[0] = 1;
    showFocus();
}

}  // namespace kalvo
