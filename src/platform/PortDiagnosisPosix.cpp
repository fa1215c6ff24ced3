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

std::string PortOpenProblem(const std::string& portName, const PortPaths& paths) {
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
      return portName + ": brak urządzenia " + path +
             ". Sprawdź, czy interfejs jest podłączony, albo wskaż "
             "właściwe urządzenie w dcb.ini (sekcja \"COM ports\").";
    case EACCES:
    case EPERM:
      return portName + ": brak uprawnień do " + path +
             ". Dodaj użytkownika do grupy dialout (sudo usermod -aG dialout $USER) i zaloguj się ponownie.";
    case EBUSY: return portName + ": " + path + " jest zajęty przez inny program.";
    default: return portName + ": nie można otworzyć " + path + " (" + std::strerror(error) + ").";
  }
}

}  // namespace kolvaro
