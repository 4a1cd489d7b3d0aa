#include "core/support/FileNames.h"

namespace tessaro {

std::string ChangeExtension(const std::string& path, const std::string& extension) {
  const size_t nameStart =
      path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1;
  const size_t dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && dot > nameStart;
  return (hasExtension ? path.substr(0, dot) : path) + extension;
}

}  // namespace tessaro
