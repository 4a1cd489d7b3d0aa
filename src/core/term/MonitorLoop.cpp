#include "core/term/MonitorLoop.h"

#include <cstdio>

#include "core/line/LineFacade.h"
#include "core/term/TermText.h"

namespace tessaro {

void MonitorLoop::SetCommand(std::string command) {
  command_ = std::move(command);
  number_ = 0;
}

MonitorStep MonitorLoop::Exchange(LineContext& line) {
  std::string reply;
  if (!LineCommand(line, command_, reply)) return Take(std::nullopt);
  return Take(reply);
}

MonitorStep MonitorLoop::Take(const std::optional<std::string>& reply) {
  if (!reply) {
    ++failures_;
    return {failures_ >= kFailuresToGiveUp ? MonitorStep::GaveUp : MonitorStep::Missed, {}};
  }
  failures_ = 0;
  if (number_ >= kLastNumber) number_ = 0;
  ++number_;
  char number[16];
  std::snprintf(number, sizeof number, "%.5d", number_);
  return {MonitorStep::Listed,
          std::string(number) + " " + MaskControlBytes(command_) + " " + MaskControlBytes(*reply)};
}

}  // namespace tessaro
