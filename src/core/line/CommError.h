#pragma once
// Errors of the serial line component. Only opening a port raises; every
// transfer reports failure through its result.

#include <stdexcept>
#include <string>

namespace tessaro {

class ECommError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ECommOpenError : public ECommError {
 public:
  // systemError: the errno of the failed call, 0 when there is none.
  explicit ECommOpenError(int errorCode, int systemError = 0);
  int ErrorCode() const { return errorCode_; }
  int SystemError() const { return systemError_; }

 private:
  int errorCode_;
  int systemError_;
};

}  // namespace tessaro
