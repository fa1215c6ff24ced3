// The window's language on a system whose language is English: Polish unless the user
// asks for English (option, variable, the choice kept by the language menu), and Qt's
// own words in a real box in the language in force.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>

#include "UiTestSupport.h"
#include "link/LanguageChoice.h"
#include "ui/Language.h"
#include "ui/LanguageMenu.h"
#include "ui/QtPlatform.h"

namespace kolvaro {
namespace {

// Set before the application starts, as a desktop or a container in English sets it.
[[maybe_unused]] const bool englishSystem = [] {
  qputenv("LANG", "en_US.UTF-8");
  qputenv("LANGUAGE", "en_US:en");
  qunsetenv("LC_ALL");
  qunsetenv("LC_MESSAGES");
  return true;
}();

using Choice = std::optional<std::string>;

struct WindowCase {
  Choice option, environment, kept;
  const char* read;  // the Read button's caption
};

TEST(WindowLanguage, PolishUnlessTheUserAsksForEnglish) {
  ASSERT_TRUE(QLocale::system().uiLanguages().front().startsWith(QStringLiteral("en"))) << "not an English system";
  const WindowCase cases[] = {
      {{}, {}, {}, "Odczyt"}, {"en", {}, {}, "Read"},       {{}, "en", {}, "Read"},
      {{}, {}, "en", "Read"}, {"pl", "en", "en", "Odczyt"}, {{}, "pl", "en", "Odczyt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option.value_or("-") + " / " + c.environment.value_or("-") + " / " + c.kept.value_or("-"));
    test::TempDir directory;
    if (c.kept) {
      ASSERT_TRUE(keepLanguage(directory.file("dcb.ini"), *c.kept));
    }
    if (c.environment) qputenv("KOLVARO_LANGUAGE", c.environment->c_str());
    QTranslator translator;
    ASSERT_TRUE(installTranslation(translator, languageInForce(c.option, directory.path())));
    qunsetenv("KOLVARO_LANGUAGE");
    EXPECT_EQ(TMain().Read->text(), QString::fromUtf8(c.read));
    QCoreApplication::removeTranslator(&translator);
  }
}

TEST(WindowLanguage, QtsOwnButtonsSpeakTheLanguageInForce) {
  const std::tuple<Language, const char*, const char*> cases[] = {{Language::Polish, "Tak", "Nie"},
                                                                  {Language::English, "Yes", "No"}};
  for (const auto& [language, yes, no] : cases) {
    QTranslator qt;
    ASSERT_TRUE(installQtTranslation(qt, language)) << languageCode(language);
    QStringList seen;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;  // the missing box fails below
      for (auto button : {QMessageBox::Yes, QMessageBox::No}) seen << box->button(button)->text().remove(u'&');
      box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(QtPlatform().messageBox("?", nullptr, mb::YesNo), id::No);
    EXPECT_EQ(seen, (QStringList{QString::fromUtf8(yes), QString::fromUtf8(no)}));
    QCoreApplication::removeTranslator(&qt);
  }
}

TEST(WindowLanguage, MenuKeepsTheChoiceInItsOwnSectionForTheNextStart) {
  test::WindowRig rig;
  const std::string ini = rig.directory.file("dcb.ini");
  const std::string settings = "[COM settings]\r\nBaudRate=9600\r\n[Port no.]\r\nCOM=2\r\n";
  test::writeFile(ini, settings);
  EXPECT_EQ(languageInForce(std::nullopt, rig.directory.path()), Language::Polish);

  auto* menu = new TLanguageMenu(*rig.window, Language::Polish);
  EXPECT_TRUE(menu->Polish->isChecked());
  menu->English->trigger();
  EXPECT_EQ(test::readFile(ini), settings + "[Language]\r\nLanguage=en\r\n");
  EXPECT_EQ(languageInForce(std::nullopt, rig.directory.path()), Language::English);
  menu->Polish->trigger();
  EXPECT_EQ(test::readFile(ini), settings + "[Language]\r\nLanguage=pl\r\n");
  EXPECT_EQ(rig.boxTexts(), std::vector<std::string>(2,
                                                     "Wybrany język okna obowiązuje od następnego uruchomienia "
                                                     "programu."));
}

TEST(WindowLanguage, AChoiceThatCannotBeKeptIsReportedAndUnmarked) {
  test::WindowRig rig;
  rig.platform.directory = rig.directory.file("dcb.ini");  // a file where the directory should be
  test::writeFile(*rig.platform.directory, "x");
  auto* menu = new TLanguageMenu(*rig.window, Language::Polish);
  menu->English->trigger();
  EXPECT_TRUE(menu->Polish->isChecked());
  EXPECT_EQ(rig.boxTexts(), std::vector<std::string>{"Nie udało się zapisać wyboru języka w pliku dcb.ini."});
}

}  // namespace
}  // namespace kolvaro
