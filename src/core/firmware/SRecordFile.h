#pragma once
// A firmware file, read whole and checked before anything is sent: every
// line an S-record with a matching count byte and checksum, S5/S6 counts
// that match the data records before them, at least one data record and
// exactly one end record (S7, S8 or S9) as the last record. Lines end with
// LF or CR LF; a final Ctrl-Z and blank lines after the end record are
// overlooked.
//
//   SRecordFile file;
//   if (StepResult loaded = file.Load(path); !loaded) report(loaded.message);
//   for (const std::string& record : file.Records()) ...

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/collect/StepResult.h"

namespace tessaro {

struct SRecordSummary {
  std::array<int, 10> recordsOfType{};  // by the digit after 'S'
  int64_t dataBytes = 0;                // carried by S1, S2 and S3 records
  uint32_t lowAddress = 0;              // first and last data byte address,
  uint32_t highAddress = 0;             // when there are data bytes
};

class SRecordFile {
 public:
  // A larger file is refused unread: no recorder program is that big.
  static constexpr int64_t kMaxFileSize = 64 << 20;

  // Reads the whole file and checks it; the failure carries the user's
  // message (with the line number) and, for a read error, the reason.
  StepResult Load(const std::string& path);
  // Checks the bytes of a whole file.
  StepResult Parse(std::string_view bytes);

  // The records as they are sent, without line ends, in file order.
  const std::vector<std::string>& Records() const { return records_; }
  const SRecordSummary& Summary() const { return summary_; }

 private:
  StepResult Check(std::string_view bytes);

  std::vector<std::string> records_;
  SRecordSummary summary_;
};

}  // namespace tessaro
