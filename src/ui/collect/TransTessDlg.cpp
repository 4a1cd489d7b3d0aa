#include "ui/collect/TransTessDlg.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "core/support/CodePage.h"
#include "core/support/MessageBox.h"
#include "ui/collect/CsvTypeGroup.h"
#include "ui/shell/AppIcon.h"
#include "ui/shell/DialogStyle.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/ModalGauge.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"

namespace tessaro {
namespace {

constexpr int kRowHeight = 18;

// Captions of the panel rows, top to bottom; the memo rows follow.
constexpr int kCaptions[] = {MsgTransVersion,  MsgTransSerial,   MsgTransRing,  MsgTransDataCount,
                             MsgTransChannels, MsgTransInterval, MsgTransStart, MsgTransStop};

// Recorder texts arrive in the recorder's code page.
QString RecorderText(const std::string& text) { return ToQt(Cp932ToUtf8(text)); }

}  // namespace

TTransTessDLG::TTransTessDLG(LineContext& line, bool highSpeedMode, CollectionContext context,
                             QWidget* parent)
    : TCommandDialog(parent, kFixedDialogFlags),
      line_(line),
      highSpeedMode_(highSpeedMode),
      context_(std::move(context)) {
  setWindowTitle(Msg(MsgTransCaption));
  setWindowIcon(AppIcon());
  setFont(ProportionalFont());
  setFixedSize(370, 245);

  auto* label1 = new QLabel(Msg(MsgTransRecorder), this);
  label1->setGeometry(8, 6, 100, 16);
  listBox1_ = new QListWidget(this);
  listBox1_->setGeometry(8, 24, 100, 98);
  listBox1_->setSortingEnabled(true);
  label1->setBuddy(listBox1_);
  connect(listBox1_, &QListWidget::currentRowChanged, this, &TTransTessDLG::ListBoxClick);

  rlbSave_ = new QCheckBox(Msg(MsgTransRlbSave), this);
  rlbSave_->setGeometry(8, 126, 150, 20);
  csvType_ = new TCsvTypeGroup(this);
  csvType_->setGeometry(8, 148, 150, 60);

  button1_ = new QPushButton(Msg(MsgOkButton), this);
  button1_->setGeometry(8, 214, 72, 25);
  button1_->setDefault(true);
  button2_ = new QPushButton(Msg(MsgCancelButton), this);
  button2_->setGeometry(86, 214, 72, 25);
  connect(button1_, &QPushButton::clicked, this, &TTransTessDLG::Button1Click);
  connect(button2_, &QPushButton::clicked, this, &QDialog::reject);

  BuildPanel();
}

void TTransTessDLG::BuildPanel() {
  auto* panel1 = new QFrame(this);
  panel1->setGeometry(166, 6, 196, 233);
  panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  for (int row = 0; row < kPanelRows; ++row) {
    const QString caption = row < static_cast<int>(std::size(kCaptions))
                                ? Msg(kCaptions[row])
                                : ToQt(FormatMessage(MsgTransMemo, row - 7));
    const int y = 8 + row * kRowHeight;
    auto* label = new QLabel(caption, panel1);
    label->setGeometry(8, y, 66, kRowHeight - 2);
    auto* value = new QLabel(panel1);
    value->setGeometry(76, y, 114, kRowHeight - 2);
    value->setTextFormat(Qt::PlainText);
    values_[static_cast<size_t>(row)] = value;
  }
}

bool TTransTessDLG::Prepare() {
  const auto options = ReadCollectionOptions(context_.settingsFile);
  if (!options) ShowError(LoadMessage(MsgCollectionSettingsAccess));
  options_ = options.value_or(CollectionOptions{});
  StepResult read;
  {
    ModalGauge shown(context_.gauge, LoadMessage(MsgManagementCaption));
    read = ReadManagementInfo(line_, context_.gauge, info_);
  }
  if (!read) {
    ShowError(read.message);
    return false;
  }
  for (size_t r = 0; r < info_.rings.size(); ++r)
    listBox1_->addItem(ToQt(RingName(static_cast<int>(r))));
  rlbSave_->setChecked(options_.saveRlb);
  csvType_->SetType(options_.csvType);
  if (listBox1_->count() > 0) listBox1_->setCurrentRow(0);
  ShowRing(0);
  return true;
}

void TTransTessDLG::showEvent(QShowEvent* event) {
  TCommandDialog::showEvent(event);
  listBox1_->setFocus();
}

std::optional<int> TTransTessDLG::SelectedRing() const {
  const QListWidgetItem* item = listBox1_->currentItem();
  if (!item || !item->isSelected()) return std::nullopt;
  return ParseRingName(FromQt(item->text()));
}

CollectionOptions TTransTessDLG::Options() const {
  return {rlbSave_->isChecked(), csvType_->Type()};
}

void TTransTessDLG::ListBoxClick() {
  if (const auto ring = SelectedRing()) ShowRing(*ring);
}

void TTransTessDLG::ShowRing(int ring) {
  const RingPanel panel = MakeRingPanel(info_, ring, context_.db);
  const QString texts[kPanelRows] = {RecorderText(panel.version),
                                     RecorderText(panel.serial),
                                     ToQt(panel.ring),
                                     ToQt(panel.dataCount),
                                     ToQt(panel.channelCount),
                                     ToQt(panel.interval),
                                     ToQt(panel.start),
                                     ToQt(panel.stop),
                                     RecorderText(panel.memos[0]),
                                     RecorderText(panel.memos[1]),
                                     RecorderText(panel.memos[2]),
                                     RecorderText(panel.memos[3])};
  for (int row = 0; row < kPanelRows; ++row) values_[static_cast<size_t>(row)]->setText(texts[row]);
}

void TTransTessDLG::Button1Click() {
  options_ = Options();
  if (!SaveCollectionOptions(context_.settingsFile, options_)) {
    ShowError(LoadMessage(MsgCollectionSettingsAccess));
    return;
  }
  CollectionPlan plan;
  const StepResult checked = PlanCollection(
      info_, SelectedRing().value_or(-1), options_.csvType, context_.dataFolder,
      [](const std::string& text) { return AskInformation(text) == BoxResult::Ok; }, plan);
  if (!checked) {
    ShowError(checked.message);
    return;
  }
  const QString csvPath = context_.files.askSaveFileName(
      this, {Msg(MsgCsvFilter), QStringLiteral("CSV"), ToQt(plan.names.csvPath)});
  if (csvPath.isEmpty()) return;
  const CollectionRequest request =
      MakeCollectionRequest(plan, FromQt(csvPath), options_, highSpeedMode_);
  if (const StepResult names = CheckCsvIsNotRlb(request.csvPath, request.rlbPath); !names) {
    ShowError(names.message);
    return;
  }
  request_ = request;
  request_.programFolder = context_.programFolder;
  // The save dialog confirmed the CSV file; the kept RLB file beside it is
  // asked about here.
  if (RlbFileExists(request_)) {
    const std::string name = request_.rlbPath.substr(request_.rlbPath.find_last_of('/') + 1);
    if (AskYesNo(FormatMessage(MsgAskReplaceRlb, name.c_str())) != BoxResult::Yes) return;
    request_.replaceRlb = true;
  }
  if (const StepResult files = CheckCollectionFiles(request_); !files) {
    ShowError(files.message + "\n" + files.reason);
    return;
  }

  hide();
  std::unique_ptr<TThredTess> thread;
  RunBehindGauge(context_.gauge, LoadMessage(MsgCollectCaption), [&] {
    thread = std::make_unique<TThredTess>(line_, request_, context_.db, context_.gauge);
  });
  const bool collected = thread && thread->Result().ok;
  thread.reset();
  show();
  accept();
  if (collected && request_.saveDataFile && context_.showGraph &&
      AskYesNo(LoadMessage(MsgGraphAfterCollection)) == BoxResult::Yes)
    context_.showGraph(request_.rlbPath, parentWidget());
}

}  // namespace tessaro
