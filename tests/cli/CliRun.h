#pragma once
// kolvaro-cli as a child process of a test: its exit status, standard output and
// standard error apart, and the kolvaro-bus dumps the tests compare.
#include <string>
#include <vector>

#include "support/BusProcess.h"

namespace kolvaro::test {

struct CliResult {
  int status = -1;  // -1: did not end within its deadline (and was stopped)
  std::string out;
  std::string err;
};

// Runs kolvaro-cli with `arguments`; a deadline of a minute, then it is stopped.
CliResult runCli(const std::vector<std::string>& arguments);

// Device n's state line ("dump n") from kolvaro-bus, or empty on time-out.
std::string dumpDevice(BusProcess& bus, int device);
// The value of `"key":` in a one-line JSON object, as written.
std::string jsonField(const std::string& json, const std::string& key);

}  // namespace kolvaro::test
