// Writing the event file at the end of a run. The file may have been changed by someone
// else since it was read (a second window in the same folder, a text editor): then the
// user chooses between putting both together, overwriting, and not saving. Its folder may
// have gone: then the content can go to the home folder instead. Nothing is dropped
// without the user being told.
#include "app/frmKV.h"
#include "events/event_file.h"
#include "events/event_merge.h"
#include "platform/text_file.h"
#include "ui/qt_text.h"
#include "ui/window_geometry.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace kalvo {

namespace {
const QString kWriteError = QStringLiteral("設定ファイルの書き込みエラー");
const QString kErrorTitle = QStringLiteral("エラー");
const QString kChangedTitle = QStringLiteral("設定ファイルの変更");
const QString kChangedElsewhere = QStringLiteral(
    "%1 は、Kalvo が読み込んだ後にほかのプログラムで変更されました。\r\n\r\n"
    "[はい]　両方の変更をまとめて保存します\r\n"
    "[いいえ]　この画面の内容で上書きします\r\n"
    "[キャンセル]　保存しません");
const QString kChangedUnreadable = QStringLiteral(
    "%1 は、Kalvo が読み込んだ後にほかのプログラムで変更され、設定ファイルとして読めなくなっています。\r\n\r\n"
    "[はい]　この画面の内容で上書きします\r\n"
    "[いいえ]　保存しません");
const QString kFolderGone = QStringLiteral(
    "設定ファイルのフォルダーが見つからないため、保存できません：\r\n%1\r\n\r\n"
    "ホームフォルダーに保存しますか？\r\n%2");
const QString kSavedCopyTitle = QStringLiteral("保存");
const QString kSavedCopy = QStringLiteral("設定ファイルを次の場所に保存しました：\r\n%1");

// A name in the home folder that holds no file yet: kalvoe.dat, else kalvoe-2.dat, ...
QString freeHomeName(const QString& home, const QString& fileName) {
    const QFileInfo name(fileName);
    const QDir dir(home);
    QString candidate = dir.filePath(fileName);
    for (int n = 2; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n) {
        candidate = dir.filePath(name.completeBaseName() + QStringLiteral("-%1.").arg(n) + name.suffix());
    }
    return candidate;
}

// What to write when the file on disk is not the one this run read.
enum class Resolution { Merge, Overwrite, DoNotSave, SaveElsewhere };

Resolution resolveConflict(frmKV& w, bool theirsReadable) {
    if (theirsReadable) {
        if (w.endUnattended) return Resolution::Merge;
        switch (w.services.dialogs->message(kChangedElsewhere.arg(w.eventFileName), kChangedTitle, Buttons::YesNoCancel,
                                            Icon::Question)) {
            case Answer::Yes: return Resolution::Merge;
            case Answer::No: return Resolution::Overwrite;
            default: return Resolution::DoNotSave;
        }
    }
    // Content this program cannot read is never overwritten without being asked.
    if (w.endUnattended) return Resolution::SaveElsewhere;
    return w.services.dialogs->message(kChangedUnreadable.arg(w.eventFileName), kChangedTitle, Buttons::YesNo,
                                       Icon::Question) == Answer::Yes
               ? Resolution::Overwrite
               : Resolution::DoNotSave;
}

// The content goes to the home folder, with the user's consent when someone is there.
void saveInHome(frmKV& w, const std::string& bytes, const QString& lostFolder) {
    if (w.services.homeDir.isEmpty() || !QFileInfo(w.services.homeDir).isDir()) {
        w.services.dialogs->showMessage(kWriteError, kErrorTitle);
        return;
    }
    const QString copy = freeHomeName(w.services.homeDir, w.eventFileName);
    if (!w.endUnattended && w.services.dialogs->message(kFolderGone.arg(lostFolder, copy), kErrorTitle, Buttons::YesNo,
                                                        Icon::Question) != Answer::Yes)
        return;
    if (writeFileBytes(toUtf8(copy), bytes) != FileStatus::Ok) {
        w.services.dialogs->showMessage(kWriteError, kErrorTitle);
        return;
    }
    if (w.endUnattended) std::fprintf(stderr, "kalvo: %s\n", toUtf8(kSavedCopy.arg(copy)).c_str());
    else w.services.dialogs->showMessage(kSavedCopy.arg(copy), kSavedCopyTitle);
}

}  // namespace

EventFile frmKV::currentEventFile() const {
    EventFile f;
    f.header = toUtf8(fileHeader);
    f.version = toUtf8(fileVersion);
    f.top = static_cast<float>(pos().y() * kTwipsPerPixel);
    f.left = static_cast<float>(pos().x() * kTwipsPerPixel);
    f.sizeMode = sizeMode;
    f.eraTable = storedEraTable;
    f.flags = (ckBS->isChecked() ? kFlagNoMoon : 0) + (ckST->isChecked() ? kFlagStartDay : 0);
    f.startDate = toUtf8(startDisplay[0]);
    f.startEntry = toUtf8(startDisplay[1]);
    f.comment = toUtf8(fileComment);
    f.entries.reserve(static_cast<size_t>(cobEV->count()));
    for (int i = 0; i < cobEV->count(); ++i) f.entries.push_back(toUtf8(cobEV->itemText(i)));
    return f;
}

void frmKV::writeEventFile() {
    if (modified == 0) return;
    if (eventFileReserved) {  // a file that was not read whole is never overwritten
        services.dialogs->showMessage(kWriteError, kErrorTitle);
        return;
    }
    const QString path = QDir(services.workDir).filePath(eventFileName);
    EventFile content = currentEventFile();
    std::string_view source = eventFileBytes ? std::string_view(*eventFileBytes) : std::string_view();

    // The file as it is now: when it is not what this run read, someone else wrote it.
    const FileBytes now = readFileBytes(toUtf8(path));
    const bool nothingThere = now.status == FileStatus::NotFound || now.status == FileStatus::PathNotFound;
    if (now.status != FileStatus::Ok && !nothingThere) {
        services.dialogs->showMessage(kWriteError, kErrorTitle);
        return;
    }
    if (now.status == FileStatus::Ok && (!eventFileBytes || *eventFileBytes != now.bytes)) {
        const EventFileRead theirs = readEventBytes(now.bytes);
        const bool readable = theirs.error == EventFileError::None;
        switch (resolveConflict(*this, readable)) {
            case Resolution::Merge: content = mergeEventFiles(eventFileBase, content, theirs.file, entryEdits); break;
            case Resolution::Overwrite: break;
            case Resolution::DoNotSave: return;
            case Resolution::SaveElsewhere:
                saveInHome(*this, encodeCp932LinesKeeping(writeEventLines(content), source),
                           QDir::toNativeSeparators(services.workDir));
                return;
        }
        source = now.bytes;
    }

    std::string bytes = encodeCp932LinesKeeping(writeEventLines(content), source);
    switch (writeFileBytes(toUtf8(path), bytes)) {
        case FileStatus::Ok:
            eventFileBytes = std::move(bytes);
            eventFileBase = std::move(content);
            eventFileBase.entries = {};
            entryEdits.clear();
            break;
        case FileStatus::PathNotFound: saveInHome(*this, bytes, QDir::toNativeSeparators(services.workDir)); break;
        default: services.dialogs->showMessage(kWriteError, kErrorTitle); break;
    }
}

}  // namespace kalvo
