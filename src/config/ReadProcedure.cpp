#include "config/ReadProcedure.h"

#include <optional>
#include <string>

#include "config/MemoryMap.h"
#include "config/ProcedureSupport.h"
#include "link/Hex.h"
#include "platform/Translatable.h"
#include "telegram/AddressText.h"

namespace kolvaro {
namespace {

using procedure::AttemptCounter;
using procedure::Outcome;
namespace box = procedure::box;
using namespace procedure::message;

constexpr char StartReading[] = KOLVARO_TRANSLATABLE(
    "Kolvaro", "Wprowadź element magistralny w tryb programowania i naciśnij OK.\nZostanie rozpoczęty odczyt.");
constexpr char ReadFailed[] = KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas odczytu");
constexpr char DeviceDoesNotAnswer[] = KOLVARO_TRANSLATABLE("Kolvaro", "Element magistralny nie odpowiada");
constexpr char AddressUsedTwice[] =
    KOLVARO_TRANSLATABLE("Kolvaro",
                         "Sieć jest nieprawidłowo skonfigurowana.\n"
                         "Istnieje więcej niż jedno urządzenie posiadające ten sam adres fiz. jak zadany");
constexpr char GroupReadError[] = KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas odczytu adresu grupowego");
constexpr char GroupReadUnsuccessful[] =
    KOLVARO_TRANSLATABLE("Kolvaro", "Odczyt adresów grupowych zakończył się niepomyślnie");
constexpr char AskPrograms[] = KOLVARO_TRANSLATABLE(
    "Kolvaro",
    "Odczyt adresów grupowych zakończony.\nCzy odczytać wybrany program, wykonywany przez element magistralny.");
constexpr char ProgramReadError[] = KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas odczytu numeru programu");
constexpr char ProgramReadUnsuccessful[] =
    KOLVARO_TRANSLATABLE("Kolvaro", "Odczyt numeru programu zakończył się niepomyślnie");
constexpr char AskInputMode[] =
    KOLVARO_TRANSLATABLE("Kolvaro", "Odczyt wybranych programów zakończony.\nCzy odczytać aktualny tryb pracy wejść.");
constexpr char InputModeReadError[] =
    KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas odczytu trybu pracy wejść");
constexpr char InputModeReadUnsuccessful[] =
    KOLVARO_TRANSLATABLE("Kolvaro", "Odczyt trybu pracy wejść zakończył się niepomyślnie");

constexpr int Full = procedure::progress::Full;

// The byte a memory response carries for the address asked, or nothing when the
// response is about another address (characters 17-20) or too short to carry a byte.
// An answer that arrives late, after its call had already given up, is taken by the
// next call; its byte belongs to the address before and must not be stored.
std::optional<std::uint8_t> valueFor(std::uint16_t memoryAddress, const std::string& answer) {
  if (procedure::charactersAt(answer, 17, 4) != AddressHex(memoryAddress)) return std::nullopt;
  return MemoryAnswerValue(answer);
}

class ReadRun {
 public:
  explicit ReadRun(MainView& view) : view_(view) {}

  // The stages in order; each returns false when the run has stopped there (its box shown,
  // the bar at 0). True when the run reached the end step: after a full run or a
  // declined question.
  bool run() {
    if (!findDevice()) return false;
    if (!noSecondDevice()) return false;
    showPhysicalAddress();
    if (!checkAddress()) return false;
    if (!noSecondAnswer()) return false;
    if (!readGroupTable()) return false;
    if (platform().messageBox(AskPrograms, box::Informacja, box::Question) != id::Yes) return true;
    if (!readPrograms()) return false;
    if (platform().messageBox(AskInputMode, box::Informacja, box::Question) != id::Yes) return true;
    return readInputMode();
  }

 private:
  std::uint16_t local() { return static_cast<std::uint16_t>(view_.members().Local_phAddr); }
  std::uint16_t terminal() { return static_cast<std::uint16_t>(view_.members().Terminal_phAddr); }
  void advance(int amount) { procedure::advanceProgress(view_, amount); }

  bool stop(const char* text, const char* caption) {
    platform().messageBox(text, caption, box::Error);
    view_.setProgressPosition(0);
    return false;
  }

  // Finds the device in programming mode by the broadcast physical address read and
  // keeps the address it answers with.
  bool findDevice() {
    const std::string telegram = PhysicalAddressReadTelegram(local());
    AttemptCounter counter(2);
    for (;;) {
      const std::string result =
          view_.sendTelegram(telegram, wait_limit::OneTick, answer_code::PhysicalAddressResponse, ExchangeMode::Answer);
      switch (procedure::judge(result)) {
        case Outcome::Error: return stop(ReadFailed, nullptr);
        case Outcome::NoReply:
          advance(procedure::progress::PerUnansweredLookup);
          if (counter.allowsAnother()) continue;
          return stop(NoDeviceInProgrammingMode, nullptr);
        case Outcome::Answer:
          deviceHigh_ = HexPairToByte(procedure::charactersAt(result, 3, 2));
          deviceLow_ = HexPairToByte(procedure::charactersAt(result, 5, 2));
          return true;
      }
    }
  }

  // Listens (sends nothing) for a further answer of the kind given; true when none came.
  bool silenceFollows(std::uint8_t answerCode) {
    AttemptCounter counter(1);
    for (;;) {
      if (procedure::judge(view_.sendTelegram("", wait_limit::OneTick, answerCode, ExchangeMode::FurtherAnswer)) !=
          Outcome::NoReply)
        return false;
      advance(procedure::progress::PerUnansweredLookup);
      if (!counter.allowsAnother()) return true;
    }
  }

  // Several devices in programming mode: a second answer to the search stops the run.
  bool noSecondDevice() {
    if (!silenceFollows(answer_code::PhysicalAddressResponse))
      return stop(SeveralDevicesInProgrammingMode, box::Informacja);
    view_.setProgressPosition(Full);
    platform().sleep(procedure::StepPause);
    view_.setProgressPosition(0);
    return true;
  }

  // The address found goes into phAddr_MaskEdit.
  void showPhysicalAddress() { view_.setFieldText(Field::phAddr, PhysicalBytesToText(deviceHigh_, deviceLow_)); }

  // The found device answers at its address: a memory read from it; silence is reported
  // but does not stop the run.
  bool checkAddress() {
    view_.setProgressPosition(0);
    const std::string telegram = MemoryReadTelegram(control::RepeatedUrgent, local(), device(), memory::ProgramWY1);
    AttemptCounter counter(2);
    for (;;) {
      switch (procedure::judge(
          view_.sendTelegram(telegram, wait_limit::OneTick, answer_code::MemoryResponse, ExchangeMode::Answer))) {
        case Outcome::Error: return stop(AddressCheckFailed, nullptr);
        case Outcome::NoReply:
          advance(procedure::progress::PerUnansweredLookup);
          if (counter.allowsAnother()) continue;
          view_.setProgressPosition(Full);
          platform().messageBox(DeviceDoesNotAnswer, box::Informacja, box::Notice);
          return true;
        case Outcome::Answer: return true;
      }
    }
  }

  // Address used twice: a second answer to that read stops the run.
  bool noSecondAnswer() {
    if (!silenceFollows(answer_code::MemoryResponse)) return stop(AddressUsedTwice, box::Informacja);
    view_.setProgressPosition(Full);
    return true;
  }

  // The group table: the 16 table bytes from 0x002F down to 0x0020, straight into the
  // members; a field is written once both bytes of its entry are in.
  bool readGroupTable() {
    view_.setProgressStep(procedure::progress::PerTableByte);
    view_.setProgressPosition(0);
    auto& table = view_.members().GrAddr_Bytes;
    for (unsigned k = memory::GroupTableBytes; k >= 1; --k) {
      platform().sleep(procedure::StepPause);
      const unsigned index = k - 1;
      std::uint8_t value = 0;
      if (!readByte(device(), memory::GroupTableByte(index), 5, value, GroupReadError, GroupReadUnsuccessful)) {
        return false;
      }
      view_.stepProgress();
      table[index] = value;
      if (k % 2 == 1) {
        view_.setFieldText(GroupFields[index / 2], GroupBytesToText(table[index], table[index + 1]));
      }
    }
    return true;
  }

  // One memory read of a byte, repeated at once while the counter allows. An answer
  // about another address counts as no answer. A stop shows the box that belongs to
  // the last call's result; for the programs and the input mode every call without an answer also moves
  // the bar by 32.
  bool readByte(std::uint16_t destination, std::uint16_t memoryAddress, std::uint8_t attempts, std::uint8_t& value,
                const char* errorText, const char* unsuccessfulText, bool barCountsSilence = false) {
    const std::string telegram = MemoryReadTelegram(control::LowPriority, local(), destination, memoryAddress);
    AttemptCounter counter(attempts);
    for (;;) {
      const std::string result =
          view_.sendTelegram(telegram, wait_limit::OneTick, answer_code::MemoryResponse, ExchangeMode::Answer);
      Outcome outcome = procedure::judge(result);
      if (outcome == Outcome::Answer) {
        const std::optional<std::uint8_t> read = valueFor(memoryAddress, result);
        if (read) {
          value = *read;
          return true;
        }
        outcome = Outcome::NoReply;
      }
      if (outcome == Outcome::NoReply && barCountsSilence) advance(procedure::progress::PerUnansweredTransfer);
      if (counter.allowsAnother()) continue;
      return outcome == Outcome::Error ? stop(errorText, nullptr) : stop(unsuccessfulText, box::Informacja);
    }
  }

  // The programs of WY1 and WY2, read from the validated address.
  bool readPrograms() {
    view_.runValidation();
    const struct {
      std::uint16_t memoryAddress;
      Combo combo;
    } outputs[] = {{memory::ProgramWY1, Combo::OUT1_Prog}, {memory::ProgramWY2, Combo::OUT2_Prog}};
    for (const auto& output : outputs) {
      view_.setProgressPosition(0);
      std::uint8_t program = 0;
      if (!readByte(terminal(), output.memoryAddress, 2, program, ProgramReadError, ProgramReadUnsuccessful, true)) {
        return false;
      }
      view_.setProgressPosition(Full);
      view_.setComboIndex(output.combo, program == 1 || program == 2 ? program : 0);
    }
    view_.setComboColour(Combo::OUT1_Prog, colour::Gray);
    view_.setComboColour(Combo::OUT2_Prog, colour::Gray);
    return true;
  }

  // The input mode; 0 is monostable, anything else bistable.
  bool readInputMode() {
    view_.setProgressPosition(0);
    std::uint8_t mode = 0;
    if (!readByte(terminal(), memory::InputMode, 2, mode, InputModeReadError, InputModeReadUnsuccessful, true)) {
      return false;
    }
    view_.setProgressPosition(Full);
    view_.setComboIndex(Combo::MONO_BI, mode == 0 ? 0 : 1);
    view_.setComboColour(Combo::MONO_BI, colour::Gray);
    return true;
  }

  MainView& view_;
  // The address of the device that answered the physical address read.
  std::uint16_t device() const { return static_cast<std::uint16_t>(deviceHigh_ << 8 | deviceLow_); }
  std::uint8_t deviceHigh_ = 0;
  std::uint8_t deviceLow_ = 0;
};

}  // namespace

void ReadClick(MainView& view) {
  procedure::BusRunGuard guard(view);
  if (!guard.acquired()) return;

  view.setFieldText(Field::phAddr, UnknownPhysicalText);
  for (int entry = 0; entry < TableEntryCount; ++entry) view.setFieldText(GroupFields[entry], EmptyGroupText);
  // Read is disabled only now: the texts above are incomplete, so they start no
  // validation, and while Read is disabled the field changes of the run start none.
  view.setButtonEnabled(Button::Read, false);
  view.setProgressStep(procedure::progress::UnitStep);
  platform().messageBox(StartReading, box::Informacja, box::Notice);
  view.setProgressPosition(0);
  const bool reachedEnd = ReadRun(view).run();
  view.setButtonEnabled(Button::Read, true);
  if (!reachedEnd) return;
  // The end step: the address and the table are shown as read from the device.
  view.setFieldColour(Field::phAddr, colour::Gray);
  for (int entry = 0; entry < TableEntryCount; ++entry) view.setFieldColour(GroupFields[entry], colour::Gray);
}

}  // namespace kolvaro
