// The main window's firmware command with the installed writer, against the
// simulator: the file is written behind the progress dialog and the result
// box follows; an invalid file sends nothing.

#include <gtest/gtest.h>

#include "core/line/LineFacade.h"
#include "core/support/AppPaths.h"
#include "core/support/Messages.h"
#include "support/RecordingMessageBox.h"
#include "support/SRecordText.h"
#include "support/SimLine.h"
#include "support/TempDir.h"
#include "ui/line/ComEnvDlg.h"
#include "ui/shell/FeatureDialogs.h"
#include "ui/shell/GaugeDlg.h"
#include "ui/shell/MainForm.h"

namespace tessaro {
namespace {

TEST(FirmwareCommand, WritesTheChosenFileAndReportsTheResult) {
  TempDir dir;
  AppPaths paths = MakeAppPaths(dir.Path(), dir.Join("prog") + "/");
  CreateSettingsFolder(paths);
  RecordingMessageBox boxes;
  ScopedMessageBoxHandler install(boxes);
  SimFixture sim;
  TMainForm form(paths);
  form.Attach(new TComEnvDLG(&form), new TGaugeDLG(&form));
  OpenSimLine(sim, form.Session().Line());
  InstallFeatureDialogs(form);

  const std::vector<std::string> records = testing::FirmwareRecords(3, 6);
  std::string chosen = dir.WriteFile("NEW.MOT", testing::JoinLines(records, "\r\n"));
  form.SetFirmwareFileChooser([&](QWidget*) { return QString::fromStdString(chosen); });
  // "selectrome" gets "??" from a recorder that is ready all the same: the
  // question is asked and OK goes on.
  sim.Recorder().Execute("selectrome");
  sim.Faults().Set({.refused = {"selectrome"}});
  form.PMenuMotClick();
  EXPECT_EQ(boxes.Boxes(), (std::vector<RecordedBox>{
                               {BoxKind::Information, LoadMessage(MsgEepromRecheck), BoxResult::Ok},
                               {BoxKind::Warning, LoadMessage(MsgMotDone), BoxResult::Ok}}));
  EXPECT_EQ(CommandsTaken(sim.Recorder(), "S"), records);
  EXPECT_TRUE(sim.Recorder().FirmwareConfirmed());

  boxes.Clear();
  sim.Faults().Clear();
  chosen = dir.WriteFile("BAD.MOT", records[1] + "\n");
  form.PMenuMotClick();
  EXPECT_EQ(boxes.Texts(), std::vector<std::string>{LoadMessage(MsgMotFailed)});
  EXPECT_EQ(sim.Faults().CommandsSeen(), 0);
  EXPECT_TRUE(form.isEnabled());
  LineClose(form.Session().Line());
}

}  // namespace
}  // namespace tessaro
