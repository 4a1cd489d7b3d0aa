#pragma once
// One client connection of the simulator: reads command lines, unwraps the
// slave header when serving slaved, lets the addressed recorder answer,
// frames the reply and runs block transfers, with the configured faults.

#include <map>
#include <string>

#include "sim/Faults.h"
#include "sim/Recorder.h"
#include "sim/SimStream.h"

namespace tessaro::sim {

class SimSession {
 public:
  static constexpr size_t kMaxLine = 4096;

  // recorders: by slave ID when slaved, else the one recorder under key -1.
  SimSession(SimStream& stream, const std::map<int, Recorder*>& recorders, bool slaved,
             Faults& faults);

  // Serves until the client goes away, the server stops or a new client
  // waits; returns which.
  IoResult Run();

 private:
  IoResult ReadLine(std::string& line, bool& overlong);
  IoResult Serve(const std::string& line, bool overlong);
  IoResult Reply(int slaveId, const std::string& text, const FaultSettings& faults);

  SimStream& stream_;
  const std::map<int, Recorder*>& recorders_;
  bool slaved_;
  Faults& faults_;
};

// "\x02 " + 4 upper-case hex digits of the ID + "FFFF" + text.
std::string FrameSlaveReply(int slaveId, const std::string& text);

}  // namespace tessaro::sim
