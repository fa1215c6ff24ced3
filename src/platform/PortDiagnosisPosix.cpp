#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/PortDiagnosis.h"
#include "platform/SerialLinePosix.h"

namespace kolvaro {

std::string PortDevicePath(const std::string& portName, const PortPaths& paths) {
  return devicePathOf(portName, paths);
}

CoreText PortOpenProblem(const std::string& portName, const PortPaths& paths) {
  const std::string path = devicePathOf(portName, paths);
  if (path.empty()) return {};
  // A second open only to learn the reason; it is closed at once.
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) {
    ::close(fd);
    return {};
  }
  const int error = errno;
  switch (error) {
    case ENOENT:
      return CoreText(KOLVARO_TRANSLATABLE("Kolvaro",
                                           "%1: brak urządzenia %2. Sprawdź, czy interfejs jest podłączony, albo wskaż "
                                           "właściwe urządzenie w dcb.ini (sekcja \"COM ports\")."))
          .arg(portName)
          .arg(path);
    case EACCES:
    case EPERM:
      return CoreText(KOLVARO_TRANSLATABLE("Kolvaro",
                                           "%1: brak uprawnień do %2. Dodaj użytkownika do grupy dialout "
                                           "(sudo usermod -aG dialout $USER) i zaloguj się ponownie."))
          .arg(portName)
          .arg(path);
    case EBUSY:
      return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "%1: %2 jest zajęty przez inny program."))
          .arg(portName)
          .arg(path);
    default:
      return CoreText(KOLVARO_TRANSLATABLE("Kolvaro", "%1: nie można otworzyć %2 (%3)."))
          .arg(portName)
          .arg(path)
          .arg(std::strerror(error));
  }
}

}  // namespace kolvaro
