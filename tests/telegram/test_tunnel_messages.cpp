// The tunnel's datagrams and cEMI messages against hex worked out by hand from their
// layouts: each encodes to its bytes and reads back as itself; broken ones are refused.
#include <gtest/gtest.h>

#include "support/TestHex.h"
#include "telegram/TunnelMessages.h"

namespace kolvaro::tunnel {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& hex) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 3)
    out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}
std::string hexOf(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  for (std::uint8_t b : bytes) text += (text.empty() ? "" : " ") + test::hexByte(b);
  return text;
}

const Endpoint Local{{127, 0, 0, 1}, 50000};
const Endpoint Server{{127, 0, 0, 1}, 3671};

Message make(std::uint16_t service, std::uint8_t channel, std::uint8_t status, std::uint8_t sequence = 0,
             Endpoint control = {}, Endpoint data = {}, std::uint16_t assigned = 0, std::string cemi = {}) {
  return {service, channel, status, sequence, control, data, assigned, bytesOf(cemi)};
}

struct DatagramCase {
  const char* name;
  Message message;
  const char* hex;
};

TEST(TunnelMessages, DatagramsEncodeAndDecode) {
  const DatagramCase cases[] = {
      {"connect request", make(service_type::ConnectRequest, 0, 0, 0, Local, Local),
       "06 10 02 05 00 1A 08 01 7F 00 00 01 C3 50 08 01 7F 00 00 01 C3 50 04 04 02 00"},
      {"connect response", make(service_type::ConnectResponse, 0x15, 0, 0, {}, Server, 0x0002),
       "06 10 02 06 00 14 15 00 08 01 7F 00 00 01 0E 57 04 04 00 02"},
      {"connect refused", make(service_type::ConnectResponse, 0, status::NoMoreConnections), "06 10 02 06 00 08 00 24"},
      {"state request", make(service_type::ConnectionStateRequest, 0x15, 0, 0, Local),
       "06 10 02 07 00 10 15 00 08 01 7F 00 00 01 C3 50"},
      {"state response", make(service_type::ConnectionStateResponse, 0x15, status::ConnectionId),
       "06 10 02 08 00 08 15 21"},
      {"disconnect request behind translation", make(service_type::DisconnectRequest, 0x15, 0),
       "06 10 02 09 00 10 15 00 08 01 00 00 00 00 00 00"},
      {"disconnect response", make(service_type::DisconnectResponse, 0x15, 0), "06 10 02 0A 00 08 15 00"},
      {"tunnelling request",
       make(service_type::TunnellingRequest, 0x15, 0, 3, {}, {}, 0, "11 00 BC E0 00 00 00 02 01 00 81"),
       "06 10 04 20 00 15 04 15 03 00 11 00 BC E0 00 00 00 02 01 00 81"},
      {"tunnelling ack", make(service_type::TunnellingAck, 0x15, 0, 3), "06 10 04 21 00 0A 04 15 03 00"},
  };
  for (const DatagramCase& c : cases) {
    EXPECT_EQ(hexOf(Encode(c.message)), c.hex) << c.name;
    const Decoded decoded = Decode(bytesOf(c.hex));
    ASSERT_TRUE(decoded.message) << c.name << ": " << decoded.problem;
    EXPECT_EQ(*decoded.message, c.message) << c.name;
  }
}

TEST(TunnelMessages, BrokenDatagramsAreRefusedWithAReason) {
  const char* broken[] = {
      "06 10 02 06 00 09 15 00",                                      // the header's length is one more
      "06 10 02 06 00 07 15 00",                                      // ... and one less
      "06 11 02 08 00 08 15 00",                                      // another protocol version
      "06 10 02 01 00 0E 08 01 7F 00 00 01 0E 57",                    // a service the tunnel does not have
      "06 10 04 21 00 0B 04 15 03 00 00",                             // an ack with a byte too many
      "06 10 04 20 00 0B 05 15 03 00 11",                             // a connection header of length 5
      "06 10 02 06 00 14 15 00 08 02 7F 00 00 01 0E 57 04 04 00 02",  // a TCP endpoint
      "06 10 02 06 00 13 15 00 08 01 7F 00 00 01 0E 57 04 04 00",     // a cut CRD
      "06 10 02",
  };
  for (const char* hex : broken) {
    const Decoded decoded = Decode(bytesOf(hex));
    EXPECT_FALSE(decoded.message) << hex;
    EXPECT_NE(decoded.problem, nullptr) << hex;
  }
}

struct CemiCase {
  const char* name;
  DataMessage message;
  const char* hex;   // as encoded
  const char* read;  // as a server may send it (additional information, other ctrl1 bits)
};

TEST(TunnelMessages, CemiDataMessagesMapControlAndRouting) {
  const CemiCase cases[] = {
      {"group write",
       {cemi::DataRequest, GroupValueWriteFrame(0, {0x00, 0x02}, true), false},
       "11 00 BC E0 00 00 00 02 01 00 81",
       "11 00 BC E0 00 00 00 02 01 00 81"},
      {"address read: urgent, repeat flag clear",
       {cemi::DataRequest, IndividualAddressReadFrame(0), false},
       "11 00 98 E0 00 00 00 00 01 01 00",
       "11 00 98 E0 00 00 00 00 01 01 00"},
      {"memory read, hop count 6",
       {cemi::DataRequest, MemoryReadFrame(0xBC, 0, 0x1105, 0x0020), false},
       "11 00 BC 60 00 00 11 05 03 42 01 00 20",
       "11 00 BC 60 00 00 11 05 03 42 01 00 20"},
      {"negative confirmation",
       {cemi::DataConfirmation, GroupValueWriteFrame(0x0002, {0x00, 0x02}, true), true},
       "2E 00 BD E0 00 02 00 02 01 00 81",
       "2E 00 BF E0 00 02 00 02 01 00 81"},
      {"indication of a memory response",
       {cemi::DataIndication, Frame{0xBC, 0x1105, 0x0002, false, 5, {0x42, 0x41, 0x00, 0x20, 0x05}}, false},
       "29 00 BC 50 11 05 00 02 04 42 41 00 20 05",
       "29 02 03 01 BC 50 11 05 00 02 04 42 41 00 20 05"},
  };
  for (const CemiCase& c : cases) {
    EXPECT_EQ(hexOf(EncodeData(c.message)), c.hex) << c.name;
    const DecodedData decoded = DecodeData(bytesOf(c.read));
    ASSERT_TRUE(decoded.message) << c.name << ": " << decoded.problem;
    EXPECT_EQ(*decoded.message, c.message) << c.name;
  }
  const char* broken[] = {
      "11 00 BC E0 00 00 00 02 02 00 81",  // the length field says one byte more
      "29 00 3C E0 00 00 00 02 01 00 81",  // an extended frame
      "FC 00 00 01 01 01 01 10 01",        // not a data message
      "29 05 BC E0",                       // additional information past the end
  };
  for (const char* hex : broken) EXPECT_FALSE(DecodeData(bytesOf(hex)).message) << hex;
}

}  // namespace
}  // namespace kolvaro::tunnel
