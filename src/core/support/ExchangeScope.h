#pragma once
// Marks the time a recorder exchange is in progress while the user interface
// keeps running: a wait that processes window events (PumpMessages) and the
// UI thread's wait for a worker that holds the line. Handlers that would
// start another exchange (clicks, keys, timers, closing a window) check
// ExchangeInProgress() and do nothing meanwhile; the GUI's input guard does
// that for user input, TExchangeTimer for timers.
//
//   {
//     ExchangeScope busy;
//     ... wait, processing window events ...
//   }
//
// Scopes nest; the count is process-wide.

namespace tessaro {

class ExchangeScope {
 public:
  ExchangeScope();
  ~ExchangeScope();
  ExchangeScope(const ExchangeScope&) = delete;
  ExchangeScope& operator=(const ExchangeScope&) = delete;
};

bool ExchangeInProgress();

}  // namespace tessaro
