#pragma once
// The commands of kolvaro-cli, each on the window's own procedures through a headless view.
#include "cli/CliOptions.h"

namespace kolvaro::cli {

// Runs the command the options name; its exit status (status::...).
int RunCommand(const Options& options);

}  // namespace kolvaro::cli
