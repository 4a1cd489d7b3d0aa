// Feeds arbitrary bytes to the firmware file check. It must accept or refuse
// with a message, never crash or loop; what it accepts must parse again
// record by record.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/firmware/SRecord.h"
#include "core/firmware/SRecordFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tessaro;
  SRecordFile file;
  const StepResult checked =
      file.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!checked) {
    if (checked.message.empty() || !file.Records().empty()) std::abort();
    return 0;
  }
  if (file.Records().empty()) std::abort();
  for (const auto& record : file.Records())
    if (!ParseSRecord(record)) std::abort();
  return 0;
}
