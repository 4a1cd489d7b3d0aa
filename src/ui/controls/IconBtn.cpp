#include "ui/controls/IconBtn.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace tessaro {
namespace {

constexpr int kFocusInset = 4;

// One axis of the speed-button layout: returns the icon and caption offsets.
std::pair<int, int> AlongAxis(int extent, int icon, int caption, int margin, int spacing,
                              bool iconFirst) {
  if (margin == -1 && spacing == -1) {
    margin = spacing = (extent - icon - caption) / 3;
  } else if (margin == -1) {
    margin = (extent - (icon + spacing + caption) + 1) / 2;
  } else if (spacing == -1) {
    spacing = (extent - margin - icon - caption) / 2;
  }
  if (iconFirst) return {margin, margin + icon + spacing};
  const int iconAt = extent - margin - icon;
  return {iconAt, iconAt - spacing - caption};
}

}  // namespace

TIconBtn::TIconBtn(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(35, 35);
}

TIconBtn::Placement TIconBtn::Arrange(const QRect& face, QSize iconSize, QSize captionSize,
                                      TButtonLayout layout, int margin, int spacing) {
  if (iconSize.isEmpty() || captionSize.isEmpty()) spacing = 0;
  if (iconSize.isEmpty()) iconSize = QSize(0, 0);
  if (captionSize.isEmpty()) captionSize = QSize(0, 0);
  const bool horizontal =
      layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphRight;
  const bool iconFirst =
      layout == TButtonLayout::blGlyphLeft || layout == TButtonLayout::blGlyphTop;
  const int extent = horizontal ? face.width() : face.height();
  const int across = horizontal ? face.height() : face.width();
  const int iconAlong = horizontal ? iconSize.width() : iconSize.height();
  const int captionAlong = horizontal ? captionSize.width() : captionSize.height();
  const int iconAcross = horizontal ? iconSize.height() : iconSize.width();
  const int captionAcross = horizontal ? captionSize.height() : captionSize.width();
  const auto [iconAt, captionAt] =
      AlongAxis(extent, iconAlong, captionAlong, margin, spacing, iconFirst);
  const int iconCross = (across - iconAcross + 1) / 2;
  const int captionCross = (across - captionAcross + 1) / 2;
  Placement p;
  if (horizontal) {
    p.icon =
        QRect(face.left() + iconAt, face.top() + iconCross, iconSize.width(), iconSize.height());
    p.caption = QRect(face.left() + captionAt, face.top() + captionCross, captionSize.width(),
                      captionSize.height());
  } else {
    p.icon =
        QRect(face.left() + iconCross, face.top() + iconAt, iconSize.width(), iconSize.height());
    p.caption = QRect(face.left() + captionCross, face.top() + captionAt, captionSize.width(),
                      captionSize.height());
  }
  return p;
}

TIconBtn::Placement TIconBtn::CurrentPlacement() const {
  return Arrange(rect(), icon().isNull() ? QSize() : iconSize_, CaptionSize(), layout_, margin_,
                 spacing_);
}

void TIconBtn::SetIcon(const QIcon& icon, QSize size) {
  iconSize_ = size;
  setIcon(icon);
  update();
}

void TIconBtn::SetLayout(TButtonLayout layout) {
  layout_ = layout;
  update();
}

void TIconBtn::SetMargin(int margin) {
  margin_ = margin;
  update();
}

void TIconBtn::SetSpacing(int spacing) {
  spacing_ = spacing;
  update();
}

void TIconBtn::SetGroupIndex(int index) {
  groupIndex_ = index;
  setCheckable(index != 0);
  if (index == 0) setChecked(false);
}

void TIconBtn::SetDown(bool down) {
  if (groupIndex_ == 0 || down == isChecked()) return;
  if (!down && !allowAllUp_) return;
  setChecked(down);
  if (down) ReleaseOthers();
}

void TIconBtn::nextCheckState() {
  if (groupIndex_ == 0) return;
  if (isChecked()) {
    if (allowAllUp_) setChecked(false);
    return;
  }
  setChecked(true);
  ReleaseOthers();
}

void TIconBtn::ReleaseOthers() {
  if (!parentWidget()) return;
  for (TIconBtn* other : parentWidget()->findChildren<TIconBtn*>(Qt::FindDirectChildrenOnly)) {
    if (other == this || other->groupIndex_ != groupIndex_) continue;
    other->setChecked(false);
    other->allowAllUp_ = allowAllUp_;
  }
}

void TIconBtn::mouseDoubleClickEvent(QMouseEvent* event) {
  // A double click counts only on a button that is down; otherwise it is a
  // second press.
  if (isChecked()) {
    QAbstractButton::mouseDoubleClickEvent(event);
    return;
  }
  mousePressEvent(event);
}

QSize TIconBtn::CaptionSize() const {
  if (text().isEmpty()) return {};
  const QRect r =
      fontMetrics().boundingRect(QRect(), Qt::TextSingleLine | Qt::TextShowMnemonic, text());
  return r.size();
}

QSize TIconBtn::sizeHint() const { return {35, 35}; }

void TIconBtn::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  option.initFrom(this);
  const bool sunken = isDown() || isChecked();
  option.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
  option.state &= ~QStyle::State_HasFocus;
  option.features = QStyleOptionButton::None;
  painter.fillRect(rect(), palette().button());
  painter.drawControl(QStyle::CE_PushButtonBevel, option);

  const Placement place = CurrentPlacement();
  const QPoint shift = sunken ? QPoint(1, 1) : QPoint(0, 0);
  if (!icon().isNull()) {
    icon().paint(&painter, place.icon.translated(shift), Qt::AlignCenter,
                 isEnabled() ? QIcon::Normal : QIcon::Disabled);
  }
  if (!text().isEmpty()) {
    const int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (isEnabled()) {
      painter.setPen(palette().color(QPalette::ButtonText));
      painter.drawText(place.caption.translated(shift), flags, text());
    } else {
      painter.setPen(Qt::white);
      painter.drawText(place.caption.translated(1, 1), flags, text());
      painter.setPen(QColor(0x80, 0x80, 0x80));
      painter.drawText(place.caption, flags, text());
    }
  }
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = rect().adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

}  // namespace tessaro
