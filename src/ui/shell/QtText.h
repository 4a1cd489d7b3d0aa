#pragma once
// Conversions between the core's UTF-8 texts and Qt strings.

#include <QString>
#include <string>

#include "core/support/Messages.h"

namespace tessaro {

inline QString ToQt(const std::string& text) { return QString::fromStdString(text); }
inline std::string FromQt(const QString& text) { return text.toStdString(); }
// The message text of a number, as a Qt string.
inline QString Msg(int id) { return ToQt(LoadMessage(id)); }

}  // namespace tessaro
