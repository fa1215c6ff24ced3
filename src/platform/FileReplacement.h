#pragma once
// Replacing a file whole, so that a crash never leaves half of it.
#include <string>

namespace kolvaro {

// Replaces the file at path with content: writes a temporary file beside it, flushes
// it to disk and renames it over the old one. False when any step fails; then `why`,
// when given, names the step and the system's reason.
bool replaceFileAtomically(const std::string& path, const std::string& content, std::string* why = nullptr);

}  // namespace kolvaro
