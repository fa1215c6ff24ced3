#pragma once
// Why a serial port could not be opened, in words a user can act on: the device path
// the port name stands for and, where the system says so, a missing device, missing
// permissions (on Linux: membership of the dialout group) or a port held by another
// program. For the log; the port's own message boxes stay as they are.
#include <string>

#include "platform/CoreText.h"
#include "platform/SerialLine.h"

namespace kolvaro {

// The device behind a port name ("COM1" -> "/dev/ttyS0" or its entry in paths); on
// Windows the name itself.
std::string PortDevicePath(const std::string& portName, const PortPaths& paths);

// Empty when nothing more can be said than that the port failed.
CoreText PortOpenProblem(const std::string& portName, const PortPaths& paths);

}  // namespace kolvaro
