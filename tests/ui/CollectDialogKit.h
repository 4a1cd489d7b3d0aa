#pragma once
// Shared by the collection and conversion dialog tests: scripted answers to
// the file questions, a wait for a dialog of a given class to come up
// modally, and a simulated recorder on a TCP line of this machine.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/collect/ConversionStep.h"
#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"
#include "core/support/DefinitionDb.h"
#include "sim/ProfileLoader.h"
#include "support/RecordingMessageBox.h"
#include "support/RecordingProgress.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"
#include "ui/collect/CollectionContext.h"
#include "ui/shell/FileDialogs.h"
#include "ui/shell/GaugeDlg.h"

namespace tessaro {

struct AskedFile {
  bool save = false;
  FileQuestion question;
};

// Answers the file questions from queues; an empty queue cancels.
class ScriptedFiles {
 public:
  using Answer = std::function<QString(const FileQuestion&)>;

  void AnswerOpen(const QString& path) {
    open_.push_back([path](const FileQuestion&) { return path; });
  }
  void AnswerSave(const QString& path) {
    save_.push_back([path](const FileQuestion&) { return path; });
  }
  // Takes the name the dialog proposed.
  void AnswerSaveProposed() {
    save_.push_back([](const FileQuestion& q) { return q.initialPath; });
  }

  FileDialogs Dialogs() {
    return {[this](QWidget*, const FileQuestion& q) { return Ask(false, q, open_); },
            [this](QWidget*, const FileQuestion& q) { return Ask(true, q, save_); }};
  }
  const std::vector<AskedFile>& Asked() const { return asked_; }

 private:
  QString Ask(bool save, const FileQuestion& question, std::deque<Answer>& answers) {
    asked_.push_back({save, question});
    if (answers.empty()) return {};
    Answer answer = std::move(answers.front());
    answers.pop_front();
    return answer(question);
  }

  std::deque<Answer> open_;
  std::deque<Answer> save_;
  std::vector<AskedFile> asked_;
};

// Runs fn once a visible modal dialog of class T is up (polled from the
// event loop, so the code that opens it may run first).
template <typename T>
void WhenDialogUp(std::function<void(T&)> fn) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, fn = std::move(fn)] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    fn(*dialog);
  });
  timer->start();
}

// A recorder profile from INI text; fails the test when it does not parse.
inline sim::RecorderProfile ProfileFromText(const std::string& text) {
  std::string error;
  auto profile = sim::ParseProfile(text, "test", error);
  EXPECT_TRUE(profile.has_value()) << error;
  return profile.value_or(sim::DefaultProfile());
}

// A simulated recorder behind 127.0.0.1 and a line opened to it; serial:
// on a pseudo-terminal instead, whose waits process window events.
struct SimLine {
  explicit SimLine(const sim::RecorderProfile& profile, bool serial = false) : sim(profile) {
    LineSettings settings;
    if (serial) {
      settings.ComPort = sim.StartPty();
    } else {
      settings.ComPort = "TCP/IP";
      settings.IpAddr = "127.0.0.1";
      settings.IpPort = sim.StartTcp();
    }
    settings.Over = 1;
    SimFixture::UseQuickTiming(line);
    ApplyLineSettings(line, settings);
    LineOpen(line);
  }
  ~SimLine() {
    LineClose(line);
    sim.Stop();
  }

  SimFixture sim;
  LineContext line;
};

inline std::string DatabasePath() { return TESSARO_BIN_DIR "/DB/Master.mdb"; }

// The program folder of a test: its own DB/Master.mdb, LOG/ and work files.
inline std::string MakeProgramFolder(const std::string& folder) {
  std::filesystem::create_directories(folder + "/DB");
  std::filesystem::copy_file(DatabasePath(), folder + "/DB/Master.mdb",
                             std::filesystem::copy_options::overwrite_existing);
  return folder + "/";
}

// A scratch folder with its own program folder, the definitions, a progress
// dialog, recorded message boxes and scripted file questions.
class CollectDialogTest : public testing::Test {
 protected:
  CollectDialogTest() {
    db_.Open(DatabasePath());
    MakeProgramFolder(dir_.Join("prog"));
    gauge_.SetFlashMilliseconds(10);
  }

  std::string ProgramFolder() const { return dir_.Join("prog") + "/"; }
  CollectionContext Context(const std::string& dataFolder) {
    return {db_, gauge_, dir_.Join("TESSARO.INI"), dataFolder, ProgramFolder(), files_.Dialogs()};
  }
  // What the core conversion makes of an RLB file.
  std::string CoreConversion(const std::string& rlbPath, CsvType type) {
    const std::string csv = dir_.Join("check.csv");
    RecordingProgress progress;
    EXPECT_TRUE(ConvertRlbFile(rlbPath, csv, type, db_, progress, ProgramFolder()));
    return TempDir::ReadAll(csv);
  }

  TempDir dir_;
  DefinitionDb db_;
  TGaugeDLG gauge_;
  RecordingMessageBox boxes_;
  ScopedMessageBoxHandler install_{boxes_};
  ScriptedFiles files_;
};

}  // namespace tessaro
