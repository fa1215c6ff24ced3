#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "link/IniFile.h"
#include "support/RecordingPlatform.h"

namespace kolvaro {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

TEST(IniRead, IntegerRules) {
  struct Case {
    const char* text;
    const char* section;
    const char* key;
    std::int32_t expected;  // default is -99
  };
  const Case cases[] = {
      {"[COM settings]\nBaudRate=9600\n", "COM settings", "BaudRate", 9600},
      {"[com SETTINGS]\nbaudrate=9600\n", "COM settings", "BaudRate", 9600},
      {"  [ COM settings ]  \n\t BaudRate \t=  9600 \t\n", "COM settings", "BaudRate", 9600},
      {"[s]\r\nk=12\r\n", "s", "k", 12},
      {"[s]\nk=+12\n", "s", "k", 12},
      {"[s]\nk=-5\n", "s", "k", -5},
      {"[s]\nk=007\n", "s", "k", 7},
      {"[s]\nk=12abc\n", "s", "k", -99},
      {"[s]\nk=0x10\n", "s", "k", -99},
      {"[s]\nk=$10\n", "s", "k", -99},
      {"[s]\nk=1 2\n", "s", "k", -99},
      {"[s]\nk=\n", "s", "k", -99},
      {"[s]\nk=+\n", "s", "k", -99},
      {"[s]\nk=--1\n", "s", "k", -99},
      {"[s]\nk=1.5\n", "s", "k", -99},
      {"[s]\nk=4294967297\n", "s", "k", 1},  // modulo 2^32
      {"[s]\nk=4294967295\n", "s", "k", -1},
      {"[s]\nk=-1\n", "s", "k", -1},
      {"[s]\nk=99999999999999999999999\n", "s", "k", static_cast<std::int32_t>(0xF67FFFFFu)},  // modulo 2^32
      {"k=5\n[s]\n", "s", "k", -99},                                                           // before any section
      {"[t]\nk=5\n[s]\nj=1\n", "s", "k", -99},                                                 // in another section
      {"[s]\nk=1\nk=2\n", "s", "k", 1},                                                        // first key counts
      {"[s]\nk=1\n[s]\nk=2\n", "s", "k", 1},                                                   // first section counts
      {"[s]\n;k=3\nk=4\n", "s", "k", 4},                                                       // comment skipped
      {"[s]\nk=3", "s", "k", 3},                                                               // no final line break
      {"", "s", "k", -99},
      {"[s\nk=3\n", "s", "k", -99},  // unclosed header is no section
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IniText(c.text).integerValue(c.section, c.key, -99), c.expected) << c.text;
  }
}

TEST(IniRead, StringValues) {
  IniText ini("[COM ports]\nCOM1 = /dev/pts/7 \nCOM2=\"/dev/with blank\"\nCOM3=\n");
  EXPECT_EQ(ini.stringValue("com ports", "com1"), "/dev/pts/7");
  EXPECT_EQ(ini.stringValue("COM ports", "COM2"), "/dev/with blank");
  EXPECT_EQ(ini.stringValue("COM ports", "COM3"), "");
  EXPECT_EQ(ini.stringValue("COM ports", "COM4"), std::nullopt);
}

TEST(IniWrite, KeepsEveryOtherLineAsItWas) {
  using namespace std::string_literals;
  struct Case {
    std::string before;
    std::string after;  // after writing [COM settings] BaudRate = 19200
  };
  const Case cases[] = {
      // replaced in place; comments, odd lines, blanks and other keys untouched
      {"; mine\n[COM settings]\n  baudrate = 9600 ; x\nParity=2\n\n[Other]\nA = 1\n",
       "; mine\n[COM settings]\nBaudRate=19200\nParity=2\n\n[Other]\nA = 1\n"},
      // CRLF file stays CRLF
      {"[COM settings]\r\nBaudRate=9600\r\nParity=2\r\n", "[COM settings]\r\nBaudRate=19200\r\nParity=2\r\n"},
      // added at the end of its section, before the blank line and the next section
      {"[COM settings]\nParity=2\n\n[Port no.]\nCOM=1\n",
       "[COM settings]\nParity=2\nBaudRate=19200\n\n[Port no.]\nCOM=1\n"},
      {"[COM settings]", "[COM settings]\nBaudRate=19200"},
      // section added at the end, a line break put in first where missing
      {"[Port no.]\nCOM=1", "[Port no.]\nCOM=1\n[COM settings]\nBaudRate=19200\n"},
      {"", "[COM settings]\nBaudRate=19200\n"},
      {"\x01\x02gar\0bage\n=\n[\n"s, "\x01\x02gar\0bage\n=\n[\n[COM settings]\nBaudRate=19200\n"s},
  };
  for (const auto& c : cases) {
    IniText ini(c.before);
    ini.setInteger("COM settings", "BaudRate", 19200);
    EXPECT_EQ(ini.text(), c.after) << c.before;
    EXPECT_EQ(ini.integerValue("COM settings", "BaudRate", 0), 19200);
  }
}

TEST(IniWrite, LargeAndNegativeValuesReadBackWithTheirBits) {
  IniText ini;
  ini.setInteger("s", "big", 4294967295LL);
  ini.setInteger("s", "neg", -3);
  EXPECT_EQ(static_cast<std::uint32_t>(ini.integerValue("s", "big", 0)), 0xFFFFFFFFu);
  EXPECT_EQ(ini.integerValue("s", "neg", 0), -3);
}

TEST(IniFileOnDisk, WritesCreateTheDirectoryAndReplaceTheFileWhole) {
  TempDir dir;
  const std::string path = dir.path() + "/sub/dir/dcb.ini";
  IniFile ini(path);
  EXPECT_EQ(ini.ReadInteger("Port no.", "COM", 0), 0);
  ASSERT_TRUE(ini.WriteInteger("Port no.", "COM", 3));
  EXPECT_EQ(readFile(path), "[Port no.]\nCOM=3\n");
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

  writeFile(path, "# user's own\n[Port no.]\nCOM=1\nNote=keep\n");
  IniFile again(path);
  ASSERT_TRUE(again.WriteInteger("port NO.", "com", 2));
  EXPECT_EQ(readFile(path), "# user's own\n[Port no.]\ncom=2\nNote=keep\n");
  EXPECT_EQ(IniFile(path).ReadInteger("Port no.", "COM", 0), 2);
}

TEST(IniFileOnDisk, FailedWriteLeavesTheFileAndTheReadsAsTheyWere) {
  TempDir dir;
  const std::string path = dir.file("dcb.ini");
  writeFile(path, "[Port no.]\nCOM=4\n");
  IniFile ini(path);
  // A directory where the temporary file should go makes the write fail.
  std::filesystem::create_directory(path + ".tmp");
  EXPECT_FALSE(ini.WriteInteger("Port no.", "COM", 1));
  EXPECT_EQ(readFile(path), "[Port no.]\nCOM=4\n");
  EXPECT_EQ(ini.ReadInteger("Port no.", "COM", 0), 4);
}

}  // namespace
}  // namespace kolvaro
