#include <gtest/gtest.h>

#include <QPrinter>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <regex>
#include <string>

#include "core/support/MessageBox.h"
#include "core/support/Messages.h"
#include "support/RecordingMessageBox.h"
#include "support/RecordingProgress.h"
#include "support/TempDir.h"
#include "ui/print/CoefficientPdf.h"
#include "ui/print/PrintCoefficients.h"

namespace tessaro {
namespace {

TupleTable Table(Area area, const char* prefix, int dataRows) {
  TupleTable table{area, {{{"NO", "ｺｰﾄﾞ", "型", "設定値", "説明"}}}};
  for (int i = 1; i <= dataRows; ++i) {
    char code[16];
    std::snprintf(code, sizeof code, "%s%04d", prefix, i);
    table.rows.push_back(
        {{std::to_string(i), code, "整数型", "+00012", "説明;その" + std::to_string(i)}});
  }
  return table;
}

// ROM on one page, an empty EEP, FILE1 over several pages.
CoefficientTables SampleTables() {
  return {
      "S0042",
      {Table(Area::Rom, "ROM", 3), Table(Area::Eep, "EEP", 0), Table(Area::File(1), "FILE", 150)}};
}

std::string RunTool(const std::string& command) {
  std::string out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return out;
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) out.append(buffer, n);
  return out;
}

std::string PageText(const std::string& pdf, int page) {
  return RunTool("pdftotext -layout -enc UTF-8 -f " + std::to_string(page) + " -l " +
                 std::to_string(page) + " '" + pdf + "' - 2>/dev/null");
}

// Cancels once the progress names the given table.
class CancelAtTable : public RecordingProgress {
 public:
  explicit CancelAtTable(std::string title) : title_(std::move(title)) {}
  void SetMessage(const std::string& message) override {
    RecordingProgress::SetMessage(message);
    if (message.find(title_) != std::string::npos) CancelNow();
  }

 private:
  std::string title_;
};

// Whether some line of text ends with a match of pattern.
bool HasLine(const std::string& text, const std::string& pattern) {
  return std::regex_search(text, std::regex(pattern, std::regex::multiline));
}

bool HasPdfTools() { return std::system("command -v pdfinfo pdftotext >/dev/null 2>&1") == 0; }

TEST(CoefficientPrintTest, PdfHasOnePageRunPerTableAndRunningPageNumbers) {
  if (!HasPdfTools()) GTEST_SKIP() << "pdfinfo/pdftotext (poppler-utils) not installed";
  TempDir dir;
  const std::string pdf = dir.Join("coef.pdf");
  RecordingProgress progress;
  const PdfPrintOutcome outcome = PrintCoefficientsToPdf(SampleTables(), pdf, true, progress);
  ASSERT_EQ(outcome.status, PdfPrintOutcome::Status::Written) << outcome.message;
  ASSERT_GE(outcome.pages, 4);  // FILE1 needs at least three pages
  std::smatch pages;
  const std::string info = RunTool("pdfinfo '" + pdf + "'");
  ASSERT_TRUE(std::regex_search(info, pages, std::regex("Pages: +([0-9]+)\n"))) << info;
  EXPECT_EQ(pages[1], std::to_string(outcome.pages));

  const std::string first = PageText(pdf, 1);
  // pdftotext folds runs of blanks and reads 日 as its radical.
  EXPECT_TRUE(
      HasLine(first, "Corvex 制御係数 +作成[^ ]+：[0-9]{2}年[0-9]{2}[^0-9]+[0-9]{2}[^0-9]+$"))
      << first;
  EXPECT_TRUE(HasLine(first, "ｼﾘｱﾙ番号：S0042 +ﾍﾟｰｼﾞ： +00001$")) << first;
  EXPECT_TRUE(HasLine(first, "ROMタプル$"));
  EXPECT_TRUE(HasLine(first, "NO +ｺｰﾄﾞ +型 +設定値 +説明$"));
  EXPECT_TRUE(HasLine(first, "3 +ROM0003 +整数型 +\\+00012 +説明;その3$"));
  // The empty EEP table has no page: FILE1 follows on page 2.
  const std::string second = PageText(pdf, 2);
  EXPECT_NE(second.find("FILE1タプル"), std::string::npos) << second;
  EXPECT_TRUE(HasLine(second, "ﾍﾟｰｼﾞ： +00002$")) << second;
  EXPECT_NE(second.find("FILE0001"), std::string::npos);
  EXPECT_EQ(first.find("EEPタプル"), std::string::npos);
  // A ";" inside a description stays in its cell.
  EXPECT_NE(second.find("説明;その1"), std::string::npos);
  const std::string last = PageText(pdf, outcome.pages);
  EXPECT_NE(last.find("FILE0150"), std::string::npos) << last;
  EXPECT_NE(last.find("FILE1タプル"), std::string::npos) << last;

  EXPECT_EQ(progress.Messages().front(), "印刷準備中");
  EXPECT_NE(
      std::find(progress.Messages().begin(), progress.Messages().end(), "印刷中(FILE1タプル)..."),
      progress.Messages().end());
  EXPECT_EQ(progress.Percents().back(), 100);
}

TEST(CoefficientPrintTest, CancelledOrEmptyPdfLeavesNoFileAndKeepsAnOldOne) {
  TempDir dir;
  const std::string pdf = dir.Join("coef.pdf");
  CancelAtTable cancel("FILE1");
  EXPECT_EQ(PrintCoefficientsToPdf(SampleTables(), pdf, false, cancel).status,
            PdfPrintOutcome::Status::Cancelled);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));  // no file, no temporary

  dir.WriteFile("old.pdf", "old");
  CancelAtTable cancelAtRom("ROM");
  EXPECT_EQ(PrintCoefficientsToPdf(SampleTables(), dir.Join("old.pdf"), false, cancelAtRom).status,
            PdfPrintOutcome::Status::Cancelled);
  EXPECT_EQ(dir.ReadFile("old.pdf"), "old");

  RecordingProgress progress;
  const CoefficientTables empty{"S1", {Table(Area::Rom, "ROM", 0)}};
  const PdfPrintOutcome none = PrintCoefficientsToPdf(empty, pdf, false, progress);
  EXPECT_EQ(none.status, PdfPrintOutcome::Status::Written);
  EXPECT_EQ(none.pages, 0);
  EXPECT_FALSE(std::filesystem::exists(pdf));

  const PdfPrintOutcome refused = PrintCoefficientsToPdf(SampleTables(), dir.Join("old.pdf"), false,
                                                         progress, ExistingFile::Refuse);
  EXPECT_EQ(refused.status, PdfPrintOutcome::Status::Failed);
  EXPECT_NE(refused.message.find("PDFファイルを作成できませんでした。"), std::string::npos);
  EXPECT_EQ(dir.ReadFile("old.pdf"), "old");
}

TEST(CoefficientPrintTest, PrinterJobSendsNothingOnCancelAndSaysWhenItCannotStart) {
  TempDir dir;
  RecordingMessageBox boxes;
  ScopedMessageBoxHandler install(boxes);
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);

  printer.setOutputFileName(QString::fromStdString(dir.Join("job.pdf")));
  CancelAtTable cancel("FILE1");
  EXPECT_EQ(PrintCoefficientsOn(printer, SampleTables(), false, cancel), PrintOutcome::Cancelled);
  EXPECT_FALSE(std::filesystem::exists(dir.Join("job.pdf")));  // the job never started
  EXPECT_EQ(boxes.Count(), 0u);

  RecordingProgress progress;
  EXPECT_EQ(PrintCoefficientsOn(printer, SampleTables(), true, progress), PrintOutcome::Printed);
  EXPECT_GT(std::filesystem::file_size(dir.Join("job.pdf")), 0u);

  printer.setOutputFileName(QString::fromStdString(dir.Join("missing/job.pdf")));
  EXPECT_EQ(PrintCoefficientsOn(printer, SampleTables(), false, progress), PrintOutcome::Failed);
  ASSERT_EQ(boxes.Count(BoxKind::Error), 1u);
  EXPECT_EQ(boxes.Texts()[0],
            FormatMessage(MsgPrinterStartFailed, dir.Join("missing/job.pdf").c_str()));
}

}  // namespace
}  // namespace tessaro
