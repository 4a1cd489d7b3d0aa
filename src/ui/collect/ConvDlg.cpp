#include "ui/collect/ConvDlg.h"

#include <QPushButton>
#include <memory>

#include "core/collect/CollectionPlan.h"
#include "core/collect/ThredTess2.h"
#include "core/support/FileNames.h"
#include "core/support/MessageBox.h"
#include "ui/collect/CsvTypeGroup.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/DialogStyle.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/ModalGauge.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"

namespace tessaro {

QString ProposedCsvPath(const QString& rlbPath) {
  return ToQt(ChangeExtension(FromQt(rlbPath), ".CSV"));
}

TConvDLG::TConvDLG(CollectionContext context, QWidget* parent)
    : TCommandDialog(parent, kFixedDialogFlags), context_(std::move(context)) {
  setWindowTitle(Msg(MsgConvCaption));
  setWindowIcon(AppIcon());
  setFont(ProportionalFont());
  setFixedSize(280, 110);

  csvTypeGroup_ = new TCsvTypeGroup(this);
  csvTypeGroup_->setGeometry(10, 10, 160, 90);
  button1_ = new QPushButton(Msg(MsgOkButton), this);
  button1_->setGeometry(190, 18, 80, 25);
  button1_->setDefault(true);
  button2_ = new QPushButton(Msg(MsgCancelButton), this);
  button2_->setGeometry(190, 52, 80, 25);
  connect(button1_, &QPushButton::clicked, this, &TConvDLG::Button1Click);
  connect(button2_, &QPushButton::clicked, this, &QDialog::reject);
  graphButton_ = new QPushButton(Msg(MsgGraphButton), this);
  graphButton_->setGeometry(190, 80, 80, 25);
  graphButton_->setVisible(static_cast<bool>(context_.showGraph));
  connect(graphButton_, &QPushButton::clicked, this, &TConvDLG::GraphButtonClick);
}

void TConvDLG::GraphButtonClick() {
  const QString rlbPath = context_.files.askOpenFileName(
      this, {Msg(MsgRlbFilter), QStringLiteral("RLB"), ToQt(context_.dataFolder)});
  // A child of this dialog, so that it takes input while the dialog is modal.
  if (!rlbPath.isEmpty()) context_.showGraph(FromQt(rlbPath), this);
}

void TConvDLG::showEvent(QShowEvent* event) {
  TCommandDialog::showEvent(event);
  csvTypeGroup_->SetType(csvType_);
  csvTypeGroup_->FocusChecked();
}

void TConvDLG::Button1Click() {
  csvType_ = csvTypeGroup_->Type();
  if (!SaveCsvType(context_.settingsFile, csvType_))
    ShowError(LoadMessage(MsgCollectionSettingsAccess));

  const QString rlbPath = context_.files.askOpenFileName(
      this, {Msg(MsgRlbFilter), QStringLiteral("RLB"), ToQt(context_.dataFolder)});
  if (rlbPath.isEmpty()) return;
  const QString csvPath = context_.files.askSaveFileName(
      this, {Msg(MsgCsvFilter), QStringLiteral("CSV"), ProposedCsvPath(rlbPath)});
  if (csvPath.isEmpty()) return;
  if (const StepResult names = CheckCsvIsNotRlb(FromQt(csvPath), FromQt(rlbPath)); !names) {
    ShowError(names.message);
    return;
  }

  hide();
  std::unique_ptr<TThredTess2> thread;
  RunBehindGauge(context_.gauge, LoadMessage(MsgManagementCaption), [&] {
    thread = std::make_unique<TThredTess2>(FromQt(rlbPath), FromQt(csvPath), csvType_, context_.db,
                                           context_.gauge, context_.programFolder);
  });
  thread.reset();
  show();
  accept();
}

}  // namespace tessaro
