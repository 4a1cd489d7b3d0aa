#pragma once
// A progress reporter that shows nothing and is never cancelled, for short
// exchanges that run without a progress display (the clock, the memos).

#include "core/support/ProgressReporter.h"

namespace tessaro {

class SilentProgress : public ProgressReporter {
 public:
  void SetCaption(const std::string&) override {}
  void SetMessage(const std::string&) override {}
  void FlashError(const std::string&) override {}
  void SetPercent(int) override {}
  bool CancelRequested() const override { return false; }
};

}  // namespace tessaro
