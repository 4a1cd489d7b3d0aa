#include "ui/controls/IconBtn.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "GuiTestEnvironment.h"

namespace tessaro {
namespace {

TEST(IconBtn, LauncherLayoutPutsIconAtMarginAndCaptionAfterSpacing) {
  const auto p = TIconBtn::Arrange(QRect(0, 0, 200, 40), QSize(32, 32), QSize(80, 14),
                                   TButtonLayout::blGlyphLeft, 15, 10);
  EXPECT_EQ(p.icon, QRect(15, 4, 32, 32));
  EXPECT_EQ(p.caption, QRect(57, 13, 80, 14));
}

TEST(IconBtn, MarginAndSpacingMinusOne) {
  // Both -1: free space split in three.
  auto p = TIconBtn::Arrange(QRect(0, 0, 200, 40), QSize(32, 32), QSize(80, 14),
                             TButtonLayout::blGlyphLeft, -1, -1);
  EXPECT_EQ(p.icon.left(), 29);
  EXPECT_EQ(p.caption.left(), 29 + 32 + 29);
  // Margin -1: the pair is centred.
  p = TIconBtn::Arrange(QRect(0, 0, 200, 40), QSize(32, 32), QSize(80, 14),
                        TButtonLayout::blGlyphLeft, -1, 4);
  EXPECT_EQ(p.icon.left(), (200 - 116 + 1) / 2);
  // Spacing -1 with the icon on the right.
  p = TIconBtn::Arrange(QRect(0, 0, 200, 40), QSize(32, 32), QSize(80, 14),
                        TButtonLayout::blGlyphRight, 10, -1);
  EXPECT_EQ(p.icon.left(), 200 - 10 - 32);
  EXPECT_EQ(p.caption.left(), 158 - 39 - 80);
  // Icon on top: vertical axis, horizontal centring.
  p = TIconBtn::Arrange(QRect(0, 0, 100, 80), QSize(32, 32), QSize(40, 14),
                        TButtonLayout::blGlyphTop, 5, 4);
  EXPECT_EQ(p.icon, QRect(34, 5, 32, 32));
  EXPECT_EQ(p.caption, QRect(30, 41, 40, 14));
  // No caption: spacing drops to 0.
  p = TIconBtn::Arrange(QRect(0, 0, 100, 40), QSize(32, 32), QSize(), TButtonLayout::blGlyphLeft,
                        -1, 10);
  EXPECT_EQ(p.icon.left(), (100 - 32 + 1) / 2);
}

TEST(IconBtn, ClickOnlyWhenReleasedInside) {
  TIconBtn button;
  button.resize(200, 40);
  button.setText("&Go");
  button.show();
  QSignalSpy clicks(&button, &QAbstractButton::clicked);
  QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(300, 10));
  EXPECT_EQ(clicks.count(), 0);
  QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(clicks.count(), 1);
  button.setFocus();
  QTest::keyClick(&button, Qt::Key_Space);
  EXPECT_EQ(clicks.count(), 2);
  button.setEnabled(false);
  QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10));
  QTest::keyClick(&button, Qt::Key_Space);
  EXPECT_EQ(clicks.count(), 2);
}

TEST(IconBtn, GroupedButtonsReleaseEachOther) {
  QWidget parent;
  TIconBtn a(&parent), b(&parent), other(&parent);
  for (TIconBtn* button : {&a, &b}) button->SetGroupIndex(1);
  other.SetGroupIndex(2);
  other.SetDown(true);
  a.SetDown(true);
  EXPECT_TRUE(a.Down());
  b.SetDown(true);
  EXPECT_FALSE(a.Down());
  EXPECT_TRUE(b.Down());
  EXPECT_TRUE(other.Down());
  b.SetDown(false);  // without AllowAllUp a down button stays down
  EXPECT_TRUE(b.Down());
  b.SetAllowAllUp(true);
  b.click();
  EXPECT_FALSE(b.Down());
}

}  // namespace
}  // namespace tessaro
