#pragma once
// The configuration file: one device's configuration as a JSON document.
//
//   {
//     "format": "kolvaro-device-configuration",
//     "version": 1,
//     "physical_address": "1.1.5",
//     "groups": {"WE1": ["0/0/1", "none"], "WE2": ["none", "none"],
//                "WY1": ["0/0/2", "none"], "WY2": ["none", "none"]},
//     "programs": {"WY1": "no-delay", "WY2": "off-delay"},
//     "input_mode": "monostable",
//     "room": "…", "description": "…"          (both optional)
//   }
//
// Reading is all or nothing: a document with any fault gives no configuration, only
// the first fault, named by its key and the value found there.
#include <string>
#include <variant>

#include "config/DeviceConfiguration.h"
#include "platform/CoreText.h"

namespace kolvaro {

inline constexpr char FormatName[] = "kolvaro-device-configuration";
inline constexpr int FormatVersion = 1;

struct FileProblem {
  std::string key;              // where: "groups.WY1[0]"; empty for the document as a whole
  std::string value;            // what was found there, as JSON text (empty when missing)
  CoreText what;                // what is wrong, in words
  CoreText text() const;        // one line: key, value and what is wrong
  std::string message() const;  // that line in Polish
};

using ParsedConfiguration = std::variant<DeviceConfiguration, FileProblem>;

ParsedConfiguration ParseConfiguration(const std::string& text);
// The document for a configuration, indented, ending with a newline.
std::string FormatConfiguration(const DeviceConfiguration& configuration);

// The file at `path`, read and parsed; a file that cannot be read is a problem too.
ParsedConfiguration LoadConfigurationFile(const std::string& path);
// Writes the document to `path` atomically (a temporary file renamed over it), so the
// old file stays whole when anything fails. Empty on success, else why it failed.
CoreText SaveConfigurationFile(const std::string& path, const DeviceConfiguration& configuration);

}  // namespace kolvaro
