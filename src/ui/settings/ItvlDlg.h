#pragma once
// "測定間隔の設定": the measurement interval, pre-timer and sampling
// interval, each chosen from the codes the recorder lists for it and shown
// by its interval name; a setting without a list shows "未使用" and is not
// written. Reading and writing are core functions.

#include <array>

#include "core/settings/MeasurementInterval.h"
#include "ui/shell/CommandDialog.h"

class QComboBox;

namespace tessaro {

class AppSession;

class TItvlDLG : public TCommandDialog {
  Q_OBJECT

 public:
  TItvlDLG(AppSession& session, QWidget* parent = nullptr);

  // Reads and fills the lists; false, after an error box, on failure.
  bool Prepare() override;
  // Writes what has a list; a failure throws with its text.
  void Apply() override;

  const MeasurementInterval& Timing() const { return timing_; }
  // 0 interval, 1 pre-timer, 2 sampling interval.
  QComboBox* List(int index) const { return lists_[static_cast<size_t>(index)]; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  IntervalSetting& Setting(int index);
  void Fill(int index);

  AppSession& session_;
  MeasurementInterval timing_;
  std::array<QComboBox*, 3> lists_{};
};

}  // namespace tessaro
