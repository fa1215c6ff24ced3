// What a full configuration write costs on the simulated bus: virtual time from the
// click to the last box, how much of it the 200 ms pauses and the waits for Timer1's
// ticks force, how busy the bus is meanwhile, and the wall time the simulation takes.
// The user answers every box at once; the run is repeated for several phases of the
// free-running timer against the click.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "support/ProcedureRig.h"

namespace {

using namespace std::chrono_literals;
using kolvaro::test::ProcedureRig;
using Micros = std::chrono::microseconds;

// The rig, timing every exchange in virtual time.
class TimedRig : public ProcedureRig {
 public:
  using ProcedureRig::ProcedureRig;

  kolvaro::Reply request(const kolvaro::Request& request) override {
    const Micros start = scene.now();
    kolvaro::Reply reply = ProcedureRig::request(request);
    const Micros spent = scene.now() - start;
    exchangeTime += spent;
    // A wait that ended at its tick limit: the timer, not the bus, decided its length.
    if (reply.outcome == kolvaro::Outcome::NoReply && request.awaited != kolvaro::Awaited::Nothing) {
      tickBoundTime += spent;
    }
    return reply;
  }
  void waitForActivity(int descriptor) override {
    ++waits;
    ProcedureRig::waitForActivity(descriptor);
  }

  Micros exchangeTime{0};
  Micros tickBoundTime{0};
  long waits = 0;
};

struct Figures {
  Micros total{0};
  Micros pauses{0};
  Micros exchanges{0};
  Micros tickBound{0};
  Micros busCharacters{0};
  std::size_t calls = 0;
  std::size_t frames = 0;
  long waits = 0;
  double wallMs = 0;
};

Figures fullWrite(Micros phase) {
  kolvaro::sim::Scene scene;
  scene.addDevice({.address = 0x1101, .programmingMode = true});
  TimedRig rig(scene);
  rig.answerTime = 0ms;
  rig.texts[static_cast<std::size_t>(kolvaro::Field::phAddr)] = "01.01.005";
  for (int a :
       {kolvaro::id::Ok, kolvaro::id::Yes, kolvaro::id::Yes, kolvaro::id::Ok, kolvaro::id::Yes, kolvaro::id::Ok}) {
    rig.platform.answer(a);
  }
  scene.advance(phase);  // the click comes this long into the timer's second

  const Micros start = scene.now();
  const auto wallStart = std::chrono::steady_clock::now();
  kolvaro::test::WriteClick(rig);
  const auto wallEnd = std::chrono::steady_clock::now();

  Figures f;
  f.total = scene.now() - start;
  for (unsigned ms : rig.pauses) f.pauses += std::chrono::milliseconds(ms);
  f.exchanges = rig.exchangeTime;
  f.tickBound = rig.tickBoundTime;
  f.calls = rig.sent.size();
  f.waits = rig.waits;
  f.wallMs = std::chrono::duration<double, std::milli>(wallEnd - wallStart).count();
  for (const auto& frame : scene.log()) {
    const std::size_t characters = frame.bytes.size() + (frame.ack != kolvaro::sim::Ack::None ? 1 : 0);
    f.busCharacters += kolvaro::sim::bitTimes(static_cast<std::int64_t>(characters) * kolvaro::sim::CharBits);
    ++f.frames;
  }
  if (rig.platform.boxes.size() != 6) std::fprintf(stderr, "warning: the run did not reach its end\n");
  return f;
}

double ms(Micros m) { return static_cast<double>(m.count()) / 1000.0; }

}  // namespace

int main() {
  std::printf("Full configuration write on the simulated bus (boxes answered at once)\n");
  std::printf("%9s %10s %10s %12s %12s %10s %6s %7s %8s %9s\n", "phase ms", "total ms", "pauses ms", "exchanges ms",
              "tick-bound ms", "bus ms", "calls", "frames", "waits", "wall ms");
  std::vector<Figures> all;
  for (int phase = 0; phase < 1000; phase += 125) {
    const Figures f = fullWrite(std::chrono::milliseconds(phase));
    all.push_back(f);
    std::printf("%9d %10.1f %10.1f %12.1f %12.1f %10.1f %6zu %7zu %8ld %9.2f\n", phase, ms(f.total), ms(f.pauses),
                ms(f.exchanges), ms(f.tickBound), ms(f.busCharacters), f.calls, f.frames, f.waits, f.wallMs);
  }
  auto [shortest, longest] =
      std::minmax_element(all.begin(), all.end(), [](const Figures& a, const Figures& b) { return a.total < b.total; });
  const Figures& mid = all.front();
  std::printf("\nvirtual time: %.2f s to %.2f s over the timer phases\n", ms(shortest->total) / 1000,
              ms(longest->total) / 1000);
  std::printf("forced by the pauses: %.1f %%, by waits that end at a tick: %.1f %% (phase 0)\n",
              100.0 * ms(mid.pauses) / ms(mid.total), 100.0 * ms(mid.tickBound) / ms(mid.total));
  std::printf("the bus carries characters for %.1f %% of the run (phase 0)\n",
              100.0 * ms(mid.busCharacters) / ms(mid.total));
  return 0;
}
