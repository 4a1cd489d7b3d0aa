#pragma once
// A recorder session on a TCP line to the simulator, for tests of the
// settings' command sequences.

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"
#include "core/recorder/RecorderSession.h"
#include "support/RecordingProgress.h"
#include "support/SimFixture.h"

namespace tessaro {

struct SimSessionRig {
  explicit SimSessionRig(const sim::RecorderProfile& profile = sim::DefaultProfile())
      : sim(profile) {
    LineSettings settings;
    settings.ComPort = "TCP/IP";
    settings.IpAddr = "127.0.0.1";
    settings.IpPort = sim.StartTcp();
    ApplyLineSettings(line, settings);
    LineSetCommWait(line, 200);
    LineOpen(line);
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
    std::vector<std::string> sent;
    for (const std::string& c : sim.Recorder().Commands())
      if (c.rfind(prefix, 0) == 0) sent.push_back(c);
    return sent;
  }

  SimFixture sim;
  LineContext line;
  RecordingProgress progress;
  RecorderSession session{line, progress};
};

}  // namespace tessaro
