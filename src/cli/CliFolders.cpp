#include "cli/CliFolders.h"

#include <cstring>

#include "core/support/AppPaths.h"

namespace tessaro {

bool PrepareUserFolders(std::ostream& err) {
  const auto failure = CreateUserFolders(CurrentAppPaths());
  if (!failure) return true;
  err << "tessaro-cli: cannot create the folder " << failure->folder << "\n"
      << std::strerror(failure->error) << std::endl;
  return false;
}

}  // namespace tessaro
