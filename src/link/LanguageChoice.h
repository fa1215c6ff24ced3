#pragma once
// The language the user chose in the window's menu, kept in dcb.ini in a section of its
// own, beside the port settings:
//   [Language]
//   Language=en
// A dcb.ini without the section holds no choice. Qt-free, so that every face of the
// program reads the same choice.
#include <optional>
#include <string>
#include <string_view>

namespace kolvaro {

inline constexpr char LanguageSection[] = "Language";
inline constexpr char LanguageKey[] = "Language";

// The value kept in the ini file at iniPath, as written ("pl", "en"); nothing when the
// file, the section or the key is missing or the value is empty.
std::optional<std::string> readKeptLanguage(const std::string& iniPath);

// Keeps `name` as the choice; every other line of the file stays as it was. False when
// the file could not be written.
bool keepLanguage(const std::string& iniPath, std::string_view name);

}  // namespace kolvaro
