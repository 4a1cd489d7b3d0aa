#include "ui/controls/NumberEdit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QSignalSpy>
#include <QTest>

#include "GuiTestEnvironment.h"

namespace tessaro {
namespace {

void LeaveField(TNumberEdit& edit) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(&edit, &out);
}

void Retype(TNumberEdit& edit, const QString& keys) {
  edit.clear();
  QTest::keyClicks(&edit, keys);
}

TEST(NumberEdit, DefaultFieldTakesOnlyDigits) {
  TNumberEdit edit;
  EXPECT_EQ(edit.text(), "0");
  Retype(edit, "12a3");
  EXPECT_EQ(edit.text(), "123");
  LeaveField(edit);
  EXPECT_EQ(edit.text(), "123");
  EXPECT_EQ(edit.Value(), 123);
  EXPECT_EQ(edit.AsInteger(), 123);
}

TEST(NumberEdit, RoundsWhenLeavingTheField) {
  TNumberEdit edit;
  edit.SetFigure(2);
  edit.SetFixed(true);
  edit.SetRoundMode(TRoundMode::rmRound);
  Retype(edit, "1.005");
  LeaveField(edit);
  EXPECT_EQ(edit.text(), "1.01");
  edit.SetRoundMode(TRoundMode::rmDown);
  Retype(edit, "1.005");
  LeaveField(edit);
  EXPECT_EQ(edit.text(), "1.00");
  edit.SetRoundMode(TRoundMode::rmUp);
  Retype(edit, "1.001");
  LeaveField(edit);
  EXPECT_EQ(edit.text(), "1.01");
}

TEST(NumberEdit, CommaGroupsWhileTyping) {
  TNumberEdit edit;
  edit.SetComma(true);
  QSignalSpy changes(&edit, &TNumberEdit::Change);
  Retype(edit, "1234567");
  EXPECT_EQ(edit.text(), "1,234,567");
  EXPECT_EQ(edit.cursorPosition(), 9);
  EXPECT_EQ(edit.Value(), 1234567);
  EXPECT_GE(changes.count(), 7);
}

TEST(NumberEdit, LimitClampsAProgramValue) {
  TNumberEdit edit;
  edit.SetMin(1);
  edit.SetMax(120);
  edit.SetLimit(true);
  edit.SetValue(500);
  EXPECT_EQ(edit.text(), "120");
  EXPECT_EQ(edit.Value(), 120);
  edit.SetMax(0);  // moves Min down with it
  EXPECT_EQ(edit.Options().Min, 0);
}

TEST(NumberEdit, MinusOnlyWithValidMinus) {
  TNumberEdit edit;
  Retype(edit, "-5");
  EXPECT_EQ(edit.text(), "5");
  edit.SetValidMinus(true);
  QTest::keyClick(&edit, '-');
  EXPECT_EQ(edit.text(), "-5");
  EXPECT_EQ(edit.Value(), -5);
  QTest::keyClick(&edit, '-');
  EXPECT_EQ(edit.text(), "5");
}

TEST(NumberEdit, HexShowsFigureDigits) {
  TNumberEdit edit;
  edit.SetFigure(4);
  edit.SetNumberType(TNumberType::ntHex);
  edit.SetValue(255);
  EXPECT_EQ(edit.text(), "00FF");
  Retype(edit, "1g0");
  EXPECT_EQ(edit.text(), "10");
  EXPECT_EQ(edit.Value(), 16);
  edit.SetNumberType(TNumberType::ntDecimal);
  EXPECT_EQ(edit.text(), "16");
}

TEST(NumberEdit, PasteFiltersTheClipboard) {
  TNumberEdit edit;
  edit.clear();
  QApplication::clipboard()->setText("port 8,080x");
  QTest::keySequence(&edit, QKeySequence::Paste);
  EXPECT_EQ(edit.text(), "8080");
  EXPECT_EQ(edit.Value(), 8080);
}

}  // namespace
}  // namespace tessaro
