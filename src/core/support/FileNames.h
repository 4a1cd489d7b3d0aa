#pragma once

#include <string>

namespace tessaro {

// The path with the extension of its last component replaced by extension
// (which includes the dot), or extension appended when there is none. A
// leading dot ("/data/.hidden") is a name, not an extension.
std::string ChangeExtension(const std::string& path, const std::string& extension);

}  // namespace tessaro
