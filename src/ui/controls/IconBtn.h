#pragma once
// The large launcher button: an icon and a one-line caption side by side,
// laid out like a speed button (icon left/right/top/bottom, margin,
// spacing), focusable and keyboard-operable, optionally a toggle in a group.

#include <QAbstractButton>
#include <QIcon>

namespace tessaro {

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TIconBtn : public QAbstractButton {
  Q_OBJECT

 public:
  explicit TIconBtn(QWidget* parent = nullptr);

  struct Placement {
    QRect icon;
    QRect caption;
  };
  // Where icon and caption go inside face. Margin -1 centres both together;
  // Spacing -1 spreads the free space evenly. A missing icon or caption
  // (empty size) sets the spacing to 0.
  static Placement Arrange(const QRect& face, QSize iconSize, QSize captionSize,
                           TButtonLayout layout, int margin, int spacing);
  Placement CurrentPlacement() const;

  void SetIcon(const QIcon& icon, QSize size = QSize(32, 32));
  void SetLayout(TButtonLayout layout);
  TButtonLayout Layout() const { return layout_; }
  void SetMargin(int margin);
  int Margin() const { return margin_; }
  void SetSpacing(int spacing);
  int Spacing() const { return spacing_; }

  // 0: push button; other: toggle in that group among siblings.
  void SetGroupIndex(int index);
  int GroupIndex() const { return groupIndex_; }
  void SetAllowAllUp(bool allow) { allowAllUp_ = allow; }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetDown(bool down);
  bool Down() const { return isChecked(); }

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void nextCheckState() override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  QSize CaptionSize() const;
  void ReleaseOthers();

  QSize iconSize_;
  TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  int groupIndex_ = 0;
  bool allowAllUp_ = false;
};

}  // namespace tessaro
