#include <gtest/gtest.h>

#include "core/support/MessageBox.h"
#include "core/support/Messages.h"
#include "support/RecordingMessageBox.h"

namespace tessaro {
namespace {

TEST(MessagesTest, LoadsTextsByNumber) {
  EXPECT_EQ(LoadMessage(MsgMutexName), "CVXWIN.TES");
  EXPECT_EQ(LoadMessage(MsgShortName), "Tessaro");
  EXPECT_EQ(LoadMessage(MsgWindowPosAccess), "ウインドウ位置情報にアクセスできませんでした。");
  EXPECT_EQ(LoadMessage(MsgCancelPressed), "中止ボタンが押されました。");
  EXPECT_EQ(LoadMessage(0), "");
  EXPECT_EQ(LoadMessage(2001), "");  // between two defined numbers
  EXPECT_EQ(LoadMessage(999999), "");
}

TEST(MessagesTest, LineBreakSurvivesInText) {
  const std::string text = LoadMessage(MsgPortUnusable);
  EXPECT_EQ(text, "設定された通信ポートは使用できません。\nプログラムを中止します。");
}

TEST(MessagesTest, FormatsPrintfFields) {
  EXPECT_EQ(FormatMessage(MsgCommOpenError, 5), "通信ポートオープンエラー ErrorCode = 5");
  EXPECT_EQ(FormatMessage(MsgSlavePanel, 12), "スレーブ[12]");
  EXPECT_EQ(FormatMessage(MsgCancelPressed), "中止ボタンが押されました。");
  EXPECT_EQ(FormatMessage(424242), "");
}

TEST(MessageBoxTest, RoutesToInstalledHandlerAndRestores) {
  RecordingMessageBox outer;
  ScopedMessageBoxHandler installOuter(outer);
  {
    RecordingMessageBox inner;
    ScopedMessageBoxHandler installInner(inner);
    inner.QueueAnswer(BoxResult::Cancel);
    EXPECT_EQ(AskWarning("first"), BoxResult::Cancel);
    EXPECT_EQ(AskInformation("second"), BoxResult::Ok);  // queue empty: default
    EXPECT_EQ(AskYesNo("third"), BoxResult::Yes);
    EXPECT_EQ(ShowError(""), BoxResult::Ok);  // an empty box is still shown
    const std::vector<RecordedBox> expected = {
        {BoxKind::WarningQuestion, "first", BoxResult::Cancel},
        {BoxKind::Information, "second", BoxResult::Ok},
        {BoxKind::YesNo, "third", BoxResult::Yes},
        {BoxKind::Error, "", BoxResult::Ok},
    };
    EXPECT_EQ(inner.Boxes(), expected);
  }
  ShowWarning("after");
  EXPECT_EQ(outer.Texts(), std::vector<std::string>{"after"});
  EXPECT_EQ(outer.Count(BoxKind::Warning), 1u);
}

}  // namespace
}  // namespace tessaro
