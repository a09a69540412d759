// The event file and the commands of the event list. The list itself lives only in
// cobEV; the file's other lines live in the window's fields between reading and writing.
#include "core/events/event_entry.h"
#include "core/events/event_file.h"
#include "core/layout/window_geometry.h"
#include "platform/file_io.h"
#include "platform/text_file.h"
#include "window/frmKV.h"
#include "window/ui/event_list_model.h"
#include "window/ui/moon_picture.h"
#include "window/ui/qt_text.h"

#include <QGuiApplication>
#include <QListView>
#include <QScreen>
#include <QSignalBlocker>

namespace kalvo {

namespace {
const QString kPathNotFound = QStringLiteral(
    "パスが見つかりません！\r\n正しいファイル名ではありません！\r\n"
    "ファイル選択するか、正しいファイル名を入力してください。");
const QString kFileErrorTitle = QStringLiteral("ファイルエラー");
const QString kNotADate = QStringLiteral("日付ではありません");
const QString kInputErrorTitle = QStringLiteral("入力エラー");
const QString kCannotChange = QStringLiteral("これは変更できません");
const QString kCannotAdd = QStringLiteral("これは追加できません");
const QString kDeleteQuestion = QStringLiteral("このデータを削除しますか？\r\n");
const QString kConfirmTitle = QStringLiteral("確認");
const QString kToday = QStringLiteral("TODAY");
const QString kUnstorable =
    QStringLiteral("次の文字は設定ファイルに保存できません：\r\n%1\r\nほかの文字に変えてください。");
const QString kNotRegular =
    QStringLiteral("%1 は通常のファイルではないため、読み込みません。\r\nこの実行ではこのファイルに書き込みません。");
const QString kTooLarge =
    QStringLiteral("%1 は大きすぎるため（%2 MB まで）、読み込みません。\r\nこの実行ではこのファイルに書き込みません。");
const QString kNotAnEntry = QStringLiteral(
    "日付ではありません\r\n"
    "一覧には「名前@日付」の形で入れてください（例：母の誕生日@1950/4/29）。\r\n"
    "この形でない文字は、次の起動のときに一覧から消えてしまいます。");
const QString kUnsafeLinkAtStart = QStringLiteral(
    "%1 は、リンク先のないシンボリックリンクか、共有フォルダーにあるほかのユーザーのシンボリックリンクのため、"
    "読み込みません。\r\nこの実行ではこのファイルに書き込みません。");
const QString kCutShort = QStringLiteral(
    "%1 は Kalvo が書き終えたファイルの終わり方をしていません（保存が途中で止まったのかもしれません）。\r\n"
    "最後の行：%2\r\n"
    "読み込んだときのファイルを次の場所に控えました：\r\n%3\r\n"
    "一覧の内容を確かめてください。");
const QString kCutShortNoCopy = QStringLiteral(
    "%1 は Kalvo が書き終えたファイルの終わり方をしていません（保存が途中で止まったのかもしれません）。\r\n"
    "最後の行：%2\r\n"
    "控えを保存できなかったため、この実行ではこのファイルに書き込みません。");
constexpr size_t kLongList = 1000;

// The list position the edit field shows: an edited text belongs to no list item.
int selectedPosition(const QComboBox* c) {
    const int i = c->currentIndex();
    return (i >= 0 && c->itemText(i) == c->currentText()) ? i : -1;
}

bool hasCurrentEntry(const frmKV& w) { return w.eventPos >= 0 && w.eventPos < w.cobEV->count(); }

void applyStartValues(frmKV& w, const EventFile& f) {
    w.sizeMode = static_cast<short>(f.sizeMode);
    w.startDisplay = {toQt(f.startDate), toQt(f.startEntry)};
    w.fileComment = toQt(f.comment);
}

void applyEraAndFlags(frmKV& w, const EventFile& f) {
    w.fgNS = f.eraTable;
    w.storedEraTable = f.eraTable;
    w.selectNS(w.fgNS);
    const bool noMoon = (f.flags & kFlagNoMoon) != 0;
    {
        const QSignalBlocker blockST(w.ckST), blockBS(w.ckBS);
        w.ckST->setChecked((f.flags & kFlagStartDay) != 0);
        w.ckBS->setChecked(noMoon);
    }
    w.backColor = noMoon ? w.defaultBackColor : w.customBackColor;
    if (noMoon) w.picM->hide();
}

// The list of a file goes into the combo as a model of the texts as read: an item of the
// combo's own model costs several allocations and a few hundred bytes, which a file of
// many thousand entries feels at every start. The combo selects the first entry, as it
// does when items are added to an empty list.
// The list is put in at start-up, into the empty combo box, as a whole.
void addEntries(frmKV& w, SharedEntries entries) {
    const QSignalBlocker block(w.cobEV);
    // Every entry is one line in one font, so the popup need not measure each of them
    // before it first opens (a second with 100,000 entries). Short lists skip making
    // the popup this early.
    if (entries.list().size() > kLongList) {
        if (auto* view = qobject_cast<QListView*>(w.cobEV->view())) view->setUniformItemSizes(true);
    }
    w.cobEV->setModel(new EventListModel(std::move(entries), w.cobEV));  // deletes its own model
}

void moveToStored(frmKV& w, const EventFile& f) {
    std::vector<PixelRect> screens;
    for (const QScreen* s : QGuiApplication::screens()) {
        const QRect g = s->availableGeometry();
        screens.push_back({g.x(), g.y(), g.width(), g.height()});
    }
    const QSize size = w.frameGeometry().size();
    if (const auto place = placeWindow(f.top, f.left, size.width(), size.height(), screens))
        w.move(static_cast<int>(place->x), static_cast<int>(place->y));
}

// An entry the file could not hold is refused as typed, naming what cannot be stored;
// the edit field keeps the text so that the user can change it.
bool refuseUnstorable(frmKV& w, const QString& text) {
    const auto unstorable = unstorableCharacters(toUtf8(text));
    if (unstorable.empty()) return false;
    QString list;
    for (const auto& c : unstorable) list += QStringLiteral("「") + toQt(c) + QStringLiteral("」");
    w.services.dialogs->showMessage(kUnstorable.arg(list), kInputErrorTitle);
    return true;
}

void reportReadFailure(frmKV& w, EventFileError error, int badLine = 0) {
    w.eventFileReserved = true;
    if (error != EventFileError::BadVersion)
        w.services.dialogs->showMessage(toQt(unexpectedErrorText(error, badLine)), kFileErrorTitle);
}

// ---- the five event buttons; each returns whether it changed anything ----------------

// A text that the next start would not read back as an entry (a name and a date without
// the "@" between them) is refused, so that nothing typed vanishes unseen.
bool refuseNonEntry(frmKV& w, const QString& text) {
    if (isEntryLine(toUtf8(text))) return false;
    w.services.dialogs->showMessage(kNotAnEntry, kInputErrorTitle);
    return true;
}

bool updateEntry(frmKV& w) {
    const QString text = w.cobEV->currentText();
    if (isProtectedEntry(toUtf8(text))) {
        w.services.dialogs->showMessage(kCannotChange, QString());
        return false;
    }
    if (text.isEmpty() || !hasCurrentEntry(w)) return false;
    if (refuseUnstorable(w, text) || refuseNonEntry(w, text)) return false;
    w.entryEdits.push_back({EntryEdit::Kind::Change, toUtf8(w.cobEV->itemText(w.eventPos)), toUtf8(text)});
    w.cobEV->setItemText(w.eventPos, text);
    w.selectEV(w.eventPos);
    w.laD->setText(QString::number(selectedPosition(w.cobEV)));
    return true;
}

bool addEntry(frmKV& w) {
    const QString text = w.cobEV->currentText();
    if (isProtectedEntry(toUtf8(text))) {
        w.services.dialogs->showMessage(kCannotAdd, QString());
        return false;
    }
    if (text.isEmpty()) return false;
    if (refuseUnstorable(w, text) || refuseNonEntry(w, text)) return false;
    w.entryEdits.push_back({EntryEdit::Kind::Add, {}, toUtf8(text)});
    {
        const QSignalBlocker block(w.cobEV);
        w.cobEV->addItem(text);
    }
    w.cobEV_Click();
    w.eventPos = w.cobEV->count() - 1;
    w.laD->setText(QString::number(w.eventPos));
    return true;
}

// The question names the list item that goes, which is not always the edited text.
bool deleteEntry(frmKV& w) {
    if (!hasCurrentEntry(w)) return false;
    const int p = w.eventPos;
    const Answer answer = w.services.dialogs->message(kDeleteQuestion + w.cobEV->itemText(p), kConfirmTitle,
                                                      Buttons::YesNo, Icon::Question);
    if (answer != Answer::Yes) return false;
    w.entryEdits.push_back({EntryEdit::Kind::Delete, toUtf8(w.cobEV->itemText(p)), {}});
    {
        const QSignalBlocker block(w.cobEV);
        w.cobEV->removeItem(p);
    }
    w.eventPos = -1;
    // The stored start entry keeps pointing at the same entry when one before it goes.
    w.startDisplay[1] = toQt(startEntryAfterDelete(toUtf8(w.startDisplay[1]), p));
    const auto d = storedPosition(toUtf8(w.startDisplay[1]));
    if (d && *d >= 0 && *d < w.cobEV->count()) {
        w.selectEV(*d);
    } else {
        const QSignalBlocker block(w.cobEV);
        w.cobEV->setCurrentIndex(-1);
        w.laD->setText(QStringLiteral("-1"));
    }
    return true;
}

void setUpperStart(frmKV& w) {
    w.parseEvent();
    w.startDisplay[0] = w.eventDateText == kToday ? kToday : toQt(toText(w.eventDate));
    w.curPanel = 0;
    w.panelDate[0] = w.eventDate;
    w.setDate();
    w.showFocus();
}
}  // namespace

void frmKV::readEventFile() {
    const EventFile defaults = defaultEventFile(toUtf8(zVER));
    startDisplay = {kToday, QStringLiteral("0")};
    fileHeader = toQt(defaults.header);
    fileVersion = toQt(defaults.version);
    fileComment = toQt(defaults.comment);
    eventFileBase = defaults;
    completeInterruptedSaveAtStart();
    if (resolveLinks(eventFilePath()).problem != LinkProblem::None) {
        eventFileReserved = true;
        services.dialogs->showMessage(kUnsafeLinkAtStart.arg(eventFileName), kFileErrorTitle);
        return;
    }
    FileBytes file = readFileBytes(eventFilePath());
    switch (file.status) {
        case FileStatus::Ok: break;
        case FileStatus::NotFound:
            addEntries(*this, shareEntries(defaults.entries));
            modified = 1;
            saveSilently = 1;
            return;
        case FileStatus::PathNotFound: services.dialogs->showMessage(kPathNotFound, kFileErrorTitle); return;
        case FileStatus::NotRegular:
            eventFileReserved = true;
            services.dialogs->showMessage(kNotRegular.arg(eventFileName), kFileErrorTitle);
            return;
        case FileStatus::TooLarge:
            eventFileReserved = true;
            services.dialogs->showMessage(kTooLarge.arg(eventFileName).arg(kMaxFileBytes >> 20), kFileErrorTitle);
            return;
        default: reportReadFailure(*this, EventFileError::ReadFailed); return;
    }
    // A file that ends inside a line was not written whole: the user sees it, and the file
    // as found is kept before anything may be saved over it.
    QString cutShort;
    if (looksCutShort(file.bytes)) {
        const QString where = keepCopyInHome(file.bytes);
        if (where.isEmpty()) eventFileReserved = true;
        const QString last = toQt(lastLineOf(file.bytes));
        cutShort =
            where.isEmpty() ? kCutShortNoCopy.arg(eventFileName, last) : kCutShort.arg(eventFileName, last, where);
    }
    // The file is decoded once: its lines stay for the save, and the list's entries are
    // views of them.
    auto asRead = std::make_shared<const Cp932File>(std::move(file.bytes));
    SharedEntries entries;
    EventFileRead read = readEventText(asRead->text(), asRead, entries);
    if (read.error == EventFileError::BadEncoding) {
        reportReadFailure(*this, EventFileError::BadEncoding, read.badLine);
        return;
    }
    fileHeader = toQt(read.file.header);
    fileVersion = toQt(read.file.version);
    if (read.reach != ReadReach::Nothing) applyStartValues(*this, read.file);
    if (read.reach == ReadReach::Everything) {
        applyEraAndFlags(*this, read.file);
        addEntries(*this, std::move(entries));  // the list lives in the combo box
    }
    if (!cutShort.isEmpty()) services.dialogs->showMessage(cutShort, kFileErrorTitle);
    if (read.error != EventFileError::None) {
        reportReadFailure(*this, read.error);
        return;
    }
    eventFileRead = std::move(asRead);
    modified = 0;
    moveToStored(*this, read.file);
    eventFileBase = std::move(read.file);
}

std::string frmKV::eventFilePath() const { return joinPath(services.workDir, toUtf8(eventFileName)); }

void frmKV::parseEvent() {
    const QString text = cobEV->currentText();
    if (text.isEmpty()) return;
    eventPos = selectedPosition(cobEV);
    const ParsedEntry parsed = parseEntry(toUtf8(text), services.today(), dateEras);
    eventDateText = toQt(parsed.dateText);
    if (parsed.date) eventDate = *parsed.date;
    else services.dialogs->showMessage(kNotADate, kInputErrorTitle);
}

void frmKV::cobEV_Click() {
    parseEvent();
    curPanel = 1;
    panelDate[1] = eventDate;
    laD->setText(QString::number(selectedPosition(cobEV)));
    setDate();
    showFocus();
}

// Enter applies a plain date typed into the edit field, or a step from the upper panel's
// date; entries with a name need the list.
void frmKV::cobEV_KeyDown(int keyCode, int) {
    if (keyCode != 13) return;
    const QString text = cobEV->currentText();
    // A date, or a step from the upper panel's date ("+10営業日"); nothing goes into the list.
    auto date = parseDateText(toUtf8(text), dateEras);
    if (!date) date = typedStep(text);
    if (!date) return;
    eventDate = *date;
    curPanel = 1;
    panelDate[1] = eventDate;
    {
        const QSignalBlocker block(cobEV);
        cobEV->setCurrentIndex(-1);  // this empties the edit field, so the text goes back
        cobEV->setEditText(text);
    }
    eventPos = -1;
    laD->setText(QStringLiteral("-1"));
    setDate();
    showFocus();
}

// A press that changes nothing (a refusal, No to the delete question, no current entry)
// leaves `modified` as it was before, so earlier changes are still saved.
void frmKV::btEV_Click(int index) {
    if (index < 0 || index > 4) return;
    laD->setText(QString::number(eventPos));
    const short modifiedBefore = modified;
    modified = 1;
    saveSilently = 0;
    bool changed = true;
    switch (index) {
        case 0: startDisplay[1] = QString::number(eventPos); break;
        case 1: changed = updateEntry(*this); break;
        case 2: changed = addEntry(*this); break;
        case 3: changed = deleteEntry(*this); break;
        default: setUpperStart(*this); break;
    }
    if (!changed) modified = modifiedBefore;
}

}  // namespace kalvo
