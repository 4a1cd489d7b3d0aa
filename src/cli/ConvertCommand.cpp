#include "cli/ConvertCommand.h"

#include <CLI/CLI.hpp>

#include "cli/CliDefinitions.h"
#include "cli/CliFileOptions.h"
#include "cli/CliFolders.h"
#include "cli/StderrProgress.h"
#include "core/collect/ConversionStep.h"
#include "core/collect/TemporaryNames.h"
#include "core/support/AppPaths.h"
#include "core/support/FileNames.h"

namespace tessaro {

void BindConvertArguments(CLI::App& command, ConvertArguments& arguments) {
  command.add_option("RLB", arguments.rlbPath, "the RLB file to convert")->required();
  AddCsvOption(command, arguments.csvPath);
  AddFormOption(command, [&arguments](CsvType form) { arguments.form = form; });
}

std::string DefaultCsvPath(const std::string& rlbPath) { return ChangeExtension(rlbPath, ".CSV"); }

int RunConvertCommand(const ConvertArguments& arguments, const ConvertSetup& setup,
                      std::ostream& out, std::ostream& err) {
  DefinitionDb db;
  if (!OpenDefinitions(db, setup.databasePath, err)) return kExitFailed;
  const std::string csvPath =
      arguments.csvPath.empty() ? DefaultCsvPath(arguments.rlbPath) : arguments.csvPath;
  if (const StepResult names = CheckCsvIsNotRlb(csvPath, arguments.rlbPath); !names) {
    err << names.message << std::endl;
    return kExitFailed;
  }
  StderrProgress progress(err);
  if (setup.interruptCancels) StderrProgress::CancelOnInterrupt();
  const StepResult result =
      ConvertRlbFile(arguments.rlbPath, csvPath, arguments.form, db, progress, setup.programFolder);
  progress.Finish();
  if (!result) {
    if (!result.message.empty()) err << result.message << std::endl;
    if (!result.reason.empty()) err << result.reason << std::endl;
    return kExitFailed;
  }
  out << csvPath << std::endl;
  return kExitOk;
}

int RunConvert(CliContext& context, const ConvertArguments& arguments) {
  if (!PrepareUserFolders(context.err)) return kExitFailed;
  ConvertSetup setup;
  setup.interruptCancels = true;
  RemoveStaleTemporariesAtStart(CurrentAppPaths());
  return RunConvertCommand(arguments, setup, context.out, context.err);
}

}  // namespace tessaro
