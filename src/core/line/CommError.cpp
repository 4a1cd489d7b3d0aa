#include "core/line/CommError.h"

#include "core/support/Messages.h"

namespace tessaro {

ECommOpenError::ECommOpenError(int errorCode)
    : ECommError(FormatMessage(MsgCommOpenError, errorCode)), errorCode_(errorCode) {}

}  // namespace tessaro
