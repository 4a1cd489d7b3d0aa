#pragma once
// A round status lamp of the main window's line row.

#include <QColor>
#include <QWidget>

namespace tessaro {

enum class LampState { Off, Busy, On, Failed };  // white, yellow, lime, red

class TLamp : public QWidget {
  Q_OBJECT

 public:
  explicit TLamp(QWidget* parent = nullptr);

  void SetState(LampState state);
  LampState State() const { return state_; }
  static QColor Colour(LampState state);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  LampState state_ = LampState::Off;
};

}  // namespace tessaro
