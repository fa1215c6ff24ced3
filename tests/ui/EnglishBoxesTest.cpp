// The bus procedures' boxes in English: each run goes over the in-process simulated bus
// twice, without and with the English translation, and every box is shown through the
// real Qt platform, read off the screen and answered by a click. Under Polish the boxes
// show the procedures' texts byte for byte; under English each is the catalogue's
// translation of the Polish one.
#include <gtest/gtest.h>

#include <functional>

#include "TranslationSupport.h"
#include "UiTestSupport.h"
#include "sim/Scene.h"
#include "support/ProcedureRig.h"

namespace kolvaro {
namespace {

using test::SeenBox;

sim::DeviceSetup device(std::uint16_t address, bool programmingMode) {
  sim::DeviceSetup setup;
  setup.address = address;
  setup.programmingMode = programmingMode;
  return setup;
}

struct Scenario {
  const char* name;
  std::vector<sim::DeviceSetup> devices;
  void (*click)(test::ProcedureRig&);
  std::vector<int> answers;
  std::size_t boxes;
  friend void PrintTo(const Scenario& s, std::ostream* os) { *os << s.name; }
};

sim::DeviceSetup withoutMemoryAnswers(sim::DeviceSetup setup) {
  setup.answersMemoryRead = false;
  return setup;
}

const Scenario scenarios[] = {
    {"WriteFullRun", {device(0x1101, true)}, test::WriteClick, {id::Ok, id::Yes, id::Yes, id::Ok, id::Yes, id::Ok}, 6},
    {"WriteAddressTaken",
     {device(0x1105, false), device(0x1101, true)},
     test::WriteClick,
     {id::Yes, id::Ok, id::No},
     3},
    {"WriteNoDeviceInProgrammingMode", {device(0x1101, false)}, test::WriteClick, {id::Ok}, 2},
    {"WriteTwoInProgrammingMode", {device(0x1101, true), device(0x1102, true)}, test::WriteClick, {id::Ok}, 2},
    {"ReadFullRun", {device(0x1105, true)}, test::ReadClick, {id::Ok, id::Yes, id::Yes}, 3},
    {"ReadDeviceWithoutMemory", {withoutMemoryAnswers(device(0x1105, true))}, test::ReadClick, {id::Ok}, 3},
    {"ReadAddressTwice", {device(0x1105, true), device(0x1105, false)}, test::ReadClick, {id::Ok}, 2},
};

struct BoxRun {
  std::vector<test::ShownBox> handedOver;  // what the procedure asked for
  std::vector<SeenBox> seen;               // what the screen showed
};

BoxRun runOnce(const Scenario& s) {
  sim::Scene scene;
  for (const auto& d : s.devices) scene.addDevice(d);
  test::ProcedureRig rig(scene);
  rig.texts[static_cast<std::size_t>(Field::phAddr)] = "01.01.005";
  rig.runValidation();
  rig.clearRecords();
  for (int a : s.answers) rig.platform.answer(a);
  // Every box goes on the screen through the Qt platform and is answered there as the
  // rig's script answers it (the rig records it and moves its clock meanwhile).
  test::SeeingPlatform qt(rig.platform, /*askServices=*/true);
  const ScopedPlatform installed(qt);
  s.click(rig);
  return {rig.platform.boxes, qt.seen};
}

class EnglishBoxes : public ::testing::TestWithParam<Scenario> {};

TEST_P(EnglishBoxes, ShowTheCataloguesTranslationOfEachPolishBox) {
  const Scenario& s = GetParam();
  const test::Catalogue catalogue = test::englishCatalogue();
  const BoxRun polish = runOnce(s);
  BoxRun english;
  {
    const test::EnglishInForce inForce;
    ASSERT_TRUE(inForce.installed());
    english = runOnce(s);
  }
  ASSERT_EQ(polish.seen.size(), s.boxes);
  ASSERT_EQ(english.handedOver, polish.handedOver) << "the language changes what is shown, not the run";
  ASSERT_EQ(english.seen.size(), s.boxes);

  for (std::size_t i = 0; i < s.boxes; ++i) {
    const test::ShownBox& asked = polish.handedOver[i];
    const SeenBox& pl = polish.seen[i];
    const SeenBox& en = english.seen[i];
    EXPECT_EQ(pl.text, QString::fromStdString(asked.text)) << "Polish is shown as written";
    EXPECT_EQ(catalogue.sources.count(pl.text), 1u) << asked.text;
    EXPECT_NE(en.text, pl.text) << "left in Polish: " << asked.text;
    EXPECT_EQ(catalogue.translations.count(en.text), 1u) << en.text.toStdString();
    EXPECT_FALSE(test::hasPolishLetters(en.text)) << en.text.toStdString();
    if (asked.caption) {
      EXPECT_EQ(pl.title, QString::fromStdString(*asked.caption));
      EXPECT_EQ(en.title, QStringLiteral("Information"));
    } else {
      EXPECT_EQ(en.title, pl.title) << "no caption: the program's name in both";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, EnglishBoxes, ::testing::ValuesIn(scenarios),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kolvaro
