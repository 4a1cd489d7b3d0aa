#include "core/term/TermLog.h"

#include "core/support/File.h"
#include "core/support/Messages.h"

namespace tessaro {

int TermLog::Start(std::string path) {
  if (!File::OpenRegular(path, File::Mode::Append)) return MsgTermLogOpenFailed;
  path_ = std::move(path);
  return 0;
}

int TermLog::Append(std::string_view bytes) {
  if (!On() || bytes.empty()) return 0;
  // Opened per write, so the file is complete on disk between writes and
  // another program may read or move it meanwhile.
  File file = File::OpenRegular(path_, File::Mode::Append);
  int failure = 0;
  if (!file) {
    failure = MsgTermLogOpenFailed;
  } else if (!file.WriteExact(bytes.data(), bytes.size()) || !file.Close()) {
    failure = MsgTermLogWriteFailed;
  }
  if (failure != 0) Stop();
  return failure;
}

}  // namespace tessaro
