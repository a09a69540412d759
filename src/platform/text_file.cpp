#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <iconv.h>

namespace kalvo {
namespace {

bool convert(const char* to, const char* from, const std::string& in, std::string& out) {
    out.clear();
    if (in.empty()) return true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string buffer(in.size() * 4 + 16, '\0');
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char* dst = buffer.data();
    size_t dstLeft = buffer.size();
    bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
    if (ok) ok = iconv(cd, nullptr, nullptr, &dst, &dstLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    if (!ok) return false;
    out.assign(buffer.data(), buffer.size() - dstLeft);
    return true;
}

}  // namespace

bool cp932ToUtf8(const std::string& in, std::string& out) { return convert("UTF-8", "CP932", in, out); }
bool utf8ToCp932(const std::string& in, std::string& out) { return convert("CP932", "UTF-8", in, out); }

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        lines.emplace_back(bytes, start, stop - start);
        start = end + 1;
    }
    return lines;
}

TextLines readTextFile(const std::string& path) {
    TextLines result;
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    if (!info.exists()) {
        const bool folderThere = info.absoluteDir().exists() && !info.fileName().isEmpty();
        result.status = folderThere ? FileStatus::NotFound : FileStatus::PathNotFound;
        return result;
    }
    QFile file(name);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        result.status = FileStatus::ReadError;
        return result;
    }
    const QByteArray bytes = file.readAll();
    const bool failed = file.error() != QFileDevice::NoError;
    file.close();
    if (failed) {
        result.status = FileStatus::ReadError;
        return result;
    }
    auto raw = splitLines(bytes.toStdString());
    result.lines.reserve(raw.size());
    for (size_t i = 0; i < raw.size(); ++i) {
        std::string text;
        if (!cp932ToUtf8(raw[i], text)) {
            result.status = FileStatus::BadEncoding;
            result.errorLine = static_cast<int>(i) + 1;
            result.lines.clear();
            return result;
        }
        result.lines.push_back(std::move(text));
    }
    return result;
}

FileStatus writeTextFile(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) {
        std::string encoded;
        if (!utf8ToCp932(line, encoded)) return FileStatus::Unencodable;
        bytes += encoded;
        bytes += "\r\n";
    }
    QSaveFile file(QString::fromStdString(path));
    // Unbuffered: a buffered short write (disk full, file size limit) is lost in the flush
    // at commit, and the cut-off file would replace the old one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return FileStatus::WriteError;
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return FileStatus::WriteError;
    }
    return file.commit() ? FileStatus::Ok : FileStatus::WriteError;
}

}  // namespace kalvo
