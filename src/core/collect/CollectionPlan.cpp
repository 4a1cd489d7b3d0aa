#include "core/collect/CollectionPlan.h"

#include <sys/stat.h>

#include "core/collect/DataFileInfo.h"
#include "core/support/FileNames.h"
#include "core/support/IniFile.h"
#include "core/support/Messages.h"
#include "core/support/OutputTarget.h"

namespace tessaro {
namespace {

bool WriteCsvType(IniFile& ini, CsvType type) {
  return ini.WriteInteger("Csv", "Type", static_cast<int>(type));
}

}  // namespace

std::optional<CollectionOptions> ReadCollectionOptions(const std::string& settingsFile) {
  IniFile ini(settingsFile);
  if (!ini.Load()) return std::nullopt;
  CollectionOptions options;
  options.saveRlb = ini.ReadInteger("Rlb", "Save", 1) != 0;
  options.csvType = ini.ReadInteger("Csv", "Type", 0) == 1 ? CsvType::Corvex : CsvType::Q5;
  return options;
}

CollectionOptions LoadCollectionOptions(const std::string& settingsFile) {
  return ReadCollectionOptions(settingsFile).value_or(CollectionOptions{});
}

bool SaveCollectionOptions(const std::string& settingsFile, const CollectionOptions& options) {
  return IniFile::Update(settingsFile, [&](IniFile& ini) {
    return ini.WriteInteger("Rlb", "Save", options.saveRlb ? 1 : 0) &&
           WriteCsvType(ini, options.csvType);
  });
}

bool SaveCsvType(const std::string& settingsFile, CsvType type) {
  return IniFile::Update(settingsFile, [&](IniFile& ini) { return WriteCsvType(ini, type); });
}

std::optional<std::string> Q5UnsupportedModeText(int mode) {
  if (mode == kModeDateTime) return LoadMessage(MsgQ5NoPulseTime);
  if (IsWindMode(mode)) return LoadMessage(MsgQ5NoMode600 + (mode - kModeWindFirst));
  return std::nullopt;
}

StepResult CheckCsvForm(const RingEntry& ring, CsvType type) {
  if (type != CsvType::Q5) return StepResult::Success();
  for (int mode : ring.modes)
    if (auto text = Q5UnsupportedModeText(mode)) return StepResult::Failure(*text);
  return StepResult::Success();
}

OverwriteCheck CheckOverwrite(const RingInfo& info, int ring) {
  OverwriteCheck check;
  const int64_t area = info.dataAreaSize;
  if (area <= 0 || ring < 0 || ring >= static_cast<int>(info.rings.size())) return check;
  int64_t total = 0;
  for (int r = 0; r <= ring; ++r) total += info.rings[static_cast<size_t>(r)].byteCount;
  if (total >= 2 * area) {
    check.outcome = OverwriteCheck::Outcome::Refused;
    return check;
  }
  if (total <= area) return check;
  check.outcome = OverwriteCheck::Outcome::Ask;
  const RingEntry& entry = info.rings[static_cast<size_t>(ring)];
  const int64_t recordSize = entry.RecordSize();
  const int64_t excess = total - area;
  if (recordSize <= 0) {
    check.skipBytes = excess;
  } else {
    check.skipCount = (excess + recordSize - 1) / recordSize;
    check.skipBytes = check.skipCount * recordSize;
  }
  // Nothing of the ring survived: dropping the overwritten part would leave
  // negative counts in the file.
  if (check.skipBytes >= entry.byteCount) check = {OverwriteCheck::Outcome::Refused, 0, 0};
  return check;
}

StepResult PlanCollection(const RingInfo& info, int ring, CsvType type,
                          const std::string& dataFolder, const OverwriteQuestion& askOverwrite,
                          CollectionPlan& plan) {
  plan = CollectionPlan{};
  const bool listed = ring >= 0 && ring < static_cast<int>(info.rings.size());
  if (listed) {
    StepResult form = CheckCsvForm(info.rings[static_cast<size_t>(ring)], type);
    if (!form) return form;
  }
  if (!dataFolder.empty()) {
    auto names = MakeDataFileNames(dataFolder);
    if (!names) return StepResult::Failure(LoadMessage(MsgFileNamesFailed));
    plan.names = *names;
  }
  if (!listed || info.rings[static_cast<size_t>(ring)].dataCount < 1)
    return StepResult::Failure(LoadMessage(MsgNoRingSelected));

  const OverwriteCheck check = CheckOverwrite(info, ring);
  if (check.outcome == OverwriteCheck::Outcome::Refused)
    return StepResult::Failure(LoadMessage(MsgAllOverwritten));
  if (check.outcome == OverwriteCheck::Outcome::Ask) {
    if (!askOverwrite || !askOverwrite(LoadMessage(MsgAskDropOverwritten)))
      return StepResult::Failure(LoadMessage(MsgCollectionAbandoned));
    plan.skipBytes = check.skipBytes;
    plan.skipCount = check.skipCount;
  }
  plan.ring = ring;
  plan.ringMask = 0x80000000u >> ring;
  return StepResult::Success();
}

std::string RlbPathFor(const std::string& csvPath) { return ChangeExtension(csvPath, ".RLB"); }

CollectionRequest MakeCollectionRequest(const CollectionPlan& plan, const std::string& csvPath,
                                        const CollectionOptions& options, bool highSpeedMode) {
  CollectionRequest request;
  request.ringMask = plan.ringMask;
  request.csvPath = csvPath;
  request.rlbPath = RlbPathFor(csvPath);
  request.saveDataFile = options.saveRlb;
  request.csvType = options.csvType;
  request.skipCount = plan.skipCount;
  request.skipBytes = plan.skipBytes;
  request.highSpeedMode = highSpeedMode;
  return request;
}

bool RlbFileExists(const CollectionRequest& request) {
  struct stat st {};
  return request.saveDataFile && ::lstat(request.rlbPath.c_str(), &st) == 0;
}

StepResult CheckCollectionFiles(const CollectionRequest& request) {
  const OutputTarget csv = ResolveOutputTarget(request.csvPath);
  if (!csv.Usable()) return StepResult::Failure(LoadMessage(MsgCsvCreateFailed), csv.reason);
  if (!request.saveDataFile) return StepResult::Success();
  const OutputTarget rlb = ResolveOutputTarget(
      request.rlbPath, request.replaceRlb ? ExistingFile::Replace : ExistingFile::Refuse);
  if (!rlb.Usable()) return StepResult::Failure(LoadMessage(MsgRlbCreateFailed), rlb.reason);
  return StepResult::Success();
}

}  // namespace tessaro
