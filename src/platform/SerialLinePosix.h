#pragma once
// The POSIX serial line: a terminal device in raw mode, configured from a Dcb through
// termios. Only built where the build picks the POSIX backend.
#include <termios.h>

#include <memory>
#include <string>

#include "platform/SerialLine.h"

namespace kolvaro {

// The members of dcb that termios can express, put into t (raw mode, reads that never
// block); false when the terminal cannot take them (an unknown baud rate, a byte size
// outside 5..8, a parity above 4, one and a half stop bits).
bool dcbToTermios(const Dcb& dcb, termios& t);
// The members termios expresses, read from t into dcb; the others are left alone.
void termiosToDcb(const termios& t, Dcb& dcb);

// Opens a terminal device exclusively; nullptr when it cannot be opened, with the cause
// in failure when given.
std::unique_ptr<SerialLine> openPosixSerialLine(const std::string& devicePath, LineError* failure = nullptr);

// The device that a port name stands for: its entry in paths when that is not empty;
// else /dev/ttyS0../dev/ttyS3 for "COM1".."COM4". Empty for any other name.
std::string devicePathOf(const std::string& portName, const PortPaths& paths);

}  // namespace kolvaro
