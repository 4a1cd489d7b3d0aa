#include "ui/shell/UiFonts.h"

#include <QStringList>

namespace tessaro {
namespace {

QFont MakeFont(const QStringList& families, QFont::StyleHint hint, int pixelSize) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(hint);
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace

QFont ProportionalFont(int pixelSize) {
  return MakeFont({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("Noto Sans CJK JP"),
                   QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")},
                  QFont::SansSerif, pixelSize);
}

QFont FixedFont(int pixelSize) {
  return MakeFont({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("Noto Sans Mono CJK JP"),
                   QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")},
                  QFont::Monospace, pixelSize);
}

}  // namespace tessaro
