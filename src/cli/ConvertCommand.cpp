#include "cli/ConvertCommand.h"

#include "cli/CliDefinitions.h"
#include "cli/StderrProgress.h"
#include "core/collect/ConversionStep.h"
#include "core/collect/TemporaryNames.h"
#include "core/support/AppPaths.h"
#include "core/support/FileNames.h"

namespace tessaro {

bool ParseConvertArguments(const std::vector<std::string>& args, ConvertArguments& parsed,
                           std::string& error) {
  parsed = ConvertArguments{};
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::string value;
    bool hasValue = false;
    if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
      value = arg.substr(arg.find('=') + 1);
      arg = arg.substr(0, arg.find('='));
      hasValue = true;
    }
    if (arg == "--csv" || arg == "--form") {
      if (!hasValue) {
        if (i + 1 >= args.size()) {
          error = arg + " needs a value";
          return false;
        }
        value = args[++i];
      }
      if (arg == "--csv") {
        if (value.empty()) {
          error = "--csv needs a file name";
          return false;
        }
        parsed.csvPath = value;
      } else if (value == "q5") {
        parsed.form = CsvType::Q5;
      } else if (value == "corvex") {
        parsed.form = CsvType::Corvex;
      } else {
        error = "--form takes q5 or corvex, not " + value;
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg + " for convert";
      return false;
    } else if (parsed.rlbPath.empty()) {
      parsed.rlbPath = arg;
    } else {
      error = "convert takes one RLB file";
      return false;
    }
  }
  if (parsed.rlbPath.empty()) {
    error = "convert needs an RLB file";
    return false;
  }
  return true;
}

std::string DefaultCsvPath(const std::string& rlbPath) { return ChangeExtension(rlbPath, ".CSV"); }

int RunConvertCommand(const ConvertArguments& arguments, const ConvertSetup& setup,
                      std::ostream& out, std::ostream& err) {
  DefinitionDb db;
  if (!OpenDefinitions(db, setup.databasePath, err)) return kExitFailed;
  const std::string csvPath =
      arguments.csvPath.empty() ? DefaultCsvPath(arguments.rlbPath) : arguments.csvPath;
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

int RunConvert(CliContext& context) {
  return RunWithArguments<ConvertArguments>(
      context, ParseConvertArguments, [&](const ConvertArguments& arguments) {
        ConvertSetup setup;
        setup.interruptCancels = true;
        RemoveStaleTemporariesAtStart(CurrentAppPaths());
        return RunConvertCommand(arguments, setup, context.out, context.err);
      });
}

}  // namespace tessaro
