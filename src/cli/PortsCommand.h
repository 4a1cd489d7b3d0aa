#pragma once
// tessaro-cli ports: the machine's serial devices, one a line, each with
// what identifies it (as the communication settings dialog shows them).

#include <ostream>
#include <vector>

#include "cli/CliCommand.h"
#include "core/line/SerialPortList.h"

namespace tessaro {

// "DEVICE  IDENTITY" per port.
void WritePortList(std::ostream& out, const std::vector<SerialPortInfo>& ports);

int RunPorts(CliContext& context);

}  // namespace tessaro
