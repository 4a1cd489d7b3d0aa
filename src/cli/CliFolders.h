#pragma once

#include <ostream>

namespace tessaro {

// Creates the current user's folders that a command writes to (base,
// settings, LOG and work folders); the first that cannot be made is told on
// err with the system's reason, before the command starts its work.
bool PrepareUserFolders(std::ostream& err);

}  // namespace tessaro
