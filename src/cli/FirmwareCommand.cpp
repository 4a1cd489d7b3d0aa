#include "cli/FirmwareCommand.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cinttypes>
#include <cstdio>
#include <iostream>

#include "cli/StderrProgress.h"
#include "core/firmware/MotWrite.h"
#include "core/firmware/SRecordFile.h"
#include "core/recorder/RecorderSession.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

void PrintSummary(const SRecordFile& file, std::ostream& out) {
  const SRecordSummary& summary = file.Summary();
  for (size_t type = 0; type < summary.recordsOfType.size(); ++type) {
    if (summary.recordsOfType[type] > 0)
      out << "S" << type << " records: " << summary.recordsOfType[type] << "\n";
  }
  out << "data bytes: " << summary.dataBytes << "\n";
  if (summary.dataBytes > 0) {
    char range[48];
    std::snprintf(range, sizeof range, "addresses: 0x%08" PRIX32 "-0x%08" PRIX32,
                  summary.lowAddress, summary.highAddress);
    out << range << "\n";
  }
  out.flush();
}

// A yes or no on the terminal; anything but y or yes is no.
bool AskOnTerminal(const std::string& question, std::ostream& err) {
  err << question << " [y/N] " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  return answer == "y" || answer == "Y" || answer == "yes";
}

}  // namespace

void BindFirmwareArguments(CLI::App& command, FirmwareArguments& arguments) {
  command.add_option("FILE", arguments.file, "the S-record (.MOT) file")->required();
  command.add_flag("--yes", arguments.yes,
                   "write without asking, and go on past the "
                   "recorder's unexpected answer to \"selectrome\"");
  command.add_flag("--check", arguments.check,
                   "only check the file and print its records, data bytes and addresses");
}

int RunFirmware(CliContext& context, const FirmwareArguments& arguments) {
  SRecordFile file;
  const StepResult loaded = file.Load(arguments.file);
  if (!loaded) {
    context.err << loaded.message << "\n";
    if (!loaded.reason.empty()) context.err << arguments.file << ": " << loaded.reason << "\n";
    return kExitUsage;
  }
  if (arguments.check) {
    PrintSummary(file, context.out);
    return kExitOk;
  }
  const bool onTerminal = ::isatty(STDIN_FILENO) == 1;
  if (!arguments.yes) {
    if (!onTerminal) {
      context.err << "tessaro-cli: firmware: not on a terminal to ask; --yes writes without "
                     "asking\n";
      return kExitUsage;
    }
    const std::string question = "Write " + arguments.file + " (" +
                                 std::to_string(file.Records().size()) +
                                 " records) to the recorder?";
    if (!AskOnTerminal(question, context.err)) {
      context.err << "tessaro-cli: firmware: nothing written\n";
      return kExitFailed;
    }
  }
  if (!context.openLine()) return kExitFailed;

  StderrProgress progress(context.err);
  if (&context.err == &std::cerr) StderrProgress::CancelOnInterrupt();
  progress.SetCaption(LoadMessage(MsgMotCaption));
  progress.SetMessage(LoadMessage(MsgMotTransferring));
  RecorderSession session(*context.line, progress);
  TMotWrite writer(session, [&](const std::string& question) {
    if (arguments.yes) return true;
    progress.Finish();
    return AskOnTerminal(question, context.err);
  });
  const MotWriteResult result = writer.Write(file);
  progress.Finish();
  switch (result) {
    case MotWriteResult::Written:
      context.out << LoadMessage(MsgMotDone) << std::endl;
      return kExitOk;
    case MotWriteResult::Unchanged:
      context.err << LoadMessage(MsgMotFailed) << "\n"
                  << "tessaro-cli: firmware: the recorder's program is unchanged\n";
      return kExitFailed;
    case MotWriteResult::Incomplete:
      break;
  }
  context.err << LoadMessage(MsgMotFailed) << "\n"
              << "tessaro-cli: firmware: the write stopped after the recorder began to take "
                 "the new program; the recorder may need a new write\n";
  return kExitFirmwareIncomplete;
}

}  // namespace tessaro
