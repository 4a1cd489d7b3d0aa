#pragma once
// A window that takes no user input and cannot be closed while it is busy;
// TExchangeGuard asks it before every click, key, shortcut or close request
// that reaches the window or its menus.

namespace tessaro {

class BusyWindow {
 public:
  virtual ~BusyWindow() = default;
  virtual bool Busy() const = 0;
};

}  // namespace tessaro
