// Writing the event file at the end of a run. The file may have been changed by someone
// else since it was read (a second window in the same folder, a text editor): then the
// user chooses between putting both together and overwriting, or goes back to the
// window. Its folder may have gone: then the content can go to the home folder instead.
// Nothing is dropped without the user being told.
//
// Kalvo processes save one at a time (platform/save_lock.h). Under the lock the save
// looks at the file, decides, and writes; the write itself looks once more right before
// its replace and writes nothing when another writer got there first, and the save then
// starts over. A question is never asked while the lock is held, and after its answer
// the save starts over too: the answer holds for the content it was about.
#include "core/events/event_file.h"
#include "core/events/event_merge.h"
#include "core/events/save_decision.h"
#include "core/layout/window_geometry.h"
#include "platform/file_io.h"
#include "platform/notices.h"
#include "platform/paths.h"
#include "platform/save_journal.h"
#include "platform/save_lock.h"
#include "platform/text_file.h"
#include "window/event_messages.h"
#include "window/frmKV.h"
#include "window/ui/event_list_model.h"
#include "window/ui/qt_text.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>

#include <sys/stat.h>

namespace kalvo {

namespace {

using namespace event_messages;

QString trustProblem(FolderTrust why) {
    switch (why) {
        case FolderTrust::NotOwned: return QStringLiteral("ほかのユーザーのものである");
        case FolderTrust::OthersCanWrite: return QStringLiteral("ほかのユーザーも書き込める");
        case FolderTrust::Link: return QStringLiteral("シンボリックリンクである");
        case FolderTrust::NotAFolder: return QStringLiteral("フォルダーではない");
        default: return QStringLiteral("開けない");
    }
}

// A save whose file keeps changing under it gives up after this many looks and keeps
// the content in the home folder.
constexpr int kMaxRounds = 8;

// The n-th name of a copy in the home folder: kalvoe.dat, kalvoe-2.dat, kalvoe-3.dat, ...
std::string homeCopyName(const std::string& home, const std::string& fileName, int n) {
    if (n < 2) return joinPath(home, fileName);
    const auto dot = fileName.find_last_of('.');
    const std::string stem = dot == std::string::npos ? fileName : fileName.substr(0, dot);
    const std::string suffix = dot == std::string::npos ? std::string() : fileName.substr(dot);
    return joinPath(home, stem + "-" + std::to_string(n) + suffix);
}

// The first of those names that holds no file yet.
std::string freeHomeName(const std::string& home, const std::string& fileName) {
    struct stat st {};
    int n = 1;
    while (::lstat(homeCopyName(home, fileName, n).c_str(), &st) == 0) ++n;
    return homeCopyName(home, fileName, n);
}

// The content goes to the home folder under a name that overwrites nothing.
// Ok, or the status of the failed write; `where` names the copy.
FileStatus writeHomeCopy(const frmKV& w, const std::string& bytes, std::string& where) {
    if (w.services.homeDir.empty() || !isFolder(w.services.homeDir)) return FileStatus::WriteError;
    const std::string fileName = toUtf8(w.eventFileName);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Two windows may keep copies at once: the name is chosen and taken under the lock.
        const SaveLock lock(joinPath(w.services.homeDir, fileName));
        where = freeHomeName(w.services.homeDir, baseName(fileName));
        SaveOptions options;
        options.checkExpected = true;  // nothing may be there
        options.journalFolder = w.services.stateDir;
        const FileStatus status = writeFileBytes(where, bytes, options);
        if (status != FileStatus::Changed) return status;
    }
    return FileStatus::WriteError;
}

// Finishes a save into the file itself that was cut short (see save_journal.h), with the
// file's save lock taken. Returns what the user is to be told, empty for nothing. When
// the file was changed since, the content of that save is kept in the home folder, after
// the lock is given up (the home folder may be the same folder).
QString completeInterruptedSave(const frmKV& w, const std::string& path, SaveLock& held) {
    const RecoveryResult r = recoverInterruptedSave(path, w.services.stateDir);
    switch (r.what) {
        case Recovery::Completed: return kRecovered.arg(displayPath(r.path));
        case Recovery::Failed: return kRecoveryFailed.arg(displayPath(r.path));
        case Recovery::ChangedSince: {
            held.release();
            std::string where;
            if (writeHomeCopy(w, r.content, where) != FileStatus::Ok) return kRecoveryFailed.arg(displayPath(r.path));
            dropJournalFor(path, w.services.stateDir);
            return kRecoveredElsewhere.arg(displayPath(r.path), displayPath(where));
        }
        case Recovery::Unreadable: {
            held.release();
            std::string where;
            const QString text = kJournalUnreadable.arg(displayPath(r.path), displayPath(r.journal));
            if (writeHomeCopy(w, r.content, where) != FileStatus::Ok) return text;
            return text + kJournalUnreadableKept.arg(displayPath(where));
        }
        case Recovery::Untrusted:
            if (r.trust != FolderTrust::Ok)
                return kStateFolderUntrusted.arg(displayPath(r.journal), trustProblem(r.trust));
            return kJournalUntrusted.arg(displayPath(r.journal));
        default: return {};
    }
}

// A file's settings without its entries (a merge takes the entries from the file as it
// is then, with this run's edits).
EventFile settingsOf(const EventFile& f) {
    EventFile s;
    s.header = f.header;
    s.version = f.version;
    s.top = f.top;
    s.left = f.left;
    s.sizeMode = f.sizeMode;
    s.eraTable = f.eraTable;
    s.flags = f.flags;
    s.startDate = f.startDate;
    s.startEntry = f.startEntry;
    s.comment = f.comment;
    return s;
}

// The list as cobEV holds it: views of the model's own texts, without a copy; they are
// valid until the list changes (no box is open while they are used).
struct ListNow {
    std::vector<std::string> texts;  // only for a combo with a model of another kind
    std::vector<std::string_view> views;
    std::span<const std::string_view> entries;
};

ListNow listNow(const frmKV& w) {
    ListNow list;
    if (const auto* model = qobject_cast<const EventListModel*>(w.cobEV->model())) {
        list.entries = model->entries();
        return list;
    }
    for (int i = 0; i < w.cobEV->count(); ++i) list.texts.push_back(toUtf8(w.cobEV->itemText(i)));
    list.views.assign(list.texts.begin(), list.texts.end());
    list.entries = list.views;
    return list;
}

// How a write went, in the terms of the save's decisions.
WriteResult writeResultOf(FileStatus status) {
    switch (status) {
        case FileStatus::Ok: return WriteResult::Written;
        case FileStatus::Changed: return WriteResult::ChangedMeanwhile;
        case FileStatus::PathNotFound: return WriteResult::FolderGone;
        case FileStatus::UnsafeLink: return WriteResult::UnsafeLink;
        case FileStatus::TooLarge: return WriteResult::TooLarge;
        case FileStatus::NoRecoveryCopy: return WriteResult::NoRecoveryCopy;
        default: return WriteResult::Failed;
    }
}

class EventSave {
public:
    explicit EventSave(frmKV& w) : w_(w), path_(w.eventFilePath()), mine_(w.currentSettings()) {}
    SaveOutcome run();

private:
    SaveLock lock() const {
        // A wait for another Kalvo's save shows the wait cursor (not when no display is left).
        return SaveLock(
            path_, std::chrono::milliseconds(w_.savePatienceMs),
            [this] {
                if (!w_.displayLost) QApplication::setOverrideCursor(Qt::WaitCursor);
            },
            [this] {
                if (!w_.displayLost) QApplication::restoreOverrideCursor();
            },
            // The window keeps painting and the end from outside keeps arriving while it
            // waits; what the user types waits.
            [this] {
                if (!w_.displayLost) QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
    }
    enum class WhenBusy { Wait, Copy, Back };
    WhenBusy whenBusy();
    SaveOutcome keepCopy(const std::string& bytes, const QString& why);
    std::optional<SaveOutcome> ask(bool readable, const std::string& theirs, SaveLock& lock);
    SaveOutcome saveInHome(const std::string& bytes, const QString& why);
    SaveOutcome finish(SaveOutcome outcome);
    void tell(const QString& text, const QString& title = kErrorTitle) const {
        w_.services.dialogs->showMessage(text, title);
    }

    frmKV& w_;
    const std::string path_;
    const EventFile mine_;  // the settings; the list is read from cobEV when it is written
    // The user's answer about another writer's content, and the content it was about.
    Choice answered_ = Choice::None;
    std::string answeredAbout_;
    QString note_;  // what completing an interrupted save had to say
};

// Asks whether to merge with another writer's content, overwrite it or go back, with the
// lock given up (nobody waits for a person). nullopt: the save looks at the file again.
std::optional<SaveOutcome> EventSave::ask(bool readable, const std::string& theirs, SaveLock& lock) {
    lock.release();
    const QString text = (readable ? kChangedElsewhere : kChangedUnreadable).arg(w_.eventFileName) + kBackToWindow;
    const Answer answer = w_.services.dialogs->message(text, kChangedTitle, Buttons::YesNoCancel, Icon::Question);
    if (w_.endUnattended) return std::nullopt;  // closed by an end from outside
    const Reply reply = answer == Answer::Yes ? Reply::Yes : answer == Answer::No ? Reply::No : Reply::Other;
    const AnswerTaken taken = takeAnswer(reply, readable);
    switch (taken.next) {
        case AfterAnswer::LookAgain:
            answered_ = taken.remembered;
            answeredAbout_ = theirs;
            return std::nullopt;
        case AfterAnswer::DoNotSave: w_.modified = 0; return SaveOutcome::NotSaved;
        case AfterAnswer::BackToWindow: break;
    }
    return SaveOutcome::BackToWindow;
}

// Another Kalvo holds the lock past the patience: it may still replace the file, so
// nothing is written over it. Someone who is there chooses; at an unattended end the
// content is kept in a copy.
EventSave::WhenBusy EventSave::whenBusy() {
    if (w_.endUnattended) return WhenBusy::Copy;
    const Answer answer = w_.services.dialogs->message(kBusy.arg(w_.eventFileName) + kBackToWindow, kChangedTitle,
                                                       Buttons::YesNoCancel, Icon::Question);
    if (w_.endUnattended) return WhenBusy::Copy;  // closed by an end from outside
    if (answer == Answer::Yes) return WhenBusy::Wait;
    return answer == Answer::No ? WhenBusy::Copy : WhenBusy::Back;
}

SaveOutcome EventSave::run() {
    for (int round = 0; round < kMaxRounds; ++round) {
        SaveLock held = lock();
        if (held.state() == SaveLock::State::Busy) {
            switch (whenBusy()) {
                case WhenBusy::Wait: --round; continue;
                case WhenBusy::Back: return finish(SaveOutcome::BackToWindow);
                case WhenBusy::Copy: {
                    const auto source =
                        w_.eventFileRead ? w_.eventFileRead : std::make_shared<const Cp932File>(std::string());
                    return finish(keepCopy(writeEventBytes(mine_, listNow(w_).entries, *source), kWhyBusy));
                }
            }
        }
        held.removeLeftovers(path_);  // only when the lock is held
        if (const QString note = completeInterruptedSave(w_, path_, held); !note.isEmpty()) {
            note_ = note;
            if (held.state() != SaveLock::State::Held) continue;  // the lock was given up: look again
        }
        // The common case: nobody else wrote the file since this run read it. That is a
        // comparison; the file is read whole only when it differs.
        const std::shared_ptr<const Cp932File> asRead = w_.eventFileRead;
        const bool unchanged = asRead && fileHolds(path_, asRead->bytes());
        FileBytes now;  // status Ok and no bytes when unchanged: it holds asRead's
        if (!unchanged) now = readFileBytes(path_);
        const bool nothingThere = now.status == FileStatus::NotFound || now.status == FileStatus::PathNotFound;
        const bool theirs = !unchanged && now.status == FileStatus::Ok && (!asRead || asRead->bytes() != now.bytes);
        const EventFileRead read = theirs ? readEventBytes(now.bytes) : EventFileRead{};
        const bool readable = read.error == EventFileError::None;
        SaveFacts facts;
        facts.file = theirs                         ? (readable ? FileNow::Changed : FileNow::ChangedUnreadable)
                     : nothingThere                 ? FileNow::Missing
                     : now.status != FileStatus::Ok ? FileNow::ReadFailed
                                                    : FileNow::AsRead;
        facts.attended = !w_.endUnattended;
        facts.answered = answered_;
        facts.answeredThis = theirs && answeredAbout_ == now.bytes;
        const ListNow list = listNow(w_);
        std::optional<EventFile> merged;
        const auto bytesFrom = [&](const Cp932File& source) {
            return merged ? writeEventBytes(*merged, source) : writeEventBytes(mine_, list.entries, source);
        };
        std::shared_ptr<const Cp932File> source = asRead ? asRead : std::make_shared<const Cp932File>(std::string());
        switch (decideSave(facts)) {
            case SaveStep::Write: break;
            case SaveStep::Merge: {
                EventFile whole = mine_;
                whole.entries.assign(list.entries.begin(), list.entries.end());
                merged = mergeEventFiles(w_.eventFileBase, whole, read.file, w_.entryEdits);
                break;
            }
            case SaveStep::Ask:
                if (const auto outcome = ask(readable, now.bytes, held)) return finish(*outcome);
                continue;
            case SaveStep::Refuse:
                held.release();
                tell(kWriteError);
                return finish(SaveOutcome::NotSaved);
            case SaveStep::SaveElsewhere:
                held.release();
                return finish(saveInHome(bytesFrom(*source), kFolderGone.arg(displayPath(folderOf(path_)))));
        }
        if (theirs) source = std::make_shared<const Cp932File>(now.bytes);

        std::string bytes = bytesFrom(*source);
        SaveOptions options;
        options.checkExpected = true;
        if (unchanged) options.expected = asRead->bytes();
        else if (!nothingThere) options.expected = now.bytes;
        options.journalFolder = w_.services.stateDir;
        const FileStatus status = writeFileBytes(path_, bytes, options);
        const AfterWrite next = afterWrite(writeResultOf(status), !w_.endUnattended);
        if (next == AfterWrite::LookAgain) continue;  // another writer got there first
        held.release();
        switch (next) {
            case AfterWrite::Done:
                w_.eventFileRead = std::make_shared<const Cp932File>(std::move(bytes));
                w_.eventFileBase = merged ? settingsOf(*merged) : mine_;
                w_.entryEdits.clear();
                w_.modified = 0;
                w_.savedTo = displayPath(path_);
                return finish(SaveOutcome::Saved);
            case AfterWrite::OfferHome:
                return finish(saveInHome(bytes, status == FileStatus::UnsafeLink
                                                    ? kUnsafeLink.arg(w_.eventFileName, displayPath(path_))
                                                    : kFolderGone.arg(displayPath(folderOf(path_)))));
            default:
                tell(status == FileStatus::TooLarge ? kTooLargeToSave.arg(kMaxFileBytes >> 20)
                     : status == FileStatus::NoRecoveryCopy
                         ? kNoRecoveryCopy.arg(w_.eventFileName, displayPath(w_.services.stateDir))
                         : kWriteError);
                if (next == AfterWrite::KeepCopy) return finish(keepCopy(bytes, kWhyWriteError));
                return finish(next == AfterWrite::GoBack ? SaveOutcome::BackToWindow : SaveOutcome::NotSaved);
        }
    }
    // The file changed under every look: what this run has is kept in the home folder.
    return finish(saveInHome(writeEventBytes(mine_, listNow(w_).entries, Cp932File(std::string())),
                             kFolderGone.arg(displayPath(folderOf(path_)))));
}

// The content goes to a new file in the home folder without a question; the user is told
// where, now (on stderr when nobody is there) and, after an unattended end, at the next
// start too.
SaveOutcome EventSave::keepCopy(const std::string& bytes, const QString& why) {
    std::string where;
    const FileStatus status = writeHomeCopy(w_, bytes, where);
    if (status != FileStatus::Ok) {
        tell(status == FileStatus::TooLarge ? kTooLargeToSave.arg(kMaxFileBytes >> 20) : kWriteError);
        return SaveOutcome::NotSaved;
    }
    w_.modified = 0;
    w_.savedTo = displayPath(where);
    const QString text = kKeptAtEnd.arg(displayPath(path_), why, w_.savedTo);
    if (w_.endUnattended) leaveNotice(w_.services.stateDir, toUtf8(text));
    if (!w_.displayLost) tell(text, kSavedCopyTitle);
    return SaveOutcome::Saved;
}

SaveOutcome EventSave::finish(SaveOutcome outcome) {
    if (!note_.isEmpty()) tell(note_, kSavedCopyTitle);
    return outcome;
}

// The content goes to the home folder, with the user's consent when someone is there;
// `why` says why it cannot go where it belongs.
SaveOutcome EventSave::saveInHome(const std::string& bytes, const QString& why) {
    if (w_.services.homeDir.empty() || !isFolder(w_.services.homeDir)) {
        tell(kWriteError);
        return SaveOutcome::NotSaved;
    }
    if (!w_.endUnattended) {
        const QString proposed = displayPath(freeHomeName(w_.services.homeDir, toUtf8(w_.eventFileName)));
        const Answer answer = w_.services.dialogs->message(why + kOfferHome.arg(proposed) + kBackToWindow, kErrorTitle,
                                                           Buttons::YesNoCancel, Icon::Question);
        if (!w_.endUnattended) {  // an end from outside that closed the question keeps the copy
            if (answer == Answer::No) {
                w_.modified = 0;
                return SaveOutcome::NotSaved;
            }
            if (answer != Answer::Yes) return SaveOutcome::BackToWindow;
        }
    }
    std::string where;
    const FileStatus status = writeHomeCopy(w_, bytes, where);
    if (status == FileStatus::TooLarge) {
        tell(kTooLargeToSave.arg(kMaxFileBytes >> 20));
        return w_.endUnattended ? SaveOutcome::NotSaved : SaveOutcome::BackToWindow;
    }
    if (status != FileStatus::Ok) {
        tell(kWriteError);
        return SaveOutcome::NotSaved;
    }
    w_.modified = 0;
    w_.savedTo = displayPath(where);
    if (w_.endUnattended) leaveNotice(w_.services.stateDir, toUtf8(kSavedCopy.arg(w_.savedTo)));
    // Without a display the end's own line says where the copy went.
    if (!w_.displayLost) tell(kSavedCopy.arg(w_.savedTo), kSavedCopyTitle);
    return SaveOutcome::Saved;
}

}  // namespace

EventFile frmKV::currentSettings() const {
    EventFile f;
    f.header = toUtf8(fileHeader);
    f.version = toUtf8(fileVersion);
    // Without a display the place is the last one seen: asking for it would need the window system.
    const QPoint place = displayLost ? lastPlace : pos();
    f.top = static_cast<float>(place.y() * kTwipsPerPixel);
    f.left = static_cast<float>(place.x() * kTwipsPerPixel);
    f.sizeMode = sizeMode;
    f.eraTable = storedEraTable;
    f.flags = (ckBS->isChecked() ? kFlagNoMoon : 0) + (ckST->isChecked() ? kFlagStartDay : 0);
    f.startDate = toUtf8(startDisplay[0]);
    f.startEntry = toUtf8(startDisplay[1]);
    f.comment = toUtf8(fileComment);
    return f;
}

SaveOutcome frmKV::writeEventFile() {
    if (modified == 0) return SaveOutcome::Saved;
    if (eventFileReserved) {  // a file that was not read whole is never overwritten
        services.dialogs->showMessage(kWriteError, kErrorTitle);
        return SaveOutcome::NotSaved;
    }
    return EventSave(*this).run();
}

QString frmKV::keepCopyInHome(const std::string& bytes) {
    if (services.homeDir.empty()) return {};
    // A copy made at an earlier start of the same content is not made again.
    const std::string self = followLinks(eventFilePath());
    const std::string fileName = baseName(toUtf8(eventFileName));
    struct stat st {};
    for (int n = 1; ::lstat(homeCopyName(services.homeDir, fileName, n).c_str(), &st) == 0; ++n) {
        const std::string name = homeCopyName(services.homeDir, fileName, n);
        if (followLinks(name) != self && fileHolds(name, bytes)) return displayPath(name);
    }
    std::string where;
    return writeHomeCopy(*this, bytes, where) == FileStatus::Ok ? displayPath(where) : QString();
}

void frmKV::completeInterruptedSaveAtStart() {
    // What a run that ended with nobody there had to say.
    for (const std::string& text : takeNotices(services.stateDir))
        services.dialogs->showMessage(toQt(text), kSavedCopyTitle);
    const std::string path = eventFilePath();
    if (FolderTrust why{}; stateFolderUntrusted(services.stateDir, why)) {
        services.dialogs->showMessage(kStateFolderUntrusted.arg(displayPath(services.stateDir), trustProblem(why)),
                                      kErrorTitle);
        return;
    }
    if (!hasJournalFor(path, services.stateDir)) return;
    SaveLock held(path);
    const QString note = completeInterruptedSave(*this, path, held);
    held.release();
    if (!note.isEmpty()) services.dialogs->showMessage(note, kSavedCopyTitle);
}

}  // namespace kalvo
