#include "cli/CollectCommand.h"

#include <CLI/CLI.hpp>

#include "cli/CliDefinitions.h"
#include "cli/CliFileOptions.h"
#include "cli/CliFolders.h"
#include "cli/StderrProgress.h"
#include "core/collect/CollectionPlan.h"
#include "core/collect/RingCatalog.h"
#include "core/collect/TemporaryNames.h"
#include "core/collect/ThredTess.h"
#include "core/support/AppPaths.h"
#include "core/support/AppSettings.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

// The data folder of the settings file ([Path] Data, else the base folder).
std::string DataFolder(const CollectSetup& setup) {
  AppSettings settings;
  if (setup.settingsFile.empty()) {
    const AppPaths paths = CurrentAppPaths();
    LoadSettings(paths.settingsFile, paths.baseFolder, settings);
  } else {
    LoadSettings(setup.settingsFile, setup.baseFolder, settings);
  }
  return settings.dataFolder;
}

// False, with the message, the reason and what to do, when the files of the
// request cannot be written.
bool FilesWritable(const CollectionRequest& request, std::ostream& err) {
  const StepResult checked = CheckCollectionFiles(request);
  if (checked) return true;
  err << checked.message << "\n" << checked.reason << "\n";
  if (!request.replaceRlb && RlbFileExists(request))
    err << "tessaro-cli: --overwrite replaces the existing RLB file"
        << "\n";
  return false;
}

CsvType StoredForm(const CollectSetup& setup) {
  const std::string file =
      setup.settingsFile.empty() ? CurrentAppPaths().settingsFile : setup.settingsFile;
  return LoadCollectionOptions(file).csvType;
}

}  // namespace

void BindCollectArguments(CLI::App& command, CollectArguments& arguments) {
  command
      .add_option_function<std::string>(
          "--ring",
          [&arguments](const std::string& name) {
            const auto ring = ParseRingName(name);
            if (!ring || *ring >= kMaxCollectableRings)
              throw CLI::ValidationError("--ring", "NEW or OLD-01 .. OLD-31, not " + name);
            arguments.ring = *ring;
          },
          "the ring to collect (default NEW)")
      ->type_name("NEW|OLD-nn");
  AddFormOption(command, [&arguments](CsvType form) { arguments.form = form; });
  AddCsvOption(command, arguments.csvPath)
      ->check(CLI::Validator(
          [](const std::string& path) {
            return CheckCsvIsNotRlb(path, RlbPathFor(path))
                       ? ""
                       : "names the RLB file of the collection";
          },
          ""));
  command.add_flag("--keep-rlb", arguments.keepRlb, "keep the RLB file beside the CSV file");
  command.add_flag("--overwrite", arguments.overwrite,
                   "replace an existing RLB file of the same name");
  command.add_flag("--overwrite-ok", arguments.overwriteOk,
                   "drop overwritten leading records without asking");
  command.add_flag("--high-speed", arguments.highSpeed,
                   "the main window's high-speed flag (128-byte recorders)");
}

int RunCollectCommand(LineContext& line, const CollectArguments& arguments,
                      const CollectSetup& setup, std::ostream& out, std::ostream& err) {
  DefinitionDb db;
  if (!OpenDefinitions(db, setup.databasePath, err)) return kExitFailed;
  if (!arguments.csvPath.empty()) {
    CollectionRequest files;
    files.csvPath = arguments.csvPath;
    files.rlbPath = RlbPathFor(arguments.csvPath);
    files.saveDataFile = arguments.keepRlb;
    files.replaceRlb = arguments.overwrite;
    if (!FilesWritable(files, err)) return kExitFailed;
  }
  StderrProgress progress(err);
  if (setup.interruptCancels) StderrProgress::CancelOnInterrupt();

  RingInfo info;
  StepResult step = ReadManagementInfo(line, progress, info);
  progress.Finish();
  if (!step) {
    err << step.message << std::endl;
    return kExitFailed;
  }

  CollectionOptions options;
  options.saveRlb = arguments.keepRlb;
  options.csvType = arguments.form ? *arguments.form : StoredForm(setup);
  bool asked = false;
  CollectionPlan plan;
  step = PlanCollection(
      info, arguments.ring, options.csvType,
      arguments.csvPath.empty() ? DataFolder(setup) : std::string(),
      [&](const std::string& question) {
        asked = true;
        if (arguments.overwriteOk) return true;
        err << question << std::endl;
        return false;
      },
      plan);
  if (!step) {
    // A declined overwrite question has been printed: it is the reason.
    if (!asked || arguments.overwriteOk) err << step.message << std::endl;
    return kExitFailed;
  }

  const std::string csvPath = arguments.csvPath.empty() ? plan.names.csvPath : arguments.csvPath;
  CollectionRequest request = MakeCollectionRequest(plan, csvPath, options, arguments.highSpeed);
  request.programFolder = setup.programFolder;
  request.replaceRlb = arguments.overwrite;
  if (!FilesWritable(request, err)) return kExitFailed;
  progress.SetCaption(LoadMessage(MsgCollectCaption));
  const StepResult result = TThredTess::Run(line, request, db, progress);
  progress.Finish();
  if (!result) {
    // The text is on err already; the system's reason follows it.
    if (!result.reason.empty()) err << result.reason << std::endl;
    return kExitFailed;
  }
  out << request.csvPath << std::endl;
  if (request.saveDataFile) out << request.rlbPath << std::endl;
  return kExitOk;
}

int RunCollect(CliContext& context, const CollectArguments& arguments) {
  if (!PrepareUserFolders(context.err)) return kExitFailed;
  CollectSetup setup;
  setup.interruptCancels = true;
  RemoveStaleTemporariesAtStart(CurrentAppPaths());
  return RunCollectCommand(*context.line, arguments, setup, context.out, context.err);
}

}  // namespace tessaro
