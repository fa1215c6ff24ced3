// The window's file menu and verification on kolvaro-bus: a file opened in the window
// and written through it leaves the device as kolvaro-cli's write of the same file does;
// the window verifies the device and saves what it shows; bad files change nothing.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <variant>

#include "../cli/CliRun.h"
#include "BusWindow.h"
#include "config/ConfigurationFile.h"
#include "config/SessionBoxes.h"
#include "ui/Colours.h"
#include "ui/FileMenu.h"
#include "ui/MaskedField.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

const char FileText[] = R"({"format": "kolvaro-device-configuration", "version": 1,
 "room": "korytarz", "physical_address": "2.3.40",
 "groups": {"WE1": ["none", "3/1/100"], "WE2": ["0/0/5", "none"],
            "WY1": ["0/0/5", "7/7/7"], "WY2": ["none", "none"]},
 "programs": {"WY1": "off-delay", "WY2": "no-delay"}, "input_mode": "monostable"})";
const char InputModeFrame[] = "[BC FF FE 23 28 64 42 81 00 FF 00 ";

struct WindowState {
  std::vector<std::string> texts;
  std::vector<int> combos;
  friend bool operator==(const WindowState&, const WindowState&) = default;
};

WindowState stateOf(TMain& w) {
  WindowState s;
  for (int f = 0; f < FieldCount; ++f) s.texts.push_back(w.fieldText(static_cast<Field>(f)));
  for (int c = 0; c < ComboCount; ++c) s.combos.push_back(w.comboIndex(static_cast<Combo>(c)));
  return s;
}

TEST(FileMenu, AFileWrittenThroughTheWindowEqualsTheCliWrite) {
  TempDir dir;
  const std::string file = dir.file("f.json");
  writeFile(file, FileText);

  // kolvaro-cli's write on a bus of its own.
  const std::string cliLink = dir.file("cli");
  BusProcess cliBus({cliLink}, {"--device", "1.1.5,prog"});
  ASSERT_TRUE(cliBus.waitReady());
  const CliResult write = runCli({"--port", cliLink, "--config-dir", dir.path(), "write", file, "--yes"});
  ASSERT_EQ(write.status, 0) << write.err;
  ASSERT_TRUE(cliBus.child().waitForOutput(InputModeFrame, 5s)) << cliBus.child().output();
  const std::string byCli = dumpDevice(cliBus, 1);
  cliBus.stop();

  // The same file opened in the window and written with its Write button.
  BusWindow bus({"--device", "1.1.5,prog"});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& w = bus.window();
  ASSERT_TRUE(w.FileMenu->openFile(QString::fromStdString(file)));
  EXPECT_EQ(w.phAddr_MaskEdit->text().toStdString(), "02.03.040");
  EXPECT_EQ(w.IN_1_2_GrAddr_MaskEdit->text().toStdString(), "03\\1\\100");
  EXPECT_EQ(w.OUT_1_2_GrAddr_MaskEdit->text().toStdString(), "07\\7\\007");
  EXPECT_EQ(w.OUT1_Prog_ComboBox->currentIndex(), 2);
  bus.platform.answerYesToEveryQuestion();
  bus.click(w.Write);
  ASSERT_EQ(bus.waitForLog(InputModeFrame, 1, 5s), 1) << bus.busOutput();
  const std::string byWindow = bus.dump(1);
  ASSERT_FALSE(byWindow.empty());
  for (const char* key : {"address", "programs", "inputMode", "memory"}) {
    EXPECT_EQ(jsonValue(byWindow, key), jsonValue(byCli, key)) << key;
  }

  // The window verifies the device against what it shows, without changing its fields.
  const WindowState shown = stateOf(w);
  const std::size_t boxes = bus.platform.boxes.size();
  w.FileMenu->VerifyWindow->trigger();
  ASSERT_GT(bus.platform.boxes.size(), boxes);
  EXPECT_EQ(bus.platform.boxes.back().text, "Weryfikacja zakończona: element zawiera oczekiwaną konfigurację.");
  EXPECT_EQ(stateOf(w), shown);

  // A changed device: the difference is named item by item.
  bus.command("inject BC00012328644281000000");  // program of WY1 becomes 0
  ASSERT_EQ(bus.waitForLog("0.0.1 -> 2.3.40 MemoryWrite", 1, 5s), 1) << bus.busOutput();
  w.FileMenu->VerifyWindow->trigger();
  EXPECT_EQ(bus.platform.boxes.back().text,
            "Weryfikacja zakończona: element różni się w 1 pozycjach.\nprograms.WY1: oczekiwano off-delay, odczytano "
            "no-delay");
  EXPECT_EQ(bus.platform.boxes.back().flags, box::Error);

  // Read, then Zapisz jako…: the configuration as read from the device, with the opened
  // file's note; saving leaves the gray of the values read as it is.
  bus.platform.answerYesToEveryQuestion();
  bus.click(w.Read);
  ASSERT_EQ(w.OUT1_Prog_ComboBox->currentIndex(), 0) << "the read found the changed program";
  const std::string saved = dir.file("saved.json");
  w.FileMenu->chooseFile = [&](bool forSaving) { return forSaving ? QString::fromStdString(saved) : QString(); };
  w.FileMenu->SaveAs->trigger();
  const ParsedConfiguration back = LoadConfigurationFile(saved);
  ASSERT_TRUE(std::holds_alternative<DeviceConfiguration>(back)) << readFile(saved);
  DeviceConfiguration expected = std::get<DeviceConfiguration>(ParseConfiguration(FileText));
  expected.programs[0] = 0;
  EXPECT_EQ(std::get<DeviceConfiguration>(back), expected) << readFile(saved);
  EXPECT_EQ(w.FileMenu->currentPath().toStdString(), saved);
  EXPECT_EQ(fontColour(*w.phAddr_MaskEdit), colour::Gray);
  EXPECT_EQ(fontColour(*w.OUT1_Prog_ComboBox), colour::Gray);
}

TEST(FileMenu, BadFilesChangeNothingAndSayWhatAndWhere) {
  BusWindow bus({"--device", "1.1.5,prog"});
  std::string problem;
  ASSERT_TRUE(bus.openWindow(problem)) << problem;
  TMain& w = bus.window();
  TempDir dir;
  const std::string path = dir.file("bad.json");
  const std::string valid = FileText;
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = valid;
    return text.replace(text.find(from), from.size(), to);
  };
  const struct {
    const char* what;
    std::string text;
    const char* message;
  } cases[] = {
      {"truncated", valid.substr(0, 120), "plik: to nie jest poprawny dokument JSON (błąd w bajcie 121)"},
      {"not JSON", "phAddr=2.3.40", "plik: to nie jest poprawny dokument JSON (błąd w bajcie 1)"},
      {"unknown version", replaced("\"version\": 1", "\"version\": 0"),
       "version = 0: nieznana wersja formatu (znana: 1)"},
      {"address out of range", replaced("2.3.40", "2.3.400"),
       "physical_address = \"2.3.400\": oczekiwano adresu fizycznego obszar.linia.urządzenie (0-15.0-15.0-255)"},
      {"wrong type", replaced("[\"0/0/5\", \"7/7/7\"]", "\"0/0/5\""),
       "groups.WY1 = \"0/0/5\": oczekiwano listy dwóch adresów grupowych"},
      {"missing entry", replaced(", \"WY2\": \"no-delay\"", ""), "programs.WY2: brak klucza"},
      {"extra key", replaced("\"room\"", "\"pokój\""), "pokój = \"korytarz\": nieznany klucz"},
  };
  // Every field and combo box away from what any of the files holds.
  bus.type(w.phAddr_MaskEdit, "0102003");
  bus.type(w.OUT_2_1_GrAddr_MaskEdit, "011002");
  bus.choose(w.MONO_BI_ComboBox, 1);
  const WindowState before = stateOf(w);
  const std::string device = bus.dump(1);
  for (const auto& c : cases) {
    writeFile(path, c.text);
    const std::size_t boxes = bus.platform.boxes.size();
    EXPECT_FALSE(w.FileMenu->openFile(QString::fromStdString(path))) << c.what;
    ASSERT_EQ(bus.platform.boxes.size(), boxes + 1) << c.what;
    EXPECT_EQ(bus.platform.boxes.back().text,
              "Plik konfiguracji " + path + " jest nieprawidłowy; okno pozostaje bez zmian.\n" + c.message)
        << c.what;
    EXPECT_EQ(bus.platform.boxes.back().flags, box::Error) << c.what;
    EXPECT_EQ(stateOf(w), before) << c.what;
  }
  EXPECT_EQ(bus.dump(1), device);
  EXPECT_EQ(countOf(bus.busOutput(), "MemoryWrite"), 0) << bus.busOutput();
}

}  // namespace
}  // namespace kolvaro::test
