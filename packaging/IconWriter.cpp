// Writes the application icon as FOLDER/<size>x<size>/apps/tessaro.png for
// the hicolor theme of the package.

#include <QDir>
#include <QImage>
#include <cstdio>

#include "ui/shell/AppIcon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tessaro-icon-writer FOLDER\n");
    return 2;
  }
  for (int size : {16, 24, 32, 48, 64, 128, 256}) {
    const QString folder =
        QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
    if (!QDir().mkpath(folder) ||
        !tessaro::AppIconImage(size).save(folder + QStringLiteral("/tessaro.png"))) {
      std::fprintf(stderr, "cannot write the %dx%d icon\n", size, size);
      return 1;
    }
  }
  return 0;
}
