#pragma once
// The devices that COM1..COM4 stand for, as dcb.ini's section "COM ports" names them
// (keys "COM1".."COM4", each a device path).
#include <string>

#include "platform/SerialLine.h"

namespace kolvaro {

// The non-empty entries of section "COM ports" of the ini file at iniPath; none when the
// file or the section is missing.
PortPaths readPortPaths(const std::string& iniPath);

}  // namespace kolvaro
