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
  explicit ECommOpenError(int errorCode);
  int ErrorCode() const { return errorCode_; }

 private:
  int errorCode_;
};

}  // namespace tessaro
