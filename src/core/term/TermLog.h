#pragma once
// The terminal's log file: the bytes typed and the lines shown, appended in
// the recorder's code page to a file that is never truncated. A write that
// fails stops logging, so the user hears about it once.

#include <string>
#include <string_view>

namespace tessaro {

class TermLog {
 public:
  bool On() const { return !path_.empty(); }
  const std::string& Path() const { return path_; }

  // Starts logging to path, creating the file when it is missing. 0 when it
  // can be written; else the message number, and logging stays off.
  int Start(std::string path);
  void Stop() { path_.clear(); }

  // Appends bytes while logging. 0 when written (or not logging); else the
  // message number of the failure, after which logging is off.
  int Append(std::string_view bytes);

 private:
  std::string path_;
};

}  // namespace tessaro
