#include "cli/CoefCommand.h"

#include <CLI/CLI.hpp>
#include <charconv>
#include <filesystem>
#include <optional>

#include "cli/CliDefinitions.h"
#include "cli/CoefPdf.h"
#include "cli/StderrProgress.h"
#include "core/coef/CoefficientEntry.h"
#include "core/coef/CoefficientReader.h"
#include "core/coef/CoefficientWriter.h"
#include "core/coef/TupleTab.h"
#include "core/coef/TupleValueText.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

struct CoefSetting {
  Area area = Area::Eep;
  int number = 0;
  std::string value;
};

std::optional<int> TupleNumber(const std::string& text) {
  int number = 0;
  const char* end = text.data() + text.size();
  const auto [last, error] = std::from_chars(text.data(), end, number);
  if (text.empty() || error != std::errc() || last != end || number < 0) return std::nullopt;
  return number;
}

void PrintTables(const CoefficientTables& tables, std::ostream& out) {
  out << "serial: " << tables.serialNumber << "\n";
  for (const TupleTable& table : tables.tables) {
    out << "[" << TupleTabName(table.area) << "]\n";
    for (const TupleRow& row : table.rows) out << row.Text() << "\n";
  }
  out.flush();
}

TupleTable* FindTable(CoefficientTables& tables, const Area& area) {
  for (TupleTable& table : tables.tables)
    if (table.area.kind() == area.kind() && table.area.group() == area.group()) return &table;
  return nullptr;
}

int Fail(CliContext& context, const std::string& message, int status = kExitFailed) {
  context.err << message << std::endl;
  return status;
}

// Checks the value like the editor, sends it and prints what was sent and
// the rebuilt row.
int SetCoefficient(CliContext& context, CoefficientTables& tables, const CoefSetting& setting) {
  const std::string where = "tessaro-cli: --set " + TupleTabName(setting.area) + " " +
                            std::to_string(setting.number) + ": ";
  TupleTable* table = FindTable(tables, setting.area);
  if (!table) return Fail(context, where + "the recorder has no such tab");
  size_t row = 1;
  while (row < table->rows.size() && TupleRowNumber(table->rows[row]) != setting.number) ++row;
  if (row == table->rows.size()) return Fail(context, where + "no such tuple on the tab");
  const auto type = TupleTypeFromName(table->rows[row].fields[ColumnType]);
  const auto value = type ? EntryValueText(*type, setting.value) : std::nullopt;
  if (!value) return Fail(context, LoadMessage(MsgCoefEntryInvalid));

  const CoefficientWrite write = WriteCoefficient(*context.line, *table, row, *value);
  if (!write.command.empty()) context.out << "sent: " << write.command << "\n";
  if (!write.result) return Fail(context, write.result.message);
  context.out << table->rows[row].Text() << std::endl;
  return kExitOk;
}

}  // namespace

void BindCoefArguments(CLI::App& command, CoefArguments& arguments) {
  command.add_flag("--high-speed", arguments.highSpeed,
                   "use MNP blocks with recorders that lack 1024-byte transfers");
  command
      .add_option("--set", arguments.set,
                  "write one coefficient: TAB (EEP, BATT, FILEn), "
                  "CODE (tuple number), VALUE (as in the editor)")
      ->expected(3)
      ->type_name("TAB CODE VALUE");
  auto* pdf = command.add_option("--pdf", arguments.pdf,
                                 "also print the tables to this PDF file and print \"pages: N\"");
  command.add_flag("--shade", arguments.shade, "shade the fixed columns in the PDF")->needs(pdf);
  command.add_flag("--overwrite", arguments.overwrite, "replace an existing PDF file")->needs(pdf);
  pdf->excludes("--set");
}

int RunCoef(CliContext& context, const CoefArguments& arguments) {
  std::optional<CoefSetting> setting;
  if (!arguments.set.empty()) {
    const auto area = ParseTupleTabName(arguments.set[0]);
    const auto number = TupleNumber(arguments.set[1]);
    if (!area || !number)
      return Fail(context,
                  "tessaro-cli: --set TAB CODE VALUE: TAB is EEP, BATT or FILEn, CODE "
                  "a tuple number",
                  kExitUsage);
    if (!area->Writable()) return Fail(context, LoadMessage(MsgRomNotWritable));
    setting = CoefSetting{*area, *number, arguments.set[2]};
  }

  if (!arguments.pdf.empty()) {
    if (!CoefPdfAvailable()) return Fail(context, "tessaro-cli: this build cannot write PDF files");
    std::error_code ignored;
    if (!arguments.overwrite && std::filesystem::exists(arguments.pdf, ignored))
      return Fail(context,
                  "tessaro-cli: " + arguments.pdf + " exists (give --overwrite to replace it)");
  }

  DefinitionDb db;
  if (!OpenDefinitions(db, {}, context.err)) return kExitFailed;
  StderrProgress progress(context.err);
  StderrProgress::CancelOnInterrupt();
  CoefficientTables tables;
  const StepResult read =
      ReadCoefficients(*context.line, progress, db, arguments.highSpeed, tables);
  progress.Finish();
  if (!read) return Fail(context, read.message);
  if (setting) return SetCoefficient(context, tables, *setting);
  PrintTables(tables, context.out);
  if (arguments.pdf.empty()) return kExitOk;
  return WriteCoefficientPdf(tables, arguments.pdf, arguments.shade, arguments.overwrite, progress,
                             context.out, context.err);
}

}  // namespace tessaro
