#include "ui/shell/QtTranslations.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <utility>

#include "GuiTestEnvironment.h"
#include "core/support/Messages.h"
#include "ui/shell/FileDialogs.h"
#include "ui/shell/QtText.h"

namespace tessaro {
namespace {

TEST(QtTranslations, OnlyLanguagesOtherThanQtsOwnGetATranslator) {
  struct Case {
    const char* locale;
    bool translated;
  };
  for (const Case& c : {Case{"ja_JP", true}, Case{"C", false}, Case{"en_US", false}}) {
    const auto translator = LoadQtTranslations(QLocale(QString::fromLatin1(c.locale)));
    ASSERT_EQ(translator != nullptr, c.translated) << c.locale;
    if (!translator) continue;
    // A file chooser label and a standard button.
    for (const auto& [context, text] :
         {std::pair{"QFileDialog", "Look in:"}, std::pair{"QPlatformTheme", "Cancel"}}) {
      const QString shown = translator->translate(context, text);
      EXPECT_FALSE(shown.isEmpty()) << text;
      EXPECT_NE(shown, QString::fromLatin1(text));
    }
  }
}

// Under Xvfb with TESSARO_SCREENSHOT_DIR set, saves the collection's CSV
// save dialog in the desktop's language (LANG).
TEST(QtTranslations, Screenshot) {
  const QString folder = qEnvironmentVariable("TESSARO_SCREENSHOT_DIR");
  if (folder.isEmpty()) GTEST_SKIP() << "TESSARO_SCREENSHOT_DIR is not set";
  const auto translator = LoadQtTranslations(QLocale());
  if (translator) QApplication::installTranslator(translator.get());
  WhenModalAppears([&](QWidget* dialog) {
    WaitUntil([] { return false; }, 300);
    dialog->grab().save(folder + "/csv-save.png");
    qobject_cast<QDialog*>(dialog)->reject();
  });
  NativeFileDialogs().askSaveFileName(
      nullptr, {Msg(MsgCsvFilter), QStringLiteral("CSV"), folder + "/DT2026120900.CSV"});
  if (translator) QApplication::removeTranslator(translator.get());
}

}  // namespace
}  // namespace tessaro
