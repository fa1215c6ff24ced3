#include "cli/BusInspection.h"

#include <csignal>
#include <iostream>

#include "link/PortPaths.h"
#include "platform/SystemDirectory.h"
#include "telegram/FrameDecoder.h"
#ifndef _WIN32
#include "platform/SerialLinePosix.h"
#endif

namespace kolvaro::cli {
namespace {

volatile std::sig_atomic_t stopRequested = 0;

void requestStop(int) { stopRequested = 1; }

// The device the opened port stands for: the --port path itself, else what dcb.ini
// (or the platform's own naming) makes of the port's name.
std::string portPath(const Options& options, ComPort& port) {
  if (options.port && options.port->rfind("COM", 0) != 0) return *options.port;
#ifdef _WIN32
  return port.PortName();
#else
  return devicePathOf(port.PortName(), readPortPaths(port.IniPath()));
#endif
}

// Every frame the chip passes on, decoded, one a line on standard output.
class FramePrinter : public ExchangeObserver {
 public:
  void exchangeEvent(const ExchangeEvent& event) override {
    if (event.kind != ExchangeEvent::Kind::FramePassedOn) return;
    std::cout << DescribeFrame(DecodeFrame(event.bytes)) << "  [" << HexBytes(event.bytes) << "]" << std::endl;
  }
};

}  // namespace

int TestInterfaceCommand(const Options& options, DeviceSession& session, ChipConnection& connection) {
  const ChipState state = session.testInterface();
  ComPort& port = *connection.port();
  std::cout << InterfaceTestReport(state, port.PortName(), portPath(options, port)).polish() << '\n';
  return state.answered ? status::Done : status::Refused;
}

int ProgrammingModeCommand(DeviceSession& session) {
  const ProgrammingModeScanResult result = session.scanProgrammingMode();
  std::cout << ProgrammingModeReport(result).polish() << '\n';
  return result.sendFailed || result.devices.empty() ? status::Refused : status::Done;
}

int MonitorCommand(ChipConnection& connection) {
  // The chip's answer to the reset request of the port's opening must not be taken
  // for part of the first frame: it is let through before listening starts.
  connection.settle();
  std::cerr << "kolvaro-cli: nasłuch magistrali (Ctrl-C kończy)" << std::endl;
  FramePrinter printer;
  connection.exchange().setObserver(&printer);
  std::signal(SIGINT, requestStop);
  std::signal(SIGTERM, requestStop);
  // Listens without sending, one tick at a time, so that a stop request is seen within a second.
  while (!stopRequested) {
    connection.exchange().request(Request::furtherAnswer({service::None, std::nullopt}));
  }
  connection.exchange().setObserver(nullptr);
  return status::Done;
}

int TunnelTestCommand(DeviceSession& session) {
  const ChipState state = session.testInterface();
  std::cout << InterfaceTestReport(state, {}, {}).polish() << '\n';
  return state.answered ? status::Done : status::Refused;
}

int TunnelMonitorCommand(TunnelClient& tunnel) {
  std::cerr << "kolvaro-cli: nasłuch magistrali (Ctrl-C kończy)" << std::endl;
  FramePrinter printer;
  tunnel.setObserver(&printer);
  std::signal(SIGINT, requestStop);
  std::signal(SIGTERM, requestStop);
  while (!stopRequested && tunnel.connected()) tunnel.request(Request::furtherAnswer({service::None, std::nullopt}));
  tunnel.setObserver(nullptr);
  return status::Done;
}

}  // namespace kolvaro::cli
