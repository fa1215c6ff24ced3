// The write and read procedures through the real window: the user types the
// configuration, clicks Write or Read and answers Yes to every question; the simulated
// device's memory and a fresh window show what was written.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <cstdio>

#include "BusWindow.h"
#include "ui/MaskedField.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

struct GroupEntry {
  const char* keys;  // what the user types ("" leaves the field blank)
  const char* text;  // what the field shows
  std::uint8_t high, low;
};

struct Configuration {
  const char* addressKeys;
  const char* addressText;
  const char* deviceAddress;         // as the simulator writes it
  std::array<GroupEntry, 8> groups;  // IN_1_1 .. OUT_2_2, the table's order
  int programWY1, programWY2, inputMode;
};

const char* const Blank = "  \\ \\   ";

// Every value differs from what a new device and a new window hold, so nothing passes
// by standing still.
const Configuration Written{"0102010",
                            "01.02.010",
                            "1.2.10",
                            {{{"012003", "01\\2\\003", 0x0A, 0x03},
                              {"", Blank, 0xFF, 0xFF},
                              {"157255", "15\\7\\255", 0x7F, 0xFF},
                              {"000001", "00\\0\\001", 0x00, 0x01},
                              {"000002", "00\\0\\002", 0x00, 0x02},
                              {"", Blank, 0xFF, 0xFF},
                              {"031100", "03\\1\\100", 0x19, 0x64},
                              {"073200", "07\\3\\200", 0x3B, 0xC8}}},
                            1,
                            2,
                            1};

const Configuration RoundTrip{"1515001",
                              "15.15.001",
                              "15.15.1",
                              {{{"", Blank, 0xFF, 0xFF},
                                {"110255", "11\\0\\255", 0x58, 0xFF},
                                {"000007", "00\\0\\007", 0x00, 0x07},
                                {"", Blank, 0xFF, 0xFF},
                                {"157000", "15\\7\\000", 0x7F, 0x00},
                                {"000007", "00\\0\\007", 0x00, 0x07},
                                {"", Blank, 0xFF, 0xFF},
                                {"021045", "02\\1\\045", 0x11, 0x2D}}},
                              2,
                              1,
                              1};

std::array<MaskedField*, 8> groupFields(TMain& w) {
  return {w.IN_1_1_GrAddr_MaskEdit,  w.IN_1_2_GrAddr_MaskEdit,  w.IN_2_1_GrAddr_MaskEdit,  w.IN_2_2_GrAddr_MaskEdit,
          w.OUT_1_1_GrAddr_MaskEdit, w.OUT_1_2_GrAddr_MaskEdit, w.OUT_2_1_GrAddr_MaskEdit, w.OUT_2_2_GrAddr_MaskEdit};
}

std::string text(MaskedField* field) { return field->text().toStdString(); }

// The group table as the simulator dumps memory 0x20..0x2F: upper-case hex digits.
std::string tableHex(const Configuration& c) {
  std::string hex;
  char pair[3];
  for (const auto& g : c.groups) {
    std::snprintf(pair, sizeof pair, "%02X", g.high);
    hex += pair;
    std::snprintf(pair, sizeof pair, "%02X", g.low);
    hex += pair;
  }
  return hex;
}

// Types the configuration into the window and clicks Write; Yes to every question.
void writeThroughWindow(BusWindow& bus, const Configuration& c) {
  TMain& w = bus.window();
  bus.type(w.phAddr_MaskEdit, c.addressKeys);
  const auto fields = groupFields(w);
  for (std::size_t i = 0; i < fields.size(); ++i) bus.type(fields[i], c.groups[i].keys);
  bus.choose(w.OUT1_Prog_ComboBox, c.programWY1);
  bus.choose(w.OUT2_Prog_ComboBox, c.programWY2);
  bus.choose(w.MONO_BI_ComboBox, c.inputMode);
  bus.platform.answerYesToEveryQuestion();
  bus.click(w.Write);
}

// The last telegram of a write, the input mode, as the simulator logs its raw bytes.
std::string inputModeFrame(const Configuration& c, const std::string& deviceHex) {
  char tail[8];
  std::snprintf(tail, sizeof tail, "%02X ", c.inputMode);
  return "[BC FF FE " + deviceHex + " 64 42 81 00 FF " + tail;
}

TEST(Configuration, WriteLeavesTheDeviceConfiguredAsTheWindowShowed) {
  BusWindow bus({"--device", "1.1.5,prog"});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  const std::size_t startBoxes = bus.platform.boxes.size();

  writeThroughWindow(bus, Written);

  TMain& w = bus.window();
  std::vector<std::string> texts;
  for (std::size_t i = startBoxes; i < bus.platform.boxes.size(); ++i) texts.push_back(bus.platform.boxes[i].text);
  const std::vector<std::string> expected = {
      "Weryfikacja zajętości adresu fizycznego zakończona.\n"
      "Wprowadź element magistralny w tryb programowania i naciśnij OK.",
      "Proces konfiguracji adresu fiz. urządzenia zakończony.\nCzy dokonać konfiguracji adresów grupowych?",
      "Proces konfiguracji adresów grupowych zakończony.\n"
      "Czy zapisać numer programu, wykonywanego przez element magistralny?",
      "Proces konfiguracji programu zakończony",
      "Wybór programu, wykonywanego przez element magistralny zakończony.\n"
      "Czy chcesz skonfigurować tryb działania wejść?",
      "Proces konfiguracji trybu pracy wejść zakończony",
  };
  EXPECT_EQ(texts, expected);
  EXPECT_TRUE(w.Write->isEnabled());
  EXPECT_EQ(w.progressPosition(), 96);
  // The table was written with the program's own pauses between its 16 telegrams.
  EXPECT_EQ(std::count(bus.platform.sleeps.begin(), bus.platform.sleeps.end(), 200u), 16);

  // The confirmations the procedure waited for may belong to earlier frames still
  // queued in the chip: let the bus carry the last telegram before looking.
  ASSERT_EQ(bus.waitForLog(inputModeFrame(Written, "12 0A"), 1, 5s), 1) << bus.busOutput();
  const std::string state = bus.dump(1);
  EXPECT_EQ(jsonValue(state, "address"), std::string("\"") + Written.deviceAddress + "\"") << state;
  const std::string memory = jsonValue(state, "memory");
  ASSERT_EQ(memory.size(), 2u + 512u) << state;
  EXPECT_EQ(memory.substr(1 + 2 * 0x20, 32), tableHex(Written)) << state;
  EXPECT_EQ(jsonValue(state, "programs"), "[1,2]") << state;
  EXPECT_EQ(jsonValue(state, "inputMode"), "1") << state;
  // Each frame the program sent went out once: the device acknowledged every one.
  EXPECT_EQ(countOf(bus.busOutput(), "  NAK"), 0) << bus.busOutput();
}

TEST(Configuration, WrittenConfigurationReadsBackIntoAFreshWindow) {
  BusWindow bus({"--device", "1.1.5,prog"});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  writeThroughWindow(bus, RoundTrip);
  ASSERT_EQ(bus.waitForLog(inputModeFrame(RoundTrip, "FF 01"), 1, 5s), 1) << bus.busOutput();
  bus.closeWindow();

  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& w = bus.window();
  const std::size_t startBoxes = bus.platform.boxes.size();
  bus.platform.answerYesToEveryQuestion();
  bus.click(w.Read);

  std::vector<std::string> texts;
  for (std::size_t i = startBoxes; i < bus.platform.boxes.size(); ++i) texts.push_back(bus.platform.boxes[i].text);
  const std::vector<std::string> expected = {
      "Wprowadź element magistralny w tryb programowania i naciśnij OK.\nZostanie rozpoczęty odczyt.",
      "Odczyt adresów grupowych zakończony.\nCzy odczytać wybrany program, wykonywany przez element magistralny.",
      "Odczyt wybranych programów zakończony.\nCzy odczytać aktualny tryb pracy wejść.",
  };
  EXPECT_EQ(texts, expected);
  EXPECT_TRUE(w.Read->isEnabled());
  EXPECT_EQ(text(w.phAddr_MaskEdit), RoundTrip.addressText);
  const auto fields = groupFields(w);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    EXPECT_EQ(text(fields[i]), RoundTrip.groups[i].text) << "group field " << i;
    EXPECT_EQ(w.members().GrAddr_Bytes[2 * i], RoundTrip.groups[i].high) << "group entry " << i;
    EXPECT_EQ(w.members().GrAddr_Bytes[2 * i + 1], RoundTrip.groups[i].low) << "group entry " << i;
  }
  EXPECT_EQ(w.OUT1_Prog_ComboBox->currentIndex(), RoundTrip.programWY1);
  EXPECT_EQ(w.OUT2_Prog_ComboBox->currentIndex(), RoundTrip.programWY2);
  EXPECT_EQ(w.MONO_BI_ComboBox->currentIndex(), RoundTrip.inputMode);
  EXPECT_EQ(w.members().Terminal_phAddr, 0xFF01u);
}

}  // namespace
}  // namespace kolvaro::test
