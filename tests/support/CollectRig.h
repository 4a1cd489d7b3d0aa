#pragma once
// A simulated recorder on a real line (TCP on 127.0.0.1 or a
// pseudo-terminal, slaved or not), the definition database and a scratch
// folder, plus the CSV a collection must produce, built independently: the
// simulator's record generator and ring settings go into a one-ring RLB
// file through the test RLB builder, which is then converted.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "core/collect/CollectionPlan.h"
#include "core/collect/DataFileInfo.h"
#include "core/collect/RingCatalog.h"
#include "core/collect/ThredTess.h"
#include "core/line/LineContext.h"
#include "core/support/DefinitionDb.h"
#include "sim/SimServer.h"
#include "support/RecordingMessageBox.h"
#include "support/RecordingProgress.h"
#include "support/TempDir.h"

namespace tessaro {

enum class Transport { Tcp, Pty };

// Two rings of three 2-byte channels; the NEW ring crosses midnight.
sim::RecorderProfile SmallProfile();

class CollectRig {
 public:
  CollectRig(const sim::RecorderProfile& profile, Transport transport, bool slaved,
             int timeoutSeconds = 1);
  ~CollectRig();

  sim::SimServer& Server() { return *server_; }
  sim::Recorder& Recorder() { return server_->GetRecorder(slaveId_); }
  sim::Faults& Faults() { return server_->GetFaults(); }
  LineContext& Line() { return line_; }
  const DefinitionDb& Db() const { return db_; }
  TempDir& Dir() { return dir_; }
  RecordingMessageBox& Boxes() { return boxes_; }
  std::string Path(const std::string& name) const { return dir_.Join(name); }
  std::string ProgramFolder() const { return dir_.Join("prog") + "/"; }

  // Reads the management information, plans the ring (overwritten data
  // answered with yes) and collects it on the collection thread.
  StepResult Collect(int ring, CsvType type, const std::string& csvName, bool keepRlb,
                     bool highSpeed = false, ProgressReporter* progress = nullptr);
  const CollectionPlan& LastPlan() const { return plan_; }

  // What collecting the ring must give, skipping the plan's records.
  std::string ExpectedCsv(int ring, CsvType type, int64_t skipCount = 0);

  // Analyses a file of the scratch folder, the work copy going there too.
  testing::AssertionResult Analyse(const std::string& name, DataFileInfo& file);

  // Whether the recorder saw a command starting with text.
  bool Sent(const std::string& text);

 private:
  std::unique_ptr<sim::SimServer> server_;
  int slaveId_ = -1;
  LineContext line_;
  DefinitionDb db_;
  TempDir dir_;
  RecordingMessageBox boxes_;
  std::unique_ptr<ScopedMessageBoxHandler> install_;
  CollectionPlan plan_;
  int expected_ = 0;
};

// Converts an RLB file into CSV text (empty on failure).
std::string ConvertToText(const std::string& rlbPath, CsvType type, const CollectRig& rig,
                          const std::string& csvPath);

bool FileExists(const std::string& path);

// Equal texts; otherwise a failure naming the first differing line of each.
testing::AssertionResult SameText(const std::string& actual, const std::string& expected);

}  // namespace tessaro
