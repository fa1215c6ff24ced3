<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="pl">
<context>
    <name>Kolvaro</name>
    <message>
        <source>Wprowadź element magistralny w tryb programowania i naciśnij OK.
Zostanie rozpoczęty odczyt.</source>
        <translation>Put the bus device into programming mode and press OK.
Reading will then start.</translation>
    </message>
    <message>
        <source>Wystąpił błąd podczas odczytu</source>
        <translation>An error occurred while reading</translation>
    </message>
    <message>
        <source>Element magistralny nie odpowiada</source>
        <translation>The bus device does not answer</translation>
    </message>
    <message>
        <source>Sieć jest nieprawidłowo skonfigurowana.
Istnieje więcej niż jedno urządzenie posiadające ten sam adres fiz. jak zadany</source>
        <translation>The network is configured incorrectly.
More than one device has the physical address given</translation>
    </message>
    <message>
        <source>Wystąpił błąd podczas odczytu adresu grupowego</source>
        <translation>An error occurred while reading a group address</translation>
    </message>
    <message>
        <source>Odczyt adresów grupowych zakończył się niepomyślnie</source>
        <translation>Reading the group addresses failed</translation>
    </message>
    <message>
        <source>Odczyt adresów grupowych zakończony.
Czy odczytać wybrany program, wykonywany przez element magistralny.</source>
        <translation>Group addresses read.
Read the program the bus device runs?</translation>
    </message>
    <message>
        <source>Wystąpił błąd podczas odczytu numeru programu</source>
        <translation>An error occurred while reading the program number</translation>
    </message>
    <message>
        <source>Odczyt numeru programu zakończył się niepomyślnie</source>
        <translation>Reading the program number failed</translation>
    </message>
    <message>
        <source>Odczyt wybranych programów zakończony.
Czy odczytać aktualny tryb pracy wejść.</source>
        <translation>Programs read.
Read the current input mode?</translation>
    </message>
    <message>
        <source>Wystąpił błąd podczas odczytu trybu pracy wejść</source>
        <translation>An error occurred while reading the input mode</translation>
    </message>
    <message>
        <source>Odczyt trybu pracy wejść zakończył się niepomyślnie</source>
        <translation>Reading the input mode failed</translation>
    </message>
    <message>
        <source>Zadany adres fizyczny jest już zajęty przez terminal sieci EIB.
Czy przeprowadzić procedurę konfiguracji pomimo tego?</source>
        <translation>The physical address given is already taken by a device on the EIB network.
Configure the device anyway?</translation>
    </message>
    <message>
        <source>Wprowadź element magistralny w tryb programowania i naciśnij OK.</source>
        <translation>Put the bus device into programming mode and press OK.</translation>
    </message>
    <message>
        <source>Weryfikacja zajętości adresu fizycznego zakończona.
Wprowadź element magistralny w tryb programowania i naciśnij OK.</source>
        <translation>The physical address check has finished.
Put the bus device into programming mode and press OK.</translation>
    </message>
    <message>
        <source>Wystąpił błąd podczas konfiguracji</source>
        <translation>An error occurred during the configuration</translation>
    </message>
    <message>
        <source>Proces konfiguracji adresu fiz. urządzenia zakończony.
Czy dokonać konfiguracji adresów grupowych?</source>
        <translation>The device&apos;s physical address is configured.
Configure the group addresses?</translation>
    </message>
    <message>
        <source>Proces konfiguracji adresów grupowych zakończony.
Czy zapisać numer programu, wykonywanego przez element magistralny?</source>
        <translation>The group addresses are configured.
Write the number of the program the bus device runs?</translation>
    </message>
    <message>
        <source>Proces konfiguracji programu zakończony</source>
        <translation>The program is configured</translation>
    </message>
    <message>
        <source>Wybór programu, wykonywanego przez element magistralny zakończony.
Czy chcesz skonfigurować tryb działania wejść?</source>
        <translation>The program the bus device runs is chosen.
Do you want to configure the input mode?</translation>
    </message>
    <message>
        <source>Proces konfiguracji trybu pracy wejść zakończony</source>
        <translation>The input mode is configured</translation>
    </message>
    <message>
        <source>Wystąpił problem podczas transmisji danych</source>
        <translation>A problem occurred while transmitting data</translation>
    </message>
    <message>
        <source>Brak dostępu do katalogu systemowego</source>
        <translation>No access to the system directory</translation>
    </message>
    <message>
        <source>Wystąpił problem podczas inicjalizacji portu szeregowego</source>
        <translation>A problem occurred while initialising the serial port</translation>
    </message>
    <message>
        <source>Wystąpił problem podczas próby aktywowania sygnału DTR</source>
        <translation>A problem occurred while trying to raise the DTR signal</translation>
    </message>
    <message>
        <source>Wystąpił problem podczas próby aktywowania sygnału RTS</source>
        <translation>A problem occurred while trying to raise the RTS signal</translation>
    </message>
    <message>
        <source>Informacja</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>Wystąpił błąd podczas weryfikacji dostępności adresu fizycznego</source>
        <translation>An error occurred while checking whether the physical address is free</translation>
    </message>
    <message>
        <source>Żaden terminal nie znajduje się w trybie programowania</source>
        <translation>No device is in programming mode</translation>
    </message>
    <message>
        <source>W sieci istnieje kilka terminali znajdujących się obecnie w trybie programowania.</source>
        <translation>Several devices on the network are in programming mode.</translation>
    </message>
    <message>
        <source>czas</source>
        <translation>time</translation>
    </message>
    <message>
        <source>ms od początku</source>
        <translation>ms from start</translation>
    </message>
    <message>
        <source>kierunek</source>
        <translation>direction</translation>
    </message>
    <message>
        <source>zdarzenie</source>
        <translation>event</translation>
    </message>
    <message>
        <source>źródło</source>
        <translation>source</translation>
    </message>
    <message>
        <source>cel</source>
        <translation>destination</translation>
    </message>
    <message>
        <source>priorytet</source>
        <translation>priority</translation>
    </message>
    <message>
        <source>powtórzenie</source>
        <translation>repeat</translation>
    </message>
    <message>
        <source>licznik</source>
        <translation>counter</translation>
    </message>
    <message>
        <source>usługa</source>
        <translation>service</translation>
    </message>
    <message>
        <source>dane</source>
        <translation>data</translation>
    </message>
    <message>
        <source>suma kontrolna</source>
        <translation>checksum</translation>
    </message>
    <message>
        <source>bajty</source>
        <translation>bytes</translation>
    </message>
    <message>
        <source>operacja</source>
        <translation>operation</translation>
    </message>
</context>
<context>
    <name>kolvaro::TAboutWindow</name>
    <message>
        <source>O programie</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Konfiguracja elementu magistralnego EIB
z dwoma wejściami binarnymi i dwoma wyjściami łączeniowymi</source>
        <translation>Configuration of an EIB bus device
with two binary inputs and two switching outputs</translation>
    </message>
</context>
<context>
    <name>kolvaro::TFileMenu</name>
    <message>
        <source>Plik</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Otwórz…</source>
        <translation>Open…</translation>
    </message>
    <message>
        <source>Zapisz</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Zapisz jako…</source>
        <translation>Save as…</translation>
    </message>
    <message>
        <source>Weryfikuj element z oknem</source>
        <translation>Verify the device against the window</translation>
    </message>
    <message>
        <source>Weryfikuj element z plikiem…</source>
        <translation>Verify the device against a file…</translation>
    </message>
    <message>
        <source>Zapisz konfigurację</source>
        <translation>Save the configuration</translation>
    </message>
    <message>
        <source>Otwórz konfigurację</source>
        <translation>Open a configuration</translation>
    </message>
</context>
<context>
    <name>kolvaro::TMain</name>
    <message>
        <source>Pole nie wypełnione oznacza brak przypisania grupy</source>
        <translation>An empty field means that no group is assigned</translation>
    </message>
    <message>
        <source>Brak opóź.</source>
        <translation>No delay</translation>
    </message>
    <message>
        <source>Opóź. zał.</source>
        <translation>Delayed on</translation>
    </message>
    <message>
        <source>Opóź. wył.</source>
        <translation>Delayed off</translation>
    </message>
    <message>
        <source>Lokalny adr.fiz.:</source>
        <translation>Local address:</translation>
    </message>
    <message>
        <source>Adres fizyczny nadawcy telegramów wysyłanych przez aplikację Kolvaro</source>
        <translation>Physical address of the sender of the telegrams Kolvaro sends</translation>
    </message>
    <message>
        <source>Odczyt</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Odczyt adresu fizycznego, adresów grupowych i rodzaju wybranego programu terminala znajdującego się w trybie programowania</source>
        <translation>Reads the physical address, the group addresses and the chosen program of the device in programming mode</translation>
    </message>
    <message>
        <source>Zapis</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Zapis adresu fizycznego, adresów grupowych i rodzaju wybranego programu terminala znajdującego się w trybie programowania</source>
        <translation>Writes the physical address, the group addresses and the chosen program into the device in programming mode</translation>
    </message>
    <message>
        <source>Adr.fiz.:</source>
        <translation>Addr.:</translation>
    </message>
    <message>
        <source>Monostabilne</source>
        <translation>Monostable</translation>
    </message>
    <message>
        <source>Bistabilne</source>
        <translation>Bistable</translation>
    </message>
    <message>
        <source>Interpretacja sygnałów wej.</source>
        <translation>How the input signals are interpreted</translation>
    </message>
    <message>
        <source>Adres fizyczny zdalnego terminala (odczytany, bądź przeznaczony do zapisu)</source>
        <translation>Physical address of the remote device (as read, or to be written)</translation>
    </message>
    <message>
        <source>Przypisanie obiektu komunikacyjnego WE1 do grup</source>
        <translation>Groups of the communication object of input WE1</translation>
    </message>
    <message>
        <source>Przypisanie obiektu komunikacyjnego WE2 do grup</source>
        <translation>Groups of the communication object of input WE2</translation>
    </message>
    <message>
        <source>Przypisanie obiektu komunikacyjnego WY1 do grup</source>
        <translation>Groups of the communication object of output WY1</translation>
    </message>
    <message>
        <source>Wybór programu obsługiwanego przez obiekt WY1 elementu magistralnego</source>
        <translation>The program the bus device runs for output WY1</translation>
    </message>
    <message>
        <source>Przypisanie obiektu komunikacyjnego WY2 do grup</source>
        <translation>Groups of the communication object of output WY2</translation>
    </message>
    <message>
        <source>Wybór programu obsługiwanego przez obiekt WY2 elementu magistralnego</source>
        <translation>The program the bus device runs for output WY2</translation>
    </message>
    <message>
        <source>Wyłącz grupę</source>
        <translation>Group off</translation>
    </message>
    <message>
        <source>Adres grupy do załącznia, bądź wyłączenia</source>
        <translation>Address of the group to switch on or off</translation>
    </message>
    <message>
        <source>Załącz grupę</source>
        <translation>Group on</translation>
    </message>
    <message>
        <source>Magistrala</source>
        <translation>Bus</translation>
    </message>
    <message>
        <source>Dziennik telegramów</source>
        <translation>Telegram log</translation>
    </message>
    <message>
        <source>Test interfejsu</source>
        <translation>Interface test</translation>
    </message>
    <message>
        <source>Urządzenia w trybie programowania</source>
        <translation>Devices in programming mode</translation>
    </message>
    <message>
        <source>Konfiguracja</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Port szeregowy</source>
        <translation>Serial port</translation>
    </message>
    <message>
        <source>Pomoc</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>O...</source>
        <translation>About...</translation>
    </message>
</context>
<context>
    <name>kolvaro::TelegramLogWindow</name>
    <message>
        <source>Dziennik telegramów</source>
        <translation>Telegram log</translation>
    </message>
    <message>
        <source>Kopiuj</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Zapisz jako tekst…</source>
        <translation>Save as text…</translation>
    </message>
    <message>
        <source>Zapisz jako CSV…</source>
        <translation>Save as CSV…</translation>
    </message>
    <message>
        <source>Wyczyść</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Najwięcej wierszy:</source>
        <translation>At most rows:</translation>
    </message>
    <message>
        <source>Wierszy: %1 z najwyżej %2; po przekroczeniu limitu najstarsze wiersze są usuwane.</source>
        <translation>Rows: %1 of at most %2; past the limit the oldest rows are removed.</translation>
    </message>
    <message>
        <source> Usunięto dotąd: %1.</source>
        <translation> Removed so far: %1.</translation>
    </message>
    <message>
        <source>Zapisz dziennik jako CSV</source>
        <translation>Save the log as CSV</translation>
    </message>
    <message>
        <source>Zapisz dziennik jako tekst</source>
        <translation>Save the log as text</translation>
    </message>
    <message>
        <source>Tekst (*.txt)</source>
        <translation>Text (*.txt)</translation>
    </message>
    <message>
        <source>Nie udało się zapisać pliku %1.</source>
        <translation>The file %1 could not be saved.</translation>
    </message>
</context>
</TS>
