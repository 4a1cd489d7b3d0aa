#pragma once
// The communication settings dialog: serial port or TCP, serial parameters,
// TCP address and port, reply timeout. It edits its own copy of the line
// settings; the main window takes them over, saves them and reopens the line.

#include <QDialog>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/line/LineSettings.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace tessaro {

class TNumberEdit;

class TComEnvDLG : public QDialog {
  Q_OBJECT

 public:
  // Lists the machine's serial ports; false when they cannot be listed.
  using PortLister = std::function<bool(std::vector<std::string>&)>;
  // Device path -> what identifies the device (maker, product, serial
  // number, by-id name); shown beside the list, never stored.
  using PortIdentities = std::map<std::string, std::string>;
  using IdentityLister = std::function<PortIdentities()>;

  explicit TComEnvDLG(QWidget* parent = nullptr);

  // 0: stand-alone (Save shown, OK does not store); 1: main-window mode.
  void SetMode(int mode) { mode_ = mode; }
  int Mode() const { return mode_; }

  void LoadFromSettings(const LineSettings& settings);
  void StoreToSettings();
  const LineSettings& Settings() const { return settings_; }

  // True when the settings file holds a non-empty [ComPort] Port.
  static bool HasSavedPort(const std::string& settingsFile);

  void SetPortLister(PortLister lister) { portLister_ = std::move(lister); }
  void SetIdentityLister(IdentityLister lister) { identityLister_ = std::move(lister); }

  QComboBox* PortList() const { return portList_; }
  QComboBox* BaudList() const { return baudList_; }
  QComboBox* DataList() const { return dataList_; }
  QComboBox* StopList() const { return stopList_; }
  QComboBox* PrtyList() const { return prtyList_; }
  QLineEdit* IpAddr() const { return ipAddr_; }
  TNumberEdit* IpPort() const { return ipPort_; }
  QSpinBox* OverEdit() const { return overEdit_; }
  // The identity of the selected serial device.
  QLabel* DeviceInfo() const { return deviceInfo_; }
  // The identity shown beside entry index of the port list.
  QString PortIdentity(int index) const;
  QPushButton* OkBtn() const { return okBtn_; }
  QPushButton* SaveBtn() const { return saveBtn_; }
  QPushButton* CancelBtn() const { return cancelBtn_; }

 public slots:
  void PortListChange();
  void OkBtnClick();
  void SaveBtnClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildPortList();
  // False, after telling the user, when the TCP port field is not a port
  // number while the TCP line is or is about to be in use.
  bool CheckTcpPort();

  QComboBox* portList_;
  QComboBox* baudList_;
  QComboBox* dataList_;
  QComboBox* stopList_;
  QComboBox* prtyList_;
  QLineEdit* ipAddr_;
  TNumberEdit* ipPort_;
  QSpinBox* overEdit_;
  QLabel* deviceInfo_;
  QPushButton* okBtn_;
  QPushButton* saveBtn_;
  QPushButton* cancelBtn_;
  int mode_ = 0;
  LineSettings settings_;
  PortLister portLister_;
  IdentityLister identityLister_;
};

}  // namespace tessaro
