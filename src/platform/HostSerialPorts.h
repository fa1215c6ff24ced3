#pragma once
// The host's serial ports, from the backend the build picked (SerialLinePosix.cpp
// or SerialLineWin32.cpp).
#include "platform/SerialLine.h"

namespace kolvaro {

SerialPorts& hostSerialPorts();

}  // namespace kolvaro
