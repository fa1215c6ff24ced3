#include "CliRun.h"

#include <chrono>
#include <thread>

#include "support/RecordingPlatform.h"

namespace kolvaro::test {

using namespace std::chrono_literals;

namespace {
std::string quoted(const std::string& argument) {
  std::string q = "'";
  for (const char c : argument) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}
}  // namespace

CliResult runCli(const std::vector<std::string>& arguments) {
  TempDir dir;
  // Through a shell, so that the two streams land in files of their own.
  std::string command = "exec " + quoted(KOLVARO_CLI_EXECUTABLE);
  for (const std::string& a : arguments) command += " " + quoted(a);
  command += " >" + quoted(dir.file("out")) + " 2>" + quoted(dir.file("err")) + " </dev/null";
  ChildProcess child({"sh", "-c", command});
  CliResult result;
  const auto status = child.waitExit(60s);
  result.status = status ? *status : (child.stop(), -1);
  result.out = readFile(dir.file("out"));
  result.err = readFile(dir.file("err"));
  return result;
}

std::string dumpDevice(BusProcess& bus, int device) {
  const std::size_t from = bus.child().output().size();
  bus.command("dump " + std::to_string(device));
  const auto end = std::chrono::steady_clock::now() + 5s;
  while (std::chrono::steady_clock::now() < end) {
    const std::string& out = bus.child().output();
    const std::size_t start = out.find("{\"address\"", from);
    const std::size_t eol = start == std::string::npos ? start : out.find('\n', start);
    if (eol != std::string::npos) return out.substr(start, eol - start);
    std::this_thread::sleep_for(10ms);
  }
  return {};
}

std::string jsonField(const std::string& json, const std::string& key) {
  const std::string label = "\"" + key + "\":";
  const std::size_t at = json.find(label);
  if (at == std::string::npos) return {};
  const std::size_t start = at + label.size();
  const char open = start < json.size() ? json[start] : '\0';
  std::size_t end = open == '"'   ? json.find('"', start + 1) + 1
                    : open == '[' ? json.find(']', start) + 1
                                  : json.find_first_of(",}", start);
  return json.substr(start, end - start);
}

}  // namespace kolvaro::test
