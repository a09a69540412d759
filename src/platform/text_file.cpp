#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace kalvo {

FileBytes readFileBytes(const std::string& path) {
    FileBytes result;
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
    result.bytes.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return result;
}

TextLines readTextFile(const std::string& path) {
    TextLines result;
    const FileBytes file = readFileBytes(path);
    if (file.status != FileStatus::Ok) {
        result.status = file.status;
        return result;
    }
    DecodedLines decoded = decodeCp932Lines(file.bytes);
    if (decoded.badLine > 0) {
        result.status = FileStatus::BadEncoding;
        result.errorLine = decoded.badLine;
        return result;
    }
    result.lines = std::move(decoded.lines);
    return result;
}

FileStatus writeTextFile(const std::string& path, const std::vector<std::string>& lines) {
    std::string bytes;
    if (!encodeCp932Lines(lines, bytes)) return FileStatus::Unencodable;
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
