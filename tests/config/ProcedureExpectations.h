#pragma once
// The boxes the bus procedure tests expect, written out as a user sees them, and small
// helpers to script the answers and set up the window and the simulated device.
#include <algorithm>
#include <initializer_list>
#include <ostream>
#include <string>
#include <vector>

#include "support/ProcedureRig.h"

namespace kolvaro::test {

// Readable failure messages.
inline void PrintTo(const ShownBox& box, std::ostream* os) {
  *os << "{\"" << box.text << "\", " << (box.caption ? "\"" + *box.caption + "\"" : std::string("no caption")) << ", 0x"
      << std::hex << box.flags << std::dec << "}";
}
inline void PrintTo(const SentTelegram& s, std::ostream* os) {
  *os << "{\"" << s.telegram << "\", " << s.waitLimit << ", " << int(s.answerCode) << ", " << int(s.mode) << "}";
}

}  // namespace kolvaro::test

namespace kolvaro::test::expect {

inline constexpr unsigned ErrorFlags = 0x42010;
inline constexpr unsigned NoticeFlags = 0x42040;
inline constexpr unsigned QuestionFlags = 0x42024;

inline ShownBox error(const char* text, bool informacja = false) {
  return {text, informacja ? std::optional<std::string>("Informacja") : std::nullopt, ErrorFlags};
}
inline ShownBox notice(const char* text) { return {text, "Informacja", NoticeFlags}; }
inline ShownBox question(const char* text, unsigned flags = QuestionFlags) { return {text, "Informacja", flags}; }

// The exchange's own box when the port will not take a text.
inline const ShownBox Transmission{"Wystąpił problem podczas transmisji danych", std::nullopt,
                                   mb::IconError | mb::TaskModal};

// The answers for the coming boxes, in order (OK boxes take one too).
inline void script(ProcedureRig& rig, std::initializer_list<int> answers) {
  for (int a : answers) rig.platform.answer(a);
}

// The texts with every run of equal neighbours taken once: a call repeated at once (a
// timer tick that fell due during a pause ends the first wait at once) counts once.
inline std::vector<std::string> distinct(const std::vector<std::string>& texts) {
  std::vector<std::string> out;
  for (const auto& t : texts)
    if (out.empty() || out.back() != t) out.push_back(t);
  return out;
}

// The telegram texts handed to the exchange, in order.
inline std::vector<std::string> telegramsSent(const ProcedureRig& rig) {
  std::vector<std::string> texts;
  for (const auto& s : rig.sent) texts.push_back(s.telegram);
  return texts;
}

// Breaks the line before the first exchange of the telegram text given.
inline void breakLineAt(ProcedureRig& rig, sim::Scene& scene, std::string telegram) {
  rig.beforeCall = [&scene, telegram](std::size_t, const std::string& next) {
    if (next == telegram) scene.dropLines();
  };
}

// Exchanges made so far whose telegram text is the one given.
inline std::size_t callsWith(const ProcedureRig& rig, const std::string& telegram) {
  std::size_t n = 0;
  for (const auto& s : rig.sent) n += s.telegram == telegram ? 1 : 0;
  return n;
}

inline bool everyPositionIn(const std::vector<int>& history, std::initializer_list<int> allowed) {
  for (int p : history) {
    bool found = false;
    for (int a : allowed) found = found || a == p;
    if (!found) return false;
  }
  return true;
}

// The write's boxes from a free address to the last stage, shared by the write's tests.
namespace write {
inline const ShownBox AddressFree = notice(
    "Weryfikacja zajętości adresu fizycznego zakończona.\n"
    "Wprowadź element magistralny w tryb programowania i naciśnij OK.");
inline const ShownBox AskGroupTable = question(
    "Proces konfiguracji adresu fiz. urządzenia zakończony.\nCzy dokonać konfiguracji adresów grupowych?", 0x42124);
inline const ShownBox AskPrograms = question(
    "Proces konfiguracji adresów grupowych zakończony.\n"
    "Czy zapisać numer programu, wykonywanego przez element magistralny?");
inline const ShownBox ProgramsDone = notice("Proces konfiguracji programu zakończony");
inline const ShownBox AskInputMode = question(
    "Wybór programu, wykonywanego przez element magistralny zakończony.\n"
    "Czy chcesz skonfigurować tryb działania wejść?");
inline const ShownBox InputModeDone = notice("Proces konfiguracji trybu pracy wejść zakończony");
}  // namespace write

}  // namespace kolvaro::test::expect
