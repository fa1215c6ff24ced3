#include "link/PortPaths.h"

#include "link/IniFile.h"

namespace kolvaro {

PortPaths readPortPaths(const std::string& iniPath) {
  static constexpr const char* Names[] = {"COM1", "COM2", "COM3", "COM4"};
  PortPaths paths;
  IniFile ini(iniPath);
  for (const char* name : Names) {
    const auto path = ini.ReadString("COM ports", name);
    if (path && !path->empty()) paths[name] = *path;
  }
  return paths;
}

}  // namespace kolvaro
