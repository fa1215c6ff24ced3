// The boxes of the file and bus menus in English. Their texts are composed of fixed
// words and values (paths, numbers, ports); each is shown through the real Qt platform
// under Polish and under English, and the English one must have no Polish left in it
// while the values stay.
#include <gtest/gtest.h>

#include <functional>

#include "TranslationSupport.h"
#include "UiTestSupport.h"
#include "ui/FileMenu.h"

namespace kolvaro {
namespace {

struct MenuAction {
  const char* name;
  std::function<void(TMain&, const test::TempDir&)> run;
  const char* value;  // a value the box shows in both languages
  friend void PrintTo(const MenuAction& action, std::ostream* os) { *os << action.name; }
};

const MenuAction actions[] = {
    {"OpenNotAConfiguration",
     [](TMain& w, const test::TempDir& dir) {
       test::writeFile(dir.file("other.json"), R"({"format": "other"})");
       w.FileMenu->openFile(QString::fromStdString(dir.file("other.json")));
     },
     "other.json"},
    {"OpenMissingFile",
     [](TMain& w, const test::TempDir& dir) { w.FileMenu->openFile(QString::fromStdString(dir.file("none.json"))); },
     "none.json"},
    {"SaveIntoMissingFolder",
     [](TMain& w, const test::TempDir& dir) { w.FileMenu->saveFile(QString::fromStdString(dir.file("no/such.json"))); },
     "no/such.json"},
    {"VerifyAgainstSilentLine", [](TMain& w, const test::TempDir&) { w.FileMenu->VerifyWindow->trigger(); }, nullptr},
    {"InterfaceTestSilentLine", [](TMain& w, const test::TempDir&) { w.InterfaceTestItem->trigger(); }, "COM1"},
    {"ScanSilentLine", [](TMain& w, const test::TempDir&) { w.ProgrammingModeItem->trigger(); }, nullptr},
};

std::vector<test::SeenBox> boxesOf(const MenuAction& action) {
  test::WindowRig rig;
  auto com1 = test::addFakePort(rig.platform.scripted, "COM1");
  // The chip answers the start-up reset, so that nothing waits for it.
  com1->arriving.emplace_back(std::chrono::steady_clock::now() + std::chrono::milliseconds(1), 0x03);
  rig.startUp();
  test::SeeingPlatform qt(rig.platform);
  const ScopedPlatform installed(qt);
  action.run(*rig.window, rig.directory);
  return qt.seen;
}

class EnglishMenuBoxes : public ::testing::TestWithParam<MenuAction> {};

TEST_P(EnglishMenuBoxes, HaveNoPolishLeftAndKeepTheirValues) {
  const MenuAction& action = GetParam();
  const std::vector<test::SeenBox> polish = boxesOf(action);
  std::vector<test::SeenBox> english;
  {
    const test::EnglishInForce inForce;
    ASSERT_TRUE(inForce.installed());
    english = boxesOf(action);
  }
  ASSERT_FALSE(polish.empty());
  ASSERT_EQ(english.size(), polish.size());
  for (std::size_t i = 0; i < polish.size(); ++i) {
    const QString pl = polish[i].title + "\n" + polish[i].text;
    const QString en = english[i].title + "\n" + english[i].text;
    EXPECT_TRUE(test::hasPolishLetters(pl)) << pl.toStdString();
    EXPECT_FALSE(test::hasPolishLetters(en)) << en.toStdString();
  }
  if (action.value) {
    EXPECT_TRUE(polish.back().text.contains(QString::fromUtf8(action.value))) << polish.back().text.toStdString();
    EXPECT_TRUE(english.back().text.contains(QString::fromUtf8(action.value))) << english.back().text.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(Menus, EnglishMenuBoxes, ::testing::ValuesIn(actions),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kolvaro
