// Feeds arbitrary bytes to the RLB analysis as a data file and reads records
// from whatever it accepts. The analysis must fail with a message, never
// crash, loop or allocate without bound.

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

#include "core/collect/DataFileAnalysis.h"
#include "core/collect/RecorderTuple.h"
#include "core/support/DefinitionDb.h"
#include "core/support/File.h"
#include "core/support/MessageBox.h"

namespace {

using namespace tessaro;

class SilentBoxes : public MessageBoxHandler {
 public:
  BoxResult ShowError(const std::string&) override { return BoxResult::Ok; }
  BoxResult ShowWarning(const std::string&) override { return BoxResult::Ok; }
  BoxResult AskInformation(const std::string&) override { return BoxResult::Ok; }
  BoxResult AskWarning(const std::string&) override { return BoxResult::Ok; }
  BoxResult AskYesNo(const std::string&) override { return BoxResult::Yes; }
};

struct Environment {
  Environment() {
    InstallMessageBoxHandler(&boxes);
    db.OpenDefault();  // without it every mode is unknown, which is a path too
    char templ[] = "/tmp/tessaro-fuzz-XXXXXX";
    if (::mkdtemp(templ)) folder = templ;
    input = folder + "/input.RLB";
  }
  ~Environment() {
    ::unlink(input.c_str());
    ::rmdir(folder.c_str());
  }
  SilentBoxes boxes;
  DefinitionDb db;
  std::string folder;
  std::string input;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Environment env;
  if (env.folder.empty()) return 0;

  // The same bytes as a recorder tuple area.
  const std::span<const uint8_t> area(data, size);
  for (int number : {0, 107, 210, 640, 802, 0xFFFF}) {
    if (auto t = ReadRecorderTuple(area, number)) {
      t->Integer();
      t->Text();
      t->EncodeValue();
    }
  }

  {
    File f = File::Open(env.input, File::Mode::Create);
    if (!f || !f.WriteExact(data, size)) return 0;
  }
  DataFileInfo info;
  info.rlbPath = env.input;
  if (AnalyseDataFile(info, env.db, env.folder)) {
    std::vector<uint8_t> record;
    const int64_t count = info.recordCount < 64 ? info.recordCount : 64;
    for (int64_t e = 0; e < count; ++e) ReadRecord(e, info, record);
    for (int64_t e :
         {int64_t{-1}, info.recordCount, info.recordCount + 12345, int64_t{1} << 40, INT64_MAX})
      ReadRecord(e, info, record);
  }
  return 0;
}
