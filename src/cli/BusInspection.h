#pragma once
// The commands that look at the bus rather than configure a device: the interface
// test, the devices in programming mode and the bus monitor, each on the engine's own
// piece (InterfaceTest, ProgrammingModeScan, the exchange's observer and FrameDecoder).
#include "cli/CliOptions.h"
#include "cli/TerminalView.h"

namespace kolvaro::cli {

// On a view whose port is open. Exit statuses as the other commands'.
int TestInterfaceCommand(const Options& options, TerminalView& view);
int ProgrammingModeCommand(TerminalView& view);
// Until SIGINT or SIGTERM: every frame on the bus, decoded, one a line.
int MonitorCommand(TerminalView& view);

}  // namespace kolvaro::cli
