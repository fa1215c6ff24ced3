// What the exchange tells an observer, end to end on the simulated bus: every text
// written, every frame the chip passes on with the reason it was or was not taken,
// confirmations, acknowledge informations and the result, as the log shows them.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/MemoryMap.h"
#include "support/ProcedureRig.h"
#include "telegram/TelegramLog.h"

namespace kolvaro::test {
namespace {

using namespace std::chrono_literals;

// A row in short: event | source | destination | service | data.
std::string brief(const LogRow& row) {
  return row.event + (row.kind == LogRow::Kind::ChipByte ? " " + row.raw : std::string()) + " | " + row.source + " | " +
         row.destination + " | " + row.service + " | " + row.data;
}

struct EventCase {
  const char* name;
  std::function<void(sim::Scene&)> setUp;
  const char* telegram;
  std::int32_t waitLimit;
  std::uint8_t answerCode;
  ExchangeMode mode;
  const char* result;
  // Rows that must appear in this order (others may come between them).
  std::vector<std::string> rows;
  friend void PrintTo(const EventCase& c, std::ostream* os) { *os << c.name; }
};

void programmingDevices(sim::Scene& scene, std::initializer_list<std::uint16_t> addresses) {
  for (std::uint16_t address : addresses) {
    sim::DeviceSetup setup;
    setup.address = address;
    setup.programmingMode = true;
    scene.addDevice(setup);
  }
}

const std::string AddressRead = "→ tekst do układu, próba 1 | 15.15.254 | 0/0/0 | odczyt adresu fizycznego | ";
const std::string Echo = "ramka: echo własnej ramki | 15.15.254 | 0/0/0 | odczyt adresu fizycznego | ";
const std::string Repetition = "ramka pominięta przez odbiór | 15.15.254 | 0/0/0 | odczyt adresu fizycznego | ";
const std::string Positive = "potwierdzenie pozytywne (8B) |  |  |  | ";
const std::string Ack = "→ potwierdzenie odbioru wysłane |  |  |  | ";
std::string answerFrom(const char* device, const char* judgement = "przyjęta") {
  return std::string("ramka: ") + judgement + " | " + device + " | 15.15.254 | odpowiedź adresu fizycznego | ";
}

const EventCase Cases[] = {
    {"OneDeviceAnswers",
     [](sim::Scene& s) { programmingDevices(s, {0x1105}); },
     "98FFFE0000E10100",
     1,
     5,
     ExchangeMode::Answer,
     "BC1105FFFE610140",
     {AddressRead, Echo, Positive, Ack, answerFrom("1.1.5"), "wynik: BC1105FFFE610140 |  |  |  | "}},
    {"BadChecksumCopyIsRefused",
     [](sim::Scene& s) {
       programmingDevices(s, {0x1105});
       s.setWrongChecksums(true);
     },
     "98FFFE0000E10100",
     1,
     5,
     ExchangeMode::Answer,
     "BC1105FFFE610140",
     // Nobody acknowledges the bad copy, so it is repeated (control 9C), and the
     // receive machine starts no frame on a repetition.
     {AddressRead, Echo, Ack, answerFrom("1.1.5", "błędna suma kontrolna"),
      "ramka pominięta przez odbiór | 1.1.5 | 15.15.254 | odpowiedź adresu fizycznego | ", Ack, answerFrom("1.1.5"),
      "wynik: BC1105FFFE610140 |  |  |  | "}},
    {"CopyForAnotherStationIsRefused",
     [](sim::Scene& s) {
       programmingDevices(s, {0x1105});
       s.setFramesForOtherStations(true);
     },
     "98FFFE0000E10100",
     1,
     5,
     ExchangeMode::Answer,
     "BC1105FFFE610140",
     {AddressRead, Echo, "ramka: inny adresat | 1.1.5 | ", answerFrom("1.1.5")}},
    {"AnswerOfAnotherServiceIsRefused",
     [](sim::Scene& s) { programmingDevices(s, {0x1105}); },
     "98FFFE0000E10100",
     1,
     9,
     ExchangeMode::Answer,
     "NoReply",
     {AddressRead, Echo, Ack, answerFrom("1.1.5", "inna usługa"), "wynik: NoReply |  |  |  | "}},
    {"SecondDeviceHeardWhileListening",
     [](sim::Scene& s) {
       programmingDevices(s, {0x1105, 0x1106});
     },
     "98FFFE0000E10100",
     2,
     5,
     ExchangeMode::Answer,
     "BC1105FFFE610140",
     {AddressRead, answerFrom("1.1.5"), "wynik: BC1105FFFE610140 |  |  |  | "}},
    // Nobody acknowledges: three repetitions, then the negative confirmation.
    {"EmptyBus",
     [](sim::Scene&) {},
     "98FFFE0000E10100",
     1,
     5,
     ExchangeMode::Answer,
     "NoReply",
     {AddressRead, Echo, Repetition, Repetition, Repetition, "potwierdzenie negatywne (0B) |  |  |  | ",
      "wynik: NoReply |  |  |  | "}},
    {"GroupWriteConfirmed",
     [](sim::Scene& s) {
       sim::DeviceSetup listener;
       listener.memory[0x20] = 0x00;  // WE1's first entry: 0/0/2
       listener.memory[0x21] = 0x02;
       s.addDevice(listener);
     },
     "BCFFFE0002E10081",
     1,
     255,
     ExchangeMode::Confirmation,
     "ACK",
     {"→ tekst do układu, próba 1 | 15.15.254 | 0/0/2 | zapis wartości grupy: zał. | ",
      "ramka: echo własnej ramki | 15.15.254 | 0/0/2 | zapis wartości grupy: zał. | ", Positive,
      "wynik: ACK |  |  |  | "}},
    {"MemoryWriteNeverConfirmed",
     [](sim::Scene& s) {
       programmingDevices(s, {0x1105});
       s.setChipNeverConfirms(true);
     },
     "B0FFFE11056442810020FF",
     1,
     255,
     ExchangeMode::Confirmation,
     "NoReply",
     {"→ tekst do układu, próba 1 | 15.15.254 | 1.1.5 | zapis pamięci | adres 0020, 1 B: FF",
      "ramka: echo własnej ramki | 15.15.254 | 1.1.5 | zapis pamięci | adres 0020, 1 B: FF",
      "wynik: NoReply |  |  |  | "}},
};

class ExchangeEvents : public testing::TestWithParam<EventCase> {};

TEST_P(ExchangeEvents, RowsInOrder) {
  const EventCase& c = GetParam();
  sim::Scene scene;
  c.setUp(scene);
  ProcedureRig rig(scene);
  TelegramLog log;
  rig.exchange.setObserver(&log);

  EXPECT_EQ(rig.exchange.SendTelegram(c.telegram, c.waitLimit, c.answerCode, c.mode), c.result);

  std::vector<std::string> rows;
  for (const LogRow& row : log.rows()) rows.push_back((row.direction == "→" ? "→ " : "") + brief(row));
  std::size_t next = 0;
  for (const std::string& row : rows) {
    if (next < c.rows.size() && row.rfind(c.rows[next], 0) == 0) ++next;
  }
  std::string all;
  for (const std::string& row : rows) all += "  " + row + "\n";
  EXPECT_EQ(next, c.rows.size()) << "missing from the log: " << (next < c.rows.size() ? c.rows[next] : "")
                                 << "\nthe log:\n"
                                 << all;
  ASSERT_FALSE(log.rows().empty());
  EXPECT_EQ(log.rows().back().kind, LogRow::Kind::Result);
  // The hidden memo keeps its own content: the chip text written, then any answer.
  ASSERT_FALSE(rig.memo.empty());
  EXPECT_EQ(rig.memo.front().substr(0, 4), std::string("80") + std::string(c.telegram).substr(0, 2));
  const std::string result = c.result;
  if (result != "NoReply" && result != "ACK") {
    EXPECT_EQ(rig.memo.back(), result);
  }
}

INSTANTIATE_TEST_SUITE_P(SimulatedBus, ExchangeEvents, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<EventCase>& param) { return param.param.name; });

TEST(ExchangeEventsOnPort, EveryFailedAttemptAndTheError) {
  sim::Scene scene;
  ProcedureRig rig(scene, /*portWorks=*/false);
  TelegramLog log;
  rig.exchange.setObserver(&log);

  EXPECT_EQ(rig.exchange.SendTelegram("BCFFFE0002E10081", 1, 255, ExchangeMode::Confirmation), "Error");

  std::vector<int> attempts;
  for (const LogRow& row : log.rows()) {
    if (row.kind == LogRow::Kind::Written) {
      EXPECT_NE(row.event.find(": nie zapisano"), std::string::npos) << row.event;
      attempts.push_back(std::stoi(row.event.substr(row.event.find("próba ") + 7)));
    }
  }
  EXPECT_EQ(attempts, (std::vector<int>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(log.rows().back().event, "wynik: Error");
  EXPECT_EQ(rig.memo.size(), 6u) << "the memo still holds one line per attempt";
}

}  // namespace
}  // namespace kolvaro::test
