#include "cli/CollectCommand.h"

#include "cli/CliDefinitions.h"
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

bool TakeValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
               std::string& value, bool hasValue, std::string& error) {
  if (hasValue) return true;
  if (i + 1 >= args.size()) {
    error = name + " needs a value";
    return false;
  }
  value = args[++i];
  return true;
}

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

bool ParseCollectArguments(const std::vector<std::string>& args, CollectArguments& parsed,
                           std::string& error) {
  parsed = CollectArguments{};
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::string value;
    const size_t eq = name.find('=');
    const bool hasValue = name.rfind("--", 0) == 0 && eq != std::string::npos;
    if (hasValue) {
      value = name.substr(eq + 1);
      name.resize(eq);
    }
    if (name == "--keep-rlb" || name == "--overwrite" || name == "--overwrite-ok" ||
        name == "--high-speed") {
      if (hasValue) {
        error = name + " takes no value";
        return false;
      }
      (name == "--keep-rlb"       ? parsed.keepRlb
       : name == "--overwrite"    ? parsed.overwrite
       : name == "--overwrite-ok" ? parsed.overwriteOk
                                  : parsed.highSpeed) = true;
    } else if (name == "--ring") {
      if (!TakeValue(args, i, name, value, hasValue, error)) return false;
      const auto ring = ParseRingName(value);
      if (!ring || *ring >= kMaxCollectableRings) {
        error = "--ring takes NEW or OLD-01 .. OLD-31, not " + value;
        return false;
      }
      parsed.ring = *ring;
    } else if (name == "--form") {
      if (!TakeValue(args, i, name, value, hasValue, error)) return false;
      if (value == "q5") {
        parsed.form = CsvType::Q5;
      } else if (value == "corvex") {
        parsed.form = CsvType::Corvex;
      } else {
        error = "--form takes q5 or corvex, not " + value;
        return false;
      }
    } else if (name == "--csv") {
      if (!TakeValue(args, i, name, value, hasValue, error)) return false;
      if (value.empty()) {
        error = "--csv needs a file name";
        return false;
      }
      parsed.csvPath = value;
    } else {
      error = "unknown argument " + name + " for collect";
      return false;
    }
  }
  if (!parsed.csvPath.empty() && RlbPathFor(parsed.csvPath) == parsed.csvPath) {
    error = "--csv names the RLB file of the collection: " + parsed.csvPath;
    return false;
  }
  return true;
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

int RunCollect(CliContext& context) {
  return RunWithArguments<CollectArguments>(
      context, ParseCollectArguments, [&](const CollectArguments& arguments) {
        CollectSetup setup;
        setup.interruptCancels = true;
        RemoveStaleTemporariesAtStart(CurrentAppPaths());
        return RunCollectCommand(*context.line, arguments, setup, context.out, context.err);
      });
}

}  // namespace tessaro
