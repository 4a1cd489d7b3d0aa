#pragma once
// What the collection dialog decides on OK, without the dialog: the CSV
// form check, the proposed file names, the overwrite check and the records
// to skip, the ring mask, and the dialog's two stored options.
//
// How the dialog (a thin form) uses the core:
//   1. Before it opens: ReadCollectionOptions(settingsFile) (unreadable:
//      MsgCollectionSettingsAccess, then the defaults), then
//      ReadManagementInfo(line, gauge, info) behind the progress dialog; on
//      failure show the text with ShowError and do not open.
//   2. List RingName(r) for each info.rings entry; on a click show
//      MakeRingPanel(info, r, db).
//   3. On OK: SaveCollectionOptions (failure: MsgCollectionSettingsAccess),
//      then PlanCollection(info, r, csvType, dataFolder, AskOverwrite, plan)
//      where AskOverwrite asks its text with AskInformation; a failure's
//      text goes to ShowError and the dialog stays open.
//   4. Save dialog seeded with plan.names.csvPath; cancelled: stay open.
//   5. Hide, start TThredTess(line, MakeCollectionRequest(plan, chosenCsv,
//      options, highSpeedMode), db, gauge), show the progress dialog until
//      CollectionBusy is false, free the thread, show again and close.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/collect/CsvWriter.h"
#include "core/collect/DataFileAnalysis.h"
#include "core/collect/RingCatalog.h"
#include "core/collect/StepResult.h"
#include "core/collect/ThredTess.h"

namespace tessaro {

// [Rlb] Save and [Csv] Type of the settings file.
struct CollectionOptions {
  bool saveRlb = true;
  CsvType csvType = CsvType::Q5;
};
// nullopt when the settings file cannot be read (a missing file reads as
// empty: the defaults).
std::optional<CollectionOptions> ReadCollectionOptions(const std::string& settingsFile);
// The same, with the defaults for a file that cannot be read.
CollectionOptions LoadCollectionOptions(const std::string& settingsFile);
bool SaveCollectionOptions(const std::string& settingsFile, const CollectionOptions& options);
// [Csv] Type alone (the file conversion's choice becomes the default form).
bool SaveCsvType(const std::string& settingsFile, CsvType type);

// The text refusing a channel mode in the Q5 series form; nullopt when the
// form can hold it.
std::optional<std::string> Q5UnsupportedModeText(int mode);
// The first refusal over the ring's channels; success for the Corvex form.
StepResult CheckCsvForm(const RingEntry& ring, CsvType type);

struct OverwriteCheck {
  enum class Outcome {
    None,     // nothing overwritten
    Ask,      // leading records lost: collect the rest only after asking
    Refused,  // the data was overwritten altogether
  };
  Outcome outcome = Outcome::None;
  int64_t skipBytes = 0;  // whole records
  int64_t skipCount = 0;
};
// Total = byte counts of rings 0..ring; at least twice the data area
// refuses, above it the excess rounded up to whole records is skipped.
OverwriteCheck CheckOverwrite(const RingInfo& info, int ring);

struct CollectionPlan {
  int ring = 0;
  uint32_t ringMask = 0;
  int64_t skipCount = 0;
  int64_t skipBytes = 0;
  DataFileNames names;  // proposed in the data folder; empty when not asked for
};

// Asked with the overwrite question's text; true to go on.
using OverwriteQuestion = std::function<bool(const std::string& text)>;

// The OK checks in the dialog's order: CSV form, file names (only when
// dataFolder is not empty), a ring with data, overwritten data. The
// failure carries the text to show.
StepResult PlanCollection(const RingInfo& info, int ring, CsvType type,
                          const std::string& dataFolder, const OverwriteQuestion& askOverwrite,
                          CollectionPlan& plan);

// The chosen CSV name with its extension changed to ".RLB" ("data.csv" ->
// "data.RLB"; no extension: ".RLB" appended).
std::string RlbPathFor(const std::string& csvPath);

CollectionRequest MakeCollectionRequest(const CollectionPlan& plan, const std::string& csvPath,
                                        const CollectionOptions& options, bool highSpeedMode);

// True when the RLB file is to be kept and a file of its name exists: the
// user is asked (or, on the command line, must have agreed) before
// request.replaceRlb may be set.
bool RlbFileExists(const CollectionRequest& request);
// Whether the collection's files can be written, before the recorder is
// asked anything: the CSV file and the kept RLB file each new or a writable
// regular file (SafeOutputFile's rule), an existing RLB file only with
// request.replaceRlb. The failure carries the create message of the file
// and the reason.
StepResult CheckCollectionFiles(const CollectionRequest& request);

}  // namespace tessaro
