#pragma once
// Keeps the user interface alive while the UI thread waits on the line: the
// GUI installs a hook that processes pending window events, and waits call
// PumpMessages between short sleeps. The hook runs only on the thread that
// installed it; on any other thread (the workers) pumping does nothing.
// While the hook runs, ExchangeInProgress() is true.

#include <functional>

namespace tessaro {

// Installs the hook and makes the calling thread the one that pumps. An empty
// function removes the hook.
void SetPumpHook(std::function<void()> hook);

// True when a hook is installed and this is the thread that installed it.
bool PumpMessagesHere();

// Runs the hook when PumpMessagesHere(); otherwise does nothing.
void PumpMessages();

}  // namespace tessaro
