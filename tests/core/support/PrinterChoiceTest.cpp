#include <gtest/gtest.h>

#include <string>

#include "core/support/IniFile.h"
#include "core/support/PrinterChoice.h"
#include "support/TempDir.h"

namespace tessaro {
namespace {

class PrinterChoiceTest : public testing::Test {
 protected:
  std::string Ini() const { return dir_.Join("TESSARO.INI"); }
  std::string Plv() const { return dir_.Join("TESSARO.PLV"); }
  TempDir dir_;
};

TEST_F(PrinterChoiceTest, SavedChoiceComesBackWithOtherIniKeysKept) {
  dir_.WriteFile("TESSARO.INI", "[ComPort]\nPort=COM1\n");
  const std::string settings("paper\0A4\xff", 9);
  ASSERT_TRUE(SavePrinterChoice(Ini(), Plv(), {"Office Laser", settings}));
  const auto stored = LoadPrinterChoice(Ini(), Plv());
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->name, "Office Laser");
  EXPECT_EQ(stored->settings, settings);
  EXPECT_EQ(dir_.ReadFile("TESSARO.INI"), "[ComPort]\nPort=COM1\n[Printer]\nName=Office Laser\n");
}

TEST_F(PrinterChoiceTest, NothingIsRestoredWithoutFileOrName) {
  dir_.WriteFile("TESSARO.INI", "[Printer]\nName=Office Laser\n");
  EXPECT_FALSE(LoadPrinterChoice(Ini(), Plv()));  // name alone restores nothing
  ASSERT_TRUE(SavePrinterChoice(Ini(), Plv(), {"", "x"}));
  EXPECT_FALSE(LoadPrinterChoice(Ini(), Plv()));  // file alone neither
}

TEST_F(PrinterChoiceTest, ForeignOldOrDamagedFilesAreNotApplied) {
  const std::string good = EncodePrinterSettings("abc");
  std::string oldVersion = good;
  oldVersion[8] = 0;  // version 0
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"device-mode block of another program", std::string(220, '\x01')},
      {"older format", oldVersion},
      {"cut short", good.substr(0, good.size() - 1)},
      {"trailing bytes", good + "x"},
      {"header only", good.substr(0, 10)},
  };
  dir_.WriteFile("TESSARO.INI", "[Printer]\nName=Office Laser\n");
  for (const auto& c : cases) {
    dir_.WriteFile("TESSARO.PLV", c.bytes);
    const auto stored = LoadPrinterChoice(Ini(), Plv());
    ASSERT_TRUE(stored) << c.name;
    EXPECT_EQ(stored->name, "Office Laser") << c.name;  // the printer is still chosen by name
    EXPECT_FALSE(stored->settings) << c.name;
  }
  dir_.WriteFile("TESSARO.PLV", good);
  EXPECT_EQ(LoadPrinterChoice(Ini(), Plv())->settings, "abc");
}

TEST_F(PrinterChoiceTest, FailedWriteKeepsTheOldFile) {
  ASSERT_TRUE(SavePrinterChoice(Ini(), Plv(), {"P1", "old"}));
  EXPECT_FALSE(SavePrinterChoice(Ini(), dir_.Join("missing/TESSARO.PLV"), {"P2", "new"}));
  EXPECT_EQ(LoadPrinterChoice(Ini(), Plv())->settings, "old");
}

}  // namespace
}  // namespace tessaro
