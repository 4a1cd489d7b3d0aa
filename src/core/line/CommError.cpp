#include "core/line/CommError.h"

#include "core/support/Messages.h"

namespace tessaro {

ECommOpenError::ECommOpenError(int errorCode, int systemError)
    : ECommError(FormatMessage(MsgCommOpenError, errorCode)),
      errorCode_(errorCode),
      systemError_(systemError) {}

}  // namespace tessaro
