// Text between the core, which holds UTF-8 std::string, and the widgets, which hold QString.
#pragma once

#include <QString>
#include <string>

namespace kalvo {

inline QString toQt(const std::string& utf8) { return QString::fromStdString(utf8); }
inline std::string toUtf8(const QString& text) { return text.toStdString(); }

}  // namespace kalvo
