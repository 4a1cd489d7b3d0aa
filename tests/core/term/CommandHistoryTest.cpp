#include "core/term/CommandHistory.h"

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace tessaro {
namespace {

std::vector<std::string> Numbered(int count) {
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i) entries.push_back("c" + std::to_string(i));
  return entries;
}

TEST(CommandHistoryTest, AddMovesRepeatsToTheTopAndKeepsTwenty) {
  struct Case {
    const char* what;
    std::vector<std::string> before;
    std::string text;
    std::vector<std::string> after;
  };
  std::vector<std::string> twentyAfter = Numbered(19);
  twentyAfter.insert(twentyAfter.begin(), "new");
  std::vector<std::string> twentyOneAfter = Numbered(21);
  twentyOneAfter.erase(twentyOneAfter.begin() + 19);
  twentyOneAfter.insert(twentyOneAfter.begin(), "new");
  const Case cases[] = {
      {"new on top", {"a", "b"}, "c", {"c", "a", "b"}},
      {"repeat moves up", {"a", "b", "c"}, "c", {"c", "a", "b"}},
      {"case counts", {"ver"}, "VER", {"VER", "ver"}},
      {"empty is not kept", {"a"}, "", {"a"}},
      {"twenty drop the twentieth", Numbered(20), "new", twentyAfter},
      {"a loaded 21 stay 21", Numbered(21), "new", twentyOneAfter},
  };
  for (const Case& c : cases) {
    CommandHistory history(c.before);
    history.Add(c.text);
    EXPECT_EQ(history.Entries(), c.after) << c.what;
  }
}

TEST(CommandHistoryTest, FileRoundTripStopsAtTheFirstEmptyKey) {
  TempDir dir;
  const std::string path =
      dir.WriteFile("TESSARO.CMD",
                    "[INPUT]\nSTR0=rtcr\nSTR1=ver\nSTR2=askivl\nSTR3=\nSTR4=stale\n"
                    "[TERMINAL]\nSTR0=romr1\n");
  CommandHistory input;
  ASSERT_TRUE(input.Load(path, "INPUT"));
  EXPECT_EQ(input.Entries(), (std::vector<std::string>{"rtcr", "ver", "askivl"}));

  input.Add("ｺﾏﾝﾄﾞ 漢字");
  input.Add("ver");
  ASSERT_TRUE(input.Save(path, "INPUT"));
  CommandHistory again, terminal;
  ASSERT_TRUE(again.Load(path, "INPUT"));
  EXPECT_EQ(again.Entries(), (std::vector<std::string>{"ver", "ｺﾏﾝﾄﾞ 漢字", "rtcr", "askivl"}));
  ASSERT_TRUE(terminal.Load(path, "TERMINAL"));
  EXPECT_EQ(terminal.Entries(), (std::vector<std::string>{"romr1"}));

  CommandHistory full(Numbered(21));
  ASSERT_TRUE(full.Save(path, "INPUT"));
  ASSERT_TRUE(again.Load(path, "INPUT"));
  EXPECT_EQ(again.Entries(), Numbered(21));
}

TEST(CommandHistoryTest, UnusableFileIsReported) {
  TempDir dir;
  CommandHistory missing;
  EXPECT_TRUE(missing.Load(dir.Join("none.cmd"), "INPUT"));
  EXPECT_TRUE(missing.Empty());

  // A folder where the file should be.
  CommandHistory history({"ver"});
  EXPECT_FALSE(history.Load(dir.Path(), "INPUT"));
  EXPECT_TRUE(history.Empty());
  EXPECT_FALSE(CommandHistory({"ver"}).Save(dir.Path(), "INPUT"));
  EXPECT_FALSE(CommandHistory({"ver"}).Save(dir.Join("no/such/folder/TESSARO.CMD"), "INPUT"));
}

}  // namespace
}  // namespace tessaro
