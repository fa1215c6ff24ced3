#pragma once
// The Read button: finds the one device in programming mode, shows its physical
// address, reads its group address table into the group fields and then, each after
// a question, the programs of both outputs and the input mode.
#include "config/MainView.h"

namespace kolvaro {

void ReadClick(MainView& view);

}  // namespace kolvaro
