#pragma once
// What a long operation (collection, conversion, firmware write, tuple read)
// tells the user while it runs. The GUI's progress dialog implements it with
// blocking calls into the UI thread; tessaro-cli draws a bar on stderr.
// Every member may be called from a worker thread.

#include <string>

namespace tessaro {

class ProgressReporter {
 public:
  virtual ~ProgressReporter() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetMessage(const std::string& message) = 0;
  // Shows a failure text prominently (the dialog flashes it red).
  virtual void FlashError(const std::string& message) = 0;
  virtual void SetPercent(int percent) = 0;
  virtual bool CancelRequested() const = 0;
};

}  // namespace tessaro
