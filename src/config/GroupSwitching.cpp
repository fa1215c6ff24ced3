#include "config/GroupSwitching.h"

#include <string>

#include "config/ProcedureSupport.h"
#include "telegram/AddressText.h"

namespace kolvaro {
namespace {

using procedure::AttemptCounter;
using procedure::Outcome;

// "BC", our address, the group, then the group value write of 0 ("E10080") or 1 ("E10081").
std::string switchTelegram(MainView& view, const char* valueWrite) {
  const AddressMembers& members = view.members();
  const std::uint32_t group = members.GrAddr_Bytes[16] * 256u + members.GrAddr_Bytes[17];
  return "BC" + AddressHex(members.Local_phAddr) + HexDigits(group, 4) +
         valueWrite;
}

void switchGroup(MainView& view, const char* valueWrite) {
  procedure::BusRunGuard guard(view);
  if (!guard.acquired()) return;

  if (view.fieldText(Field::OnOffGroup) == EmptyGroupText) {
    view.setProgressPosition(0);
    return;
  }
  const std::string telegram = switchTelegram(view, valueWrite);
  view.setProgressPosition(0);
  AttemptCounter counter(2);

  // Three sends that do not wait for the chip's confirmation, then one that does.
  for (;;) {
    const Outcome outcome = procedure::judge(view.sendTelegram(telegram, -1, 255, 2));
    if (outcome == Outcome::Error) {
      if (counter.allowsAnother()) continue;
      view.setProgressPosition(0);
      return;
    }
    if (outcome == Outcome::NoReply) {
      procedure::advanceProgress(view, 32);
      if (counter.allowsAnother()) continue;
    }
    view.setProgressPosition(procedure::ProgressMaximum);
    break;
  }
  // A missing confirmation is not reported: the result of this send is dropped.
  view.sendTelegram(telegram, 1, 255, 2);
}

}  // namespace

void OnGroupClick(MainView& view) { switchGroup(view, "E10081"); }
void OffGroupClick(MainView& view) { switchGroup(view, "E10080"); }

}  // namespace kolvaro
