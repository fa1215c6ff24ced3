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

CoreText ProgrammingModeDeviceText(const ProgrammingModeDevice& device) {
  const std::string address = PhysicalAddressText(device.address);
  const auto firstAnswer = static_cast<std::int64_t>(device.firstAnswer.count());
  if (device.answers > 1) {
    return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "%1 (po %2 ms, %3 odpowiedzi)"))
        .arg(address)
        .arg(firstAnswer)
        .arg(std::int64_t{device.answers});
  }
  return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "%1 (po %2 ms)")).arg(address).arg(firstAnswer);
}

CoreText ProgrammingModeReport(const ProgrammingModeScanResult& result) {
  if (result.sendFailed)
    return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Nie udało się wysłać zapytania o adres fizyczny."));
  if (result.devices.empty()) {
    return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Żadne urządzenie nie jest w trybie programowania."));
  }
  CoreText text = CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "Urządzenia w trybie programowania (%1):"))
                      .arg(static_cast<std::int64_t>(result.devices.size()));
  for (const auto& device : result.devices) text = text + CoreText("\n%1").arg(ProgrammingModeDeviceText(device));
  return text;
}

}  // namespace kolvaro
