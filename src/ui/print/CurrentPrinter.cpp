#include "ui/print/CurrentPrinter.h"

#include <QPrinter>

namespace tessaro {

QPrinter& CurrentPrinter() {
  static QPrinter* printer = new QPrinter(QPrinter::HighResolution);
  return *printer;
}

}  // namespace tessaro
