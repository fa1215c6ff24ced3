#include "platform/PortDiagnosis.h"

namespace kolvaro {

// Windows opens ports by their names; the port's own messages say what failed.
std::string PortDevicePath(const std::string& portName, const PortPaths&) { return portName; }
CoreText PortOpenProblem(const std::string&, const PortPaths&) { return {}; }

}  // namespace kolvaro
