#pragma once
// "編集": the new value of one coefficient. A text page for numbers,
// memos and dates, a page of check boxes for each bit type. OK checks the
// entry with the core's editor rules (the dialog stays open on a refusal)
// and keeps the value text the write sends.
//
//   TCoefEditDLG editor(parent);
//   if (editor.Prepare("EEP0401", kTypeInt16, "-01234") && editor.exec() == QDialog::Accepted)
//     send(editor.ValueText());      // "+04321"

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace tessaro {

class TCoefEditDLG : public QDialog {
  Q_OBJECT

 public:
  explicit TCoefEditDLG(QWidget* parent = nullptr);

  // Chooses and fills the page for the type; false for a type without one.
  bool Prepare(const std::string& codeText, int type, const std::string& valueText);
  // The value text to send; set when the dialog was accepted.
  const std::string& ValueText() const { return valueText_; }

  QLineEdit* MaskEdit1() const { return maskEdit_; }
  // Check box of bit n on the page shown.
  QCheckBox* BitBox(int bit) const;
  QPushButton* AllBitsButton() const;
  QStackedWidget* Notebook1() const { return notebook_; }

  void accept() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct BitPage {
    QWidget* page = nullptr;
    QLabel* title = nullptr;
    std::vector<QCheckBox*> boxes;
    QPushButton* all = nullptr;
  };
  QWidget* MakeNormalPage();
  BitPage MakeBitPage(int bits);
  const BitPage* ShownBitPage() const;
  void AllBitsClick();

  int type_ = -1;
  std::string valueText_;
  QStackedWidget* notebook_;
  QLabel* label1_ = nullptr;
  QLineEdit* maskEdit_ = nullptr;
  std::vector<BitPage> bitPages_;  // 8, 16 and 32 bits
};

}  // namespace tessaro
