#pragma once
// The recorder-settings dialog tests: an app session whose line is open to
// the simulator over TCP, and the recorder's commands that start with a
// prefix.

#include <string>
#include <vector>

#include "core/line/LineFacade.h"
#include "support/RecordingMessageBox.h"
#include "support/SimLine.h"
#include "ui/shell/AppSession.h"

namespace tessaro {

struct SimAppSession {
  explicit SimAppSession(const sim::RecorderProfile& profile = sim::DefaultProfile())
      : sim(profile) {
    OpenSimLine(sim, session.Line());
  }
  ~SimAppSession() { LineClose(session.Line()); }

  std::vector<std::string> Sent(const std::string& prefix) {
    return CommandsTaken(sim.Recorder(), prefix);
  }

  SimFixture sim;
  AppSession session{AppPaths{}};
  RecordingMessageBox boxes;
  ScopedMessageBoxHandler install{boxes};
};

}  // namespace tessaro
