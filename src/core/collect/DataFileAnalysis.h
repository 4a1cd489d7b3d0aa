#pragma once
// Reading an RLB recorder data file: the analysis that fills a DataFileInfo
// through a work copy, reading one record in host byte order, and the names
// of new data and work files.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/collect/DataFileInfo.h"

namespace tessaro {

class DefinitionDb;

// Analyses info.rlbPath through a work copy made in the writable program
// folder (or in workFolder when given). The header is read from the
// original first; something that is not a regular file or whose areas do
// not fit in it fails at once, and only the bytes up to the end of the ring
// data are copied. Failures and the overwrite and battery-LOW notices are
// shown with ShowError; false after a failure, with no work copy left. On
// success info.work stays open for ReadRecord.
bool AnalyseDataFile(DataFileInfo& info, const DefinitionDb& db,
                     const std::string& workFolder = {});

// Record e (negative counts as 0) in host byte order; record is resized to
// info.recordSize. False on a short read or without an open work file.
bool ReadRecord(int64_t index, DataFileInfo& info, std::vector<uint8_t>& record);

// Converts one record of info.recordSize bytes, as stored, to host byte
// order in place (the conversion ReadRecord applies); false when a channel
// lies outside the record.
bool ConvertRecordToHost(const DataFileInfo& info, uint8_t* record);

// The first free "CVXWIN%d.TMP" (0..9999) in folder, or in the writable
// program folder when folder is empty, created empty and locked so that no
// other caller takes the same name; a work file without a path when none is
// free.
WorkFile MakeWorkFile(const std::string& folder = {});

struct DataFileNames {
  std::string csvPath;
  std::string rlbPath;
};

// "DTyyyymmddss.CSV" and ".RLB" in folder for today with the first sequence
// number 00..99 for which neither file exists; nullopt when none is free.
std::optional<DataFileNames> MakeDataFileNames(const std::string& folder);

}  // namespace tessaro
