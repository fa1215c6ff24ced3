// The frame decoder against frames written out by hand, checksums included, as they
// cross the bus between the program (15.15.254) and a device (1.1.5).
#include <gtest/gtest.h>

#include <cctype>
#include <sstream>
#include <string>
#include <vector>

#include "telegram/FrameDecoder.h"

namespace kolvaro {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& hex) {
  std::vector<std::uint8_t> bytes;
  std::istringstream in(hex);
  unsigned value = 0;
  while (in >> std::hex >> value) bytes.push_back(static_cast<std::uint8_t>(value));
  return bytes;
}

struct FrameCase {
  const char* name;
  const char* hex;
  const char* source;
  const char* destination;
  FrameService service;
  const char* serviceText;
  const char* dataText;
  FramePriority priority;
  bool repeated;
  unsigned hopCount;
  ChecksumVerdict checksum;
  LengthVerdict length;
};

const FrameCase Frames[] = {
    {"group table write", "B0 FF FE 11 05 64 42 81 00 20 FF 22", "15.15.254", "1.1.5", FrameService::MemoryWrite,
     "zapis pamięci", "adres 0020, 1 B: FF", FramePriority::System, false, 6, ChecksumVerdict::Good,
     LengthVerdict::Exact},
    {"memory read", "BC FF FE 11 05 63 42 01 00 00 76", "15.15.254", "1.1.5", FrameService::MemoryRead,
     "odczyt pamięci", "adres 0000, 1 B", FramePriority::Low, false, 6, ChecksumVerdict::Good, LengthVerdict::Exact},
    {"memory response", "BC 11 05 FF FE 64 42 41 00 00 02 33", "1.1.5", "15.15.254", FrameService::MemoryResponse,
     "odpowiedź pamięci", "adres 0000, 1 B: 02", FramePriority::Low, false, 6, ChecksumVerdict::Good,
     LengthVerdict::Exact},
    {"address read, repeated, urgent", "98 FF FE 00 00 E1 01 00 86", "15.15.254", "0/0/0",
     FrameService::IndividualAddressRead, "odczyt adresu fizycznego", "", FramePriority::Urgent, true, 6,
     ChecksumVerdict::Good, LengthVerdict::Exact},
    {"address response", "BC 11 05 FF FE 61 01 40 76", "1.1.5", "15.15.254", FrameService::IndividualAddressResponse,
     "odpowiedź adresu fizycznego", "", FramePriority::Low, false, 6, ChecksumVerdict::Good, LengthVerdict::Exact},
    {"address write", "BC FF FE 00 00 E3 00 C0 11 05 75", "15.15.254", "0/0/0", FrameService::IndividualAddressWrite,
     "zapis adresu fizycznego", "nowy adres 1.1.5", FramePriority::Low, false, 6, ChecksumVerdict::Good,
     LengthVerdict::Exact},
    {"group on", "BC FF FE 00 02 E1 00 81 20", "15.15.254", "0/0/2", FrameService::GroupValueWrite,
     "zapis wartości grupy: zał.", "", FramePriority::Low, false, 6, ChecksumVerdict::Good, LengthVerdict::Exact},
    {"group off, repeated", "9C FF FE 00 02 E1 00 80 01", "15.15.254", "0/0/2", FrameService::GroupValueWrite,
     "zapis wartości grupy: wył.", "", FramePriority::Low, true, 6, ChecksumVerdict::Good, LengthVerdict::Exact},
    {"group value with a data byte", "BC 11 05 08 02 E2 00 80 55 6A", "1.1.5", "1/0/2", FrameService::GroupValueWrite,
     "zapis wartości grupy", "55", FramePriority::Low, false, 6, ChecksumVerdict::Good, LengthVerdict::Exact},
    {"group main 31", "BC 11 05 FA 0B E1 00 41 06", "1.1.5", "31/2/11", FrameService::GroupValueResponse,
     "odpowiedź wartości grupy: zał.", "", FramePriority::Low, false, 6, ChecksumVerdict::Good, LengthVerdict::Exact},
    {"transport connect", "B0 FF FE 11 05 60 80 BA", "15.15.254", "1.1.5", FrameService::TransportControl,
     "sterowanie transportem 80", "", FramePriority::System, false, 6, ChecksumVerdict::Good, LengthVerdict::Exact},
    {"bad checksum", "B0 FF FE 11 05 64 42 81 00 20 FF 23", "15.15.254", "1.1.5", FrameService::MemoryWrite,
     "zapis pamięci", "adres 0020, 1 B: FF", FramePriority::System, false, 6, ChecksumVerdict::Bad,
     LengthVerdict::Exact},
    {"longer than announced", "B0 FF FE 11 05 64 42 81 00 20 FF 22 00", "15.15.254", "1.1.5", FrameService::MemoryWrite,
     "zapis pamięci", "adres 0020, 1 B: FF", FramePriority::System, false, 6, ChecksumVerdict::Good,
     LengthVerdict::OverLong},
    // Routing 0x65 announces one byte more than arrives: the checksum position is never reached.
    {"truncated", "B0 FF FE 11 05 65 42 81 00 20 DC", "15.15.254", "1.1.5", FrameService::MemoryWrite, "zapis pamięci",
     "adres 0020, 1 B: DC", FramePriority::System, false, 6, ChecksumVerdict::Missing, LengthVerdict::Truncated},
    {"hop count 0, normal priority", "B4 11 05 FF FE 01 01 40 1E", "1.1.5", "15.15.254",
     FrameService::IndividualAddressResponse, "odpowiedź adresu fizycznego", "", FramePriority::Normal, false, 0,
     ChecksumVerdict::Good, LengthVerdict::Exact},
    {"unknown service", "BC FF FE 11 05 61 43 C0 B4", "15.15.254", "1.1.5", FrameService::Other, "usługa 3C0", "",
     FramePriority::Low, false, 6, ChecksumVerdict::Good, LengthVerdict::Exact},
};

class DecodesFrame : public testing::TestWithParam<FrameCase> {};

TEST_P(DecodesFrame, EveryField) {
  const FrameCase& c = GetParam();
  const auto bytes = bytesOf(c.hex);
  const DecodedFrame frame = DecodeFrame(bytes);
  ASSERT_TRUE(frame.isFrame) << frame.notFrameReason;
  EXPECT_EQ(PhysicalAddressText(frame.source), c.source);
  EXPECT_EQ(DestinationText(frame), c.destination);
  EXPECT_EQ(frame.service, c.service);
  EXPECT_EQ(ServiceText(frame), c.serviceText);
  EXPECT_EQ(DataText(frame), c.dataText);
  EXPECT_EQ(frame.priority, c.priority);
  EXPECT_EQ(frame.repeated, c.repeated);
  EXPECT_EQ(frame.hopCount, c.hopCount);
  EXPECT_EQ(frame.checksum, c.checksum);
  EXPECT_EQ(frame.length, c.length);
  EXPECT_EQ(frame.control, bytes[0]);
}

INSTANTIATE_TEST_SUITE_P(HandWritten, DecodesFrame, testing::ValuesIn(Frames),
                         [](const testing::TestParamInfo<FrameCase>& param) {
                           std::string name = param.param.name;
                           for (char& ch : name) {
                             if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
                           }
                           return name;
                         });

TEST(FrameDecoder, NotAFrame) {
  const struct {
    const char* hex;
    const char* reason;
  } cases[] = {
      {"", "za krótka (0 B)"},
      {"8B", "za krótka (1 B)"},
      {"BC FF FE 00 02 E1 00", "za krótka (7 B)"},
      {"F0 FF FE 00 02 E1 00 81 20", "nieznany bajt sterujący F0"},  // poll frame
      {"3C FF FE 00 02 E1 00 81 20", "nieznany bajt sterujący 3C"},  // extended frame
      {"BD FF FE 00 02 E1 00 81 20", "nieznany bajt sterujący BD"},
  };
  for (const auto& c : cases) {
    const DecodedFrame frame = DecodeFrame(bytesOf(c.hex));
    EXPECT_FALSE(frame.isFrame) << c.hex;
    EXPECT_EQ(frame.notFrameReason, c.reason) << c.hex;
    EXPECT_EQ(DescribeFrame(frame), std::string("nie ramka: ") + c.reason);
  }
}

TEST(FrameDecoder, OneLineDescription) {
  EXPECT_EQ(DescribeFrame(DecodeFrame(bytesOf("B0 FF FE 11 05 64 42 81 00 20 FF 22"))),
            "15.15.254 -> 1.1.5 zapis pamięci [adres 0020, 1 B: FF], priorytet systemowy, licznik 6, suma poprawna");
  EXPECT_EQ(DescribeFrame(DecodeFrame(bytesOf("9C FF FE 00 02 E1 00 80 00"))),
            "15.15.254 -> 0/0/2 zapis wartości grupy: wył., priorytet niski, licznik 6, powtórzenie, suma błędna");
  EXPECT_EQ(HexBytes(bytesOf("BC 0f 00")), "BC 0F 00");
}

}  // namespace
}  // namespace kolvaro
