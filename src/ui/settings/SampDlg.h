#pragma once
// "測定モードの設定": reads every channel's measurement mode and settable
// codes behind the progress dialog, shows them in a grid with an in-place
// drop-down, a channel-count spin box and copy and paste of a mode, and on
// OK writes the count and the modes of the channels in use. Reading,
// writing and the paste rules are core functions; the dialog only shows.

#include <QKeySequence>

#include "core/settings/MeasurementModes.h"
#include "ui/shell/CommandDialog.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tessaro {

class AppSession;

class TSampDLG : public TCommandDialog {
  Q_OBJECT

 public:
  TSampDLG(AppSession& session, QWidget* parent = nullptr);

  // Reads behind the progress dialog; false, after its failure flashed
  // there, when the recorder could not be read.
  bool Prepare() override;
  // Writes the count and the modes; a failure throws with its text.
  void Apply() override;

  const MeasurementModes& Modes() const { return modes_; }
  QTableWidget* Grid() const { return grid_; }
  QSpinBox* ChannelSpin() const { return spin_; }
  QComboBox* Editor() const { return editor_; }

  // The commands of the button, the shortcuts and the context menu, on the
  // grid's current row.
  void EditClick();
  void CopyClick();
  void PasteClick();

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ChannelCountChange(int value);
  void EditorChoose(int index);
  void HideEditor();
  void ShowRow(int row);
  // The channel slot of the grid's current row; nullptr without one.
  ChannelModes* CurrentChannel();
  void PopupMenuShow(const QPoint& position);
  QAction* AddCommand(int text, const QKeySequence& shortcut, void (TSampDLG::*slot)());

  AppSession& session_;
  MeasurementModes modes_;
  QTableWidget* grid_;
  QSpinBox* spin_;
  QLabel* maxLabel_;
  QComboBox* editor_;
  QMenu* menu_;
  QAction* cut_;
  QAction* paste_;
};

}  // namespace tessaro
