#pragma once
// "データ回収選択": reads the recorder's management information behind the
// progress dialog, lets the user pick a ring, whether to keep the RLB file
// and the CSV form, and on OK runs the collection thread. The checks, names
// and the collection itself are core functions; the dialog only asks.

#include <array>
#include <optional>

#include "core/collect/CollectionPlan.h"
#include "core/collect/RingCatalog.h"
#include "ui/collect/CollectionContext.h"
#include "ui/shell/CommandDialog.h"

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tessaro {

class LineContext;
class TCsvTypeGroup;

class TTransTessDLG : public TCommandDialog {
  Q_OBJECT

 public:
  static constexpr int kPanelRows = 12;

  TTransTessDLG(LineContext& line, bool highSpeedMode, CollectionContext context,
                QWidget* parent = nullptr);

  // Reads the options and the management information; false, after showing
  // the failure, when the recorder could not be read.
  bool Prepare() override;

  const RingInfo& Info() const { return info_; }
  // The ring of the selected line; nullopt without a selection.
  std::optional<int> SelectedRing() const;
  // The options as the form shows them.
  CollectionOptions Options() const;
  // What the last OK started (empty paths before).
  const CollectionRequest& LastRequest() const { return request_; }

  QListWidget* RingList() const { return listBox1_; }
  QCheckBox* RlbSave() const { return rlbSave_; }
  TCsvTypeGroup* CsvTypeGroup() const { return csvType_; }
  QPushButton* OkButton() const { return button1_; }
  QPushButton* CancelButton() const { return button2_; }
  QLabel* PanelValue(int row) const { return values_.at(static_cast<size_t>(row)); }

 public slots:
  void Button1Click();
  void ListBoxClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildPanel();
  void ShowRing(int ring);

  LineContext& line_;
  bool highSpeedMode_;
  CollectionContext context_;
  RingInfo info_;
  CollectionOptions options_;
  CollectionRequest request_;

  QListWidget* listBox1_;
  QCheckBox* rlbSave_;
  TCsvTypeGroup* csvType_;
  QPushButton* button1_;
  QPushButton* button2_;
  std::array<QLabel*, kPanelRows> values_{};
};

}  // namespace tessaro
