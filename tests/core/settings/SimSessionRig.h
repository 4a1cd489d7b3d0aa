#pragma once
// A recorder session on a TCP line to the simulator, for tests of the
// settings' command sequences.

#include <functional>
#include <string>
#include <vector>

#include "core/line/LineContext.h"
#include "core/recorder/RecorderSession.h"
#include "support/RecordingProgress.h"
#include "support/SimLine.h"

namespace tessaro {

struct SimSessionRig {
  explicit SimSessionRig(const sim::RecorderProfile& profile = sim::DefaultProfile())
      : sim(profile) {
    OpenSimLine(sim, line);
  }
  ~SimSessionRig() { LineClose(line); }

  // The message number the step fails with, or 0.
  static int FailureOf(const std::function<void()>& step) {
    try {
      step();
    } catch (const RecorderFailure& failure) {
      return failure.message;
    }
    return 0;
  }

  // The commands the recorder got that start with prefix, in order.
  std::vector<std::string> Sent(const std::string& prefix) {
    return CommandsTaken(sim.Recorder(), prefix);
  }

  SimFixture sim;
  LineContext line;
  RecordingProgress progress;
  RecorderSession session{line, progress};
};

}  // namespace tessaro
