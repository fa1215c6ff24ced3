#pragma once
// The three address members that the validation run computes from the address fields
// and that every bus procedure builds its telegrams from.
#include <array>
#include <cstdint>

namespace kolvaro {

struct AddressMembers {
  std::uint32_t Local_phAddr = 0;     // the program's own physical address (upper 16 bits zero)
  std::uint32_t Terminal_phAddr = 0;  // the device being configured
  // Nine group entries of (high, low): IN_1_1, IN_1_2, IN_2_1, IN_2_2, OUT_1_1, OUT_1_2,
  // OUT_2_1, OUT_2_2, OnOffGroup. 0xFF 0xFF = no group.
  std::array<std::uint8_t, 18> GrAddr_Bytes{};
};

}  // namespace kolvaro
