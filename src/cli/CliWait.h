#pragma once
// Pauses of the commands that run until Ctrl-C.

namespace tessaro {

class ProgressReporter;

// Sleeps for milliseconds, waking early when the reporter's cancel is
// requested (Ctrl-C); false then.
bool WaitUnlessInterrupted(int milliseconds, const ProgressReporter& interrupt);

}  // namespace tessaro
