#pragma once
// "ユーザーメモの設定": the recorder's user memo lines in a grid, edited in
// place, with cut, copy and paste on the current line; OK writes them all
// back. Reading, writing and the checks of typed text are core functions
// (UserMemos); the dialog keeps the recorder's bytes of every line it does
// not change.

#include <optional>
#include <string>
#include <vector>

#include "ui/shell/CommandDialog.h"

class QAction;
class QMenu;
class QPushButton;
class QTableWidget;

namespace tessaro {

class AppSession;

class TMemoDLG : public TCommandDialog {
  Q_OBJECT

 public:
  TMemoDLG(AppSession& session, QWidget* parent = nullptr);

  // Reads the memos; false, after showing the line message, on failure.
  bool Prepare() override;
  // Writes every memo; a failure is shown.
  void Apply() override;

  // The memos as they will be written (CP932).
  const std::vector<std::string>& Memos() const { return memos_; }

  QTableWidget* Grid() const { return grid_; }
  QPushButton* ChangeButton() const { return changeButton_; }
  QPushButton* OkButton() const { return okButton_; }
  QMenu* ContextMenu() const { return menu_; }

 public slots:
  void EditClick();
  void CutClick();
  void CopyClick();
  void PasteClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // A grid action with its shortcut; the context menu shows it when inMenu.
  QAction* AddAction(int caption, const QKeySequence& key, void (TMemoDLG::*slot)(),
                     bool inMenu = true);
  void Fill();
  // The memo row under the cursor; nullopt when there are no memos.
  std::optional<size_t> CurrentMemo() const;
  void SetMemo(size_t row, std::string memo);
  void CellChanged(int row, int column);
  void MenuAboutToShow();

  AppSession& session_;
  std::vector<std::string> memos_;

  QTableWidget* grid_;
  QPushButton* changeButton_;
  QPushButton* okButton_;
  QMenu* menu_;
  QAction* pasteAction_ = nullptr;
};

}  // namespace tessaro
