#include "platform/paths.h"

#include <QDir>
#include <QFileInfo>

namespace kalvo {

QStringList eraFileFolders(const QString& programDir) {
    QStringList folders{programDir};
    // An installed program lives in <prefix>/bin and keeps its data in <prefix>/share/kalvo.
    folders << QDir::cleanPath(programDir + QStringLiteral("/../share/kalvo"));
#ifdef KALVO_DATADIR
    const QString configured = QStringLiteral(KALVO_DATADIR);
    if (!folders.contains(QDir::cleanPath(configured))) folders << QDir::cleanPath(configured);
#endif
    return folders;
}

QString findFile(const QStringList& folders, const QString& name) {
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(name);
        if (QFileInfo(path).isFile()) return path;
    }
    return QDir(folders.value(0)).filePath(name);
}

}  // namespace kalvo
