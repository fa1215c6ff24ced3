// kolvaro-bus: a simulated bus with Kolvaro's devices, one interface chip per link on a
// pseudo-terminal, driven by the wall clock. See README.md.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "kolvaro/Version.h"
#include "sim/BusConsole.h"
#include "sim/BusOptions.h"
#include "sim/PtyLink.h"
#include "sim/Scene.h"
#include "sim/TunnelServer.h"

namespace {

using namespace kolvaro::sim;
using Clock = std::chrono::steady_clock;

int signalPipe[2] = {-1, -1};

extern "C" void onSignal(int) {
  const char c = 1;
  [[maybe_unused]] auto n = ::write(signalPipe[1], &c, 1);
}

Micros wallClock() { return std::chrono::duration_cast<Micros>(Clock::now().time_since_epoch()); }

// Hands the timed links' host bytes to their chips in the order they arrived, the bus
// moved up to each one's moment first; `origin` is the bus's time zero on the wall clock.
void handOverInOrder(const std::vector<PtyLink*>& links, Scene& scene, Micros origin) {
  std::vector<std::pair<PtyLink*, ArrivalStamper::Chunk>> arrivals;
  for (PtyLink* link : links)
    for (auto& chunk : link->takeArrivals()) arrivals.emplace_back(link, std::move(chunk));
  std::stable_sort(arrivals.begin(), arrivals.end(),
                   [](const auto& a, const auto& b) { return a.second.arrivedAt < b.second.arrivedAt; });
  for (const auto& [link, chunk] : arrivals) {
    const Micros at = chunk.arrivedAt - origin;
    if (at > scene.now()) scene.advance(at - scene.now());
    link->handOver(chunk);
  }
}

void printLine(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

int run(const BusOptions& options) {
  Scene scene;
  buildScene(options, scene);
  std::vector<std::unique_ptr<PtyLink>> links;
  for (const auto& path : options.links) {
    auto chip = scene.addChip();
    // The acknowledge window runs from the routing byte written to the host's byte read
    // (or, when hosts are timed, arriving), on the wall clock, so the simulator's own
    // lateness in passing the byte is not charged to the host.
    chip->timingClock = wallClock;
    if (options.ackTiming) {
      // "late": the chip did not take it.
      chip->onAckInformation = [path](Micros sinceRouting, bool taken) {
        printLine("ack-timing " + std::to_string(sinceRouting.count()) + " us " + path + (taken ? "" : " late"));
      };
    }
    // When hosts are timed, their bytes are timed as they arrive, by a thread that wakes
    // for them at once: this loop may wait for a processor behind other programs, and that
    // wait is not the host's.
    links.push_back(std::make_unique<PtyLink>(std::move(chip), path, options.ackTiming ? wallClock : nullptr));
    if (!links.back()->ok()) {
      std::fprintf(stderr, "kolvaro-bus: %s\n", links.back()->error().c_str());
      return 1;
    }
    std::fprintf(stderr, "kolvaro-bus: %s -> %s\n", path.c_str(), links.back()->devicePath().c_str());
  }
  std::unique_ptr<TunnelServer> tunnel;
  if (options.tunnelPort) {
    tunnel = std::make_unique<TunnelServer>(scene.clock(), scene.bus());
    tunnel->faults = options.tunnelFaults;
    std::string error;
    if (!tunnel->open(options.tunnelHost, *options.tunnelPort, error)) {
      std::fprintf(stderr, "kolvaro-bus: %s\n", error.c_str());
      return 1;
    }
    if (!options.quiet) tunnel->onEvent = printLine;
    printLine("kolvaro-bus: tunnel server on " + options.tunnelHost + ":" + std::to_string(tunnel->port()));
  }
  if (!options.quiet) scene.onLogged([](const LoggedFrame& f) { printLine(f.line()); });

  BusConsole console(scene);
  console.tunnel = tunnel.get();
  console.onLineGone = [&links] {
    for (auto& l : links) l->goAway();
  };

  // Virtual time follows the wall clock from here; in fast mode idle stretches are skipped
  // by moving this origin back.
  auto origin = Clock::now();
  auto realNow = [&] { return std::chrono::duration_cast<Micros>(Clock::now() - origin); };
  std::string input;
  bool stdinOpen = true;
  bool stop = false;

  while (!stop && !console.quitRequested()) {
    if (options.fast && !scene.busBusy()) {
      const auto next = scene.nextEventTime();
      if (next && *next > realNow()) origin -= *next - realNow();
    }
    if (realNow() > scene.now()) scene.advance(realNow() - scene.now());

    std::vector<pollfd> fds;
    fds.push_back({signalPipe[0], POLLIN, 0});
    if (stdinOpen) fds.push_back({STDIN_FILENO, POLLIN, 0});
    const std::size_t firstLink = fds.size();
    for (auto& l : links) fds.push_back({l->descriptor(), POLLIN, 0});  // -1 is skipped by poll
    const std::size_t tunnelAt = fds.size();
    if (tunnel) fds.push_back({tunnel->descriptor(), POLLIN, 0});

    timespec timeout{};
    timespec* wait = nullptr;
    if (const auto next = scene.nextEventTime()) {
      const auto left = std::max(Micros(0), *next - realNow());
      timeout.tv_sec = static_cast<time_t>(left.count() / 1'000'000);
      timeout.tv_nsec = static_cast<long>(left.count() % 1'000'000 * 1000);
      wait = &timeout;
    }
    if (::ppoll(fds.data(), fds.size(), wait, nullptr) < 0 && errno != EINTR) {
      std::perror("kolvaro-bus: poll");
      return 1;
    }
    // Host bytes are taken at the moment they arrived, after everything due before it:
    // timed ones at the moment they were read, in the order they came over all links, so
    // an acknowledge information that came in time counts even when this loop is late.
    std::vector<PtyLink*> timed;
    for (std::size_t i = 0; i < links.size(); ++i)
      if ((fds[firstLink + i].revents & POLLIN) && links[i]->timesArrivals()) timed.push_back(links[i].get());
    handOverInOrder(timed, scene, std::chrono::duration_cast<Micros>(origin.time_since_epoch()));
    if (realNow() > scene.now()) scene.advance(realNow() - scene.now());

    if (fds[0].revents) stop = true;
    for (std::size_t i = 0; i < links.size(); ++i)
      if (fds[firstLink + i].revents & POLLIN) links[i]->pump();
    if (tunnel && (fds[tunnelAt].revents & POLLIN)) tunnel->pump();
    if (stdinOpen && (fds[1].revents & (POLLIN | POLLHUP))) {
      char buf[512];
      const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
      if (n <= 0) {
        stdinOpen = false;
        stop = true;  // end of input ends the simulation
      } else {
        input.append(buf, static_cast<std::size_t>(n));
      }
      for (std::size_t eol; (eol = input.find('\n')) != std::string::npos;) {
        const std::string line = input.substr(0, eol);
        input.erase(0, eol + 1);
        const std::string answer = console.execute(line);
        if (!answer.empty() && answer != "ok") printLine(answer);
        if (console.quitRequested()) break;
      }
    }
  }
  return 0;  // the links go with `links`
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto options = parseBusOptions(args, error);
  if (!options) {
    std::fprintf(stderr, "kolvaro-bus: %s\nTry 'kolvaro-bus --help'.\n", error.c_str());
    return 2;
  }
  if (options->help) {
    std::cout << busUsage();
    return 0;
  }
  if (options->version) {
    std::cout << "kolvaro-bus " << kolvaro::Version << '\n';
    return 0;
  }
  if (::pipe(signalPipe) != 0) return 1;
  struct sigaction sa {};
  sa.sa_handler = onSignal;
  sigaction(SIGTERM, &sa, nullptr);
  sigaction(SIGINT, &sa, nullptr);
  sigaction(SIGHUP, &sa, nullptr);
  signal(SIGPIPE, SIG_IGN);
  return run(*options);
}
