#include "BusProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

extern char** environ;

namespace kolvaro::test {

namespace {
using Clock = std::chrono::steady_clock;

int statusCode(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}
}  // namespace

bool pathExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
  int in[2], out[2];
  if (::pipe2(in, O_CLOEXEC) != 0) return;
  if (::pipe2(out, O_CLOEXEC) != 0) {
    ::close(in[0]);
    ::close(in[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDERR_FILENO);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0) pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
  ::close(in[0]);
  ::close(out[1]);
  input_ = in[1];
  output_ = out[0];
  ::fcntl(output_, F_SETFL, ::fcntl(output_, F_GETFL) | O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
  if (running()) stop();
  if (input_ >= 0) ::close(input_);
  if (output_ >= 0) ::close(output_);
}

void ChildProcess::writeInput(const std::string& text) {
  if (input_ < 0) return;
  const struct sigaction ignore {};
  struct sigaction old {};
  struct sigaction sa = ignore;
  sa.sa_handler = SIG_IGN;  // a child that has gone must not kill the test with SIGPIPE
  ::sigaction(SIGPIPE, &sa, &old);
  [[maybe_unused]] auto n = ::write(input_, text.data(), text.size());
  ::sigaction(SIGPIPE, &old, nullptr);
}

void ChildProcess::closeInput() {
  if (input_ >= 0) ::close(input_);
  input_ = -1;
}

void ChildProcess::drain() {
  if (output_ < 0) return;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(output_, buf, sizeof buf);
    if (n > 0) {
      collected_.append(buf, static_cast<std::size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return;
  }
}

const std::string& ChildProcess::output() {
  drain();
  return collected_;
}

bool ChildProcess::running() {
  if (pid_ <= 0 || status_) return false;
  int status = 0;
  if (::waitpid(pid_, &status, WNOHANG) == pid_) {
    status_ = statusCode(status);
    return false;
  }
  return true;
}

bool ChildProcess::waitForOutput(const std::string& needle, std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  for (;;) {
    if (output().find(needle) != std::string::npos) return true;
    if (Clock::now() >= end) return false;
    pollfd p{output_, POLLIN, 0};
    ::poll(&p, 1, 20);
    if (!running() && output().find(needle) == std::string::npos) return false;
  }
}

std::optional<int> ChildProcess::waitExit(std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  while (running()) {
    if (Clock::now() >= end) return std::nullopt;
    drain();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  drain();
  return status_;
}

int ChildProcess::stop(std::chrono::milliseconds grace) {
  if (running()) {
    ::kill(pid_, SIGTERM);
    if (!waitExit(grace)) {
      ::kill(pid_, SIGKILL);
      waitExit(std::chrono::milliseconds(5000));
    }
  }
  drain();
  return status_.value_or(-1);
}

BusProcess::BusProcess(const std::vector<std::string>& links, const std::vector<std::string>& moreArgs,
                       const std::string& executable)
    : links_(links), child_([&] {
        std::vector<std::string> argv{executable};
        for (const auto& l : links) {
          argv.push_back("--link");
          argv.push_back(l);
        }
        argv.insert(argv.end(), moreArgs.begin(), moreArgs.end());
        return argv;
      }()) {}

bool BusProcess::waitReady(std::chrono::milliseconds timeout) {
  const auto end = Clock::now() + timeout;
  for (;;) {
    bool all = true;
    for (const auto& l : links_) all = all && pathExists(l);
    if (all) return true;
    if (Clock::now() >= end || !child_.running()) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

std::string BusProcess::defaultExecutable() {
#ifdef KOLVARO_BUS_EXECUTABLE
  return KOLVARO_BUS_EXECUTABLE;
#else
  return "kolvaro-bus";
#endif
}

}  // namespace kolvaro::test
