#include "platform/paths.h"

#include "core/text/cp932.h"
#include "platform/file_io.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstdlib>

namespace kalvo {

std::vector<std::string> eraFileFolders(const std::string& programDir) {
    std::vector<std::string> folders{programDir};
    // An installed program lives in <prefix>/bin and keeps its data in <prefix>/share/kalvo.
    folders.push_back(joinPath(folderOf(programDir), "share/kalvo"));
#ifdef KALVO_DATADIR
    const std::string configured = KALVO_DATADIR;
    if (std::find(folders.begin(), folders.end(), configured) == folders.end()) folders.push_back(configured);
#endif
    return folders;
}

std::string findFile(const std::vector<std::string>& folders, const std::string& name) {
    for (const std::string& folder : folders) {
        const std::string path = joinPath(folder, name);
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) return path;
    }
    return joinPath(folders.empty() ? std::string(".") : folders.front(), name);
}

std::string currentFolder() {
    std::string buffer(4096, '\0');
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size())) return buffer.c_str();
        if (errno != ERANGE || buffer.size() > (1u << 20)) return ".";
        buffer.resize(buffer.size() * 2);
    }
}

std::string programFolder() {
    std::string buffer(4096, '\0');
    for (;;) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return ".";
        if (static_cast<size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<size_t>(n));
            return folderOf(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return {};
}

std::string stateFolder(const std::string& home) {
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/') return joinPath(state, "kalvo");
    if (home.empty()) return {};
    return joinPath(home, ".local/state/kalvo");
}

QString displayPath(const std::string& path) {
    const QString utf8 = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
    if (utf8.toStdString() == path) return utf8;
    std::string decoded;
    if (cp932ToUtf8(path, decoded)) return QString::fromStdString(decoded);
    return utf8;
}

}  // namespace kalvo
