#pragma once

#include <string>

namespace tessaro {

// The path with the extension of its last component replaced by extension
// (which includes the dot), or extension appended when there is none. A
// leading dot ("/data/.hidden") is a name, not an extension.
std::string ChangeExtension(const std::string& path, const std::string& extension);

// True when both names reach one file: an existing file under both (spelled
// differently, through a symbolic link or a hard link), or, for a file not
// made yet, names that lead to one place once links, "." and ".." are
// resolved. Letter case counts, as in the file system.
bool NameOneFile(const std::string& a, const std::string& b);

}  // namespace tessaro
