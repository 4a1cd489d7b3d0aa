#include "cli/IntervalsCommand.h"

#include <CLI/CLI.hpp>
#include <string>

#include "cli/CliDefinitions.h"
#include "cli/StderrProgress.h"
#include "core/settings/CodeList.h"
#include "core/settings/MeasurementInterval.h"

namespace tessaro {
namespace {

struct Requested {
  const char* name;
  const std::optional<int>& code;
  IntervalSetting& setting;  // as read, then as requested
  IntervalSetting& written;  // what goes to the recorder: left without a list when not requested
};

void PrintSetting(const char* name, const IntervalSetting& setting, const DefinitionDb& db,
                  std::ostream& out) {
  out << name << ": ";
  if (setting.Used())
    out << setting.code << "\t" << db.IntervalText(setting.code) << "\n";
  else
    out << "unused\n";
}

}  // namespace

void BindIntervalsArguments(CLI::App& command, IntervalsArguments& arguments) {
  command.add_option("--interval", arguments.interval, "the measurement interval code")
      ->type_name("C");
  command.add_option("--pre-timer", arguments.preTimer, "the pre-timer code")->type_name("C");
  command.add_option("--sampling", arguments.sampling, "the sampling interval code")
      ->type_name("C");
}

int RunIntervals(CliContext& context, const IntervalsArguments& arguments) {
  DefinitionDb db;
  if (!OpenDefinitions(db, {}, context.err)) return kExitFailed;
  StderrProgress progress(context.err);
  MeasurementInterval timing;
  const StepResult read = ReadMeasurementInterval(*context.line, progress, timing);
  progress.Finish();
  if (!read) {
    context.err << read.message << std::endl;
    return kExitFailed;
  }
  // Only the settings asked for are written.
  MeasurementInterval toWrite;
  toWrite.intervalAddress = timing.intervalAddress;
  const Requested requests[] = {
      {"interval", arguments.interval, timing.interval, toWrite.interval},
      {"pre-timer", arguments.preTimer, timing.preTimer, toWrite.preTimer},
      {"sampling", arguments.sampling, timing.sampling, toWrite.sampling}};
  bool writing = false;
  for (const Requested& request : requests) {
    if (!request.code) continue;
    if (!ListsCode(request.setting.codes, *request.code)) {
      context.err << "tessaro-cli: " << request.name << " code " << *request.code;
      if (request.setting.Used())
        context.err << " is not in the recorder's list " << CodeListText(request.setting.codes);
      else
        context.err << " cannot be set: the recorder has no " << request.name << " list";
      context.err << "; nothing written" << std::endl;
      return kExitFailed;
    }
    request.setting.code = *request.code;
    request.written = request.setting;
    writing = true;
  }
  if (writing) {
    const StepResult written = WriteMeasurementInterval(*context.line, progress, toWrite);
    if (!written) {
      context.err << written.message << std::endl;
      return kExitFailed;
    }
  }
  for (const Requested& request : requests)
    PrintSetting(request.name, request.setting, db, context.out);
  context.out.flush();
  return kExitOk;
}

}  // namespace tessaro
