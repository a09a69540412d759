// Where the program finds its files.
#pragma once

#include <QString>
#include <QStringList>

namespace kalvo {

// The folders searched for the era files, in order: the program's own folder, then the
// shared data folder of an installed program.
QStringList eraFileFolders(const QString& programDir);

// The first existing file of that name in the folders, or the name in the first folder
// when none has it (so that messages name the place it was expected).
QString findFile(const QStringList& folders, const QString& name);

}  // namespace kalvo
