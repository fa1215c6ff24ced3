// The language the program chooses and its own command line, table by table, and the
// built-in English catalogue at work.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>

#include "UiTestSupport.h"
#include "ui/Language.h"
#include "ui/ProgramOptions.h"

namespace kolvaro {
namespace {

using Names = std::vector<std::string>;
constexpr auto pl = Language::Polish;
constexpr auto en = Language::English;

struct ChoiceCase {
  std::optional<std::string> option;
  std::optional<std::string> environment;
  std::optional<std::string> kept;
  Language expected;
};

TEST(Language, OptionThenEnvironmentThenKeptChoiceThenPolish) {
  const std::nullopt_t none = std::nullopt;
  const ChoiceCase cases[] = {
      {none, none, none, pl},
      {none, none, "en", en},
      {none, none, "pl", pl},
      {none, none, "xx", pl},
      {none, "en", "pl", en},
      {none, "pl", "en", pl},
      {none, "xx", "en", en},  // a variable naming neither is passed
                               // over
      {none, "", none, pl},
      {"en", "pl", "pl", en},
      {"pl", "en", "en", pl},
      {"en_GB", none, none, en},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(chooseLanguage(c.option, c.environment, c.kept), c.expected)
        << c.option.value_or("-") << " / " << c.environment.value_or("-") << " / " << c.kept.value_or("-");
  }
}

TEST(Language, NamedByCodeAloneOrAtTheStartOfALocale) {
  const std::pair<const char*, std::optional<Language>> cases[] = {
      {"pl", pl},           {"en", en},         {"pl_PL.UTF-8", pl},   {"en-GB", en},
      {"en@quot", en},      {"en.UTF-8", en},   {"eng", std::nullopt}, {"polski", std::nullopt},
      {"EN", std::nullopt}, {"", std::nullopt}, {"C", std::nullopt},   {"de_DE", std::nullopt},
  };
  for (const auto& [name, expected] : cases) EXPECT_EQ(languageNamed(name), expected) << '"' << name << '"';
}

struct OptionsCase {
  Names args;
  bool ok;
  bool help, version;
  std::optional<std::string> language;
};

TEST(ProgramOptions, OwnOptionsReadOthersLeftToQt) {
  const OptionsCase cases[] = {
      {{}, true, false, false, std::nullopt},
      {{"--version"}, true, false, true, std::nullopt},
      {{"--help"}, true, true, false, std::nullopt},
      {{"-h", "-platform", "offscreen"}, true, true, false, std::nullopt},
      {{"--language", "en"}, true, false, false, "en"},
      {{"--language=pl"}, true, false, false, "pl"},
      {{"-platform", "offscreen", "--language", "en_GB", "--version"}, true, false, true, "en_GB"},
      {{"--language", "de"}, false, false, false, std::nullopt},
      {{"--language=xx"}, false, false, false, std::nullopt},
      {{"--language"}, false, false, false, std::nullopt},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto options = parseProgramOptions(c.args, error);
    const std::string shown = c.args.empty() ? "(none)" : c.args.front() + " ...";
    ASSERT_EQ(options.has_value(), c.ok) << shown;
    if (!options) {
      EXPECT_FALSE(error.empty()) << shown;
      continue;
    }
    EXPECT_EQ(options->help, c.help) << shown;
    EXPECT_EQ(options->version, c.version) << shown;
    EXPECT_EQ(options->language, c.language) << shown;
  }
}

TEST(Translation, EnglishCatalogueIsBuiltInAndPolishNeedsNone) {
  const char* const context = "kolvaro::TMain";
  {
    QTranslator translator;
    ASSERT_TRUE(installTranslation(translator, Language::English));
    EXPECT_EQ(QCoreApplication::translate(context, "Odczyt"), QStringLiteral("Read"));
    EXPECT_EQ(QCoreApplication::translate("Kolvaro", "Informacja"), QStringLiteral("Information"));
    QCoreApplication::removeTranslator(&translator);
  }
  QTranslator untouched;
  ASSERT_TRUE(installTranslation(untouched, Language::Polish));
  EXPECT_TRUE(untouched.isEmpty()) << "nothing is loaded for Polish";
  EXPECT_EQ(QCoreApplication::translate(context, "Odczyt"), QStringLiteral("Odczyt"));
}

}  // namespace
}  // namespace kolvaro
