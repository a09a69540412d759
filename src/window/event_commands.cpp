// The commands of the event list. The list itself lives only in cobEV; the file's other
// lines live in the window's fields between reading (event_load.cpp) and writing
// (event_save.cpp).
#include "core/events/event_entry.h"
#include "core/text/cp932.h"
#include "platform/file_io.h"
#include "window/event_messages.h"
#include "window/frmKV.h"
#include "window/ui/qt_text.h"

#include <QSignalBlocker>

namespace kalvo {

namespace {

using namespace event_messages;

// The list position the edit field shows: an edited text belongs to no list item.
int selectedPosition(const QComboBox* c) {
    const int i = c->currentIndex();
    return (i >= 0 && c->itemText(i) == c->currentText()) ? i : -1;
}

bool hasCurrentEntry(const frmKV& w) { return w.eventPos >= 0 && w.eventPos < w.cobEV->count(); }

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
