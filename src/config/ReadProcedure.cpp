// The read: finds the device in programming mode, checks that it alone answers at its
// address, reads its group table and, each after a question, the programs of both
// outputs and the input mode. Each value goes to the face as soon as it is in.
#include "config/DeviceSession.h"
#include "config/MemoryMap.h"
#include "config/ProcedureSupport.h"
#include "platform/Platform.h"

namespace kolvaro {
namespace {

using procedure::AttemptCounter;
constexpr int Full = procedure::progress::Full;

class ReadRun {
 public:
  ReadRun(BusRequests& bus, SessionFace& face) : bus_(bus), face_(face), progress_(face) {}

  ReadResult run() {
    progress_.setStep(procedure::progress::UnitStep);
    face_.tell(Message::StartReading);
    progress_.set(0);
    result_.reachedEnd = readThroughGroupTable() && readOnAfterQuestions();
    return result_;
  }

 private:
  std::uint16_t local() { return face_.values(false).local; }

  // The stages up to the group table; false when the run stopped (its message told,
  // the bar at 0).
  bool readThroughGroupTable() {
    if (!findDevice() || !noSecondDevice()) return false;
    show({ReadValue::Item::DeviceAddress, 0, device_});
    result_.found.physicalAddress = device_;
    return checkAddress() && noSecondAnswer() && readGroupTable();
  }

  // The programs and the input mode, each after its question; true when the run got to
  // its end (a question answered No ends it there).
  bool readOnAfterQuestions() {
    if (!face_.ask(Question::ReadPrograms)) return true;
    if (!readPrograms()) return false;
    if (!face_.ask(Question::ReadInputMode)) return true;
    return readInputMode();
  }

  void show(const ReadValue& value) { face_.valueRead(value); }

  bool stop(Message message) {
    face_.tell(message);
    result_.stoppedBy = message;
    progress_.set(0);
    return false;
  }

  // Finds the device in programming mode by the broadcast physical address read and
  // keeps the address it answers with.
  bool findDevice() {
    const Request request =
        Request::answered(IndividualAddressReadFrame(local()), {service::IndividualAddressResponse, std::nullopt});
    AttemptCounter counter(2);
    for (;;) {
      const Reply reply = bus_.request(request);
      switch (reply.outcome) {
        case Outcome::Error: return stop(Message::ReadFailed);
        case Outcome::Acknowledged:
        case Outcome::NoReply:
          progress_.advance(procedure::progress::PerUnansweredLookup);
          if (counter.allowsAnother()) continue;
          return stop(Message::NoDeviceInProgrammingMode);
        case Outcome::Answered: device_ = reply.answer()->source; return true;
      }
    }
  }

  // Listens (sends nothing) for a further answer of the kind given; true when none came.
  bool silenceFollows(AnswerWanted wanted) {
    AttemptCounter counter(1);
    for (;;) {
      if (bus_.request(Request::furtherAnswer(wanted)).outcome != Outcome::NoReply) return false;
      progress_.advance(procedure::progress::PerUnansweredLookup);
      if (!counter.allowsAnother()) return true;
    }
  }

  // Several devices in programming mode: a second answer to the search stops the run.
  bool noSecondDevice() {
    if (!silenceFollows({service::IndividualAddressResponse, std::nullopt}))
      return stop(Message::SeveralDevicesInProgrammingMode);
    progress_.set(Full);
    platform().sleep(procedure::StepPause);
    progress_.set(0);
    return true;
  }

  // The found device answers at its address: a memory read from it; silence is reported
  // but does not stop the run.
  bool checkAddress() {
    progress_.set(0);
    const Request request =
        Request::answered(MemoryReadFrame(control::RepeatedUrgent, local(), device_, memory::ProgramWY1),
                          {service::MemoryResponse, device_});
    AttemptCounter counter(2);
    for (;;) {
      switch (bus_.request(request).outcome) {
        case Outcome::Error: return stop(Message::AddressCheckFailed);
        case Outcome::Acknowledged:
        case Outcome::NoReply:
          progress_.advance(procedure::progress::PerUnansweredLookup);
          if (counter.allowsAnother()) continue;
          progress_.set(Full);
          result_.deviceSilent = true;
          face_.tell(Message::DeviceDoesNotAnswer);
          return true;
        case Outcome::Answered: return true;
      }
    }
  }

  // Address used twice: a second answer to that read stops the run.
  bool noSecondAnswer() {
    if (!silenceFollows({service::MemoryResponse, device_})) return stop(Message::AddressUsedTwice);
    progress_.set(Full);
    return true;
  }

  // The group table: the 16 table bytes from 0x002F down to 0x0020. Each byte goes to
  // the face as it comes; an entry is whole once its high byte (read second) is in.
  bool readGroupTable() {
    progress_.setStep(procedure::progress::PerTableByte);
    progress_.set(0);
    std::array<std::uint8_t, GroupTableBytes> table{};
    for (unsigned k = memory::GroupTableBytes; k >= 1; --k) {
      platform().sleep(procedure::StepPause);
      const unsigned index = k - 1;
      std::uint8_t value = 0;
      if (!readByte(device_, memory::GroupTableByte(index), 5, value, Message::GroupReadError,
                    Message::GroupReadUnsuccessful)) {
        return false;
      }
      progress_.step();
      table[index] = value;
      show({ReadValue::Item::TableByte, index, value});
      if (index % 2 == 0) result_.found.groups[index / 2] = {table[index], table[index + 1]};
    }
    return true;
  }

  // One memory read of a byte, repeated at once while the counter allows. An answer
  // about another memory address counts as no answer: it came late, after its request
  // had given up, and its byte belongs to the address before. A stop tells the message
  // that belongs to the last request's outcome; for the programs and the input mode
  // every request without an answer also moves the bar by 32.
  bool readByte(std::uint16_t destination, std::uint16_t memoryAddress, std::uint8_t attempts, std::uint8_t& value,
                Message errorMessage, Message unsuccessfulMessage, bool barCountsSilence = false) {
    const Request request =
        Request::answered(MemoryReadFrame(control::LowPriority, local(), destination, memoryAddress),
                          {service::MemoryResponse, destination});
    AttemptCounter counter(attempts);
    for (;;) {
      const Reply reply = bus_.request(request);
      Outcome outcome = reply.outcome;
      if (outcome == Outcome::Answered) {
        const Frame& answer = *reply.answer();
        if (answer.memoryAddress() == memoryAddress && answer.memoryValue()) {
          value = *answer.memoryValue();
          return true;
        }
        outcome = Outcome::NoReply;
      }
      if (outcome == Outcome::NoReply && barCountsSilence)
        progress_.advance(procedure::progress::PerUnansweredTransfer);
      if (counter.allowsAnother()) continue;
      return stop(outcome == Outcome::Error ? errorMessage : unsuccessfulMessage);
    }
  }

  // Where the programs and the input mode are read from: the address the entries give
  // as they stand (the device found, unless the user has changed it meanwhile).
  std::uint16_t destination() { return face_.values(false).device.value_or(device_); }

  // The programs of WY1 and WY2, after the entries have been checked.
  bool readPrograms() {
    face_.values(true);
    const std::uint16_t addresses[] = {memory::ProgramWY1, memory::ProgramWY2};
    for (unsigned output = 0; output < 2; ++output) {
      progress_.set(0);
      std::uint8_t program = 0;
      if (!readByte(destination(), addresses[output], 2, program, Message::ProgramReadError,
                    Message::ProgramReadUnsuccessful, true)) {
        return false;
      }
      progress_.set(Full);
      const int shown = program == 1 || program == 2 ? program : 0;
      result_.found.programs[output] = shown;
      show({ReadValue::Item::Program, output, static_cast<unsigned>(shown)});
    }
    result_.programsRead = true;
    return true;
  }

  // The input mode; 0 is monostable, anything else bistable.
  bool readInputMode() {
    progress_.set(0);
    std::uint8_t mode = 0;
    if (!readByte(destination(), memory::InputMode, 2, mode, Message::InputModeReadError,
                  Message::InputModeReadUnsuccessful, true)) {
      return false;
    }
    progress_.set(Full);
    result_.found.inputMode = mode == 0 ? 0 : 1;
    show({ReadValue::Item::InputMode, 0, static_cast<unsigned>(result_.found.inputMode)});
    result_.inputModeRead = true;
    return true;
  }

  BusRequests& bus_;
  SessionFace& face_;
  procedure::Progress progress_;
  ReadResult result_;
  std::uint16_t device_ = 0;  // the address the device in programming mode answered with
};

}  // namespace

ReadResult DeviceSession::read() { return ReadRun(bus_, face_).run(); }

}  // namespace kolvaro
