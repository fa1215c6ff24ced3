#include "telegram/AddressText.h"

#include <cstdio>

namespace kolvaro {

namespace {

struct PartSpan {
  std::size_t first;
  std::size_t width;
};

// Zero-based positions of the three parts: "AA.LL.DDD" and "MM\M\SSS".
constexpr std::array<PartSpan, 3> PhysicalSpans{{{0, 2}, {3, 2}, {6, 3}}};
constexpr std::array<PartSpan, 3> GroupSpans{{{0, 2}, {3, 1}, {5, 3}}};

const std::array<PartSpan, 3>& spansOf(AddressKind kind) {
  return kind == AddressKind::Physical ? PhysicalSpans : GroupSpans;
}

}  // namespace

std::optional<unsigned> ReadPart(std::string_view text, std::size_t first, std::size_t width) {
  auto at = [&](std::size_t i) { return first + i < text.size() ? text[first + i] : ' '; };
  std::size_t i = 0;
  while (i < width && at(i) == ' ') ++i;
  if (i == width) return std::nullopt;
  unsigned value = 0;
  for (; i < width; ++i) {
    const char c = at(i);
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  return value;
}

std::optional<AddressParts> ReadAddressParts(AddressKind kind, std::string_view text) {
  const auto& spans = spansOf(kind);
  const auto first = ReadPart(text, spans[0].first, spans[0].width);
  const auto second = ReadPart(text, spans[1].first, spans[1].width);
  const auto third = ReadPart(text, spans[2].first, spans[2].width);
  if (!first || !second || !third) return std::nullopt;
  return AddressParts{*first, *second, *third};
}

bool IsComplete(AddressKind kind, std::string_view text) { return ReadAddressParts(kind, text).has_value(); }

bool IsInRange(AddressKind kind, const AddressParts& parts) {
  const unsigned secondLimit = kind == AddressKind::Physical ? 15 : 7;
  return parts.first <= 15 && parts.second <= secondLimit && parts.third <= 255;
}

std::optional<std::uint16_t> PhysicalTextToValue(std::string_view text) {
  const auto parts = ReadAddressParts(AddressKind::Physical, text);
  if (!parts || !IsInRange(AddressKind::Physical, *parts)) return std::nullopt;
  return static_cast<std::uint16_t>(parts->first * 4096 + parts->second * 256 + parts->third);
}

std::optional<GroupBytes> GroupTextToBytes(std::string_view text) {
  const auto parts = ReadAddressParts(AddressKind::Group, text);
  if (!parts || !IsInRange(AddressKind::Group, *parts)) return std::nullopt;
  return GroupBytes{static_cast<std::uint8_t>(parts->first * 8 + parts->second),
                    static_cast<std::uint8_t>(parts->third)};
}

std::string PhysicalBytesToText(std::uint8_t high, std::uint8_t low) {
  char text[16];
  std::snprintf(text, sizeof text, "%02u.%02u.%03u", static_cast<unsigned>(high >> 4),
                static_cast<unsigned>(high & 0x0F), static_cast<unsigned>(low));
  return text;
}

std::string PhysicalValueToText(std::uint16_t value) {
  return PhysicalBytesToText(static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value & 0xFF));
}

std::string GroupBytesToText(std::uint8_t high, std::uint8_t low) {
  if (high == NoGroupByte && low == NoGroupByte) return EmptyGroupText;
  char text[16];
  std::snprintf(text, sizeof text, "%02u\\%01u\\%03u", static_cast<unsigned>(high >> 3),
                static_cast<unsigned>(high & 0x07), static_cast<unsigned>(low));
  return text;
}

}  // namespace kolvaro
