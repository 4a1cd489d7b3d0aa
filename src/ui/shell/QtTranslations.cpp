#include "ui/shell/QtTranslations.h"

#include <QLibraryInfo>

namespace tessaro {

std::unique_ptr<QTranslator> LoadQtTranslations(const QLocale& locale) {
  if (locale.language() == QLocale::C || locale.language() == QLocale::English) return nullptr;
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return nullptr;
  return translator;
}

}  // namespace tessaro
