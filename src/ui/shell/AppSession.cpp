#include "ui/shell/AppSession.h"

#include <stdexcept>

#include "core/line/LineFacade.h"
#include "core/support/MessageBox.h"
#include "core/support/Messages.h"

namespace tessaro {

bool AppSession::CheckLine() {
  LinePurge(line_);
  if (LineCheck(line_)) return true;
  ShowError(LoadMessage(MsgLineCheckFailed));
  return false;
}

bool AppSession::OpenDefinitions() {
  return definitions_.Open(paths_.sharedFolder + "DB/Master.mdb");
}

bool AppSession::RequireDefinitions() const {
  if (definitions_.IsOpen()) return true;
  ShowError(LoadMessage(MsgDefinitionDbMissing));
  return false;
}

TGaugeDLG& AppSession::Gauge() const {
  if (!gauge_) throw std::runtime_error("no progress dialog");
  return *gauge_;
}

void AppSession::SetHighSpeedMode(bool on) {
  highSpeed_ = on;
  FlagsChanged();
}

void AppSession::SetExtendedMode(bool on) {
  extended_ = on;
  FlagsChanged();
}

void AppSession::SetSlave(bool slaved, int slaveId) {
  slaved_ = slaved;
  slaveId_ = slaveId;
  FlagsChanged();
}

}  // namespace tessaro
