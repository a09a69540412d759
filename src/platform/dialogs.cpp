#include "platform/dialogs.h"

#include <cstdio>

namespace kalvo {

Answer Dialogs::printUnattended(const QString& text, const QString& title) {
    const QString line = QString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    std::fprintf(stderr, "kalvo: %s: %s\n", (title.isEmpty() ? QStringLiteral("Kalvo") : title).toStdString().c_str(),
                 line.toStdString().c_str());
    return Answer::Closed;
}

}  // namespace kalvo
