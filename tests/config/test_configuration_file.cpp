// Configuration files: every item survives a write and a read, the documented example
// reads as documented, and each kind of bad document is refused with one message that
// names the key and the value found there.
#include <gtest/gtest.h>

#include <filesystem>
#include <variant>

#include "config/ConfigurationFile.h"
#include "support/RecordingPlatform.h"

namespace kolvaro {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

DeviceConfiguration sample() {
  DeviceConfiguration c;
  c.physicalAddress = 0x1105;  // 1.1.5
  c.groups[0] = {0x00, 0x02};  // WE1[0] 0/0/2
  c.groups[3] = {0x0A, 0x03};  // WE2[1] 1/2/3
  c.groups[4] = {0x7F, 0xFF};  // WY1[0] 15/7/255
  c.groups[7] = {0x00, 0x00};  // WY2[1] 0/0/0
  c.programs = {2, 1};
  c.inputMode = 1;
  c.room = "Sala \"A\" – 1.12";
  c.description = "linia 1\nlinia 2";
  return c;
}

const DeviceConfiguration* parsed(const ParsedConfiguration& result) {
  return std::get_if<DeviceConfiguration>(&result);
}

TEST(ConfigurationFile, EveryItemSurvivesWritingAndReading) {
  DeviceConfiguration plain;  // no notes, every entry empty, the highest address
  plain.physicalAddress = 0xFFFF;
  for (const DeviceConfiguration& original : {sample(), plain}) {
    const std::string text = FormatConfiguration(original);
    const ParsedConfiguration back = ParseConfiguration(text);
    ASSERT_NE(parsed(back), nullptr) << std::get<FileProblem>(back).message() << "\n" << text;
    EXPECT_EQ(*parsed(back), original) << text;
  }
  const std::string text = FormatConfiguration(sample());
  EXPECT_NE(text.find("\"physical_address\": \"1.1.5\""), std::string::npos) << text;
  EXPECT_NE(text.find("\"WY1\": [\n      \"15/7/255\",\n      \"none\"\n    ]"), std::string::npos) << text;
  EXPECT_NE(text.find("\"input_mode\": \"bistable\""), std::string::npos) << text;
}

TEST(ConfigurationFile, TheDocumentedExampleReadsAsDocumented) {
  const ParsedConfiguration example = LoadConfigurationFile(KOLVARO_SOURCE_DIR "/docs/configuration-example.json");
  ASSERT_NE(parsed(example), nullptr) << std::get<FileProblem>(example).message();
  const DeviceConfiguration& c = *parsed(example);
  EXPECT_EQ(c.physicalAddress, 0x1105);
  const std::array<GroupBytes, 8> groups{
      {{0x00, 0x02}, {0xFF, 0xFF}, {0x00, 0x03}, {0x0A, 0x03}, {0x00, 0x02}, {0x7F, 0xFF}, {0x00, 0x03}, {0xFF, 0xFF}}};
  EXPECT_EQ(c.groups, groups);
  EXPECT_EQ(c.programs, (std::array<int, 2>{0, 2}));
  EXPECT_EQ(c.inputMode, 1);
  EXPECT_EQ(c.room, "Sala konferencyjna 1.12");
}

// A valid document with one replacement made in its text.
std::string with(const std::string& from, const std::string& to) {
  std::string text = FormatConfiguration(sample());
  const std::size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(ConfigurationFile, BadDocumentsAreRefusedNamingKeyAndValue) {
  const std::string valid = FormatConfiguration(sample());
  const struct {
    const char* what;
    std::string text;
    std::string message;
  } cases[] = {
      {"empty", "", "plik: to nie jest poprawny dokument JSON (błąd w bajcie 1)"},
      {"truncated", valid.substr(0, 100), "plik: to nie jest poprawny dokument JSON (błąd w bajcie 101)"},
      {"not JSON", "physical_address = 1.1.5\n", "plik: to nie jest poprawny dokument JSON (błąd w bajcie 1)"},
      {"not an object", "[1, 2]", "plik = [1,2]: dokument nie jest obiektem JSON"},
      {"number beyond range", "{\"x\": -1e999}", "plik: to nie jest poprawny dokument JSON (liczba poza zakresem)"},
      {"other format", with("kolvaro-device-configuration", "x"),
       "format = \"x\": to nie jest plik konfiguracji (oczekiwano \"kolvaro-device-configuration\")"},
      {"unknown version", with("\"version\": 1", "\"version\": 2"), "version = 2: nieznana wersja formatu (znana: 1)"},
      {"version as text", with("\"version\": 1", "\"version\": \"1\""),
       "version = \"1\": oczekiwano liczby całkowitej"},
      {"missing version", with("\"version\": 1,", ""), "version: brak klucza"},
      {"area out of range", with("\"1.1.5\"", "\"16.1.5\""),
       "physical_address = \"16.1.5\": oczekiwano adresu fizycznego obszar.linia.urządzenie (0-15.0-15.0-255)"},
      {"device out of range", with("\"1.1.5\"", "\"1.1.256\""),
       "physical_address = \"1.1.256\": oczekiwano adresu fizycznego obszar.linia.urządzenie (0-15.0-15.0-255)"},
      {"address as number", with("\"1.1.5\"", "1105"), "physical_address = 1105: oczekiwano tekstu"},
      {"middle group out of range", with("\"15/7/255\"", "\"15/8/255\""),
       "groups.WY1[0] = \"15/8/255\": oczekiwano adresu grupowego główna/środkowa/podgrupa (0-15/0-7/0-255) lub "
       "\"none\""},
      {"main group out of range", with("\"0/0/2\"", "\"16/0/2\""),
       "groups.WE1[0] = \"16/0/2\": oczekiwano adresu grupowego główna/środkowa/podgrupa (0-15/0-7/0-255) lub "
       "\"none\""},
      {"group as null", with("\"15/7/255\"", "null"), "groups.WY1[0] = null: oczekiwano tekstu"},
      {"one entry only", with("\"15/7/255\",\n      \"none\"", "\"15/7/255\""),
       "groups.WY1 = [\"15/7/255\"]: oczekiwano listy dwóch adresów grupowych"},
      {"missing channel", with("\"WE2\"", "\"WE3\""), "groups.WE3 = [\"none\",\"1/2/3\"]: nieznany klucz"},
      {"missing groups", with("\"groups\"", "\"grupy\""),  // a long value is cut after 60 bytes
       "grupy = {\"WE1\":[\"0/0/2\",\"none\"],\"WE2\":[\"none\",\"1/2/3\"],\"WY1\":[\"15/7/…: nieznany klucz"},
      {"unknown program", with("\"off-delay\"", "\"delay\""),
       "programs.WY1 = \"delay\": oczekiwano \"no-delay\", \"on-delay\" lub \"off-delay\""},
      {"program as number", with("\"off-delay\"", "2"), "programs.WY1 = 2: oczekiwano tekstu"},
      {"unknown input mode", with("\"bistable\"", "\"toggle\""),
       "input_mode = \"toggle\": oczekiwano \"monostable\" lub \"bistable\""},
      {"missing input mode", with(",\n  \"input_mode\": \"bistable\"", ""), "input_mode: brak klucza"},
      {"extra key", with("\"version\": 1,", "\"version\": 1, \"colour\": \"red\","),
       "colour = \"red\": nieznany klucz"},
      {"long text cut on a character",
       with("\"room\": \"Sala \\\"A\\\" – 1.12\"", "\"room\": 1, \"x\": \"" + std::string(58, 'a') + "żółw\""),
       "x = \"" + std::string(58, 'a') + "…: nieznany klucz"},
      {"room as number", with("\"room\": \"Sala \\\"A\\\" – 1.12\"", "\"room\": 12"), "room = 12: oczekiwano tekstu"},
  };
  for (const auto& c : cases) {
    const ParsedConfiguration result = ParseConfiguration(c.text);
    ASSERT_TRUE(std::holds_alternative<FileProblem>(result)) << c.what;
    EXPECT_EQ(std::get<FileProblem>(result).message(), c.message) << c.what;
  }
}

TEST(ConfigurationFile, AFailedSaveKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.file("device.json");
  ASSERT_EQ(SaveConfigurationFile(path, sample()).polish(), "");
  const std::string first = readFile(path);
  ASSERT_TRUE(std::holds_alternative<DeviceConfiguration>(LoadConfigurationFile(path)));

  // The temporary file cannot be made: a directory stands in its place.
  std::filesystem::create_directory(path + ".tmp");
  DeviceConfiguration other = sample();
  other.physicalAddress = 0x2201;
  const std::string why = SaveConfigurationFile(path, other).polish();
  EXPECT_EQ(why.rfind("nie można zapisać pliku " + path + ": plik tymczasowy: ", 0), 0u) << why;
  EXPECT_EQ(readFile(path), first) << "the old file is whole";

  std::filesystem::remove(path + ".tmp");
  ASSERT_EQ(SaveConfigurationFile(path, other).polish(), "");
  const ParsedConfiguration back = LoadConfigurationFile(path);
  ASSERT_NE(std::get_if<DeviceConfiguration>(&back), nullptr);
  EXPECT_EQ(std::get<DeviceConfiguration>(back).physicalAddress, 0x2201);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

}  // namespace
}  // namespace kolvaro
