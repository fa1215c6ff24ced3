// Switching a group: the group value write sent three times without waiting for the
// interface's confirmation, then once more waiting for it.
#include "config/DeviceSession.h"
#include "config/ProcedureSupport.h"

namespace kolvaro {

SwitchResult DeviceSession::switchGroup(std::optional<GroupBytes> group, bool on) {
  procedure::Progress progress(face_);
  if (!group) {
    progress.set(0);
    return SwitchResult::NoGroup;
  }
  const Frame frame = GroupValueWriteFrame(face_.values(false).local, *group, on);
  progress.set(0);
  procedure::AttemptCounter counter(2);
  for (;;) {
    const Outcome outcome = bus_.request(Request::sendOnly(frame)).outcome;
    if (outcome == Outcome::Error) {
      if (counter.allowsAnother()) continue;
      progress.set(0);
      return SwitchResult::Failed;
    }
    if (outcome == Outcome::NoReply) {
      progress.advance(procedure::progress::PerUnansweredTransfer);
      if (counter.allowsAnother()) continue;
    }
    progress.set(procedure::progress::Full);
    break;
  }
  // A missing confirmation is not reported: the reply to this send is dropped.
  bus_.request(Request::confirmed(frame));
  return SwitchResult::Sent;
}

}  // namespace kolvaro
