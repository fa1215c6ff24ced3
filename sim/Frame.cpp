#include "sim/Frame.h"

#include <cstdio>

namespace kolvaro::sim {

std::uint8_t checksumOf(const std::uint8_t* bytes, std::size_t count) {
  std::uint8_t x = 0;
  for (std::size_t i = 0; i < count; ++i) x ^= bytes[i];
  return static_cast<std::uint8_t>(~x);
}

Bytes withChecksum(Bytes frame) {
  frame.push_back(checksumOf(frame.data(), frame.size()));
  return frame;
}

void fixChecksum(Bytes& f) {
  if (!f.empty()) f.back() = checksumOf(f.data(), f.size() - 1);
}

bool checksumOk(const Bytes& f) { return !f.empty() && f.back() == checksumOf(f.data(), f.size() - 1); }

std::uint16_t applicationCodeOf(const Bytes& f) {
  if (f.size() < 8) return static_cast<std::uint16_t>((f[6] & 0x03) << 8);
  return static_cast<std::uint16_t>((f[6] & 0x03) << 8 | f[7]);
}

bool isCompleteFrame(const Bytes& f) {
  return f.size() >= HeaderSize + 2 && f.size() == HeaderSize + 1 + lengthFieldOf(f) + 1 && checksumOk(f);
}

std::string physicalText(std::uint16_t a) {
  return std::to_string(a >> 12) + "." + std::to_string(a >> 8 & 0x0F) + "." + std::to_string(a & 0xFF);
}

std::string groupText(std::uint16_t a) {
  return std::to_string(a >> 11 & 0x1F) + "/" + std::to_string(a >> 8 & 0x07) + "/" + std::to_string(a & 0xFF);
}

std::string hexBytes(const Bytes& bytes) {
  std::string out;
  char buf[4];
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buf, sizeof buf, "%02X", bytes[i]);
    if (i) out += ' ';
    out += buf;
  }
  return out;
}

namespace {

std::string hex2(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02X", v & 0xFFu);
  return buf;
}

std::string hex4(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFFu);
  return buf;
}

// Data bytes after the two transport/application bytes, checksum excluded.
Bytes payloadOf(const Bytes& f, std::size_t from) {
  Bytes data;
  const std::size_t end = f.size() - 1;
  for (std::size_t i = from; i < end; ++i) data.push_back(f[i]);
  return data;
}

std::string groupValueText(const Bytes& f) {
  if (lengthFieldOf(f) <= 1 || f.size() <= 9) {  // the value in the service byte's low six bits
    const unsigned value = f.size() > 8 ? f[7] & 0x3Fu : 0u;
    if (value <= 1) return value ? "on" : "off";
    return hex2(value);
  }
  return hexBytes(payloadOf(f, 8));
}

std::string memoryText(const Bytes& f, bool withData) {
  const unsigned count = f[7] & 0x0Fu;
  std::string text = std::to_string(count) + " byte" + (count == 1 ? "" : "s");
  if (f.size() >= 11) text += " at " + hex4(static_cast<unsigned>(f[8] << 8 | f[9]));
  if (withData && f.size() > 11) text += ": " + hexBytes(payloadOf(f, 10));
  return text;
}

std::string serviceText(const Bytes& f) {
  const std::uint8_t tpci = f[6];
  if (tpci & 0x80) {  // transport control frames carry no application part
    switch (tpci & 0xC3) {
      case 0x80: return tpci == 0x80 ? "Connect" : "Disconnect";
      case 0x81: return "Disconnect";
      case 0xC2: return "Ack " + std::to_string(tpci >> 2 & 0x0F);
      case 0xC3: return "Nak " + std::to_string(tpci >> 2 & 0x0F);
      default: return "Control " + hex2(tpci);
    }
  }
  if (f.size() < 9) return "Data (no service)";
  const unsigned code = applicationCodeOf(f);
  switch (code >> 6) {
    case 0x0: return "GroupValueRead";
    case 0x1: return "GroupValueResponse " + groupValueText(f);
    case 0x2: return "GroupValueWrite " + groupValueText(f);
    case 0x3:
      return "IndividualAddressWrite" +
             (f.size() >= 11 ? " " + physicalText(static_cast<std::uint16_t>(f[8] << 8 | f[9])) : "");
    case 0x4: return "IndividualAddressRead";
    case 0x5: return "IndividualAddressResponse";
    case 0x8: return "MemoryRead " + memoryText(f, false);
    case 0x9: return "MemoryResponse " + memoryText(f, true);
    case 0xA: return "MemoryWrite " + memoryText(f, true);
    default: return "Service " + hex4(code);
  }
}

}  // namespace

std::string decodeFrame(const Bytes& f) {
  if (f.size() < HeaderSize + 2) return "short frame " + hexBytes(f);
  std::string text = physicalText(sourceOf(f)) + " -> " +
                     (isGroupFrame(f) ? groupText(destinationOf(f)) : physicalText(destinationOf(f))) + " " +
                     serviceText(f);
  if ((f[0] & RepeatFlag) == 0) text += " (repeated)";
  if ((f[0] & 0x0C) == 0x00) text += " (system priority)";
  if (f.size() != HeaderSize + 1 + lengthFieldOf(f) + 1) text += " (length mismatch)";
  if (!checksumOk(f)) text += " (bad checksum)";
  return text;
}

Bytes groupValueWrite(std::uint16_t source, std::uint16_t group, bool on, std::uint8_t control) {
  return withChecksum({control, static_cast<std::uint8_t>(source >> 8), static_cast<std::uint8_t>(source),
                       static_cast<std::uint8_t>(group >> 8), static_cast<std::uint8_t>(group), 0xE1, 0x00,
                       static_cast<std::uint8_t>(on ? 0x81 : 0x80)});
}

}  // namespace kolvaro::sim
