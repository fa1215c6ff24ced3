#pragma once
// The Write button: checks that the wanted physical address is free, makes sure that
// exactly one device is in programming mode, assigns it the address and then, each
// after a question, writes its group address table, the programs of both outputs and
// the input mode.
#include "config/MainView.h"

namespace kolvaro {

void WriteClick(MainView& view);

}  // namespace kolvaro
