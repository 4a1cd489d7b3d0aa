// tessaro-cli plot as a separate process: a picture of the requested size
// for a file of every channel kind, and no picture for a file that fails
// analysis or a channel that cannot be drawn.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "core/support/Messages.h"
#include "support/TempDir.h"
#include "support/TestRlbFile.h"

namespace tessaro {
namespace {

struct PlotRun {
  int status = -1;
  std::string err;
};

PlotRun Plot(const TempDir& dir, const std::string& arguments) {
  const std::string command = "HOME='" + dir.Path() +
                              "' QT_QPA_PLATFORM=xcb '" TESSARO_BIN_DIR "/tessaro-cli' plot " +
                              arguments + " >/dev/null 2>'" + dir.Join("err.txt") + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, dir.ReadFile("err.txt")};
}

// A build without Qt has a plot command that only says so.
bool GraphBuilt(const TempDir& dir) {
  return Plot(dir, "none.rlb --png none.png").err.find("no graph support") == std::string::npos;
}

// Width and height from a PNG file's header.
std::pair<int, int> PngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  auto be32 = [&](size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 24) |
           (static_cast<unsigned char>(bytes[at + 1]) << 16) |
           (static_cast<unsigned char>(bytes[at + 2]) << 8) |
           static_cast<unsigned char>(bytes[at + 3]);
  };
  return {be32(16), be32(20)};
}

// Volt, combined wind with a missing value, direction, date-time; the
// battery went LOW at record 3.
std::string WriteEveryKind(const TempDir& dir) {
  TestRlb rlb;
  rlb.channels = {
      {1, 1001, -1, 1, 2}, {600, 1001, -1, 1, 2}, {159, 1001, 0, 1, 2}, {138, 1001, 0, 6, 6}};
  rlb.hasBatteryLow = true;
  rlb.batteryLow = EncodeDateTime({2026, 12, 8, 10, 0, 3});
  for (int e = 0; e < 10; ++e)
    rlb.records.push_back(Concat({Be16(e * 10),
                                  {static_cast<uint8_t>(e == 4 ? 0x80 : e), 0x21},
                                  Be16(e % 17),
                                  StoredDateTime({2026, 12, 8, 9, 0, e})}));
  const std::string path = dir.Join("EVERY.RLB");
  TestRlbFile(rlb).Write(path);
  return path;
}

TEST(PlotCliTest, WritesAPictureOfTheRequestedSize) {
  TempDir dir;
  if (!GraphBuilt(dir)) GTEST_SKIP() << "built without the GUI";
  const std::string rlb = WriteEveryKind(dir);
  const std::string png = dir.Join("out.png");
  const PlotRun run = Plot(dir, "'" + rlb + "' --png '" + png + "' --size 800x500 --channels 1,3");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(PngSize(TempDir::ReadAll(png)), std::make_pair(800, 500));

  const std::string svg = dir.Join("out.svg");
  ASSERT_EQ(Plot(dir, "'" + rlb + "' --png '" + svg + "' --from '2026-12-08 10:00:02'").status, 0);
  EXPECT_NE(TempDir::ReadAll(svg).find("<svg"), std::string::npos);
}

TEST(PlotCliTest, FailuresLeaveNoPicture) {
  TempDir dir;
  if (!GraphBuilt(dir)) GTEST_SKIP() << "built without the GUI";
  const std::string rlb = WriteEveryKind(dir);
  const std::string broken = dir.WriteFile("BROKEN.RLB", "not a data file at all");
  const std::string png = dir.Join("out.png");
  struct Case {
    std::string arguments;
    int status;
    std::string message;
  } cases[] = {
      {"'" + broken + "' --png '" + png + "'", 1, "RLBファイル"},
      {"'" + rlb + "' --png '" + png + "' --channels 4", 1,
       FormatMessage(MsgGraphNoSuchChannel, 4)},
      {"'" + rlb + "' --png '" + png + "' --from '2027-01-01 00:00:00'", 1,
       LoadMessage(MsgGraphEmptyRange)},
      {"'" + rlb + "' --png '" + png + "' --size 800", 2, "--size"},
      {"'" + rlb + "' --png '" + png + "' --to 'yesterday'", 2, "--to"},
  };
  for (const Case& c : cases) {
    const PlotRun run = Plot(dir, c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << "\n" << run.err;
    EXPECT_FALSE(std::filesystem::exists(png)) << c.arguments;
  }
}

}  // namespace
}  // namespace tessaro
