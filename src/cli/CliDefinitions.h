#pragma once

#include <ostream>
#include <string>

#include "core/support/DefinitionDb.h"

namespace tessaro {

// Opens the definitions database (path empty: the one beside the program)
// for a command; a failure is told on err.
bool OpenDefinitions(DefinitionDb& db, const std::string& path, std::ostream& err);

}  // namespace tessaro
