#pragma once
// Qt's own texts (the file chooser, the print dialog, the standard buttons
// of message boxes) in the user's language. The program's texts are its own
// and do not go through these translations.
//
//   const auto qtTexts = LoadQtTranslations(QLocale());
//   if (qtTexts) QApplication::installTranslator(qtTexts.get());

#include <QLocale>
#include <QTranslator>
#include <memory>

namespace tessaro {

// Qt's translations for the locale's language, or nullptr when the
// language is Qt's own (English, C) or no translation is installed.
std::unique_ptr<QTranslator> LoadQtTranslations(const QLocale& locale);

}  // namespace tessaro
