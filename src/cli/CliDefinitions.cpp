#include "cli/CliDefinitions.h"

namespace tessaro {

bool OpenDefinitions(DefinitionDb& db, const std::string& path, std::ostream& err) {
  const std::string dbPath = path.empty() ? DefinitionDb::DefaultPath() : path;
  if (db.Open(dbPath)) return true;
  err << "tessaro-cli: cannot open the definition database " << dbPath << std::endl;
  return false;
}

}  // namespace tessaro
