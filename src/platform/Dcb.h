#pragma once
// The device control block of a serial port, member for member as Win32 declares it.
// Flags are kept in whole integers here; LoadDcb masks every value it stores to the
// width the Win32 bit field has, so the POSIX backend sees exactly what Windows would.
#include <cstdint>

namespace kolvaro {

struct Dcb {
  std::uint32_t DCBlength = 0;
  std::uint32_t BaudRate = 0;
  std::uint32_t fBinary = 0;            // 1 bit
  std::uint32_t fParity = 0;            // 1 bit
  std::uint32_t fOutxCtsFlow = 0;       // 1 bit
  std::uint32_t fOutxDsrFlow = 0;       // 1 bit
  std::uint32_t fDtrControl = 0;        // 2 bits
  std::uint32_t fDsrSensitivity = 0;    // 1 bit
  std::uint32_t fTXContinueOnXoff = 0;  // 1 bit
  std::uint32_t fOutX = 0;              // 1 bit
  std::uint32_t fInX = 0;               // 1 bit
  std::uint32_t fErrorChar = 0;         // 1 bit
  std::uint32_t fNull = 0;              // 1 bit
  std::uint32_t fRtsControl = 0;        // 2 bits
  std::uint32_t fAbortOnError = 0;      // 1 bit
  std::uint32_t fDummy2 = 0;            // 17 bits
  std::uint16_t wReserved = 0;
  std::uint16_t XonLim = 0;
  std::uint16_t XoffLim = 0;
  std::uint8_t ByteSize = 0;
  std::uint8_t Parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
  std::uint8_t StopBits = 0;  // 0 one, 1 one and a half, 2 two
  char XonChar = 0;
  char XoffChar = 0;
  char ErrorChar = 0;
  char EofChar = 0;
  char EvtChar = 0;
  std::uint16_t wReserved1 = 0;

  friend bool operator==(const Dcb&, const Dcb&) = default;
};

}  // namespace kolvaro
