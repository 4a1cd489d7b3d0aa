#include "ui/line/ComEnvDlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTreeView>
#include <algorithm>
#include <new>

#include "core/line/CommEx.h"
#include "core/line/SerialPortList.h"
#include "core/support/IniFile.h"
#include "core/support/MessageBox.h"
#include "ui/controls/NumberEdit.h"
#include "ui/line/ComEnvMapping.h"
#include "ui/shell/DialogStyle.h"
#include "ui/shell/QtText.h"
#include "ui/shell/UiFonts.h"

namespace tessaro {
namespace {

constexpr int kLabelX = 10;
constexpr int kFieldX = 172;
constexpr int kFieldWidth = 105;
constexpr int kRowHeight = 22;

int RowY(int row) { return 15 + row * 30; }

template <typename Field>
Field* AddRow(QWidget* parent, int row, int labelId, Field* field) {
  auto* label = new QLabel(Msg(labelId), parent);
  label->setGeometry(kLabelX, RowY(row), kFieldX - kLabelX - 2, kRowHeight);
  label->setBuddy(field);
  field->setGeometry(kFieldX, RowY(row), kFieldWidth, kRowHeight);
  return field;
}

QComboBox* AddList(QWidget* parent, int row, int labelId, const QStringList& items) {
  auto* list = AddRow(parent, row, labelId, new QComboBox(parent));
  list->addItems(items);
  return list;
}

constexpr int kIdentityColumn = 1;

TComEnvDLG::PortIdentities MachinePortIdentities() {
  TComEnvDLG::PortIdentities identities;
  for (const SerialPortInfo& port : ListSerialPortInfo().value_or(std::vector<SerialPortInfo>{}))
    identities[port.device] = port.Identity();
  return identities;
}

// The drop-down shows each port with its identity in a second column; the
// combo box's text stays the port name.
void ShowIdentitiesBesidePorts(QComboBox* list) {
  list->setModel(new QStandardItemModel(0, 2, list));
  auto* view = new QTreeView(list);
  view->setHeaderHidden(true);
  view->setRootIsDecorated(false);
  view->setAllColumnsShowFocus(true);
  view->setItemsExpandable(false);
  list->setView(view);
}

}  // namespace

TComEnvDLG::TComEnvDLG(QWidget* parent)
    : QDialog(parent, kFixedDialogFlags),
      portLister_(&TCommEx::ListSerialPorts),
      identityLister_(&MachinePortIdentities) {
  setWindowTitle(Msg(MsgComEnvCaption));
  setFont(ProportionalFont());
  // Taller than the rows need by the line that names the selected device.
  setFixedSize(370, 300);

  QStringList bauds;
  for (int baud : kBaudRates) bauds << QString::number(baud);
  portList_ = AddList(this, 0, MsgComEnvPort, {});
  ShowIdentitiesBesidePorts(portList_);
  baudList_ = AddList(this, 1, MsgComEnvBaud, bauds);
  dataList_ = AddList(this, 2, MsgComEnvData, {QStringLiteral("8"), QStringLiteral("7")});
  stopList_ = AddList(this, 3, MsgComEnvStop,
                      {QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")});
  prtyList_ = AddList(this, 4, MsgComEnvParity,
                      {Msg(MsgParityNone), Msg(MsgParityOdd), Msg(MsgParityEven)});
  ipAddr_ = AddRow(this, 5, MsgComEnvIpAddr, new QLineEdit(this));
  ipAddr_->setAttribute(Qt::WA_InputMethodEnabled, false);
  ipPort_ = AddRow(this, 6, MsgComEnvIpPort, new TNumberEdit(this));
  overEdit_ = AddRow(this, 7, MsgComEnvOver, new QSpinBox(this));
  overEdit_->setRange(1, 120);
  overEdit_->setAlignment(Qt::AlignRight);
  deviceInfo_ = new QLabel(this);
  deviceInfo_->setGeometry(kLabelX, RowY(8), 350, 40);
  deviceInfo_->setWordWrap(true);
  deviceInfo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  deviceInfo_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  okBtn_ = new QPushButton(Msg(MsgOkButton), this);
  saveBtn_ = new QPushButton(Msg(MsgComEnvSave), this);
  cancelBtn_ = new QPushButton(Msg(MsgCancelButton), this);
  for (QPushButton* button : {okBtn_, saveBtn_, cancelBtn_}) button->resize(75, 25);
  connect(okBtn_, &QPushButton::clicked, this, &TComEnvDLG::OkBtnClick);
  connect(saveBtn_, &QPushButton::clicked, this, &TComEnvDLG::SaveBtnClick);
  connect(cancelBtn_, &QPushButton::clicked, this, &QDialog::reject);
  connect(portList_, &QComboBox::currentIndexChanged, this, &TComEnvDLG::PortListChange);
}

void TComEnvDLG::BuildPortList() {
  std::vector<std::string> serial;
  const bool listed = portLister_ && portLister_(serial);
  const QSignalBlocker quiet(portList_);
  portList_->clear();
  const PortIdentities identities = identityLister_ ? identityLister_() : PortIdentities{};
  auto* model = static_cast<QStandardItemModel*>(portList_->model());
  for (const std::string& entry : PortListEntries(serial)) {
    auto* identity = new QStandardItem;
    if (auto found = identities.find(entry); found != identities.end()) {
      identity->setText(ToQt(found->second));
      identity->setToolTip(identity->text());
    }
    model->appendRow({new QStandardItem(ToQt(entry)), identity});
  }
  // Wide enough for the identities, which the dialog itself has no room for.
  auto* view = static_cast<QTreeView*>(portList_->view());
  view->resizeColumnToContents(0);
  view->resizeColumnToContents(kIdentityColumn);
  view->setMinimumWidth(
      std::min(view->columnWidth(0) + view->columnWidth(kIdentityColumn) + 24, 900));
  if (!listed) ShowError(LoadMessage(MsgComSettingsAccess));
}

QString TComEnvDLG::PortIdentity(int index) const {
  const QStandardItem* item =
      static_cast<QStandardItemModel*>(portList_->model())->item(index, kIdentityColumn);
  return item ? item->text() : QString();
}

void TComEnvDLG::LoadFromSettings(const LineSettings& settings) {
  settings_ = settings;
  try {
    BuildPortList();
    std::vector<std::string> entries;
    for (int i = 0; i < portList_->count(); ++i) entries.push_back(FromQt(portList_->itemText(i)));
    portList_->setCurrentIndex(PortEntryIndex(entries, settings.ComPort));
    baudList_->setCurrentIndex(BaudIndex(settings.Baud));
    dataList_->setCurrentIndex(DataIndex(settings.Data));
    stopList_->setCurrentIndex(StopIndex(settings.Stop));
    prtyList_->setCurrentIndex(ParityIndex(settings.Parity));
    ipAddr_->setText(ToQt(settings.IpAddr));
    ipPort_->SetValue(settings.IpPort);
    overEdit_->setValue(settings.Over);
  } catch (const std::bad_alloc&) {
    ShowError(LoadMessage(MsgOutOfMemory));
  }
  PortListChange();
}

void TComEnvDLG::StoreToSettings() {
  settings_.ComPort = FromQt(portList_->currentText());
  settings_.Baud = BaudFromIndex(baudList_->currentIndex());
  settings_.Data = DataFromIndex(dataList_->currentIndex());
  settings_.Stop = StopFromIndex(stopList_->currentIndex());
  settings_.Parity = ParityFromIndex(prtyList_->currentIndex());
  settings_.IpAddr = FromQt(ipAddr_->text().trimmed());
  if (auto port = TcpPortFromText(FromQt(ipPort_->text()))) settings_.IpPort = *port;
  settings_.Over = overEdit_->value();
}

bool TComEnvDLG::HasSavedPort(const std::string& settingsFile) {
  IniFile ini(settingsFile);
  if (!ini.Load()) {
    ShowError(LoadMessage(MsgComSettingsAccess));
    return false;
  }
  return !ini.ReadString("ComPort", "Port", "").empty();
}

void TComEnvDLG::PortListChange() {
  const bool tcp = portList_->currentIndex() == 0;
  const QString identity = PortIdentity(portList_->currentIndex());
  deviceInfo_->setText(tcp || identity.isEmpty() ? QString()
                                                 : Msg(MsgComEnvDevice) + ": " + identity);
  ipAddr_->setEnabled(tcp);
  ipPort_->setEnabled(tcp);
  for (QComboBox* list : {baudList_, dataList_, stopList_, prtyList_}) list->setEnabled(!tcp);
}

bool TComEnvDLG::CheckTcpPort() {
  // The port must be a usable number whenever the TCP line is, or is about
  // to be, in use.
  const bool tcp = settings_.ComPort == kTcpIpPortName || portList_->currentIndex() == 0;
  if (!tcp || TcpPortFromText(FromQt(ipPort_->text()))) return true;
  ShowError(LoadMessage(MsgBadServerPort));
  ipPort_->setFocus();
  return false;
}

void TComEnvDLG::OkBtnClick() {
  if (!CheckTcpPort()) return;
  if (mode_ == 1) StoreToSettings();
  accept();
}

void TComEnvDLG::SaveBtnClick() {
  if (CheckTcpPort()) StoreToSettings();
}

void TComEnvDLG::showEvent(QShowEvent* event) {
  okBtn_->setVisible(true);
  okBtn_->setDefault(true);
  const int x = 285;
  okBtn_->move(x, 15);
  if (mode_ == 0) {
    saveBtn_->setVisible(true);
    saveBtn_->move(x, 45);
    cancelBtn_->move(x, 75);
  } else {
    saveBtn_->setVisible(false);
    cancelBtn_->move(x, 45);
  }
  QDialog::showEvent(event);
  portList_->setFocus();
}

}  // namespace tessaro
