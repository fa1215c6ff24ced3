#include "cli/BusInspection.h"

#include <csignal>
#include <iostream>

#include "cli/CliWords.h"
#include "link/PortPaths.h"
#include "platform/SystemDirectory.h"
#include "telegram/FrameDecoder.h"
#include "telegram/FrameStream.h"
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

// Every frame the chip passes on, decoded, one a line on standard output; bytes outside
// frames in a line of their own.
void printPiece(const FrameStream::Piece& piece) {
  if (piece.frame) {
    std::cout << say(FrameWords(DecodeFrame(piece.bytes))) << "  [" << HexBytes(piece.bytes) << "]" << std::endl;
  } else {
    std::cout << say(KOLVARO_TRANSLATABLE("Kolvaro", "bajty spoza ramek")) << "  [" << HexBytes(piece.bytes) << "]"
              << std::endl;
  }
}

// Every frame an IP interface passes on, decoded, one a line on standard output.
class FramePrinter : public ExchangeObserver {
 public:
  void exchangeEvent(const ExchangeEvent& event) override {
    if (event.kind != ExchangeEvent::Kind::FramePassedOn) return;
    std::cout << say(FrameWords(DecodeFrame(event.bytes))) << "  [" << HexBytes(event.bytes) << "]" << std::endl;
  }
};

}  // namespace

int TestInterfaceCommand(const Options& options, DeviceSession& session, ChipConnection& connection) {
  const ChipState state = session.testInterface();
  ComPort& port = *connection.port();
  std::cout << say(InterfaceTestReport(state, port.PortName(), portPath(options, port))) << '\n';
  return state.answered ? status::Done : status::Refused;
}

int ProgrammingModeCommand(DeviceSession& session) {
  const ProgrammingModeScanResult result = session.scanProgrammingMode();
  std::cout << say(ProgrammingModeReport(result)) << '\n';
  return result.sendFailed || result.devices.empty() ? status::Refused : status::Done;
}

int MonitorCommand(ChipConnection& connection) {
  // The chip's answer to the reset request of the port's opening must not be taken
  // for part of the first frame: it is let through before listening starts.
  connection.settle();
  std::cerr << "kolvaro-cli: " << say(KOLVARO_TRANSLATABLE("Kolvaro", "nasłuch magistrali (Ctrl-C kończy)"))
            << std::endl;
  std::signal(SIGINT, requestStop);
  std::signal(SIGTERM, requestStop);
  // The line is read directly, not through an exchange: an exchange waits for an answer
  // and lets the rest go, a watch must keep every frame. A stop request is seen within
  // a second (the wait ends at least at every tick).
  FrameStream stream(printPiece);
  ComPort& port = *connection.port();
  int status = status::Done;
  while (!stopRequested) {
    const std::int32_t value = port.ReadByte();
    if (value <= 255) {
      stream.feed(static_cast<std::uint8_t>(value));
    } else if (value == ComPort::ReadError) {
      std::cerr << "kolvaro-cli: "
                << say(CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "odczyt z portu %1 przerwany")).arg(port.PortName()))
                << std::endl;
      status = status::PortFailed;
      break;
    } else {
      connection.waitForActivity(port.ReadableDescriptor());
    }
  }
  stream.finish();
  return status;
}

int TunnelTestCommand(DeviceSession& session) {
  const ChipState state = session.testInterface();
  std::cout << say(InterfaceTestReport(state, {}, {})) << '\n';
  return state.answered ? status::Done : status::Refused;
}

int TunnelMonitorCommand(TunnelClient& tunnel) {
  std::cerr << "kolvaro-cli: " << say(KOLVARO_TRANSLATABLE("Kolvaro", "nasłuch magistrali (Ctrl-C kończy)"))
            << std::endl;
  FramePrinter printer;
  tunnel.setObserver(&printer);
  std::signal(SIGINT, requestStop);
  std::signal(SIGTERM, requestStop);
  while (!stopRequested && tunnel.connected()) tunnel.request(Request::furtherAnswer({service::None, std::nullopt}));
  tunnel.setObserver(nullptr);
  return status::Done;
}

}  // namespace kolvaro::cli
