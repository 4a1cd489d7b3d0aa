#include "cli/CollectCommand.h"

#include <stdlib.h>
#include <CLI/CLI.hpp>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/CliDefinitions.h"
#include "cli/CliFileOptions.h"
#include "cli/CliFolders.h"
#include "cli/CollectRetries.h"
#include "cli/CollectSummary.h"
#include "cli/SlaveList.h"
#include "cli/StderrProgress.h"
#include "core/collect/CollectionPlan.h"
#include "core/collect/CsvAppend.h"
#include "core/collect/RingCatalog.h"
#include "core/collect/TemporaryNames.h"
#include "core/collect/ThredTess.h"
#include "core/line/LineBusyError.h"
#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"
#include "core/support/AppPaths.h"
#include "core/support/AppSettings.h"
#include "core/support/CodePage.h"
#include "core/support/Messages.h"
#include "core/support/OutputTarget.h"

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

// Usage errors the option parser cannot see; false after saying why.
bool UsageAccepted(const CollectArguments& arguments, std::ostream& err) {
  const auto refuse = [&err](const std::string& why) {
    err << "tessaro-cli: " << why << std::endl;
    return false;
  };
  if (arguments.slaves.empty() &&
      (HasSlavePattern(arguments.csvPath) || HasSlavePattern(arguments.appendPath)))
    return refuse("{slave} in a file name needs a --slave list");
  if (arguments.slaves.size() > 1 && !arguments.csvPath.empty() &&
      !HasSlavePattern(arguments.csvPath))
    return refuse("--csv needs {slave} in its name when several slaves are collected");
  if (arguments.slaves.size() > 1 && !arguments.appendPath.empty() &&
      !HasSlavePattern(arguments.appendPath))
    return refuse("--append needs {slave} in its name when several slaves are collected");
  if (!arguments.appendPath.empty() && arguments.form == CsvType::Q5)
    return refuse("--append writes the Corvex form; the Q5 form cannot be appended to");
  return true;
}

const char* OutcomeName(TryOutcome outcome) {
  switch (outcome) {
    case TryOutcome::Ok:
      return "ok";
    case TryOutcome::LineBusy:
      return "line busy";
    case TryOutcome::Cancelled:
      return "cancelled";
    case TryOutcome::LineFailed:
    case TryOutcome::Failed:
      break;
  }
  return "failed";
}

// Closes and opens the line again: a fresh connection for the next try.
TryOutcome Reopen(LineContext& line, std::ostream& err) {
  LineClose(line);
  try {
    LineOpen(line);
  } catch (const ELineBusy& busy) {
    err << "tessaro-cli: " << busy.what() << std::endl;
    return TryOutcome::LineBusy;
  } catch (const ECommError& failure) {
    err << failure.what() << std::endl;
    return TryOutcome::LineFailed;
  }
  return TryOutcome::Ok;
}

// A folder of its own for the ring's CSV file of an --append run, removed
// with what it holds.
class WorkFolder {
 public:
  WorkFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/tessaro-append-XXXXXX";
    if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~WorkFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  WorkFolder(const WorkFolder&) = delete;
  WorkFolder& operator=(const WorkFolder&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::optional<std::string> ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) return std::nullopt;
  return text.str();
}

// One recorder's collection, tried as often as the retries allow.
struct Collection {
  LineContext& line;
  const CollectArguments& arguments;
  const CollectSetup& setup;
  const DefinitionDb& db;
  StderrProgress& progress;
  std::string csvPath;     // empty: proposed (or, with --append, a work file)
  std::string appendPath;  // empty: no --append
  std::ostream& out;
  std::ostream& err;

  TryOutcome Try(CollectSummary& summary) {
    const int failuresBefore = line.LineFailures;
    // A failed exchange is the line's fault when something went unanswered.
    const auto exchangeFailed = [&] {
      if (progress.CancelRequested()) return TryOutcome::Cancelled;
      return line.LineFailures > failuresBefore ? TryOutcome::LineFailed : TryOutcome::Failed;
    };
    const auto fail = [&](const std::string& message, TryOutcome outcome) {
      summary.message = message;
      return outcome;
    };
    const bool appending = !appendPath.empty();
    if (appending) {
      // What a killed run left beside the file.
      const std::string folder = std::filesystem::path(appendPath).parent_path().string();
      RemoveStaleTemporaries({folder.empty() ? std::string(".") : folder});
      const OutputTarget target = ResolveOutputTarget(appendPath);
      if (!target.Usable()) {
        const std::string message = FormatMessage(MsgAppendWriteFailed, appendPath.c_str());
        err << message << "\n" << target.reason << std::endl;
        return fail(message, TryOutcome::Failed);
      }
    } else if (!csvPath.empty()) {
      CollectionRequest files;
      files.csvPath = csvPath;
      files.rlbPath = RlbPathFor(csvPath);
      files.saveDataFile = arguments.keepRlb;
      files.replaceRlb = arguments.overwrite;
      if (!FilesWritable(files, err))
        return fail("the files cannot be written", TryOutcome::Failed);
    }

    RingInfo info;
    StepResult step = ReadManagementInfo(line, progress, info);
    progress.Finish();
    if (!step) {
      err << step.message << std::endl;
      return fail(step.message, exchangeFailed());
    }
    summary.serial = Cp932ToUtf8(info.serial);

    CollectionOptions options;
    options.saveRlb = arguments.keepRlb;
    options.csvType = appending        ? CsvType::Corvex
                      : arguments.form ? *arguments.form
                                       : StoredForm(setup);
    bool asked = false;
    CollectionPlan plan;
    step = PlanCollection(
        info, arguments.ring, options.csvType,
        csvPath.empty() && !appending ? DataFolder(setup) : std::string(),
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
      return fail(step.message, TryOutcome::Failed);
    }

    WorkFolder work;
    if (appending && work.Path().empty())
      return fail("tessaro-cli: cannot make a work folder", TryOutcome::Failed);
    const std::string collected = appending         ? work.Path() + "/ring.csv"
                                  : csvPath.empty() ? plan.names.csvPath
                                                    : csvPath;
    CollectionRequest request =
        MakeCollectionRequest(plan, collected, options, arguments.highSpeed);
    request.programFolder = setup.programFolder;
    request.replaceRlb = arguments.overwrite;
    if (!FilesWritable(request, err))
      return fail("the files cannot be written", TryOutcome::Failed);
    progress.SetCaption(LoadMessage(MsgCollectCaption));
    const StepResult result = TThredTess::Run(line, request, db, progress);
    progress.Finish();
    if (!result) {
      // The text is on err already; the system's reason follows it.
      if (!result.reason.empty()) err << result.reason << std::endl;
      return fail(result.message, exchangeFailed());
    }

    const bool corvex = options.csvType == CsvType::Corvex;
    std::optional<std::string> ring;
    if (appending || (corvex && !arguments.summaryPath.empty())) ring = ReadText(collected);
    if (appending && !ring)
      return fail("tessaro-cli: cannot read " + collected, TryOutcome::Failed);
    if (ring) {
      AppendPlan whole;
      if (PlanAppend(std::nullopt, *ring, collected, whole)) {
        summary.recordsCollected = whole.count;
        summary.firstRecord = whole.firstTime;
        summary.lastRecord = whole.lastTime;
      }
    }
    if (appending) {
      AppendPlan added;
      const StepResult appended = AppendNewRecords(appendPath, *ring, added);
      if (!appended) {
        err << appended.message << std::endl;
        if (!appended.reason.empty()) err << appended.reason << std::endl;
        return fail(appended.message, TryOutcome::Failed);
      }
      summary.recordsAppended = added.count;
      summary.firstRecord = added.firstTime;
      summary.lastRecord = added.lastTime;
      out << appendPath << std::endl;
      return TryOutcome::Ok;
    }
    out << request.csvPath << std::endl;
    if (request.saveDataFile) out << request.rlbPath << std::endl;
    return TryOutcome::Ok;
  }
};
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
  command.add_option("--retries", arguments.retries, "try again this often after a line failure")
      ->check(CLI::Range(0, 1000));
  command
      .add_option("--retry-wait", arguments.retryWaitSeconds, "seconds between tries (default 10)")
      ->check(CLI::Range(0.0, 86400.0));
  CLI::Option* append =
      command.add_option("--append", arguments.appendPath,
                         "add the ring's new records to this growing Corvex CSV file");
  append->type_name("FILE.CSV")->excludes("--csv")->excludes("--keep-rlb");
  command
      .add_option_function<std::string>(
          "--slave",
          [&arguments](const std::string& text) {
            std::string why;
            const auto ids = ParseSlaveList(text, why);
            if (!ids) throw CLI::ValidationError("--slave", why);
            arguments.slaves = *ids;
          },
          "collect each of these slave IDs in turn; {slave} in a file name stands for the ID")
      ->type_name("ID,ID,...");
  command
      .add_option("--summary-json", arguments.summaryPath,
                  "add a JSON line with the outcome of each collection to FILE")
      ->type_name("FILE");
}

int RunCollectCommand(LineContext& line, const CollectArguments& arguments,
                      const CollectSetup& setup, std::ostream& out, std::ostream& err) {
  if (!UsageAccepted(arguments, err)) return kExitUsage;
  DefinitionDb db;
  if (!OpenDefinitions(db, setup.databasePath, err)) return kExitFailed;
  StderrProgress progress(err);
  if (setup.interruptCancels) StderrProgress::CancelOnInterrupt();
  const RetryPolicy policy{arguments.retries, arguments.retryWaitSeconds};
  const auto cancelled = [&progress] { return progress.CancelRequested(); };

  std::vector<std::optional<int>> targets(1);
  if (!arguments.slaves.empty()) targets.assign(arguments.slaves.begin(), arguments.slaves.end());
  std::vector<std::string> failed;
  bool onlyBusy = true;
  for (const std::optional<int>& slave : targets) {
    Collection collection{
        line,
        arguments,
        setup,
        db,
        progress,
        slave ? ExpandSlavePath(arguments.csvPath, *slave) : arguments.csvPath,
        slave ? ExpandSlavePath(arguments.appendPath, *slave) : arguments.appendPath,
        out,
        err};
    CollectSummary summary;
    summary.started = LocalTimestamp();
    summary.ring = RingName(arguments.ring);
    summary.slave = slave;
    const auto begun = std::chrono::steady_clock::now();
    const RetryResult result = RunWithRetries(
        policy, slave ? "slave " + std::to_string(*slave) : std::string(),
        [&](int tryNumber) {
          if (slave) {
            LineSetSlave(line, true, *slave);
            LineFlowNone(line);
          }
          if (tryNumber > 1 || slave) {
            const TryOutcome reopened = Reopen(line, err);
            if (reopened != TryOutcome::Ok) return reopened;
          }
          return collection.Try(summary);
        },
        cancelled, err);
    summary.tries = result.tries;
    summary.outcome = OutcomeName(result.outcome);
    summary.durationSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count();
    if (!arguments.summaryPath.empty()) {
      std::string why;
      if (!AppendSummary(arguments.summaryPath, summary, why))
        err << "tessaro-cli: cannot write the summary: " << why << std::endl;
    }
    if (result.outcome != TryOutcome::Ok) {
      failed.push_back(slave ? std::to_string(*slave) : std::string("the recorder"));
      onlyBusy = onlyBusy && result.outcome == TryOutcome::LineBusy;
    }
    if (result.outcome == TryOutcome::Cancelled) break;
  }
  if (failed.empty()) return kExitOk;
  if (!arguments.slaves.empty()) {
    std::string list;
    for (const std::string& id : failed) list += (list.empty() ? "" : ", ") + id;
    err << "tessaro-cli: " << failed.size() << " of " << targets.size()
        << " slaves failed: " << list << std::endl;
  }
  return onlyBusy ? kExitLineBusy : kExitFailed;
}

int RunCollect(CliContext& context, const CollectArguments& arguments) {
  if (!PrepareUserFolders(context.err)) return kExitFailed;
  CollectSetup setup;
  setup.interruptCancels = true;
  RemoveStaleTemporariesAtStart(CurrentAppPaths());
  return RunCollectCommand(*context.line, arguments, setup, context.out, context.err);
}

}  // namespace tessaro
