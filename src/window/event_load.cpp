// Reading the event file at start-up: the file's settings go into the window's fields,
// its list into cobEV, and the bytes as read stay for the save at the end. A file that
// cannot be read whole is never written over in this run.
#include "core/events/event_file.h"
#include "core/layout/window_geometry.h"
#include "platform/file_io.h"
#include "platform/text_file.h"
#include "window/event_messages.h"
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

using namespace event_messages;

constexpr size_t kLongList = 1000;

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

void reportReadFailure(frmKV& w, EventFileError error, int badLine = 0) {
    w.eventFileReserved = true;
    if (error != EventFileError::BadVersion)
        w.services.dialogs->showMessage(toQt(unexpectedErrorText(error, badLine)), kFileErrorTitle);
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
            services.dialogs->showMessage(kTooLargeToRead.arg(eventFileName).arg(kMaxFileBytes >> 20), kFileErrorTitle);
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
        cutShort = kCutShort.arg(eventFileName, last) + (where.isEmpty() ? kCutShortNotKept : kCutShortKept.arg(where));
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

}  // namespace kalvo
