#include "platform/notices.h"

#include "platform/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <ctime>
#include <string_view>

namespace kalvo {
namespace {
constexpr std::string_view kPrefix = "notice-";
constexpr std::size_t kMaxNoticeBytes = 64 * 1024;
}  // namespace

bool leaveNotice(const std::string& stateFolder, const std::string& text) {
    const PrivateFolder dir = openPrivateFolder(stateFolder, true);
    if (!dir.ok()) return false;
    // The time comes first in the name, so that the notes sort in the order they were left.
    const std::string name = uniqueName(std::string(kPrefix) + std::to_string(::time(nullptr)));
    Fd fd(::openat(dir.fd.get(), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600));
    if (!fd.valid()) return false;
    const bool written = writeAll(fd.get(), text, 0) && ::fdatasync(fd.get()) == 0;
    if (!fd.close() || !written) {
        ::unlinkat(dir.fd.get(), name.c_str(), 0);
        return false;
    }
    return ::fsync(dir.fd.get()) == 0 || errno == EINVAL;
}

std::vector<std::string> takeNotices(const std::string& stateFolder) {
    std::vector<std::string> texts;
    const PrivateFolder dir = openPrivateFolder(stateFolder, false);
    if (!dir.ok()) return texts;
    const int listing = ::fcntl(dir.fd.get(), F_DUPFD_CLOEXEC, 0);
    DIR* d = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!d) {
        if (listing >= 0) ::close(listing);
        return texts;
    }
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(d))
        if (std::string_view(entry->d_name).starts_with(kPrefix)) names.emplace_back(entry->d_name);
    ::closedir(d);
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        const Fd fd(::openat(dir.fd.get(), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
        struct stat st {};
        if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !isOwnPrivateFile(st)) continue;
        std::string text;
        if (readAll(fd.get(), kMaxNoticeBytes, static_cast<std::size_t>(st.st_size), text) != ReadResult::Ok) continue;
        texts.push_back(std::move(text));
        ::unlinkat(dir.fd.get(), name.c_str(), 0);
    }
    return texts;
}

}  // namespace kalvo
