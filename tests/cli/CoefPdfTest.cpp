#include "cli/CoefPdf.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/CliCommand.h"
#include "support/RecordingProgress.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

TEST(CoefPdfTest, WritesThePdfWithoutADisplayAndCountsPages) {
  if (!CoefPdfAvailable()) GTEST_SKIP() << "built without Qt";
  TempDir dir;
  CoefficientTables tables{
      "S1",
      {{Area::Rom,
        {{{"NO", "ｺｰﾄﾞ", "型", "設定値", "説明"}}, {{"1", "ROM0001", "整数型", "+00001", "x"}}}},
       {Area::Eep, {{{"NO", "ｺｰﾄﾞ", "型", "設定値", "説明"}}}}}};
  RecordingProgress progress;
  std::ostringstream out, err;
  const std::string pdf = dir.Join("c.pdf");
  ASSERT_EQ(WriteCoefficientPdf(tables, pdf, true, false, progress, out, err), kExitOk)
      << err.str();
  EXPECT_EQ(out.str(), "pages: 1\n");
  EXPECT_EQ(TempDir::ReadAll(pdf).substr(0, 5), "%PDF-");

  // Without leave to overwrite, an existing file stays.
  out.str("");
  EXPECT_EQ(WriteCoefficientPdf(tables, pdf, true, false, progress, out, err), kExitFailed);
  EXPECT_EQ(out.str(), "");
  EXPECT_NE(err.str().find("PDFファイルを作成できませんでした。"), std::string::npos);
}

}  // namespace
}  // namespace tessaro
