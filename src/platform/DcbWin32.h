#pragma once
// The program's Dcb and the Win32 DCB, member for member. Towards Win32 each flag is cut
// to the width of its bit field; back from Win32 every member is taken as it is.
// Windows only.
#include <windows.h>

#include "platform/Dcb.h"

namespace kolvaro {

Dcb fromWin32(const DCB& d);
DCB toWin32(const Dcb& dcb);

}  // namespace kolvaro
