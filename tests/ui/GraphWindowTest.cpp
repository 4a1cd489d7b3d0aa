// The graph window over a small file: legend, zoom, pan, reset, channel
// switches, cursor readout and saving; opened from the functions menu and
// from the file conversion dialog.

#include "ui/graph/GraphWindow.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QChart>
#include <QCheckBox>
#include <QLabel>
#include <QLegendMarker>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QWheelEvent>
#include <filesystem>

#include "CollectDialogKit.h"
#include "support/TestRlbFile.h"
#include "ui/collect/ConvDlg.h"
#include "ui/collect/GraphCommand.h"
#include "ui/graph/GraphView.h"
#include "ui/line/ComEnvDlg.h"
#include "ui/shell/MainForm.h"
#include "ui/shell/QtText.h"

namespace tessaro {
namespace {

qsizetype LegendEntries(QChart* chart) { return chart->legend()->markers().size(); }

class GraphWindowTest : public CollectDialogTest {
 protected:
  GraphWindowTest() {
    // Volt, wind direction and a date-time (not drawn); 200 records.
    TestRlb rlb;
    rlb.channels = {{1, 1001, -1, 1, 2}, {159, 1001, 0, 1, 2}, {138, 1001, 0, 6, 6}};
    for (int e = 0; e < 200; ++e)
      rlb.records.push_back(
          Concat({Be16(e % 40), Be16(e % 17), StoredDateTime({2026, 12, 8, 9, 0, e % 60})}));
    rlbPath_ = dir_.Join("DT2026120800.RLB");
    EXPECT_TRUE(TestRlbFile(rlb).Write(rlbPath_));
  }

  TGraphWindow* OpenWindow(const std::string& path, QWidget* parent = nullptr) {
    return TGraphWindow::Open(ToQt(path), db_, ProgramFolder(), parent);
  }

  std::string rlbPath_;
};

TEST_F(GraphWindowTest, ZoomsPansResetsSwitchesAndSaves) {
  QPointer<TGraphWindow> window = OpenWindow(rlbPath_);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("グラフ表示 - DT2026120800.RLB"));
  TGraphView* view = window->View();
  EXPECT_EQ(LegendEntries(view->chart()), 2);
  EXPECT_TRUE(view->Viewport().ShowsAll());

  const QPointF middle = view->chart()->plotArea().center();
  QWheelEvent wheel(middle, view->mapToGlobal(middle), QPoint(), QPoint(0, 120), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view->viewport(), &wheel);
  EXPECT_EQ(view->Viewport().Span(), 160);
  const int64_t zoomedBegin = view->Viewport().Begin();

  // Dragging left shows later records.
  const QPoint from = middle.toPoint();
  QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(view->viewport(), from - QPoint(static_cast<int>(middle.x() / 2), 0));
  QTest::mouseRelease(view->viewport(), Qt::LeftButton, {},
                      from - QPoint(static_cast<int>(middle.x() / 2), 0));
  EXPECT_GT(view->Viewport().Begin(), zoomedBegin);
  EXPECT_TRUE(window->Readout()->text().startsWith(QStringLiteral("No.")));
  EXPECT_TRUE(window->Readout()->text().contains(QString::fromUtf8("1CH VOLT 電圧")));

  QTest::keyClick(view, Qt::Key_R);
  EXPECT_TRUE(view->Viewport().ShowsAll());
  view->ZoomAt(0.5, 0.5);
  window->ResetButton()->click();
  EXPECT_TRUE(view->Viewport().ShowsAll());

  QList<QCheckBox*> switches = window->findChildren<QCheckBox*>();
  ASSERT_EQ(switches.size(), 2);
  switches[1]->setChecked(false);
  EXPECT_EQ(LegendEntries(view->chart()), 1);

  for (const char* name : {"graph.png", "graph.svg"}) {
    const std::string path = dir_.Join(name);
    ASSERT_TRUE(window->SaveImage(ToQt(path))) << name;
    EXPECT_GT(std::filesystem::file_size(path), 1000u) << name;
  }
  EXPECT_FALSE(window->SaveImage(ToQt(dir_.Join("missing/graph.png"))));
  window->close();
  QApplication::processEvents();
  EXPECT_TRUE(window.isNull());  // deleted on close
  EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(GraphWindowTest, AFileThatFailsAnalysisOpensNoWindow) {
  EXPECT_EQ(OpenWindow(dir_.WriteFile("BAD.RLB", "not an RLB file")), nullptr);
  ASSERT_EQ(boxes_.Boxes().size(), 1u);
}

TEST_F(GraphWindowTest, OpensFromTheFunctionsMenuAndTheConversionDialog) {
  AppPaths paths = MakeAppPaths(dir_.Path(), dir_.Join("prog") + "/");
  CreateSettingsFolder(paths);
  TMainForm form(paths);
  form.Attach(new TComEnvDLG(&form), new TGaugeDLG(&form));
  InstallGraphCommand(form, files_.Dialogs());
  QAction* item = nullptr;
  for (QAction* action : form.menuBar()->actions().front()->menu()->actions())
    if (action->text() == Msg(MsgGraphMenu)) item = action;
  ASSERT_NE(item, nullptr);
  files_.AnswerOpen(ToQt(rlbPath_));
  item->trigger();
  ASSERT_EQ(files_.Asked().size(), 1u);
  EXPECT_EQ(files_.Asked()[0].question.initialPath.toStdString(), form.Session().DataFolder());
  auto* fromMenu = form.findChild<TGraphWindow*>();
  ASSERT_NE(fromMenu, nullptr);
  EXPECT_TRUE(fromMenu->isVisible());

  CollectionContext context = Context(dir_.Path() + "/");
  std::vector<std::string> shown;
  context.showGraph = [&](const std::string& path, QWidget* parent) {
    shown.push_back(path);
    OpenWindow(path, parent);
  };
  TConvDLG dialog(context);
  dialog.show();
  files_.AnswerOpen(ToQt(rlbPath_));
  dialog.GraphButton()->click();
  EXPECT_EQ(shown, std::vector<std::string>{rlbPath_});
  EXPECT_NE(dialog.findChild<TGraphWindow*>(), nullptr);
}

}  // namespace
}  // namespace tessaro
