#include "ui/line/ComEnvDlg.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "GuiTestEnvironment.h"
#include "core/support/Messages.h"
#include "support/RecordingMessageBox.h"
#include "support/TempDir.h"
#include "ui/controls/NumberEdit.h"
#include "ui/line/ComEnvMapping.h"

namespace tessaro {
namespace {

TEST(ComEnvMapping, ListIndexesAndCodes) {
  EXPECT_EQ(BaudFromIndex(0), 9600);
  EXPECT_EQ(BaudFromIndex(3), 38400);
  EXPECT_EQ(BaudFromIndex(8), 256000);
  EXPECT_EQ(BaudFromIndex(9), 9600);
  EXPECT_EQ(BaudFromIndex(-1), 9600);
  EXPECT_EQ(BaudIndex(115200), 6);
  EXPECT_EQ(BaudIndex(250000), 0);
  EXPECT_EQ(DataFromIndex(1), 3);
  EXPECT_EQ(DataFromIndex(0), 4);
  EXPECT_EQ(DataFromIndex(5), 4);
  EXPECT_EQ(DataIndex(3), 1);
  EXPECT_EQ(DataIndex(4), 0);
  EXPECT_EQ(DataIndex(7), 0);
  EXPECT_EQ(StopFromIndex(1), 1);
  EXPECT_EQ(StopFromIndex(2), 2);
  EXPECT_EQ(StopFromIndex(3), 0);
  EXPECT_EQ(StopIndex(-4), 0);
  EXPECT_EQ(ParityFromIndex(2), 2);
  EXPECT_EQ(ParityFromIndex(9), 0);
  EXPECT_EQ(ParityIndex(1), 1);
}

TEST(ComEnvMapping, PortListStartsWithTcpIpAndFindsComNames) {
  const auto entries = PortListEntries({"/dev/ttyS0", "TCP/IP", "/dev/ttyS2", "/dev/ttyUSB0"});
  EXPECT_EQ(entries,
            (std::vector<std::string>{"TCP/IP", "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyUSB0"}));
  EXPECT_EQ(PortEntryIndex(entries, "/dev/ttyUSB0"), 3);
  EXPECT_EQ(PortEntryIndex(entries, "COM3"), 2);  // COM3 is /dev/ttyS2
  EXPECT_EQ(PortEntryIndex(entries, "COM9"), 0);
  EXPECT_EQ(PortEntryIndex(entries, "COMX"), 0);
  EXPECT_EQ(PortEntryIndex(entries, "tcp/ip"), 0);
}

TEST(ComEnvMapping, TcpPortMustBeAWholePortNumber) {
  EXPECT_EQ(TcpPortFromText("10001"), 10001);
  EXPECT_EQ(TcpPortFromText("65535"), 65535);
  EXPECT_FALSE(TcpPortFromText(""));
  EXPECT_FALSE(TcpPortFromText("0"));
  EXPECT_FALSE(TcpPortFromText("65536"));
  EXPECT_FALSE(TcpPortFromText("-5"));
  EXPECT_FALSE(TcpPortFromText("80.5"));
  EXPECT_FALSE(TcpPortFromText("http"));
  EXPECT_FALSE(TcpPortFromText("99999999999999999999"));
}

class ComEnvDlgTest : public testing::Test {
 protected:
  ComEnvDlgTest() {
    dlg_.SetPortLister([](std::vector<std::string>& list) {
      list = {"COM1", "COM3"};
      return true;
    });
  }
  RecordingMessageBox boxes_;
  ScopedMessageBoxHandler install_{boxes_};
  TComEnvDLG dlg_;
};

TEST_F(ComEnvDlgTest, LoadShowsTheSettings) {
  LineSettings s;
  s.ComPort = "COM3";
  s.Baud = 250000;  // not in the list
  s.Data = 3;
  s.Stop = 1;
  s.Parity = 2;
  s.IpAddr = "127.0.0.1";
  s.IpPort = 4001;
  s.Over = 7;
  dlg_.LoadFromSettings(s);
  QStringList ports;
  for (int i = 0; i < dlg_.PortList()->count(); ++i) ports << dlg_.PortList()->itemText(i);
  EXPECT_EQ(ports, (QStringList{"TCP/IP", "COM1", "COM3"}));
  EXPECT_EQ(dlg_.PortList()->currentText(), "COM3");
  EXPECT_EQ(dlg_.BaudList()->currentText(), "9600");
  EXPECT_EQ(dlg_.DataList()->currentText(), "7");
  EXPECT_EQ(dlg_.StopList()->currentText(), "1.5");
  EXPECT_EQ(dlg_.PrtyList()->currentText(), QString::fromStdString(LoadMessage(MsgParityEven)));
  EXPECT_EQ(dlg_.IpPort()->text(), "4001");
  EXPECT_EQ(dlg_.OverEdit()->value(), 7);
  EXPECT_FALSE(dlg_.IpAddr()->isEnabled());
  EXPECT_TRUE(dlg_.BaudList()->isEnabled());

  dlg_.StoreToSettings();
  EXPECT_EQ(dlg_.Settings().Baud, 9600);
  EXPECT_EQ(dlg_.Settings().Data, 3);
  EXPECT_EQ(dlg_.Settings().Stop, 1);
  EXPECT_EQ(dlg_.Settings().Parity, 2);
  EXPECT_EQ(dlg_.Settings().ComPort, "COM3");
}

TEST_F(ComEnvDlgTest, IdentitiesStandBesideThePortsAndAreNotStored) {
  dlg_.SetIdentityLister([] {
    return TComEnvDLG::PortIdentities{{"COM3", "FTDI FT232R USB UART  /dev/serial/by-id/usb-x"}};
  });
  LineSettings s;
  s.ComPort = "COM3";
  dlg_.LoadFromSettings(s);
  EXPECT_EQ(dlg_.PortIdentity(1), "");
  EXPECT_EQ(dlg_.PortIdentity(2), "FTDI FT232R USB UART  /dev/serial/by-id/usb-x");
  EXPECT_TRUE(dlg_.DeviceInfo()->text().contains("/dev/serial/by-id/usb-x"));
  dlg_.PortList()->setCurrentIndex(1);
  EXPECT_EQ(dlg_.DeviceInfo()->text(), "");
  dlg_.PortList()->setCurrentIndex(2);
  dlg_.StoreToSettings();
  EXPECT_EQ(dlg_.Settings().ComPort, "COM3");
}

TEST_F(ComEnvDlgTest, SelectingTcpIpSwitchesTheEnabledFields) {
  dlg_.LoadFromSettings(LineSettings{});
  dlg_.PortList()->setCurrentIndex(0);
  EXPECT_TRUE(dlg_.IpAddr()->isEnabled());
  EXPECT_TRUE(dlg_.IpPort()->isEnabled());
  for (QComboBox* list : {dlg_.BaudList(), dlg_.DataList(), dlg_.StopList(), dlg_.PrtyList()})
    EXPECT_FALSE(list->isEnabled());
  dlg_.PortList()->setCurrentIndex(1);
  EXPECT_FALSE(dlg_.IpAddr()->isEnabled());
  EXPECT_TRUE(dlg_.StopList()->isEnabled());
  EXPECT_TRUE(dlg_.OverEdit()->isEnabled());
}

TEST_F(ComEnvDlgTest, MissingSavedPortSelectsTcpIp) {
  LineSettings s;
  s.ComPort = "COM7";
  dlg_.LoadFromSettings(s);
  EXPECT_EQ(dlg_.PortList()->currentIndex(), 0);
}

TEST_F(ComEnvDlgTest, OverIsLimitedToOneTo120) {
  dlg_.OverEdit()->setValue(500);
  EXPECT_EQ(dlg_.OverEdit()->value(), 120);
  dlg_.OverEdit()->setValue(0);
  EXPECT_EQ(dlg_.OverEdit()->value(), 1);
}

TEST_F(ComEnvDlgTest, OkInMainWindowModeStoresAndCancelDoesNot) {
  LineSettings s;
  s.ComPort = "COM1";
  dlg_.SetMode(1);
  dlg_.LoadFromSettings(s);
  dlg_.PortList()->setCurrentIndex(2);
  dlg_.DataList()->setCurrentIndex(1);
  WhenModal([&] { dlg_.CancelBtn()->click(); });
  EXPECT_EQ(dlg_.exec(), QDialog::Rejected);
  EXPECT_EQ(dlg_.Settings(), s);
  WhenModal([&] { dlg_.OkBtn()->click(); });
  EXPECT_EQ(dlg_.exec(), QDialog::Accepted);
  EXPECT_EQ(dlg_.Settings().ComPort, "COM3");
  EXPECT_EQ(dlg_.Settings().Data, 3);
  EXPECT_FALSE(dlg_.SaveBtn()->isVisible());
}

TEST_F(ComEnvDlgTest, StandAloneOkDoesNotStoreButSaveDoes) {
  LineSettings s;
  dlg_.SetMode(0);
  dlg_.LoadFromSettings(s);
  dlg_.BaudList()->setCurrentIndex(6);
  WhenModal([&] {
    EXPECT_TRUE(dlg_.SaveBtn()->isVisible());
    EXPECT_EQ(dlg_.CancelBtn()->y(), 75);
    dlg_.OkBtn()->click();
  });
  EXPECT_EQ(dlg_.exec(), QDialog::Accepted);
  EXPECT_EQ(dlg_.Settings().Baud, s.Baud);
  dlg_.SaveBtnClick();
  EXPECT_EQ(dlg_.Settings().Baud, 115200);
}

TEST_F(ComEnvDlgTest, BadTcpPortKeepsTheDialogOpen) {
  LineSettings s;
  s.ComPort = "TCP/IP";
  dlg_.SetMode(1);
  dlg_.LoadFromSettings(s);
  dlg_.IpPort()->setText("");
  bool stillOpen = false;
  WhenModal([&] {
    dlg_.OkBtn()->click();
    stillOpen = dlg_.isVisible();
    dlg_.reject();
  });
  EXPECT_EQ(dlg_.exec(), QDialog::Rejected);
  EXPECT_TRUE(stillOpen);
  EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{LoadMessage(MsgBadServerPort)}));
  EXPECT_EQ(dlg_.Settings(), s);
}

TEST_F(ComEnvDlgTest, SaveRefusesABadTcpPortAsOkDoes) {
  LineSettings s;
  s.ComPort = "TCP/IP";
  s.IpPort = 4001;
  dlg_.SetMode(0);
  dlg_.LoadFromSettings(s);
  dlg_.IpPort()->setText("");
  dlg_.OverEdit()->setValue(9);
  dlg_.SaveBtnClick();
  EXPECT_EQ(boxes_.Texts(), (std::vector<std::string>{LoadMessage(MsgBadServerPort)}));
  EXPECT_EQ(dlg_.Settings(), s);
}

TEST_F(ComEnvDlgTest, HasSavedPortReadsTheSettingsFile) {
  TempDir dir;
  EXPECT_FALSE(TComEnvDLG::HasSavedPort(dir.Join("none.ini")));
  EXPECT_FALSE(TComEnvDLG::HasSavedPort(dir.WriteFile("a.ini", "[ComPort]\nPort=\n")));
  EXPECT_TRUE(TComEnvDLG::HasSavedPort(dir.WriteFile("b.ini", "[comport]\nport = COM2\n")));
  EXPECT_EQ(boxes_.Count(), 0u);
}

}  // namespace
}  // namespace tessaro
