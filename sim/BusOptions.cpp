#include "sim/BusOptions.h"

#include <getopt.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <sstream>

namespace kolvaro::sim {

namespace {

std::optional<unsigned> number(const std::string& text, int base = 10) {
  unsigned v = 0;
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, v, base);
  if (text.empty() || ec != std::errc() || p != end) return std::nullopt;
  return v;
}

std::vector<std::string> split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::string part;
  std::istringstream in(text);
  while (std::getline(in, part, sep)) parts.push_back(part);
  return parts;
}

bool isHex4(const std::string& t) {
  return t.size() == 4 && std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isxdigit(c); });
}

// "1.1.5,prog,noread,late=300,system,badsum": one device.
std::optional<DeviceSetup> parseDevice(const std::string& text, std::string& error) {
  const auto parts = split(text, ',');
  DeviceSetup d;
  const auto address = parts.empty() ? std::nullopt : parsePhysicalAddress(parts[0]);
  if (!address) {
    error = "bad device address in '" + text + "'";
    return std::nullopt;
  }
  d.address = *address;
  for (std::size_t i = 1; i < parts.size(); ++i) {
    const std::string& p = parts[i];
    if (p == "prog") {
      d.programmingMode = true;
    } else if (p == "noread") {
      d.answersMemoryRead = false;
    } else if (p == "system") {
      d.systemPriority = true;
    } else if (p == "badsum") {
      d.wrongChecksum = true;
    } else if (p.rfind("late=", 0) == 0 && number(p.substr(5))) {
      d.answerDelay = std::chrono::milliseconds(*number(p.substr(5)));
    } else if (p.rfind("delay=", 0) == 0 && number(p.substr(6))) {
      d.switchDelay = std::chrono::milliseconds(*number(p.substr(6)));
    } else {
      error = "unknown device option '" + p + "'";
      return std::nullopt;
    }
  }
  return d;
}

}  // namespace

bool setTunnelFault(TunnelFaults& f, const std::string& text, bool on, std::string& error) {
  const auto equals = text.find('=');
  const std::string name = text.substr(0, equals);
  std::optional<unsigned> value;
  if (equals != std::string::npos) value = number(text.substr(equals + 1));
  if (name == "negative-confirm")
    f.negativeConfirmations = on;
  else if (name == "lose-ack")
    f.lostAcks = on ? 1 : 0;
  else if (name == "lose-ack-always")
    f.lostAcks = on ? -1 : 0;
  else if (name == "late-confirm" && (value || !on))
    f.lateConfirmation = std::chrono::milliseconds(on ? *value : 0);
  else if (name == "no-connect-answer")
    f.ignoreConnect = on;
  else if (name == "refuse-connect")
    f.refuseConnect = on;
  else if (name == "no-heartbeat-answer")
    f.ignoreHeartbeat = on;
  else if (name == "end-after" && (value || !on))
    f.endAfterRequests = on ? static_cast<int>(*value) : 0;
  else if (name == "repeat-sequence")
    f.repeatedSequence = on;
  else if (name == "out-of-order-sequence")
    f.outOfOrderSequence = on;
  else {
    error = "unknown tunnel fault '" + text + "'";
    return false;
  }
  return true;
}

std::optional<std::uint16_t> parsePhysicalAddress(const std::string& text) {
  if (isHex4(text)) return static_cast<std::uint16_t>(*number(text, 16));
  const auto parts = split(text, '.');
  if (parts.size() != 3) return std::nullopt;
  const auto a = number(parts[0]), l = number(parts[1]), d = number(parts[2]);
  if (!a || !l || !d || *a > 15 || *l > 15 || *d > 255) return std::nullopt;
  return static_cast<std::uint16_t>(*a << 12 | *l << 8 | *d);
}

std::optional<std::uint16_t> parseGroupAddress(const std::string& text) {
  if (isHex4(text)) return static_cast<std::uint16_t>(*number(text, 16));
  const auto parts = split(text, '/');
  if (parts.size() != 3) return std::nullopt;
  const auto m = number(parts[0]), mid = number(parts[1]), s = number(parts[2]);
  if (!m || !mid || !s || *m > 31 || *mid > 7 || *s > 255) return std::nullopt;
  return static_cast<std::uint16_t>(*m << 11 | *mid << 8 | *s);
}

std::optional<Bytes> parseHexBytes(const std::string& text) {
  std::string digits;
  for (char c : text) {
    if (std::isspace(static_cast<unsigned char>(c))) continue;
    if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    digits += c;
  }
  if (digits.size() % 2 != 0) return std::nullopt;
  Bytes out;
  for (std::size_t i = 0; i < digits.size(); i += 2)
    out.push_back(static_cast<std::uint8_t>(*number(digits.substr(i, 2), 16)));
  return out;
}

std::string busUsage() {
  return R"(Usage: kolvaro-bus --link PATH [--link PATH ...] [options]

Simulates a bus with devices of the kind Kolvaro configures. Each --link puts one
interface chip on a pseudo-terminal and makes PATH a symbolic link to it.

Scene:
  --link PATH             a chip for a host, reachable at PATH (repeatable)
  --device ADDR[,OPT...]  a device at physical address ADDR (1.1.5); options:
                            prog       in programming mode
                            noread     answers the address read but no memory read
                            late=MS    answers MS milliseconds late
                            system     answers with system priority (control B0)
                            badsum     its answers carry a wrong checksum
                            delay=MS   switch delay of its delayed programs (default 3000)
  --memory AAAA:HEX       bytes for the last device's memory from address AAAA
                          (e.g. 0028:0002 puts group 0/0/2 in WY1's first slot)
  --station ADDR          a plain station that acknowledges frames for ADDR
  --background MS         the background station sends a group write every MS ms

Faults:
  --no-confirm            chips never confirm the frames they send
  --noise HEX             bytes every host receives after each frame
  --wrong-checksums       each device answer is preceded by a copy with a bad checksum
  --other-traffic         each device answer is preceded by a copy for another station

Simulated IP interface (a KNXnet/IP tunnelling server with one tunnel, 15.15.240):
  --tunnel-server [ADDR:]PORT   listens on UDP ADDR:PORT (127.0.0.1 unless told; port 0
                          picks a free one); prints "tunnel server on ADDR:PORT"
  --tunnel-fault NAME     (repeatable) negative-confirm, lose-ack (once), lose-ack-always,
                          late-confirm=MS, no-connect-answer, refuse-connect,
                          no-heartbeat-answer, end-after=N (requests), repeat-sequence,
                          out-of-order-sequence

Running:
  --fast                  skip idle bus time instead of waiting for it
  --quiet                 print no bus log
  --ack-timing            print, for each acknowledge information a host sends during
                          a frame (or the first after it), the microseconds from the
                          frame's routing byte written to the link to the host's byte
                          arriving, read by a thread that wakes for it at once:
                          "ack-timing 45 us LINK" (" late" when the chip did not take
                          it, past 1700 us)
  --version               the program's version
  --help                  this text

Commands on standard input, one per line (devices are numbered from 1):
  press N I | release N I     input I (1 = WE1, 2 = WE2) of device N
  prog N on|off               programming button of device N
  dump N                      device N's state as one line of JSON
  inject HEX                  put a frame on the bus (checksum added)
  injectraw HEX               put bytes on the bus exactly as given
  fault NAME on|off           no-confirm, wrong-checksums, other-traffic
  fault noise HEX|off         noise bytes between frames
  fault late N MS | fault noread N on|off | fault system N on|off | fault badsum N on|off
  fault linegone              every link goes away (the far end closes)
  tunnel fault NAME on|off    a fault of the simulated IP interface (see --tunnel-fault)
  tunnel end                  the simulated IP interface ends its connection
  quit                        end (as does end of input or SIGTERM)

Bus log lines: time, decoded frame, [raw bytes], acknowledgement, e.g.
    123.456 ms  15.15.254 -> 0/0/2 GroupValueWrite on  [BC FF FE 00 02 E1 00 81 xx]  ACK
)";
}

std::optional<BusOptions> parseBusOptions(const std::vector<std::string>& args, std::string& error) {
  enum : int {
    Link = 256,
    DeviceOpt,
    Memory,
    StationOpt,
    Background,
    Noise,
    NoConfirm,
    WrongChecksums,
    OtherTraffic,
    Fast,
    Quiet,
    AckTiming,
    VersionOpt,
    TunnelServerOpt,
    TunnelFaultOpt
  };
  static const option longOptions[] = {
      {"help", no_argument, nullptr, 'h'},
      {"link", required_argument, nullptr, Link},
      {"device", required_argument, nullptr, DeviceOpt},
      {"memory", required_argument, nullptr, Memory},
      {"station", required_argument, nullptr, StationOpt},
      {"background", required_argument, nullptr, Background},
      {"noise", required_argument, nullptr, Noise},
      {"no-confirm", no_argument, nullptr, NoConfirm},
      {"wrong-checksums", no_argument, nullptr, WrongChecksums},
      {"other-traffic", no_argument, nullptr, OtherTraffic},
      {"fast", no_argument, nullptr, Fast},
      {"quiet", no_argument, nullptr, Quiet},
      {"ack-timing", no_argument, nullptr, AckTiming},
      {"version", no_argument, nullptr, VersionOpt},
      {"tunnel-server", required_argument, nullptr, TunnelServerOpt},
      {"tunnel-fault", required_argument, nullptr, TunnelFaultOpt},
      {nullptr, 0, nullptr, 0},
  };
  // getopt_long wants a mutable argv with the program's name first.
  std::vector<std::string> words{"kolvaro-bus"};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const int argc = static_cast<int>(words.size());

  BusOptions o;
  optind = 0;  // a full restart of the scan, for every call (tests parse many command lines)
  opterr = 0;  // the errors are ours to word
  int previous = 1;
  for (int c; (c = getopt_long(argc, argv.data(), "+:h", longOptions, nullptr)) != -1; previous = optind) {
    const std::string v = optarg ? optarg : "";
    switch (c) {
      case 'h': o.help = true; break;
      case Link: o.links.push_back(v); break;
      case DeviceOpt: {
        auto d = parseDevice(v, error);
        if (!d) return std::nullopt;
        o.devices.push_back(*d);
        break;
      }
      case Memory: {
        const auto colon = v.find(':');
        const auto at = colon == std::string::npos ? std::nullopt : number(v.substr(0, colon), 16);
        const auto bytes = colon == std::string::npos ? std::nullopt : parseHexBytes(v.substr(colon + 1));
        if (o.devices.empty() || !at || !bytes || *at + bytes->size() > 256) {
          error = "bad --memory '" + v + "' (it needs a --device before it and must fit 256 bytes)";
          return std::nullopt;
        }
        for (std::size_t k = 0; k < bytes->size(); ++k) o.devices.back().memory[*at + k] = (*bytes)[k];
        break;
      }
      case StationOpt: {
        auto address = parsePhysicalAddress(v);
        if (!address) {
          error = "bad station address '" + v + "'";
          return std::nullopt;
        }
        o.stations.push_back({.address = *address});
        break;
      }
      case Background: {
        auto ms = number(v);
        if (!ms) {
          error = "bad --background '" + v + "'";
          return std::nullopt;
        }
        o.backgroundPeriod = std::chrono::milliseconds(*ms);
        break;
      }
      case Noise: {
        auto bytes = parseHexBytes(v);
        if (!bytes) {
          error = "bad --noise '" + v + "'";
          return std::nullopt;
        }
        o.noise = *bytes;
        break;
      }
      case NoConfirm: o.neverConfirms = true; break;
      case WrongChecksums: o.wrongChecksums = true; break;
      case OtherTraffic: o.framesForOthers = true; break;
      case Fast: o.fast = true; break;
      case Quiet: o.quiet = true; break;
      case AckTiming: o.ackTiming = true; break;
      case VersionOpt: o.version = true; break;
      case TunnelServerOpt: {
        const auto colon = v.rfind(':');
        const auto port = number(colon == std::string::npos ? v : v.substr(colon + 1));
        if (!port || *port > 65535) {
          error = "bad --tunnel-server '" + v + "' ([ADDR:]PORT)";
          return std::nullopt;
        }
        if (colon != std::string::npos) o.tunnelHost = v.substr(0, colon);
        o.tunnelPort = static_cast<std::uint16_t>(*port);
        break;
      }
      case TunnelFaultOpt:
        if (!setTunnelFault(o.tunnelFaults, v, true, error)) return std::nullopt;
        break;
      case ':': error = std::string(argv[previous]) + " needs a value"; return std::nullopt;
      default: error = "unknown option '" + std::string(argv[previous]) + "'"; return std::nullopt;
    }
  }
  if (optind < argc) {
    error = "unexpected argument '" + std::string(argv[optind]) + "'";
    return std::nullopt;
  }
  if (!o.help && !o.version && o.links.empty() && !o.tunnelPort) {
    error = "at least one --link PATH or a --tunnel-server is needed";
    return std::nullopt;
  }
  return o;
}

void buildScene(const BusOptions& o, Scene& scene) {
  for (const auto& d : o.devices) scene.addDevice(d);
  for (const auto& s : o.stations) scene.addStation(s);
  scene.setChipNeverConfirms(o.neverConfirms);
  scene.setNoise(o.noise);
  scene.setWrongChecksums(o.wrongChecksums);
  scene.setFramesForOtherStations(o.framesForOthers);
  if (o.backgroundPeriod.count() > 0)
    scene.background().sendEvery(o.backgroundPeriod, groupValueWrite(Scene::BackgroundAddress, 0x7F00, true));
}

}  // namespace kolvaro::sim
