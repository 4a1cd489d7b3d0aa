#pragma once
// File dialog filters are kept as "description|pattern|description|pattern"
// texts; Qt wants "description (patterns);;...". Patterns such as *.MOT also
// match the lower-case name, since Linux file names are case-sensitive, and
// *.* means every file.

#include <QString>

namespace tessaro {

QString ToQtFileFilter(const QString& filter);

}  // namespace tessaro
