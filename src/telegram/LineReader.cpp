#include "telegram/LineReader.h"

#ifndef _WIN32
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "link/ChipServices.h"
#include "link/Comport.h"
#include "platform/ThreadLatency.h"

namespace kolvaro {

namespace {

// After a read error the line is looked at again this often: a line that hung up stays
// readable for ever and would otherwise keep the reader spinning.
constexpr int ErrorRetryMs = 1;

#ifndef _WIN32
bool openPipe(int& readEnd, int& writeEnd) {
  int ends[2];
  if (::pipe(ends) != 0) return false;
  for (int fd : ends) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  }
  readEnd = ends[0];
  writeEnd = ends[1];
  return true;
}

void drain(int fd) {
  char sink[64];
  while (::read(fd, sink, sizeof sink) > 0) {
  }
}

void signal(int fd) {
  const char one = 1;
  [[maybe_unused]] const auto written = ::write(fd, &one, 1);  // a full pipe is signalled already
}

void closeEnd(int fd) {
  if (fd >= 0) ::close(fd);
}
#endif

}  // namespace

ReceivedByte FeedByte(ReceiveMachine& machine, ComPort* port, std::uint8_t byte) {
  ReceivedByte received;
  received.byte = byte;
  received.wasAssembling = machine.state() == ReceiveMachine::State::Assembling;
  received.event = machine.feed(byte);
  received.assembling = machine.state() == ReceiveMachine::State::Assembling;
  received.judgement = machine.lastJudgement();
  switch (received.event) {
    case ReceiveMachine::Event::SendAcknowledge:
      // A lost one costs the sender a repetition.
      if (port) received.acknowledgeWritten = !port->WriteAtOnce(chip::AckInformation);
      break;
    case ReceiveMachine::Event::AnswerToLog:
    case ReceiveMachine::Event::AnswerToReturn:
      received.answerText = machine.answerText();
      received.answer = machine.answer();
      break;
    case ReceiveMachine::Event::Nothing:
    case ReceiveMachine::Event::Confirmed: break;
  }
  return received;
}

LineReader::LineReader() {
#ifndef _WIN32
  if (!openPipe(wakeRead_, wakeWrite_) || !openPipe(controlRead_, controlWrite_)) return;
  thread_ = std::thread([this] { run(); });
#endif
}

LineReader::~LineReader() {
  if (thread_.joinable()) {
    {
      const std::lock_guard lock(mutex_);
      phase_ = Phase::Quitting;
    }
    changed_.notify_all();
    poke();
    thread_.join();
  }
#ifndef _WIN32
  for (int fd : {wakeRead_, wakeWrite_, controlRead_, controlWrite_}) closeEnd(fd);
#endif
}

void LineReader::poke() {
#ifndef _WIN32
  signal(controlWrite_);
#endif
}

void LineReader::resume(ComPort& port, Run run) {
  {
    const std::lock_guard lock(mutex_);
    port_ = &port;
    run_ = std::move(run);
    phase_ = Phase::Running;
    if (!run_.untaken.empty() && !signalled_) {
      signalled_ = true;
#ifndef _WIN32
      signal(wakeWrite_);
#endif
    }
  }
  changed_.notify_all();
}

bool LineReader::open() {
  const std::lock_guard lock(mutex_);
  return run_.machine.has_value();
}

std::vector<std::uint8_t> LineReader::Run::untakenBytes() const {
  std::vector<std::uint8_t> bytes;
  for (const ReceivedByte& received : untaken) bytes.push_back(received.byte);
  return bytes;
}

std::optional<ReceivedByte> LineReader::take() {
  const std::lock_guard lock(mutex_);
  if (run_.untaken.empty()) {
    // Emptied under the lock, so a byte queued after this signals the pipe afresh.
    signalled_ = false;
#ifndef _WIN32
    drain(wakeRead_);
#endif
    return std::nullopt;
  }
  ReceivedByte received = std::move(run_.untaken.front());
  run_.untaken.pop_front();
  return received;
}

LineReader::Run LineReader::stop() {
  std::unique_lock<InheritingMutex> lock(mutex_);
  if (phase_ == Phase::Running) {
    phase_ = Phase::Stopping;
    poke();
  }
  changed_.wait(lock, [this] { return phase_ == Phase::Parked || !thread_.joinable(); });
  Run ended = std::move(run_);
  run_ = Run{};
  port_ = nullptr;
  signalled_ = false;
#ifndef _WIN32
  drain(wakeRead_);
  drain(controlRead_);
#endif
  return ended;
}

void LineReader::run() {
  // The acknowledge is due within a bit time or two of the routing byte: this thread must
  // not wait for a busy processor's slice to end before it reads the byte.
  AskForPromptWakeUps();
  std::unique_lock<InheritingMutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return phase_ != Phase::Parked; });
    if (phase_ == Phase::Quitting) return;
    lock.unlock();
    serve();
    lock.lock();
    if (phase_ == Phase::Quitting) return;
    phase_ = Phase::Parked;
    changed_.notify_all();
  }
}

bool LineReader::keepServing() { return phase_ == Phase::Running; }

// The exchange's thread is woken only once a byte is outside any frame: a frame has
// ended (judged, and answered if it was the answer), or a confirmation or a stray byte
// came. The bytes in the middle of a frame, its acknowledge included, wait in the queue
// for it, so that the thread does not compete for a processor with the reader, or with
// the chip reading the acknowledge, while a frame is coming in.
void LineReader::queue(ReceivedByte received) {
  const std::lock_guard lock(mutex_);
  const bool complete = !received.assembling;
  run_.untaken.push_back(std::move(received));
  if (complete && !signalled_) {
    signalled_ = true;
#ifndef _WIN32
    signal(wakeWrite_);
#endif
  }
}

bool LineReader::awaitLine([[maybe_unused]] int lineDescriptor, [[maybe_unused]] int timeoutMs) {
#ifndef _WIN32
  pollfd watched[2] = {{controlRead_, POLLIN, 0}, {lineDescriptor, POLLIN, 0}};
  const nfds_t count = lineDescriptor >= 0 ? 2 : 1;
  while (::poll(watched, count, timeoutMs) < 0 && errno == EINTR) {
  }
  if (watched[0].revents != 0) drain(controlRead_);
#endif
  return keepServing();
}

// The port and the machine are the reader's alone while it serves: the exchange's
// thread touches neither until stop() has returned. Bytes read past the end of the
// exchange go back in front of the port for the next one.
void LineReader::serve() {
  ComPort& port = *port_;
  ReceiveMachine& machine = *run_.machine;
  std::uint8_t bytes[64];
  while (machine.state() != ReceiveMachine::State::Finished && keepServing()) {
    const std::int32_t value = port.ReadWaiting(bytes, sizeof bytes);
    if (value > 255) {
      const bool lineWell = value == ComPort::NothingWaiting;
      const int descriptor = lineWell ? port.ReadableDescriptor() : -1;
      if (!awaitLine(descriptor, descriptor >= 0 ? -1 : ErrorRetryMs)) return;
      continue;
    }
    const auto count = static_cast<std::size_t>(value);
    std::size_t fed = 0;
    for (; fed < count && machine.state() != ReceiveMachine::State::Finished; ++fed)
      queue(FeedByte(machine, &port, bytes[fed]));
    if (fed < count) port.Unread({bytes + fed, bytes + count});
  }
}

}  // namespace kolvaro
