// The window in English: every text of the main window, the About window and the boxes
// of start-up, seen once without and once with the English translation in force. A text
// that stays the same in both is left in Polish, unless it names no language at all.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <memory>
#include <optional>

#include "TranslationSupport.h"
#include "UiTestSupport.h"
#include "kolvaro/Version.h"
#include "ui/About.h"
#include "ui/TelegramLogWindow.h"

namespace kolvaro {
namespace {

using test::SeenBox;
using test::SeenText;

// Texts that are the same in every language: the program's name and version, the port
// names and the device's terminal names.
bool namesNoLanguage(const QString& text) {
  static const QStringList names = {QStringLiteral("Kolvaro"), QStringLiteral("Kolvaro %1").arg(QLatin1String(Version)),
                                    QStringLiteral("COM1"),    QStringLiteral("COM2"),
                                    QStringLiteral("COM3"),    QStringLiteral("COM4"),
                                    QStringLiteral(" WE1"),    QStringLiteral(" WE2"),
                                    QStringLiteral(" WY1"),    QStringLiteral(" WY2")};
  return names.contains(text);
}

// The serial port layer's own box texts are English in its source and stay as they are.
bool fromThePortLayer(const QString& text) {
  static const QStringList starts = {QStringLiteral("Active port: "),     QStringLiteral("No COM port of 1 to 4"),
                                     QStringLiteral("Couldn't open"),     QStringLiteral("DCB setting"),
                                     QStringLiteral("COM no. is placed"), QStringLiteral("System directory is not")};
  for (const QString& start : starts) {
    if (text.startsWith(start)) return true;
  }
  return false;
}

// The text is one of the catalogue's sources, as written or with its %1, %2... filled in.
bool fromCatalogue(const std::set<QString>& sources, const QString& text) {
  if (sources.count(text)) return true;
  for (const QString& source : sources) {
    if (!source.contains(QLatin1Char('%'))) continue;
    QString pattern = QRegularExpression::escape(source);
    // escape() writes each % as a backslash and %
    pattern.replace(QRegularExpression(QStringLiteral("\\\\%\\d")), QStringLiteral(".*"));
    if (QRegularExpression(QStringLiteral("^") + pattern + QStringLiteral("$")).match(text).hasMatch()) return true;
  }
  return false;
}

std::vector<std::string> placesOf(const std::vector<SeenText>& texts) {
  std::vector<std::string> places;
  for (const auto& t : texts) places.push_back(t.where);
  return places;
}

std::vector<SeenText> windowTexts() {
  test::WindowRig rig;
  TAboutWindow about;
  TelegramLog log;
  TelegramLogWindow logWindow(log);
  std::vector<SeenText> texts = test::textsOf(*rig.window);
  for (const QWidget* other : std::initializer_list<const QWidget*>{&about, &logWindow}) {
    for (auto& t : test::textsOf(*other)) texts.push_back(std::move(t));
  }
  return texts;
}

TEST(EnglishWindow, EveryTextIsTranslatedAndPolishStandsAsWritten) {
  const test::Catalogue catalogue = test::englishCatalogue();
  const std::vector<SeenText> polish = windowTexts();
  std::vector<SeenText> english;
  {
    const test::EnglishInForce inForce;
    ASSERT_TRUE(inForce.installed()) << "the English catalogue is not built into the program";
    english = windowTexts();
  }
  // Labels, buttons, hints, combo items, menus, the About and the log window: about
  // seventy texts.
  ASSERT_GE(polish.size(), 60u);
  ASSERT_EQ(placesOf(english), placesOf(polish)) << "a text is there in one language only";

  for (std::size_t i = 0; i < polish.size(); ++i) {
    const SeenText& pl = polish[i];
    const SeenText& en = english[i];
    if (namesNoLanguage(pl.text)) {
      EXPECT_EQ(en.text, pl.text) << pl.where;
      continue;
    }
    // Polish is the source: the window shows each text exactly as the catalogue holds it.
    EXPECT_TRUE(fromCatalogue(catalogue.sources, pl.text)) << pl.where << " \"" << pl.text.toStdString() << "\"";
    EXPECT_NE(en.text, pl.text) << pl.where << " is left in Polish: \"" << pl.text.toStdString() << "\"";
    EXPECT_FALSE(test::hasPolishLetters(en.text)) << pl.where << " \"" << en.text.toStdString() << "\"";
  }
}

// The boxes start-up can show, under English and under Polish; the port cannot be
// opened in both cases, and the system directory is missing in the second.
struct StartupCase {
  const char* name;
  bool systemDirectory;
  std::size_t boxesAtLeast;
  friend void PrintTo(const StartupCase& c, std::ostream* os) { *os << c.name; }
};

class EnglishStartup : public ::testing::TestWithParam<StartupCase> {};

std::vector<SeenBox> startUpAndSeeBoxes(bool systemDirectory) {
  test::RecordingPlatform services;  // no serial port can be opened
  test::TempDir directory;
  if (systemDirectory) services.directory = directory.path();
  test::SeeingPlatform qt(services);
  const ScopedPlatform installed(qt);
  TMain window;
  window.show();
  test::waitUntil([&] { return window.isEnabled() || !qt.seen.empty(); });
  QCoreApplication::processEvents();  // the start-up runs to its end
  return qt.seen;
}

TEST_P(EnglishStartup, BoxesAreEnglishExceptThePortLayersOwn) {
  const auto& c = GetParam();
  const test::Catalogue catalogue = test::englishCatalogue();
  const std::vector<SeenBox> polish = startUpAndSeeBoxes(c.systemDirectory);
  std::vector<SeenBox> english;
  {
    const test::EnglishInForce inForce;
    ASSERT_TRUE(inForce.installed());
    english = startUpAndSeeBoxes(c.systemDirectory);
  }
  ASSERT_GE(polish.size(), c.boxesAtLeast);
  ASSERT_EQ(english.size(), polish.size());
  int translated = 0;
  for (std::size_t i = 0; i < polish.size(); ++i) {
    const SeenBox& pl = polish[i];
    const SeenBox& en = english[i];
    EXPECT_EQ(en.title, pl.title) << "no caption: the program's name";
    EXPECT_FALSE(test::hasPolishLetters(en.text)) << en.text.toStdString();
    if (fromThePortLayer(pl.text)) {
      EXPECT_EQ(en.text, pl.text);
      continue;
    }
    ++translated;
    EXPECT_EQ(catalogue.sources.count(pl.text), 1u) << pl.text.toStdString();
    EXPECT_EQ(catalogue.translations.count(en.text), 1u) << "left in Polish: " << en.text.toStdString();
  }
  EXPECT_GE(translated, 1) << "every box came from the port layer: nothing was tried";
}

INSTANTIATE_TEST_SUITE_P(Cases, EnglishStartup,
                         ::testing::Values(StartupCase{"PortFails", true, 2},
                                           StartupCase{"NoSystemDirectory", false, 1}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kolvaro
