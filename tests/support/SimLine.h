#pragma once
// A line to the simulator over TCP on this machine, and the commands the
// simulated recorder took, for tests of command sequences.

#include <string>
#include <vector>

#include "core/line/LineContext.h"
#include "core/line/LineFacade.h"
#include "support/SimFixture.h"

namespace tessaro {

// Starts the simulator's TCP server and opens line to it (reply wait 200 ms).
inline void OpenSimLine(SimFixture& sim, LineContext& line) {
  LineSettings settings;
  settings.ComPort = "TCP/IP";
  settings.IpAddr = "127.0.0.1";
  settings.IpPort = sim.StartTcp();
  ApplyLineSettings(line, settings);
  LineSetCommWait(line, 200);
  LineOpen(line);
}

// The commands the recorder took that start with prefix, oldest first (a
// refused or unanswered command is not among them).
inline std::vector<std::string> CommandsTaken(sim::Recorder& recorder, const std::string& prefix) {
  std::vector<std::string> taken;
  for (const std::string& c : recorder.Commands())
    if (c.rfind(prefix, 0) == 0) taken.push_back(c);
  return taken;
}

}  // namespace tessaro
