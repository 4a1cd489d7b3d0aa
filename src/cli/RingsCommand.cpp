#include "cli/RingsCommand.h"

#include "cli/CliDefinitions.h"
#include "cli/StderrProgress.h"
#include "core/collect/RingCatalog.h"
#include "core/support/CodePage.h"
#include "core/support/Messages.h"

namespace tessaro {

// Recorder texts are CP932 bytes; the listing is for reading, so they are
// shown in UTF-8 like the message texts around them.
int RunRingsCommand(LineContext& line, const std::string& databasePath, std::ostream& out,
                    std::ostream& err) {
  DefinitionDb db;
  if (!OpenDefinitions(db, databasePath, err)) return kExitFailed;
  StderrProgress progress(err);
  RingInfo info;
  const StepResult step = ReadManagementInfo(line, progress, info);
  progress.Finish();
  if (!step) {
    err << step.message << std::endl;
    return kExitFailed;
  }
  out << "version: " << Cp932ToUtf8(info.version) << "\n"
      << "serial: " << Cp932ToUtf8(info.serial) << "\n"
      << "rings: " << info.ringCount << "\n"
      << "data area: " << info.dataAreaSize << "\n";
  for (size_t r = 0; r < info.rings.size(); ++r) {
    const RingPanel panel = MakeRingPanel(info, static_cast<int>(r), db);
    out << "\n[" << panel.ring << "]\n"
        << "data count: " << panel.dataCount << "\n"
        << "channels: " << panel.channelCount << "\n"
        << "interval: " << panel.interval << "\n"
        << "start: " << panel.start << "\n"
        << "stop: " << panel.stop << "\n";
    for (size_t k = 0; k < panel.memos.size(); ++k)
      out << "memo" << k + 1 << ": " << Cp932ToUtf8(panel.memos[k]) << "\n";
  }
  out.flush();
  return kExitOk;
}

int RunRings(CliContext& context) {
  StderrProgress::CancelOnInterrupt();
  return RunRingsCommand(*context.line, {}, context.out, context.err);
}

}  // namespace tessaro
