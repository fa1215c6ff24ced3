#include "config/SessionBoxes.h"

#include "platform/Translatable.h"

namespace kolvaro {

namespace {
constexpr char Informacja[] = KOLVARO_TRANSLATABLE("Kolvaro", "Informacja");
}  // namespace

SessionBox BoxOf(Question question) {
  switch (question) {
    case Question::ConfigureDespiteTakenAddress:
      return {KOLVARO_TRANSLATABLE("Kolvaro",
                                   "Zadany adres fizyczny jest już zajęty przez terminal sieci EIB.\n"
                                   "Czy przeprowadzić procedurę konfiguracji pomimo tego?"),
              nullptr, box::ErrorQuestionNoByDefault};
    case Question::WriteGroupTable:
      return {
          KOLVARO_TRANSLATABLE(
              "Kolvaro",
              "Proces konfiguracji adresu fiz. urządzenia zakończony.\nCzy dokonać konfiguracji adresów grupowych?"),
          Informacja, box::QuestionNoByDefault};
    case Question::WritePrograms:
      return {KOLVARO_TRANSLATABLE("Kolvaro",
                                   "Proces konfiguracji adresów grupowych zakończony.\n"
                                   "Czy zapisać numer programu, wykonywanego przez element magistralny?"),
              Informacja, box::Question};
    case Question::WriteInputMode:
      return {KOLVARO_TRANSLATABLE("Kolvaro",
                                   "Wybór programu, wykonywanego przez element magistralny zakończony.\n"
                                   "Czy chcesz skonfigurować tryb działania wejść?"),
              Informacja, box::Question};
    case Question::ReadPrograms:
      return {KOLVARO_TRANSLATABLE("Kolvaro",
                                   "Odczyt adresów grupowych zakończony.\n"
                                   "Czy odczytać wybrany program, wykonywany przez element magistralny."),
              Informacja, box::Question};
    case Question::ReadInputMode:
      return {KOLVARO_TRANSLATABLE("Kolvaro",
                                   "Odczyt wybranych programów zakończony.\nCzy odczytać aktualny tryb pracy wejść."),
              Informacja, box::Question};
  }
  return {"", nullptr, box::Question};
}

SessionBox BoxOf(Message message) {
  switch (message) {
    case Message::AddressCheckFailed:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas weryfikacji dostępności adresu fizycznego"),
              nullptr, box::Error};
    case Message::NoDeviceInProgrammingMode:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Żaden terminal nie znajduje się w trybie programowania"), nullptr,
              box::Error};
    case Message::SeveralDevicesInProgrammingMode:
      return {KOLVARO_TRANSLATABLE("Kolvaro",
                                   "W sieci istnieje kilka terminali znajdujących się obecnie w trybie programowania."),
              Informacja, box::Error};
    case Message::AddressFreeEnterProgrammingMode:
      return {KOLVARO_TRANSLATABLE("Kolvaro",
                                   "Weryfikacja zajętości adresu fizycznego zakończona.\n"
                                   "Wprowadź element magistralny w tryb programowania i naciśnij OK."),
              Informacja, box::Notice};
    case Message::EnterProgrammingMode:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Wprowadź element magistralny w tryb programowania i naciśnij OK."),
              Informacja, box::Notice};
    case Message::ConfigurationFailed:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas konfiguracji"), nullptr, box::Error};
    case Message::ProgramsWritten:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Proces konfiguracji programu zakończony"), Informacja, box::Notice};
    case Message::InputModeWritten:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Proces konfiguracji trybu pracy wejść zakończony"), Informacja,
              box::Notice};
    case Message::StartReading:
      return {KOLVARO_TRANSLATABLE(
                  "Kolvaro",
                  "Wprowadź element magistralny w tryb programowania i naciśnij OK.\nZostanie rozpoczęty odczyt."),
              Informacja, box::Notice};
    case Message::ReadFailed:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas odczytu"), nullptr, box::Error};
    case Message::DeviceDoesNotAnswer:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Element magistralny nie odpowiada"), Informacja, box::Notice};
    case Message::AddressUsedTwice:
      return {KOLVARO_TRANSLATABLE("Kolvaro",
                                   "Sieć jest nieprawidłowo skonfigurowana.\n"
                                   "Istnieje więcej niż jedno urządzenie posiadające ten sam adres fiz. jak zadany"),
              Informacja, box::Error};
    case Message::GroupReadError:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas odczytu adresu grupowego"), nullptr, box::Error};
    case Message::GroupReadUnsuccessful:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Odczyt adresów grupowych zakończył się niepomyślnie"), Informacja,
              box::Error};
    case Message::ProgramReadError:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas odczytu numeru programu"), nullptr, box::Error};
    case Message::ProgramReadUnsuccessful:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Odczyt numeru programu zakończył się niepomyślnie"), Informacja,
              box::Error};
    case Message::InputModeReadError:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Wystąpił błąd podczas odczytu trybu pracy wejść"), nullptr, box::Error};
    case Message::InputModeReadUnsuccessful:
      return {KOLVARO_TRANSLATABLE("Kolvaro", "Odczyt trybu pracy wejść zakończył się niepomyślnie"), Informacja,
              box::Error};
  }
  return {"", nullptr, box::Error};
}

bool AskWithBox(Question question) {
  const SessionBox shown = BoxOf(question);
  return platform().messageBox(shown.text, shown.caption, shown.flags) == id::Yes;
}

void TellWithBox(Message message) {
  const SessionBox shown = BoxOf(message);
  platform().messageBox(shown.text, shown.caption, shown.flags);
}

}  // namespace kolvaro
