#include "config/ConfigurationFile.h"

#include <fstream>
#include <initializer_list>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sstream>

#include "platform/FileReplacement.h"

namespace kolvaro {
namespace {

using nlohmann::json;

constexpr char FormatKey[] = "format";
constexpr char VersionKey[] = "version";
constexpr char RoomKey[] = "room";
constexpr char DescriptionKey[] = "description";

constexpr std::size_t LongestValueShown = 60;

// A value as the message shows it: its JSON text, shortened when long.
std::string shown(const json& value) {
  std::string text = value.dump(-1, ' ', false, json::error_handler_t::replace);
  if (text.size() > LongestValueShown) {
    // Cut before a character, never inside one of UTF-8's continuation bytes.
    std::size_t cut = LongestValueShown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
    text = text.substr(0, cut) + "…";
  }
  return text;
}

// Thrown inside the parser only, caught at its top: the first fault ends the reading.
struct Fault {
  FileProblem problem;
};

[[noreturn]] void fail(const std::string& key, const json* value, CoreText what) {
  throw Fault{{key, value ? shown(*value) : std::string(), std::move(what)}};
}

[[noreturn]] void fail(const std::string& key, const json* value, const char* what) {
  fail(key, value, CoreText(what));
}

std::string child(const std::string& parent, const std::string& key) {
  return parent.empty() ? key : parent + "." + key;
}

// The object at `key`, with no keys beyond `allowed`.
const json& object(const json& parent, const std::string& parentKey, const char* key,
                   std::initializer_list<const char*> allowed) {
  const std::string where = child(parentKey, key);
  if (!parent.contains(key)) fail(where, nullptr, KOLVARO_TRANSLATABLE("Kolvaro", "brak klucza"));
  const json& value = parent.at(key);
  if (!value.is_object()) fail(where, &value, KOLVARO_TRANSLATABLE("Kolvaro", "oczekiwano obiektu"));
  for (const auto& [name, item] : value.items()) {
    bool known = false;
    for (const char* allowedName : allowed) known = known || name == allowedName;
    if (!known) fail(child(where, name), &item, KOLVARO_TRANSLATABLE("Kolvaro", "nieznany klucz"));
  }
  return value;
}

const json& member(const json& parent, const std::string& where, const char* key) {
  if (!parent.contains(key)) fail(where, nullptr, KOLVARO_TRANSLATABLE("Kolvaro", "brak klucza"));
  return parent.at(key);
}

std::string text(const json& value, const std::string& where) {
  if (!value.is_string()) fail(where, &value, KOLVARO_TRANSLATABLE("Kolvaro", "oczekiwano tekstu"));
  return value.get<std::string>();
}

DeviceConfiguration parse(const json& document) {
  if (!document.is_object()) fail("", &document, KOLVARO_TRANSLATABLE("Kolvaro", "dokument nie jest obiektem JSON"));
  for (const auto& [name, item] : document.items()) {
    bool known = false;
    for (const char* allowed :
         {FormatKey, VersionKey, PhysicalAddressKey, GroupsKey, ProgramsKey, InputModeKey, RoomKey, DescriptionKey}) {
      known = known || name == allowed;
    }
    if (!known) fail(name, &item, KOLVARO_TRANSLATABLE("Kolvaro", "nieznany klucz"));
  }

  const json& format = member(document, FormatKey, FormatKey);
  if (!format.is_string() || format.get<std::string>() != FormatName) {
    fail(
        FormatKey, &format,
        CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "to nie jest plik konfiguracji (oczekiwano \"%1\")")).arg(FormatName));
  }
  const json& version = member(document, VersionKey, VersionKey);
  if (!version.is_number_integer())
    fail(VersionKey, &version, KOLVARO_TRANSLATABLE("Kolvaro", "oczekiwano liczby całkowitej"));
  if (version.get<long long>() != FormatVersion) {
    fail(VersionKey, &version,
         CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nieznana wersja formatu (znana: %1)"))
             .arg(std::int64_t{FormatVersion}));
  }

  DeviceConfiguration configuration;
  const json& address = member(document, PhysicalAddressKey, PhysicalAddressKey);
  const auto physical = PhysicalAddressFromWords(text(address, PhysicalAddressKey));
  if (!physical) {
    fail(PhysicalAddressKey, &address,
         KOLVARO_TRANSLATABLE("Kolvaro", "oczekiwano adresu fizycznego obszar.linia.urządzenie (0-15.0-15.0-255)"));
  }
  configuration.physicalAddress = *physical;

  const json& groups = object(document, "", GroupsKey, {Channels[0], Channels[1], Channels[2], Channels[3]});
  for (int channel = 0; channel < 4; ++channel) {
    const std::string where = child(GroupsKey, Channels[channel]);
    const json& entries = member(groups, where, Channels[channel]);
    if (!entries.is_array() || entries.size() != 2)
      fail(where, &entries, KOLVARO_TRANSLATABLE("Kolvaro", "oczekiwano listy dwóch adresów grupowych"));
    for (int position = 0; position < 2; ++position) {
      const int entry = channel * 2 + position;
      const std::string entryKey = GroupEntryKey(entry);
      const json& value = entries.at(static_cast<std::size_t>(position));
      const auto group = GroupFromWords(text(value, entryKey));
      if (!group) {
        fail(
            entryKey, &value,
            CoreText(KOLVARO_TRANSLATABLE(
                         "Kolvaro", "oczekiwano adresu grupowego główna/środkowa/podgrupa (0-15/0-7/0-255) lub \"%1\""))
                .arg(NoGroupWord));
      }
      configuration.groups[static_cast<std::size_t>(entry)] = *group;
    }
  }

  const json& programs = object(document, "", ProgramsKey, {Outputs[0], Outputs[1]});
  for (int output = 0; output < 2; ++output) {
    const std::string where = child(ProgramsKey, Outputs[output]);
    const json& value = member(programs, where, Outputs[output]);
    const auto program = ProgramFromWord(text(value, where));
    if (!program) {
      fail(where, &value,
           CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "oczekiwano \"%1\", \"%2\" lub \"%3\""))
               .arg(ProgramWord(0))
               .arg(ProgramWord(1))
               .arg(ProgramWord(2)));
    }
    configuration.programs[static_cast<std::size_t>(output)] = *program;
  }

  const json& mode = member(document, InputModeKey, InputModeKey);
  const auto inputMode = InputModeFromWord(text(mode, InputModeKey));
  if (!inputMode) {
    fail(InputModeKey, &mode,
         CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "oczekiwano \"%1\" lub \"%2\""))
             .arg(InputModeWord(0))
             .arg(InputModeWord(1)));
  }
  configuration.inputMode = *inputMode;

  if (document.contains(RoomKey)) configuration.room = text(document.at(RoomKey), RoomKey);
  if (document.contains(DescriptionKey)) configuration.description = text(document.at(DescriptionKey), DescriptionKey);
  return configuration;
}

}  // namespace

CoreText FileProblem::text() const {
  const CoreText where = key.empty() ? CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "plik")) : CoreText::plain(key);
  if (value.empty()) return CoreText("%1: %2").arg(where).arg(what);
  return CoreText("%1 = %2: %3").arg(where).arg(value).arg(what);
}

std::string FileProblem::message() const { return text().polish(); }

ParsedConfiguration ParseConfiguration(const std::string& documentText) {
  json document;
  try {
    document = json::parse(documentText);
  } catch (const json::parse_error& error) {
    return FileProblem{
        "", "",
        CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "to nie jest poprawny dokument JSON (błąd w bajcie %1)"))
            .arg(static_cast<std::int64_t>(error.byte))};
  } catch (const json::exception&) {
    // The one other fault the reader throws: a number beyond the range of a double.
    return FileProblem{
        "", "", CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "to nie jest poprawny dokument JSON (liczba poza zakresem)"))};
  }
  try {
    return parse(document);
  } catch (const Fault& fault) {
    return fault.problem;
  }
}

std::string FormatConfiguration(const DeviceConfiguration& configuration) {
  // Keys in the order a reader expects them, not sorted.
  nlohmann::ordered_json document;
  document[FormatKey] = FormatName;
  document[VersionKey] = FormatVersion;
  if (!configuration.room.empty()) document[RoomKey] = configuration.room;
  if (!configuration.description.empty()) document[DescriptionKey] = configuration.description;
  document[PhysicalAddressKey] = PhysicalAddressWords(configuration.physicalAddress);
  for (int channel = 0; channel < 4; ++channel) {
    auto& entries = document[GroupsKey][Channels[channel]] = nlohmann::ordered_json::array();
    for (int position = 0; position < 2; ++position) {
      entries.push_back(GroupWords(configuration.groups[static_cast<std::size_t>(channel * 2 + position)]));
    }
  }
  for (int output = 0; output < 2; ++output) {
    document[ProgramsKey][Outputs[output]] = ProgramWord(configuration.programs[static_cast<std::size_t>(output)]);
  }
  document[InputModeKey] = InputModeWord(configuration.inputMode);
  return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

ParsedConfiguration LoadConfigurationFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file)
    return FileProblem{"", "", CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nie można otworzyć pliku %1")).arg(path)};
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) {
    return FileProblem{"", "", CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nie można odczytać pliku %1")).arg(path)};
  }
  return ParseConfiguration(content.str());
}

CoreText SaveConfigurationFile(const std::string& path, const DeviceConfiguration& configuration) {
  std::string why;
  if (replaceFileAtomically(path, FormatConfiguration(configuration), &why)) return {};
  return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "nie można zapisać pliku %1: %2")).arg(path).arg(why);
}

}  // namespace kolvaro
