#pragma once
// "ファイル変換": converts an RLB file already on disk into a CSV file in the
// chosen form on the conversion thread. It always opens on the Q5 series
// form; the form chosen on OK is stored as the collection dialog's default.

#include <QString>

#include "core/collect/CsvWriter.h"
#include "ui/collect/CollectionContext.h"
#include "ui/shell/CommandDialog.h"

class QPushButton;

namespace tessaro {

class TCsvTypeGroup;

// The CSV name proposed for an RLB file: its extension changed to ".CSV"
// (appended when it has none), in the same folder.
QString ProposedCsvPath(const QString& rlbPath);

class TConvDLG : public TCommandDialog {
  Q_OBJECT

 public:
  explicit TConvDLG(CollectionContext context, QWidget* parent = nullptr);

  CsvType Type() const { return csvType_; }
  TCsvTypeGroup* CsvTypeGroup() const { return csvTypeGroup_; }
  QPushButton* OkButton() const { return button1_; }
  QPushButton* CancelButton() const { return button2_; }
  QPushButton* GraphButton() const { return graphButton_; }

 public slots:
  void Button1Click();
  // Asks for an RLB file and shows its graph.
  void GraphButtonClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  CollectionContext context_;
  CsvType csvType_ = CsvType::Q5;
  TCsvTypeGroup* csvTypeGroup_;
  QPushButton* button1_;
  QPushButton* button2_;
  QPushButton* graphButton_;
};

}  // namespace tessaro
