// The write: checks that the wanted physical address is free, makes sure that exactly
// one device is in programming mode, gives it the address and then, each after a
// question, writes its group address table, the programs of both outputs and the
// input mode.
#include "config/DeviceSession.h"
#include "config/MemoryMap.h"
#include "config/ProcedureSupport.h"
#include "platform/Platform.h"

namespace kolvaro {
namespace {

using procedure::AttemptCounter;
constexpr int Full = procedure::progress::Full;

class WriteRun {
 public:
  WriteRun(BusRequests& bus, SessionFace& face) : bus_(bus), face_(face), progress_(face) {}

  WriteResult run() {
    progress_.setStep(procedure::progress::UnitStep);
    if (stage(WriteStage::AddressCheck, checkAddress()) &&
        stage(WriteStage::ProgrammingMode, findDeviceInProgrammingMode()) &&
        stage(WriteStage::AddressAssignment, assignAddress()) &&
        askThen(Question::WriteGroupTable, WriteStage::GroupTable, [this] { return writeGroupTable(); }) &&
        askThen(Question::WritePrograms, WriteStage::Programs, [this] { return writePrograms(); })) {
      askThen(Question::WriteInputMode, WriteStage::InputMode, [this] { return writeInputMode(); });
    }
    return result_;
  }

 private:
  // The values are taken afresh for every request: a validation run started by the
  // user during a wait changes them, and the next request follows.
  std::uint16_t local() { return face_.values(false).local; }
  std::uint16_t wanted() { return face_.values(false).device.value_or(0xFFFF); }

  bool stage(WriteStage which, StageResult outcome) {
    result_.stages[static_cast<std::size_t>(which)] = outcome;
    return outcome == StageResult::Done;
  }
  template <typename Stage>
  bool askThen(Question question, WriteStage which, Stage&& run) {
    if (!face_.ask(question)) return stage(which, StageResult::Declined);
    return stage(which, run());
  }
  StageResult stop(Message message) {
    face_.tell(message);
    result_.stoppedBy = message;
    progress_.set(0);
    return StageResult::Failed;
  }
  StageResult fail() {
    progress_.set(0);
    return StageResult::Failed;
  }

  // Address taken? A memory read from the wanted address; an answer from it means it is taken.
  StageResult checkAddress() {
    const std::uint16_t address = wanted();
    const Request request =
        Request::answered(MemoryReadFrame(control::LowPriority, local(), address, memory::ProgramWY1),
                          {service::MemoryResponse, address});
    progress_.set(0);
    AttemptCounter counter(2);
    for (;;) {
      switch (bus_.request(request).outcome) {
        case Outcome::Error: return stop(Message::AddressCheckFailed);
        case Outcome::Acknowledged:
        case Outcome::NoReply:
          progress_.advance(procedure::progress::PerUnansweredTransfer);
          if (counter.allowsAnother()) continue;
          progress_.set(Full);
          face_.tell(Message::AddressFreeEnterProgrammingMode);
          return StageResult::Done;
        case Outcome::Answered:
          result_.addressTaken = true;
          if (!face_.ask(Question::ConfigureDespiteTakenAddress)) {
            progress_.set(0);
            return StageResult::Declined;
          }
          face_.tell(Message::EnterProgrammingMode);
          return StageResult::Done;
      }
    }
  }

  // Exactly one device in programming mode: the broadcast physical address read must be
  // answered, and only once.
  StageResult findDeviceInProgrammingMode() {
    progress_.set(0);
    const Request request =
        Request::answered(IndividualAddressReadFrame(local()), {service::IndividualAddressResponse, std::nullopt});
    AttemptCounter counter(2);
    for (;;) {
      switch (bus_.request(request).outcome) {
        case Outcome::Error: return stop(Message::ConfigurationFailed);
        case Outcome::Acknowledged:
        case Outcome::NoReply:
          progress_.advance(procedure::progress::PerUnansweredLookup);
          if (counter.allowsAnother()) continue;
          return stop(Message::NoDeviceInProgrammingMode);
        case Outcome::Answered: return noSecondDeviceAnswers();
      }
    }
  }

  // Listens (sends nothing) for a further physical address response.
  StageResult noSecondDeviceAnswers() {
    AttemptCounter counter(1);
    for (;;) {
      const Request listen = Request::furtherAnswer({service::IndividualAddressResponse, std::nullopt});
      if (bus_.request(listen).outcome != Outcome::NoReply) return stop(Message::SeveralDevicesInProgrammingMode);
      progress_.advance(procedure::progress::PerUnansweredLookup);
      if (counter.allowsAnother()) continue;
      progress_.set(Full);
      return StageResult::Done;
    }
  }

  // A write that waits for the interface's confirmation: an error is retried while the
  // counter allows and ends the run when it does not; a write never confirmed counts as
  // done after its last attempt.
  StageResult confirmedWrite(const Frame& frame) {
    AttemptCounter counter(2);
    for (;;) {
      switch (bus_.request(Request::confirmed(frame)).outcome) {
        case Outcome::Error:
          if (counter.allowsAnother()) continue;
          return fail();
        case Outcome::NoReply:
          progress_.advance(procedure::progress::PerUnansweredTransfer);
          if (counter.allowsAnother()) continue;
          return StageResult::Done;
        case Outcome::Acknowledged:
        case Outcome::Answered: return StageResult::Done;
      }
    }
  }

  // The address assignment: the broadcast physical address write to the device in programming mode.
  StageResult assignAddress() {
    const Frame frame = IndividualAddressWriteFrame(local(), wanted());
    progress_.set(0);
    const StageResult written = confirmedWrite(frame);
    if (written == StageResult::Done) progress_.set(Full);
    return written;
  }

  // The group table: the 16 table bytes from 0x002F down to 0x0020, each sent once
  // without waiting for a confirmation, 200 ms apart.
  StageResult writeGroupTable() {
    progress_.setStep(procedure::progress::PerTableByte);
    progress_.set(0);
    for (unsigned k = memory::GroupTableBytes; k >= 1; --k) {
      platform().sleep(procedure::StepPause);
      const unsigned index = k - 1;
      const SessionValues now = face_.values(false);
      const Frame frame = MemoryWriteFrame(control::System, now.local, now.device.value_or(0xFFFF),
                                           memory::GroupTableByte(index), now.table[index]);
      if (bus_.request(Request::sendOnly(frame)).outcome == Outcome::Error) return fail();
      progress_.step();
    }
    return StageResult::Done;
  }

  // The programs of WY1 (0x0000) and WY2 (0x0001): the entries are checked once, then
  // each program is taken as it stands when its request is built.
  StageResult writePrograms() {
    face_.values(true);
    for (unsigned output = 1; output <= 2; ++output) {
      progress_.set(0);
      const SessionValues now = face_.values(false);
      const Frame frame =
          MemoryWriteFrame(control::LowPriority, now.local, now.device.value_or(0xFFFF), memory::ProgramOf(output),
                           static_cast<std::uint8_t>(now.programs[output - 1]));
      if (confirmedWrite(frame) != StageResult::Done) return StageResult::Failed;
      progress_.set(Full);
    }
    face_.tell(Message::ProgramsWritten);
    return StageResult::Done;
  }

  // The input mode at 0x00FF, from the checked entries.
  StageResult writeInputMode() {
    face_.values(true);
    progress_.set(0);
    const SessionValues now = face_.values(false);
    const Frame frame = MemoryWriteFrame(control::LowPriority, now.local, now.device.value_or(0xFFFF),
                                         memory::InputMode, static_cast<std::uint8_t>(now.inputMode));
    if (confirmedWrite(frame) != StageResult::Done) return StageResult::Failed;
    progress_.set(Full);
    face_.tell(Message::InputModeWritten);
    return StageResult::Done;
  }

  BusRequests& bus_;
  SessionFace& face_;
  procedure::Progress progress_;
  WriteResult result_;
};

}  // namespace

bool WriteResult::failed() const {
  for (StageResult s : stages)
    if (s == StageResult::Failed) return true;
  return stage(WriteStage::AddressCheck) == StageResult::Declined;
}

WriteResult DeviceSession::write() { return WriteRun(bus_, face_).run(); }

}  // namespace kolvaro
