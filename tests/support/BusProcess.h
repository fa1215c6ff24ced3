#pragma once
// Child processes for tests: kolvaro-bus (started with its commands on a pipe, its
// output collected, stopped with SIGTERM) and any peer a test needs (knxd, knxtool).
// Every process started here is stopped by its own pid when its object goes.
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kolvaro::test {

class ChildProcess {
 public:
  // Starts argv[0] (searched in PATH) with standard input from a pipe the test holds and
  // standard output and error collected.
  explicit ChildProcess(const std::vector<std::string>& argv);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pid_ > 0; }
  pid_t pid() const { return pid_; }
  void writeInput(const std::string& text);
  void closeInput();
  // Everything the process printed so far (standard output and error together).
  const std::string& output();
  // Waits until the output holds `needle`; returns false on time-out or exit.
  bool waitForOutput(const std::string& needle, std::chrono::milliseconds timeout);
  // Waits for the process to end by itself; its exit status, or nothing on time-out.
  std::optional<int> waitExit(std::chrono::milliseconds timeout);
  // SIGTERM, then SIGKILL if it has not ended within the grace time; the exit status
  // (128 + signal for a process killed by a signal).
  int stop(std::chrono::milliseconds grace = std::chrono::milliseconds(3000));
  bool running();

 private:
  void drain();

  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string collected_;
  std::optional<int> status_;
};

// kolvaro-bus with the given links and further arguments.
class BusProcess {
 public:
  BusProcess(const std::vector<std::string>& links, const std::vector<std::string>& moreArgs,
             const std::string& executable = defaultExecutable());
  // True once every link exists (kolvaro-bus is ready to serve them).
  bool waitReady(std::chrono::milliseconds timeout = std::chrono::milliseconds(5000));
  void command(const std::string& line) { child_.writeInput(line + "\n"); }
  ChildProcess& child() { return child_; }
  int stop() { return child_.stop(); }
  static std::string defaultExecutable();

 private:
  std::vector<std::string> links_;
  ChildProcess child_;
};

bool pathExists(const std::string& path);

}  // namespace kolvaro::test
