#pragma once
// The language of every face of the program: Polish unless the user asks for English.
// The window's menu keeps the choice in dcb.ini in a section of its own, beside the port
// settings:
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

enum class Language { Polish, English };

// "pl" or "en", alone or as the start of a locale name ("en_GB.UTF-8", "pl-PL");
// nothing for any other text.
std::optional<Language> languageNamed(std::string_view name);

// The short name a choice is kept under: "pl" or "en".
const char* languageCode(Language language);

// The language to use: the command line's choice, else the environment's
// (KOLVARO_LANGUAGE), else the choice kept in dcb.ini, else Polish. A name that is
// neither is passed over.
Language chooseLanguage(const std::optional<std::string>& option, const std::optional<std::string>& environment,
                        const std::optional<std::string>& kept);

// chooseLanguage with this process's KOLVARO_LANGUAGE and the choice kept in dcb.ini in
// `directory` (none without a directory).
Language languageInForce(const std::optional<std::string>& option, const std::optional<std::string>& directory);

// The value kept in the ini file at iniPath, as written ("pl", "en"); nothing when the
// file, the section or the key is missing or the value is empty.
std::optional<std::string> readKeptLanguage(const std::string& iniPath);

// Keeps `name` as the choice; every other line of the file stays as it was. False when
// the file could not be written.
bool keepLanguage(const std::string& iniPath, std::string_view name);

}  // namespace kolvaro
