#include "config/ProgrammingModeScan.h"

#include <algorithm>

#include "config/MemoryMap.h"
#include "config/ProcedureSupport.h"
#include "link/Hex.h"
#include "telegram/FrameDecoder.h"

namespace kolvaro {

namespace {

// The source address of an answer text: digits 3..6 (the bytes after the control byte).
std::uint16_t sourceOf(const std::string& answer) {
  return static_cast<std::uint16_t>(HexPairToByte(answer.substr(2, 2)) << 8 | HexPairToByte(answer.substr(4, 2)));
}

}  // namespace

ProgrammingModeScanResult ScanProgrammingMode(MainView& view, std::chrono::milliseconds listen, SteadyNow now) {
  if (!now) now = [] { return std::chrono::steady_clock::now(); };
  ProgrammingModeScanResult result;
  const auto start = now();
  auto record = [&](const std::string& answer) {
    const std::uint16_t address = sourceOf(answer);
    auto found = std::find_if(result.devices.begin(), result.devices.end(),
                              [&](const ProgrammingModeDevice& d) { return d.address == address; });
    if (found == result.devices.end()) {
      result.devices.push_back({address, std::chrono::duration_cast<std::chrono::milliseconds>(now() - start), 1});
    } else {
      ++found->answers;
    }
  };

  const std::string request = PhysicalAddressReadTelegram(static_cast<std::uint16_t>(view.members().Local_phAddr));
  const std::string first =
      view.sendTelegram(request, wait_limit::OneTick, answer_code::PhysicalAddressResponse, ExchangeMode::Answer);
  switch (procedure::judge(first)) {
    case procedure::Outcome::Error: result.sendFailed = true; return result;
    case procedure::Outcome::Answer: record(first); break;
    case procedure::Outcome::NoReply: break;
  }
  // Further answers, one tick at a time, until the listening time is over. Each wait
  // sends nothing; answers that come between two waits stay on the line for the next.
  while (now() - start < listen) {
    const std::string further =
        view.sendTelegram("", wait_limit::OneTick, answer_code::PhysicalAddressResponse, ExchangeMode::FurtherAnswer);
    if (procedure::judge(further) == procedure::Outcome::Answer) record(further);
    if (procedure::judge(further) == procedure::Outcome::Error) break;
  }
  return result;
}

std::string ProgrammingModeDeviceText(const ProgrammingModeDevice& device) {
  std::string text = PhysicalAddressText(device.address) + " (po " + std::to_string(device.firstAnswer.count()) + " ms";
  if (device.answers > 1) text += ", " + std::to_string(device.answers) + " odpowiedzi";
  return text + ")";
}

std::string ProgrammingModeReport(const ProgrammingModeScanResult& result) {
  if (result.sendFailed) return "Nie udało się wysłać zapytania o adres fizyczny.";
  if (result.devices.empty()) return "Żadne urządzenie nie jest w trybie programowania.";
  std::string text = "Urządzenia w trybie programowania (" + std::to_string(result.devices.size()) + "):";
  for (const auto& device : result.devices) text += "\n" + ProgrammingModeDeviceText(device);
  return text;
}

}  // namespace kolvaro
