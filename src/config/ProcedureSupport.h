#pragma once
// What the three bus procedures (write, read, group switching) share: judging an
// exchange result, the attempt counter, the message box flags and texts they show,
// and the guard that keeps a second bus run from starting inside the waits of the first.
#include <cstdint>
#include <string>

#include "config/MainView.h"
#include "platform/Platform.h"
#include "platform/Translatable.h"

namespace kolvaro::procedure {

// How a procedure judges the result of SendTelegram: by exact text, and anything
// other than "Error" and "NoReply" (an answer text, or "ACK" in mode 2) is an answer.
enum class Outcome { Error, NoReply, Answer };
Outcome judge(const std::string& result);

// The one-byte attempt counter of an exchange loop. It is tested before it is
// decreased, so a loop started at N makes at most N + 1 calls, and every kind of
// outcome draws on the same counter.
class AttemptCounter {
 public:
  explicit AttemptCounter(std::uint8_t start) : left_(start) {}
  // True when another call is allowed (and uses that attempt up).
  bool allowsAnother() {
    if (left_ == 0) return false;
    --left_;
    return true;
  }

 private:
  std::uint8_t left_;
};

// How far GrAddrConfProgress moves.
namespace progress {
inline constexpr int Full = ProgressMaximum;
// An unanswered call that looks for devices: the broadcast address read, a listen for
// a second answer, the read's check of the device's address.
inline constexpr int PerUnansweredLookup = 19;
// An unanswered memory access or confirmed write: three of them fill the bar.
inline constexpr int PerUnansweredTransfer = 32;
// One byte of the group table: sixteen fill the bar.
inline constexpr int PerTableByte = 6;
// The step the bar has outside the table stages.
inline constexpr int UnitStep = 1;
}  // namespace progress

// The pause, in milliseconds, before each group table telegram and after the read's
// search for the device.
inline constexpr unsigned StepPause = 200;

// Adds to the bar's position, holding it at the maximum as the bar itself would: after
// an unanswered address check the read's listening calls add to a full bar.
void advanceProgress(MainView& view, int amount);

// Every box of the bus procedures is task-modal and topmost.
namespace box {
inline constexpr unsigned Base = mb::TaskModal | mb::Topmost;
inline constexpr unsigned Error = Base | mb::IconError;                                                  // 0x42010
inline constexpr unsigned Notice = Base | mb::IconInformation;                                           // 0x42040
inline constexpr unsigned Question = Base | mb::YesNo | mb::IconQuestion;                                // 0x42024
inline constexpr unsigned QuestionNoByDefault = Question | mb::DefButton2;                               // 0x42124
inline constexpr unsigned ErrorQuestionNoByDefault = Base | mb::YesNo | mb::IconError | mb::DefButton2;  // 0x42114
inline constexpr char Informacja[] = KOLVARO_TRANSLATABLE("Kolvaro", "Informacja");
}  // namespace box

// Boxes that both the write and the read procedure show.
namespace message {
inline constexpr char AddressCheckFailed[] =
    KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas weryfikacji dostępności adresu fizycznego");
inline constexpr char NoDeviceInProgrammingMode[] =
    KOLVARO_TRANSLATABLE("Kolvaro", "Żaden terminal nie znajduje się w trybie programowania");
inline constexpr char SeveralDevicesInProgrammingMode[] = KOLVARO_TRANSLATABLE(
    "Kolvaro", "W sieci istnieje kilka terminali znajdujących się obecnie w trybie programowania.");
}  // namespace message

// The two characters of a text from a 1-based position, as far as the text reaches.
std::string charactersAt(const std::string& text, std::size_t firstFromOne, std::size_t count);

// The program's one re-entry guard, held for the length of one bus run on a view (a
// procedure, or what a face does with the port: start-up, a port change). The exchange
// processes window events while it waits, so a click can arrive inside a run; a second
// exchange started there would share the port and the wait counter and take the bytes
// the first one waits for, and a port change would delete the port under it. A run
// that cannot acquire the guard does nothing; a face asks isHeld to refuse it visibly.
class BusRunGuard {
 public:
  explicit BusRunGuard(const MainView& view);
  ~BusRunGuard();
  BusRunGuard(const BusRunGuard&) = delete;
  BusRunGuard& operator=(const BusRunGuard&) = delete;
  bool acquired() const { return acquired_; }
  // Whether a run on this view holds the guard now.
  static bool isHeld(const MainView& view);

 private:
  const MainView& view_;
  bool acquired_;
};

}  // namespace kolvaro::procedure
