#include "core/support/FileNames.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/TempDir.h"

namespace tessaro {
namespace {

TEST(ChangeExtensionTest, ReplacesOnlyTheLastComponentsExtension) {
  EXPECT_EQ(ChangeExtension("/data/DT2026120800.RLB", ".CSV"), "/data/DT2026120800.CSV");
  EXPECT_EQ(ChangeExtension("/data/run.1/site.a.rlb", ".CSV"), "/data/run.1/site.a.CSV");
  EXPECT_EQ(ChangeExtension("data.csv", ".RLB"), "data.RLB");
  EXPECT_EQ(ChangeExtension("/data.d/noext", ".CSV"), "/data.d/noext.CSV");
  EXPECT_EQ(ChangeExtension("/data/.hidden", ".CSV"), "/data/.hidden.CSV");
  EXPECT_EQ(ChangeExtension(".hidden", ".CSV"), ".hidden.CSV");
}

TEST(NameOneFileTest, SeesThroughSpellingsAndLinks) {
  TempDir dir;
  dir.WriteFile("d/a.RLB", "rlb");
  dir.WriteFile("d/b.RLB", "other");
  std::filesystem::create_symlink(dir.Join("d/a.RLB"), dir.Join("d/link.csv"));
  std::filesystem::create_symlink("new.RLB", dir.Join("d/dangling.csv"));
  std::filesystem::create_directory_symlink(dir.Join("d"), dir.Join("alias"));
  std::filesystem::create_hard_link(dir.Join("d/a.RLB"), dir.Join("d/hard.csv"));
  const struct {
    std::string a, b;
    bool same;
  } cases[] = {
      {"d/a.RLB", "d/a.RLB", true},
      {"d/./x/../a.RLB", "d/a.RLB", true},    // spelled differently
      {"alias/a.RLB", "d/a.RLB", true},       // through a linked folder
      {"d/link.csv", "d/a.RLB", true},        // a link to the file
      {"d/hard.csv", "d/a.RLB", true},        // a second name of it
      {"d/dangling.csv", "d/new.RLB", true},  // a link to the file about to be made
      {"alias/new.RLB", "d/new.RLB", true},   // neither exists yet
      {"d/b.RLB", "d/a.RLB", false},
      {"d/a.csv", "d/a.RLB", false},
      {"d/new.rlb", "d/new.RLB", false},  // letter case counts
      {"", "d/a.RLB", false},
  };
  for (const auto& c : cases) {
    const std::string a = c.a.empty() ? "" : dir.Join(c.a);
    EXPECT_EQ(NameOneFile(a, dir.Join(c.b)), c.same) << c.a << " / " << c.b;
  }
  // A relative name counts from the working folder.
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Join("d"));
  EXPECT_TRUE(NameOneFile("a.RLB", dir.Join("d/a.RLB")));
  EXPECT_TRUE(NameOneFile("new.RLB", dir.Join("alias/new.RLB")));
  std::filesystem::current_path(before);
}

}  // namespace
}  // namespace tessaro
