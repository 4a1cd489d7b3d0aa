#include "ui/graph/GraphWindow.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/support/MessageBox.h"
#include "ui/graph/GraphImage.h"
#include "ui/graph/GraphView.h"
#include "ui/shell/QtText.h"

namespace tessaro {

TGraphWindow* TGraphWindow::Open(const QString& rlbPath, const DefinitionDb& db,
                                 const std::string& workFolder, QWidget* parent) {
  auto source = std::make_unique<GraphSource>();
  if (!source->Open(FromQt(rlbPath), db, workFolder)) return nullptr;
  auto* window = new TGraphWindow(std::move(source), QFileInfo(rlbPath).fileName(), parent);
  window->show();
  return window;
}

TGraphWindow::TGraphWindow(std::unique_ptr<GraphSource> source, const QString& name,
                           QWidget* parent)
    : QDialog(parent, Qt::Window), source_(std::move(source)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(Msg(MsgGraphCaption) + QStringLiteral(" - ") + name);
  resize(1000, 640);

  view_ = new TGraphView(*source_, name, this);
  auto* switches = new QHBoxLayout;
  switches->addWidget(new QLabel(Msg(MsgGraphChannels), this));
  const std::vector<GraphChannel>& channels = source_->Channels();
  for (size_t i = 0; i < channels.size(); ++i) {
    auto* box = new QCheckBox(ToQt(channels[i].legend), this);
    box->setChecked(true);
    connect(box, &QCheckBox::toggled, this, [this, i](bool on) {
      std::vector<bool> shown = view_->Graph().ShownChannels();
      shown[i] = on;
      view_->Graph().SetShownChannels(std::move(shown));
      view_->Redraw();
    });
    switches->addWidget(box);
  }
  switches->addStretch();
  resetButton_ = new QPushButton(Msg(MsgGraphReset), this);
  connect(resetButton_, &QPushButton::clicked, view_, &TGraphView::ResetView);
  switches->addWidget(resetButton_);
  auto* save = new QPushButton(Msg(MsgGraphSave), this);
  connect(save, &QPushButton::clicked, this, &TGraphWindow::SaveButtonClick);
  switches->addWidget(save);

  readout_ = new QLabel(this);
  readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  connect(view_, &TGraphView::CursorMoved, readout_, &QLabel::setText);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(switches);
  layout->addWidget(view_, 1);
  layout->addWidget(readout_);
  view_->setFocus();
}

bool TGraphWindow::SaveImage(const QString& path) {
  return SaveViewImage(view_, path, ImageFormatOf(path));
}

void TGraphWindow::SaveButtonClick() {
  const QString svgFilter = QStringLiteral("SVG (*.svg *.SVG)");
  QString selected;
  QString path = QFileDialog::getSaveFileName(
      this, Msg(MsgGraphSave).remove(QStringLiteral("(&S)")), QString(),
      QStringLiteral("PNG (*.png *.PNG);;") + svgFilter, &selected);
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty())
    path += selected == svgFilter ? QStringLiteral(".svg") : QStringLiteral(".png");
  if (!SaveImage(path)) ShowError(LoadMessage(MsgGraphSaveFailed));
}

}  // namespace tessaro
