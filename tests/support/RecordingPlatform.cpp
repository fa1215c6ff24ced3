#include "support/RecordingPlatform.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace kolvaro::test {

std::unique_ptr<SerialLine> ScriptedPorts::open(const std::string& portName, const PortPaths& paths) {
  opened.push_back(portName);
  lastPaths = paths;
  auto found = factories_.find(portName);
  if (found == factories_.end()) return nullptr;
  return found->second();
}

int RecordingPlatform::messageBox(const std::string& text, const char* caption, unsigned flags) {
  ShownBox box{text, caption ? std::optional<std::string>(caption) : std::nullopt, flags};
  boxes.push_back(box);
  if (onBox) onBox(box);
  if (!answers.empty()) {
    int result = answers.front();
    answers.pop_front();
    return result;
  }
  if ((flags & mb::ButtonsMask) == mb::YesNo) {
    return (flags & mb::DefButtonMask) == mb::DefButton2 ? id::No : id::Yes;
  }
  return id::Ok;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kolvaro-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

}  // namespace kolvaro::test
