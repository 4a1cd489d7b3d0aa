#include "cli/PortsCommand.h"

#include "core/support/Messages.h"

namespace tessaro {

void WritePortList(std::ostream& out, const std::vector<SerialPortInfo>& ports) {
  for (const SerialPortInfo& port : ports) {
    const std::string identity = port.Identity();
    out << port.device << (identity.empty() ? "" : "  " + identity) << "\n";
  }
}

int RunPorts(CliContext& context) {
  const auto ports = ListSerialPortInfo();
  if (!ports) {
    context.err << LoadMessage(MsgComSettingsAccess) << "\n";
    return kExitFailed;
  }
  if (ports->empty()) context.err << LoadMessage(MsgPortNoneFound) << "\n";
  WritePortList(context.out, *ports);
  return kExitOk;
}

}  // namespace tessaro
