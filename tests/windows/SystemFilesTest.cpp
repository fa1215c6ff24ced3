// dcb.ini where Windows keeps it: the system directory, paths with drive letters and
// backslashes, and the atomic replace over a file that is already there.
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <filesystem>
#include <string>

#include "link/Comport.h"
#include "link/IniFile.h"
#include "platform/Platform.h"
#include "platform/SystemDirectory.h"
#include "support/RecordingPlatform.h"

namespace kolvaro {
namespace {

using test::readFile;
using test::writeFile;

std::string win32SystemDirectory() {
  char buffer[MAX_PATH];
  UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  return std::string(buffer, length);
}

bool isDriveLetterPath(const std::string& path) {
  return path.size() > 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' && path[2] == '\\';
}

// Removes a file the test made in the system directory, whatever its attributes.
struct SystemFile {
  explicit SystemFile(std::string p) : path(std::move(p)) { remove(); }
  ~SystemFile() { remove(); }
  void remove() const {
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".tmp").c_str());
  }
  std::string path;
};

TEST(WindowsSystemDirectory, IsTheOneWin32ReportsAndDcbIniLiesInIt) {
  const std::optional<std::string> directory = hostSystemDirectory();
  ASSERT_TRUE(directory.has_value());
  EXPECT_EQ(*directory, win32SystemDirectory());
  EXPECT_TRUE(isDriveLetterPath(*directory)) << *directory;
  EXPECT_EQ(hostPlatform().systemDirectory(), directory);

  test::RecordingPlatform recording;
  recording.directory = hostPlatform().systemDirectory();
  ScopedPlatform installed(recording);
  ComPort port(19200, "even", 8, 1.0, 9);  // port 9 is out of range: nothing opens, the path is made
  EXPECT_EQ(port.IniPath(), *directory + "\\dcb.ini");
}

TEST(WindowsPaths, JoinWithBackslashesAndOpenWithDriveLetters) {
  struct Case {
    const char* directory;
    const char* expected;
  };
  const Case cases[] = {
      {"C:\\windows\\system32", "C:\\windows\\system32\\dcb.ini"},
      {"D:\\", "D:\\\\dcb.ini"},  // joined as given; Windows reads the doubled separator as one
      {"c:\\Program Files\\x", "c:\\Program Files\\x\\dcb.ini"},
  };
  for (const Case& c : cases) EXPECT_EQ(pathInDirectory(c.directory, "dcb.ini"), c.expected) << c.directory;

  // A drive-letter path with backslashes, directories made on the way, read back through
  // Win32 under the same name.
  test::TempDir dir;
  const std::string absolute = std::filesystem::absolute(dir.path()).string();
  ASSERT_TRUE(isDriveLetterPath(absolute)) << absolute;
  const std::string path = pathInDirectory(absolute + "\\a b\\c", "dcb.ini");
  IniFile ini(path);
  ASSERT_TRUE(ini.WriteInteger("COM settings", "BaudRate", 9600));
  EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(IniFile(path).ReadInteger("com SETTINGS", "baudrate", 0), 9600);
}

// Each write replaces a dcb.ini that is there, in the system directory, keeping every
// line the program does not own. A replace by a plain rename fails on Windows when the
// target exists.
TEST(WindowsIniReplace, OverAnExistingFileInTheSystemDirectory) {
  SystemFile file(pathInDirectory(win32SystemDirectory(), "kolvaro-test-dcb.ini"));
  const std::string before = "; kept comment\r\n[COM settings]\r\nBaudRate=9600\r\nodd line\r\n[Other]\r\nx=1\r\n";
  writeFile(file.path, before);

  IniFile ini(file.path);
  ASSERT_TRUE(ini.WriteInteger("COM settings", "BaudRate", 19200));
  ASSERT_TRUE(ini.WriteInteger("Port no.", "COM", 3));
  ASSERT_TRUE(ini.WriteInteger("COM settings", "Parity", 2));
  EXPECT_EQ(readFile(file.path),
            "; kept comment\r\n[COM settings]\r\nBaudRate=19200\r\nodd line\r\nParity=2\r\n[Other]\r\nx=1\r\n"
            "[Port no.]\r\nCOM=3\r\n");
  EXPECT_EQ(GetFileAttributesA((file.path + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES) << "temporary file left";
}

// When dcb.ini cannot be written (a user without the right to write the system
// directory), the port-choice constructor writes nowhere else and opens the port the
// file already names; with no file, no port: "COM no. is placed out of range".
TEST(WindowsIniReplace, PortChoiceWhenDcbIniCannotBeWritten) {
  struct Case {
    const char* name;
    const char* fileBefore;  // nullptr: no dcb.ini
    const char* expectedBox;
  };
  const Case cases[] = {
      {"file names COM4", "[Port no.]\r\nCOM=4\r\n", "Couldn't openCOM4"},
      {"no file", nullptr, "COM no. is placed out of range of 1 \xC3\xB7 4"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    const std::string path = pathInDirectory(dir.path(), "dcb.ini");
    if (c.fileBefore) writeFile(path, c.fileBefore);
    // Read-only, as the system directory is to such a user: the temporary file cannot be made.
    std::filesystem::create_directory(path + ".tmp");

    test::RecordingPlatform recording;
    recording.directory = dir.path();
    ScopedPlatform installed(recording);
    {
      ComPort port(19200, "even", 8, 1.0, 2);
      EXPECT_TRUE(port.IsFailed());
    }
    ASSERT_FALSE(recording.boxes.empty());
    EXPECT_EQ(recording.boxes.front().text, c.expectedBox);
    EXPECT_EQ(recording.scripted.opened, c.fileBefore ? std::vector<std::string>{"COM4"} : std::vector<std::string>{});
    if (c.fileBefore) {
      EXPECT_EQ(readFile(path), c.fileBefore);
    }
    // Nothing was written beside it: only the file (when there was one) and the blocker.
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) ++entries;
    EXPECT_EQ(entries, c.fileBefore ? 2u : 1u);
  }
}

}  // namespace
}  // namespace kolvaro
