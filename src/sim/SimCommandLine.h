#pragma once
// tessaro-sim's command line: where to serve, which recorders, which faults.

#include <ostream>
#include <string>
#include <vector>

#include "sim/Faults.h"

namespace tessaro::sim {

struct SimOptions {
  int tcpPort = -1;  // -1: no TCP listener; 0: a free port
  bool pty = false;
  std::vector<int> slaveIds;
  std::string profile = "default";
  FaultSettings faults;
  bool listProfiles = false;
};

// Parses args (without the program name). True when the simulator is to
// run; otherwise the help or version went to out (status 0) or a usage error
// with its reason went to err (status 2). Without --tcp or --pty it listens
// on a free TCP port.
bool ParseSimCommandLine(const std::vector<std::string>& args, SimOptions& options,
                         std::ostream& out, std::ostream& err, int& status);

}  // namespace tessaro::sim
