#include "config/GroupSwitching.h"

#include <string>

#include "config/MemoryMap.h"
#include "config/ProcedureSupport.h"
#include "telegram/AddressText.h"

namespace kolvaro {
namespace {

using procedure::AttemptCounter;
using procedure::Outcome;

// The OnOffGroup entry: the last of the nine (high, low) pairs in GrAddr_Bytes.
constexpr std::size_t OnOffGroupByte = 2 * (std::size(GroupFields) - 1);

std::string switchTelegram(MainView& view, bool on) {
  const AddressMembers& members = view.members();
  return GroupValueWriteTelegram(static_cast<std::uint16_t>(members.Local_phAddr), members.GrAddr_Bytes[OnOffGroupByte],
                                 members.GrAddr_Bytes[OnOffGroupByte + 1], on);
}

void switchGroup(MainView& view, bool on) {
  procedure::BusRunGuard guard(view);
  if (!guard.acquired()) return;

  if (view.fieldText(Field::OnOffGroup) == EmptyGroupText) {
    view.setProgressPosition(0);
    return;
  }
  const std::string telegram = switchTelegram(view, on);
  view.setProgressPosition(0);
  AttemptCounter counter(2);

  // Three sends that do not wait for the chip's confirmation, then one that does.
  for (;;) {
    const Outcome outcome = procedure::judge(
        view.sendTelegram(telegram, wait_limit::ReturnAfterSending, answer_code::None, ExchangeMode::Confirmation));
    if (outcome == Outcome::Error) {
      if (counter.allowsAnother()) continue;
      view.setProgressPosition(0);
      return;
    }
    if (outcome == Outcome::NoReply) {
      procedure::advanceProgress(view, procedure::progress::PerUnansweredTransfer);
      if (counter.allowsAnother()) continue;
    }
    view.setProgressPosition(procedure::progress::Full);
    break;
  }
  // A missing confirmation is not reported: the result of this send is dropped.
  view.sendTelegram(telegram, wait_limit::OneTick, answer_code::None, ExchangeMode::Confirmation);
}

}  // namespace

void OnGroupClick(MainView& view) { switchGroup(view, true); }
void OffGroupClick(MainView& view) { switchGroup(view, false); }

}  // namespace kolvaro
