// Every device in programming mode, by address: the broadcast physical address read
// once, then every physical address response collected for a few seconds.
#include <algorithm>

#include "config/DeviceSession.h"
#include "telegram/FrameDecoder.h"

namespace kolvaro {

ProgrammingModeScanResult DeviceSession::scanProgrammingMode(std::chrono::milliseconds listen, SteadyNow now) {
  if (!now) now = [] { return std::chrono::steady_clock::now(); };
  ProgrammingModeScanResult result;
  const auto start = now();
  auto record = [&](const Reply& reply) {
    if (reply.outcome != Outcome::Answered) return;
    const std::uint16_t address = reply.answer()->source;
    auto found = std::find_if(result.devices.begin(), result.devices.end(),
                              [&](const ProgrammingModeDevice& d) { return d.address == address; });
    if (found == result.devices.end()) {
      result.devices.push_back({address, std::chrono::duration_cast<std::chrono::milliseconds>(now() - start), 1});
    } else {
      ++found->answers;
    }
  };

  const AnswerWanted wanted{service::IndividualAddressResponse, std::nullopt};
  const Reply first = bus_.request(Request::answered(IndividualAddressReadFrame(face_.values(false).local), wanted));
  if (first.outcome == Outcome::Error) {
    result.sendFailed = true;
    return result;
  }
  record(first);
  // Further answers, one tick at a time, until the listening time is over. Each wait
  // sends nothing; answers that come between two waits stay on the line for the next.
  while (now() - start < listen) {
    const Reply further = bus_.request(Request::furtherAnswer(wanted));
    if (further.outcome == Outcome::Error) break;
    record(further);
  }
  return result;
}

Verification DeviceSession::verify(const DeviceConfiguration& expected) {
  // The read's questions are answered Yes without being shown, as a comparison needs
  // every stage; the values read stay out of the face's own entries. Its messages and
  // progress reach the face as always.
  class ReadingFace : public SessionFace {
   public:
    explicit ReadingFace(SessionFace& face) : face_(face) {}
    bool ask(Question) override { return true; }
    void tell(Message message) override { face_.tell(message); }
    void progress(int position) override { face_.progress(position); }
    SessionValues values(bool) override { return {face_.values(false).local, std::nullopt, {}, {}, 0}; }

   private:
    SessionFace& face_;
  };
  ReadingFace reading(face_);
  const ReadResult read = DeviceSession(bus_, reading).read();
  Verification result;
  if (!read.complete()) return result;
  result.deviceRead = true;
  result.found = read.found;
  result.differences = CompareConfigurations(expected, read.found);
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
