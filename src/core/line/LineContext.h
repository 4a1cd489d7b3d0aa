#pragma once
// The line as the main window owns it: the serial component, the TCP
// component and the mode that chooses between them. Features reach it only
// through the line facade.

#include "core/line/CommEx.h"
#include "core/line/LineLock.h"
#include "core/line/SocketEx.h"

namespace tessaro {

constexpr int kLineModeSerial = 0;
constexpr int kLineModeTcp = 1;

class LineContext {
 public:
  LineContext() {
    // Placeholders until ApplyLineSettings fills in the user's settings.
    ScktLine.SetCommWait(3000);
    ScktLine.SetHost("127.0.0.1");
    ScktLine.SetPort(1000);
  }
  LineContext(const LineContext&) = delete;
  LineContext& operator=(const LineContext&) = delete;

  // The component the mode selects.
  TLineComponent& Current() {
    return LineMode == kLineModeTcp ? static_cast<TLineComponent&>(ScktLine) : CommLine;
  }

  TCommEx CommLine;
  TSocketEx ScktLine;
  int LineMode = kLineModeSerial;  // set only by ApplyLineSettings
  // Held from LineOpen to LineClose; LineOpen waits this long for another
  // holder to let go.
  LineLock Lock;
  int LockWaitMs = 0;
  // Commands and blocks that got no (or no usable) answer, counted by the
  // facade: tells a failure of the line from a refusal by the recorder.
  int LineFailures = 0;
};

}  // namespace tessaro
