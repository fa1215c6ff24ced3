#pragma once
// The receiving end of the serial chip's exchange: each byte from the chip fed to the
// exchange's receive machine, and the acknowledge information written the moment the
// machine asks for it. FeedByte does this for one byte on the caller's thread;
// LineReader does it on a thread of its own, so that the acknowledge never waits for the
// thread that runs the exchange (a window's event loop may be busy painting, or be
// preempted under load). Everything else the exchange does stays on its own thread:
// LineReader hands it each byte, with what the machine made of it, through one queue,
// in order.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/ThreadLatency.h"
#include "telegram/Frame.h"
#include "telegram/FrameJudgement.h"
#include "telegram/ReceiveMachine.h"

namespace kolvaro {

class ComPort;

// One byte as the receive machine took it, and what was done for it at once.
struct ReceivedByte {
  std::uint8_t byte = 0;
  ReceiveMachine::Event event = ReceiveMachine::Event::Nothing;
  bool wasAssembling = false;                             // a frame was being assembled before the byte
  bool assembling = false;                                // and after it
  FrameJudgement judgement = FrameJudgement::Incomplete;  // of the frame the byte completed
  // SendAcknowledge: whether the port took the 0x11; nothing when there was no port.
  std::optional<bool> acknowledgeWritten;
  // AnswerToLog, AnswerToReturn: the machine's answer text and frame after the byte.
  std::string answerText;
  Frame answer;
};

// Feeds one byte to the machine and writes the acknowledge information to `port` (if
// any) when the machine asks for it.
ReceivedByte FeedByte(ReceiveMachine& machine, ComPort* port, std::uint8_t byte);

class LineReader {
 public:
  LineReader();
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // Whether the reader's thread runs: on a platform whose lines have a descriptor to
  // block on, once its pipes and thread could be made.
  bool usable() const { return thread_.joinable(); }

  // One exchange's reading: its machine and the bytes handled but not yet taken.
  struct Run {
    std::optional<ReceiveMachine> machine;
    std::deque<ReceivedByte> untaken;
    std::vector<std::uint8_t> untakenBytes() const;
  };

  // Starts serving one exchange: from now until stop() the port belongs to the reader's
  // thread, which reads every byte, feeds it to the machine and queues the result. It
  // stops reading by itself once the machine has finished, so that the bytes after the
  // end of the exchange stay in the port for the next one.
  void start(ComPort& port, ReceiveMachine machine) { resume(port, Run{std::move(machine), {}}); }
  // Goes on with a run that stop() ended: its untaken bytes first, then the line.
  void resume(ComPort& port, Run run);
  // Whether a run has been started and not stopped (it may have finished reading).
  bool open();
  // The next byte handled, in order; nothing when none is waiting.
  std::optional<ReceivedByte> take();
  // Readable while a byte handled waits to be taken (and a little longer): what the
  // exchange's thread blocks on between bytes.
  int wakeDescriptor() const { return wakeRead_; }
  // Ends the run and hands the port back.
  Run stop();

 private:
  enum class Phase { Parked, Running, Stopping, Quitting };
  void run();
  void serve();
  bool keepServing();
  void queue(ReceivedByte received);
  // Blocks until the line is readable or the run is to end; false: the run is to end.
  bool awaitLine(int lineDescriptor, int timeoutMs);
  void poke();

  // Shared with the exchange's thread, which never keeps the reader waiting: it runs at
  // the reader's priority while it holds the mutex.
  InheritingMutex mutex_;
  std::condition_variable_any changed_;
  // Changed under the mutex; read without it where the reader asks whether to go on.
  std::atomic<Phase> phase_ = Phase::Parked;
  ComPort* port_ = nullptr;
  Run run_;
  bool signalled_ = false;  // a byte is on the wake pipe
  // The wake pipe (reader → exchange) and the control pipe (exchange → reader).
  int wakeRead_ = -1, wakeWrite_ = -1;
  int controlRead_ = -1, controlWrite_ = -1;
  std::thread thread_;
};

}  // namespace kolvaro
