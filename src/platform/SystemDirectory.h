#pragma once
// Where dcb.ini lives. Windows: the system directory (GetSystemDirectoryA).
// Elsewhere: $XDG_CONFIG_HOME/kolvaro, else $HOME/.config/kolvaro; nothing when
// neither variable is set. The directory is not created here: writing dcb.ini creates it.
#include <optional>
#include <string>

namespace kolvaro {

std::optional<std::string> hostSystemDirectory();

// The full path of a file in a directory, with the platform's separator ("\" on Windows).
std::string pathInDirectory(const std::string& directory, const std::string& fileName);

}  // namespace kolvaro
