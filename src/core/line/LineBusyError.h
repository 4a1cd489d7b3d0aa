#pragma once
// Raised by LineOpen when another program holds the line's lock past the
// wait the context allows.

#include <string>

#include "core/line/CommError.h"
#include "core/line/LineLock.h"

namespace tessaro {

class ELineBusy : public ECommError {
 public:
  ELineBusy(const std::string& line, LineHolder holder)
      : ECommError("the line " + line + " is in use by " + holder.Text()),
        line_(line),
        holder_(std::move(holder)) {}
  const std::string& Line() const { return line_; }
  const LineHolder& Holder() const { return holder_; }

 private:
  std::string line_;
  LineHolder holder_;
};

}  // namespace tessaro
