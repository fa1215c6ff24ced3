#pragma once
// The commands that look at the bus rather than configure a device: the interface
// test, the devices in programming mode and the bus monitor: the device session's, and
// the exchange's observer with the frame decoder.
#include "cli/ChipConnection.h"
#include "cli/CliOptions.h"
#include "config/DeviceSession.h"
#include "telegram/TunnelClient.h"

namespace kolvaro::cli {

// On a connection whose port is open. Exit statuses as the other commands'.
int TestInterfaceCommand(const Options& options, DeviceSession& session, ChipConnection& connection);
int ProgrammingModeCommand(DeviceSession& session);
// Until SIGINT or SIGTERM: every frame on the bus, decoded, one a line.
int MonitorCommand(ChipConnection& connection);
// The same through an IP tunnel: the test reports the connection and the server's
// answer to a connection-state request; the monitor prints the frames the server passes on.
int TunnelTestCommand(DeviceSession& session);
int TunnelMonitorCommand(TunnelClient& tunnel);

}  // namespace kolvaro::cli
