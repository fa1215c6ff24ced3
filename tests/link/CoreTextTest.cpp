// Composed texts: filled in one pass, each pattern looked up in the translation on its
// own, the Polish rendering exactly the pattern with its values.
#include <gtest/gtest.h>

#include <map>

#include "platform/CoreText.h"

namespace kolvaro {
namespace {

// A tiny catalogue: what it lacks stays as written.
std::string english(const char* pattern) {
  static const std::map<std::string, std::string> catalogue{
      {"plik %1: %2", "file %1: %2"}, {"brak klucza", "key missing"}, {"%2 po %1", "%1 then %2"}};
  const auto found = catalogue.find(pattern);
  return found == catalogue.end() ? pattern : found->second;
}

TEST(CoreText, FillsOncePerPatternAndTranslatesEachPart) {
  struct Case {
    const char* name;
    CoreText text;
    std::string polish;
    std::string translated;
  };
  const Case cases[] = {
      {"nested", CoreText("plik %1: %2").arg("a.json").arg(CoreText("brak klucza")), "plik a.json: brak klucza",
       "file a.json: key missing"},
      {"a value holding a placeholder is not filled again", CoreText("plik %1: %2").arg("%2").arg("x"), "plik %2: x",
       "file %2: x"},
      {"translation reorders the values", CoreText("%2 po %1").arg(std::int64_t{1}).arg(std::int64_t{2}), "2 po 1",
       "1 then 2"},
      {"joined texts translate apart", CoreText("brak klucza") + CoreText::plain(" (") + CoreText("brak klucza"),
       "brak klucza (brak klucza", "key missing (key missing"},
      {"a placeholder without a value and a lone % stay", CoreText("100% %3").arg("x"), "100% %3", "100% %3"},
      {"a plain value is never looked up", CoreText::plain("brak klucza"), "brak klucza", "brak klucza"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.text.polish(), c.polish) << c.name;
    EXPECT_EQ(c.text.render(english), c.translated) << c.name;
  }
  EXPECT_TRUE(CoreText().empty());
  EXPECT_FALSE(CoreText("x").empty());
}

}  // namespace
}  // namespace kolvaro
