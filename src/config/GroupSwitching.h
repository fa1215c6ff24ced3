#pragma once
// The OnGroup and OffGroup buttons: one group value write (1 or 0) to the group in
// OnOffGroup_MaskEdit, with the attempts shown on the progress bar.
#include "config/MainView.h"

namespace kolvaro {

void OnGroupClick(MainView& view);
void OffGroupClick(MainView& view);

}  // namespace kolvaro
