// User memos: what typed and pasted text becomes (16 CP932 bytes, whole
// characters, no control characters), and reading and writing the memo
// lines of the simulator.

#include <gtest/gtest.h>

#include "SimSessionRig.h"
#include "core/settings/UserMemos.h"
#include "core/support/CodePage.h"
#include "core/support/Messages.h"

namespace tessaro {
namespace {

TEST(MemoText, KeepsSixteenBytesOfWholeCharacters) {
  const struct {
    const char* typed;
    const char* memo;  // as UTF-8; nullptr: refused
  } cases[] = {
      {"SITE-A", "SITE-A"},
      {"", ""},
      {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNOP"},  // 20 characters
      {"あいうえおかきくけ", "あいうえおかきく"},    // 18 bytes
      {"ABCあいうえおかきく", "ABCあいうえおか"},    // 19 bytes: the 8th kana would be split
      {"ｱｲｳ北棟", "ｱｲｳ北棟"},                        // half-width kana are one byte
      {"A\rB", nullptr},
      {"A\nB", nullptr},
      {"A\tB", nullptr},
      {"A\x7F", nullptr},
      {"A\xC2\x85", nullptr},         // NEL
      {"\xF0\x9F\x98\x80", nullptr},  // an emoji: no CP932 form
      {"\xFF", nullptr},              // not UTF-8
  };
  for (const auto& c : cases) {
    const auto memo = MemoFromText(c.typed);
    if (!c.memo) {
      EXPECT_FALSE(memo.has_value()) << c.typed;
      continue;
    }
    ASSERT_TRUE(memo.has_value()) << c.typed;
    EXPECT_LE(memo->size(), kMemoBytes);
    EXPECT_EQ(Cp932ToUtf8(*memo), c.memo);
  }
  // A lead byte at the end of a reply is dropped rather than kept half.
  EXPECT_EQ(CutCp932("ABCDEFGHIJKLMNO\x82\xA0", 16), "ABCDEFGHIJKLMNO");
  EXPECT_EQ(CutCp932("AB\x82", 16), "AB\x82");
}

sim::RecorderProfile WithMemos(std::vector<std::string> memos) {
  sim::RecorderProfile profile = sim::DefaultProfile();
  profile.userMemos = std::move(memos);
  return profile;
}

TEST(MemoAgainstSim, ReadsUntilNoEntryAndAtMostSixteen) {
  const struct {
    size_t count;
    size_t reads;  // battr commands sent
  } cases[] = {{0, 1}, {4, 5}, {16, 16}, {20, 16}};
  for (const auto& c : cases) {
    std::vector<std::string> stored;
    for (size_t k = 0; k < c.count; ++k) stored.push_back("MEMO" + std::to_string(k));
    SimSessionRig rig(WithMemos(stored));
    const std::vector<std::string> memos = ReadMemos(rig.session);
    stored.resize(std::min<size_t>(c.count, 16));
    EXPECT_EQ(memos, stored) << c.count;
    EXPECT_EQ(rig.Sent("battr").size(), c.reads) << c.count;
    EXPECT_EQ(rig.Sent("battr").back(), "battr" + std::to_string(619 + c.reads));
  }
}

TEST(MemoAgainstSim, WritesEveryLineInOrder) {
  SimSessionRig rig;
  std::vector<std::string> memos = ReadMemos(rig.session);
  ASSERT_EQ(memos.size(), 4u);
  memos[1] = *MemoFromText("北棟ポンプ室");
  memos[3].clear();
  WriteMemos(rig.session, memos);
  EXPECT_EQ(rig.Sent("battw"), (std::vector<std::string>{"battw620,SITE-A", "battw621," + memos[1],
                                                         "battw622,CH1 VOLT", "battw623,"}));
  EXPECT_EQ(ReadMemos(rig.session), memos);
}

TEST(MemoAgainstSim, BadTextRefusalAndSilenceStopTheWrite) {
  const struct {
    std::vector<std::string> refused;
    int silentAfter;
    std::string second;  // memo 621
    int failure;
    size_t writesTaken;  // by the recorder: a refused or unanswered one is not
  } cases[] = {
      {{}, -1, "A\rromw1", MsgMemoBadCharacter, 0},
      {{}, -1, "ABCDEFGHIJKLMNOPQ", MsgMemoBadCharacter, 0},
      {{"battw621"}, -1, "B", MsgMemoWriteFailed, 1},
      {{}, 1, "B", MsgNoEchoBack, 1},
  };
  for (const auto& c : cases) {
    SimSessionRig rig;
    sim::FaultSettings faults;
    faults.refused = c.refused;
    faults.silentAfter = c.silentAfter;
    rig.sim.Faults().Set(faults);
    EXPECT_EQ(rig.FailureOf([&] { WriteMemos(rig.session, {"A", c.second, "C"}); }), c.failure);
    EXPECT_EQ(rig.Sent("battw").size(), c.writesTaken) << c.second;
  }
}

}  // namespace
}  // namespace tessaro
