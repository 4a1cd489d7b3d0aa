#pragma once
// "グラフ表示": the graph of one RLB file, with a switch per channel, a
// button that shows everything again, saving as PNG or SVG and a line that
// reads out the record under the cursor. The window owns its graph source
// (the analysed file and its index) and deletes itself when closed.

#include <QDialog>
#include <memory>
#include <string>

#include "core/graph/GraphSource.h"

class QLabel;
class QPushButton;

namespace tessaro {

class DefinitionDb;
class TGraphView;

class TGraphWindow : public QDialog {
  Q_OBJECT

 public:
  // Analyses and indexes rlbPath (failures shown as the conversion shows
  // them) and shows its window; null after a failure.
  static TGraphWindow* Open(const QString& rlbPath, const DefinitionDb& db,
                            const std::string& workFolder, QWidget* parent);

  TGraphView* View() const { return view_; }
  QPushButton* ResetButton() const { return resetButton_; }
  QLabel* Readout() const { return readout_; }
  // Saves the graph; the format follows the extension.
  bool SaveImage(const QString& path);

 private:
  TGraphWindow(std::unique_ptr<GraphSource> source, const QString& name, QWidget* parent);
  void SaveButtonClick();

  std::unique_ptr<GraphSource> source_;
  TGraphView* view_;
  QPushButton* resetButton_;
  QLabel* readout_;
};

}  // namespace tessaro
