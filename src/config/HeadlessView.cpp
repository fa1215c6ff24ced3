#include "config/HeadlessView.h"

#include <algorithm>

#include "config/ProcedureSupport.h"
#include "telegram/AddressText.h"

namespace kolvaro {

namespace {
constexpr char DesignOwnAddress[] = "15.15.254";
constexpr char DesignDeviceAddress[] = "15.15.255";
}  // namespace

HeadlessView::HeadlessView() {
  texts_.fill(EmptyGroupText);
  texts_[at(Field::Local_phAddr)] = DesignOwnAddress;
  texts_[at(Field::phAddr)] = DesignDeviceAddress;
  // The members as a validation run of these texts leaves them (a run cannot start
  // here: it may beep, and the beep belongs to the derived face).
  members_.Local_phAddr = *PhysicalTextToValue(DesignOwnAddress);
  members_.Terminal_phAddr = *PhysicalTextToValue(DesignDeviceAddress);
  members_.GrAddr_Bytes.fill(NoGroupByte);
}

void HeadlessView::setProgressPosition(int position) {
  progress_ = std::clamp(position, 0, ProgressMaximum);
  progressMoved(progress_);
}

}  // namespace kolvaro
