#pragma once
// The two CSV forms of an analysed ring: the Q5 series form (information
// lines, then the values with quoted time and date columns) and the Corvex
// form (a heading line, then numbered records with their time). Files are
// CP932 text with CR LF line ends; recorder texts pass through byte for
// byte. The file appears only when complete: a failure or a cancel leaves no
// file behind and any earlier file of that name as it was.

#include <string>

#include "core/collect/DataFileInfo.h"
#include "core/collect/StepResult.h"
#include "core/support/ProgressReporter.h"

namespace tessaro {

enum class CsvType : int { Q5 = 0, Corvex = 1 };

// The CSV file may not be the RLB file: written over it, the data would be
// lost. Refused (MsgCsvNamesRlb) when both names reach one file, see
// NameOneFile. Every front end checks this before it starts; the writers
// check it again.
StepResult CheckCsvIsNotRlb(const std::string& csvPath, const std::string& rlbPath);

StepResult WriteCsvQ5(DataFileInfo& info, const std::string& csvPath, ProgressReporter& progress);
StepResult WriteCsvCorvex(DataFileInfo& info, const std::string& csvPath,
                          ProgressReporter& progress);
StepResult WriteCsv(CsvType type, DataFileInfo& info, const std::string& csvPath,
                    ProgressReporter& progress);

}  // namespace tessaro
