#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <iconv.h>

namespace kalvo {
namespace {

// One iconv conversion, opened once and used for every line of a file.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (opened()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // False when the text is not valid in the source encoding or has a character that
    // the target encoding cannot hold.
    bool run(const std::string& in, std::string& out) {
        out.clear();
        if (in.empty()) return true;
        if (!opened()) return false;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        buffer_.resize(in.size() * 4 + 16);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char* dst = buffer_.data();
        size_t dstLeft = buffer_.size();
        bool ok = iconv(cd_, &src, &srcLeft, &dst, &dstLeft) != static_cast<size_t>(-1) && srcLeft == 0;
        if (ok) ok = iconv(cd_, nullptr, nullptr, &dst, &dstLeft) != static_cast<size_t>(-1);
        if (!ok) return false;
        out.assign(buffer_.data(), buffer_.size() - dstLeft);
        return true;
    }

private:
    bool opened() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t cd_;
    std::string buffer_;
};

constexpr const char* kCodePage = "CP932";
constexpr const char* kUtf8 = "UTF-8";

}  // namespace

bool cp932ToUtf8(const std::string& in, std::string& out) { return Converter(kUtf8, kCodePage).run(in, out); }
bool utf8ToCp932(const std::string& in, std::string& out) { return Converter(kCodePage, kUtf8).run(in, out); }

std::vector<std::string> splitLines(const std::string& bytes) {
    // A file without a single LF but with CRs has CR line ends, as old Mac editors
    // write them; anywhere else a CR counts only just before an LF.
    const bool crOnly = bytes.find('\n') == std::string::npos && bytes.find('\r') != std::string::npos;
    const char end = crOnly ? '\r' : '\n';
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t stop = bytes.find(end, start);
        if (stop == std::string::npos) stop = bytes.size();
        const size_t next = stop + 1;
        if (!crOnly && stop > start && bytes[stop - 1] == '\r') --stop;
        lines.emplace_back(bytes, start, stop - start);
        start = next;
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
    Converter decode(kUtf8, kCodePage);
    for (size_t i = 0; i < raw.size(); ++i) {
        std::string text;
        if (!decode.run(raw[i], text)) {
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
    Converter encode(kCodePage, kUtf8);
    std::string encoded;
    for (const auto& line : lines) {
        if (!encode.run(line, encoded)) return FileStatus::Unencodable;
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
