#include "config/WriteProcedure.h"

#include <string>

#include "config/MemoryMap.h"
#include "config/ProcedureSupport.h"
#include "platform/Translatable.h"
#include "telegram/AddressText.h"

namespace kolvaro {
namespace {

using procedure::AttemptCounter;
using procedure::Outcome;
namespace box = procedure::box;
using namespace procedure::message;

// Boxes of the write run.
constexpr char AddressTaken[] = KOLVARO_TRANSLATABLE("Kolvaro",
                                                     "Zadany adres fizyczny jest już zajęty przez terminal sieci EIB.\n"
                                                     "Czy przeprowadzić procedurę konfiguracji pomimo tego?");
constexpr char EnterProgrammingMode[] =
    KOLVARO_TRANSLATABLE("Kolvaro", "Wprowadź element magistralny w tryb programowania i naciśnij OK.");
constexpr char AddressFree[] = KOLVARO_TRANSLATABLE("Kolvaro",
                                                    "Weryfikacja zajętości adresu fizycznego zakończona.\n"
                                                    "Wprowadź element magistralny w tryb programowania i naciśnij OK.");
constexpr char ConfigurationFailed[] = KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas konfiguracji");
constexpr char AskGroupTable[] = KOLVARO_TRANSLATABLE(
    "Kolvaro", "Proces konfiguracji adresu fiz. urządzenia zakończony.\nCzy dokonać konfiguracji adresów grupowych?");
constexpr char AskPrograms[] =
    KOLVARO_TRANSLATABLE("Kolvaro",
                         "Proces konfiguracji adresów grupowych zakończony.\n"
                         "Czy zapisać numer programu, wykonywanego przez element magistralny?");
constexpr char ProgramsDone[] = KOLVARO_TRANSLATABLE("Kolvaro", "Proces konfiguracji programu zakończony");
constexpr char AskInputMode[] =
    KOLVARO_TRANSLATABLE("Kolvaro",
                         "Wybór programu, wykonywanego przez element magistralny zakończony.\n"
                         "Czy chcesz skonfigurować tryb działania wejść?");
constexpr char InputModeDone[] = KOLVARO_TRANSLATABLE("Kolvaro", "Proces konfiguracji trybu pracy wejść zakończony");

constexpr int Full = procedure::progress::Full;

class WriteRun {
 public:
  explicit WriteRun(MainView& view) : view_(view) {}

  // The stages in order; each returns false when the run ends there.
  void run() {
    if (!checkAddress()) return;
    if (!findDeviceInProgrammingMode()) return;
    if (!assignAddress()) return;
    if (!writeGroupTable()) return;
    if (!writePrograms()) return;
    writeInputMode();
  }

 private:
  // The members are read afresh for every telegram: a validation run started by the
  // user during a wait changes them, and the next telegram follows.
  std::uint16_t local() { return static_cast<std::uint16_t>(view_.members().Local_phAddr); }
  std::uint16_t terminal() { return static_cast<std::uint16_t>(view_.members().Terminal_phAddr); }
  // A combo box's item index is the code written to the device.
  std::uint8_t comboCode(Combo combo) { return static_cast<std::uint8_t>(view_.comboIndex(combo)); }

  void advance(int amount) { procedure::advanceProgress(view_, amount); }
  bool askYes(const char* text, unsigned flags) {
    return platform().messageBox(text, box::Informacja, flags) == id::Yes;
  }
  bool fail() {
    view_.setProgressPosition(0);
    return false;
  }

  // Address taken? A memory read from the wanted address; an answer means it is taken.
  bool checkAddress() {
    const std::string telegram = MemoryReadTelegram(control::LowPriority, local(), terminal(), memory::ProgramWY1);
    view_.setProgressPosition(0);
    AttemptCounter counter(2);
    for (;;) {
      const std::string result =
          view_.sendTelegram(telegram, wait_limit::OneTick, answer_code::MemoryResponse, ExchangeMode::Answer);
      switch (procedure::judge(result)) {
        case Outcome::Error: platform().messageBox(AddressCheckFailed, nullptr, box::Error); return fail();
        case Outcome::NoReply:
          advance(procedure::progress::PerUnansweredTransfer);
          if (counter.allowsAnother()) continue;
          view_.setProgressPosition(Full);
          platform().messageBox(AddressFree, box::Informacja, box::Notice);
          return true;
        case Outcome::Answer:
          if (platform().messageBox(AddressTaken, nullptr, box::ErrorQuestionNoByDefault) != id::Yes) return fail();
          platform().messageBox(EnterProgrammingMode, box::Informacja, box::Notice);
          return true;
      }
    }
  }

  // Exactly one device in programming mode: the broadcast physical address read must be
  // answered, and only once.
  bool findDeviceInProgrammingMode() {
    view_.setProgressPosition(0);
    const std::string telegram = PhysicalAddressReadTelegram(local());
    AttemptCounter counter(2);
    for (bool answered = false; !answered;) {
      switch (procedure::judge(view_.sendTelegram(telegram, wait_limit::OneTick, answer_code::PhysicalAddressResponse,
                                                  ExchangeMode::Answer))) {
        case Outcome::Error: platform().messageBox(ConfigurationFailed, nullptr, box::Error); return fail();
        case Outcome::NoReply:
          advance(procedure::progress::PerUnansweredLookup);
          if (counter.allowsAnother()) continue;
          platform().messageBox(NoDeviceInProgrammingMode, nullptr, box::Error);
          return fail();
        case Outcome::Answer: answered = true; break;
      }
    }
    return noSecondDeviceAnswers();
  }

  // Listens (sends nothing) for a further physical address response.
  bool noSecondDeviceAnswers() {
    AttemptCounter counter(1);
    for (;;) {
      if (procedure::judge(view_.sendTelegram("", wait_limit::OneTick, answer_code::PhysicalAddressResponse,
                                              ExchangeMode::FurtherAnswer)) != Outcome::NoReply) {
        platform().messageBox(SeveralDevicesInProgrammingMode, box::Informacja, box::Error);
        return fail();
      }
      advance(procedure::progress::PerUnansweredLookup);
      if (counter.allowsAnother()) continue;
      view_.setProgressPosition(Full);
      return true;
    }
  }

  // A write that waits for the chip's confirmation: "Error" is retried while the
  // counter allows and ends the run when it does not; a write never confirmed
  // counts as done after its last attempt.
  bool confirmedWrite(const std::string& telegram) {
    AttemptCounter counter(2);
    for (;;) {
      switch (procedure::judge(
          view_.sendTelegram(telegram, wait_limit::OneTick, answer_code::None, ExchangeMode::Confirmation))) {
        case Outcome::Error:
          if (counter.allowsAnother()) continue;
          return fail();
        case Outcome::NoReply:
          advance(procedure::progress::PerUnansweredTransfer);
          if (counter.allowsAnother()) continue;
          return true;
        case Outcome::Answer: return true;
      }
    }
  }

  // The address assignment: the broadcast physical address write to the device in programming mode.
  bool assignAddress() {
    const std::string telegram = PhysicalAddressWriteTelegram(local(), terminal());
    view_.setProgressPosition(0);
    if (!confirmedWrite(telegram)) return false;
    view_.setProgressPosition(Full);
    return askYes(AskGroupTable, box::QuestionNoByDefault);
  }

  // The group table: the 16 table bytes from 0x002F down to 0x0020, each sent once without
  // waiting for a confirmation, 200 ms apart.
  bool writeGroupTable() {
    view_.setProgressStep(procedure::progress::PerTableByte);
    view_.setProgressPosition(0);
    for (unsigned k = memory::GroupTableBytes; k >= 1; --k) {
      platform().sleep(procedure::StepPause);
      const unsigned index = k - 1;
      const std::string telegram =
          GroupTableWriteTelegram(local(), terminal(), index, view_.members().GrAddr_Bytes[index]);
      if (procedure::judge(view_.sendTelegram(telegram, wait_limit::ReturnAfterSending, answer_code::None,
                                              ExchangeMode::Confirmation)) == Outcome::Error)
        return fail();
      view_.stepProgress();
    }
    return askYes(AskPrograms, box::Question);
  }

  // The programs of WY1 (0x0000) and WY2 (0x0001).
  bool writePrograms() {
    view_.runValidation();
    const struct {
      unsigned number;
      Combo combo;
    } outputs[] = {{1, Combo::OUT1_Prog}, {2, Combo::OUT2_Prog}};
    for (const auto& output : outputs) {
      view_.setProgressPosition(0);
      const std::string telegram = ProgramWriteTelegram(local(), terminal(), output.number, comboCode(output.combo));
      if (!confirmedWrite(telegram)) return false;
      view_.setProgressPosition(Full);
    }
    platform().messageBox(ProgramsDone, box::Informacja, box::Notice);
    return askYes(AskInputMode, box::Question);
  }

  // The input mode at 0x00FF.
  void writeInputMode() {
    view_.runValidation();
    view_.setProgressPosition(0);
    const std::string telegram = InputModeWriteTelegram(local(), terminal(), comboCode(Combo::MONO_BI));
    if (!confirmedWrite(telegram)) return;
    view_.setProgressPosition(Full);
    platform().messageBox(InputModeDone, box::Informacja, box::Notice);
  }

  MainView& view_;
};

}  // namespace

void WriteClick(MainView& view) {
  procedure::BusRunGuard guard(view);
  if (!guard.acquired()) return;

  // The read procedure leaves "??.??.???" until it has read an address; a write
  // must not start from it. The validation runs either way.
  const bool addressUnknown = view.fieldText(Field::phAddr) == UnknownPhysicalText;
  view.runValidation();
  if (addressUnknown) return;

  view.setButtonEnabled(Button::Write, false);
  view.setProgressStep(procedure::progress::UnitStep);
  WriteRun(view).run();
  view.setButtonEnabled(Button::Write, true);
}

}  // namespace kolvaro
