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
    <message>
        <source>brak klucza</source>
        <translation>key missing</translation>
    </message>
    <message>
        <source>oczekiwano obiektu</source>
        <translation>an object expected</translation>
    </message>
    <message>
        <source>nieznany klucz</source>
        <translation>unknown key</translation>
    </message>
    <message>
        <source>oczekiwano tekstu</source>
        <translation>a text expected</translation>
    </message>
    <message>
        <source>dokument nie jest obiektem JSON</source>
        <translation>the document is not a JSON object</translation>
    </message>
    <message>
        <source>to nie jest plik konfiguracji (oczekiwano &quot;%1&quot;)</source>
        <translation>this is not a configuration file (&quot;%1&quot; expected)</translation>
    </message>
    <message>
        <source>oczekiwano liczby całkowitej</source>
        <translation>an integer expected</translation>
    </message>
    <message>
        <source>nieznana wersja formatu (znana: %1)</source>
        <translation>unknown format version (known: %1)</translation>
    </message>
    <message>
        <source>oczekiwano adresu fizycznego obszar.linia.urządzenie (0-15.0-15.0-255)</source>
        <translation>a physical address area.line.device (0-15.0-15.0-255) expected</translation>
    </message>
    <message>
        <source>oczekiwano listy dwóch adresów grupowych</source>
        <translation>a list of two group addresses expected</translation>
    </message>
    <message>
        <source>oczekiwano adresu grupowego główna/środkowa/podgrupa (0-15/0-7/0-255) lub &quot;%1&quot;</source>
        <translation>a group address main/middle/sub (0-15/0-7/0-255) or &quot;%1&quot; expected</translation>
    </message>
    <message>
        <source>oczekiwano &quot;%1&quot;, &quot;%2&quot; lub &quot;%3&quot;</source>
        <translation>&quot;%1&quot;, &quot;%2&quot; or &quot;%3&quot; expected</translation>
    </message>
    <message>
        <source>oczekiwano &quot;%1&quot; lub &quot;%2&quot;</source>
        <translation>&quot;%1&quot; or &quot;%2&quot; expected</translation>
    </message>
    <message>
        <source>plik</source>
        <translation>file</translation>
    </message>
    <message>
        <source>to nie jest poprawny dokument JSON (błąd w bajcie %1)</source>
        <translation>this is not a valid JSON document (error at byte %1)</translation>
    </message>
    <message>
        <source>nie można otworzyć pliku %1</source>
        <translation>cannot open the file %1</translation>
    </message>
    <message>
        <source>nie można odczytać pliku %1</source>
        <translation>cannot read the file %1</translation>
    </message>
    <message>
        <source>nie można zapisać pliku %1: %2</source>
        <translation>cannot write the file %1: %2</translation>
    </message>
    <message>
        <source>%1: oczekiwano %2, odczytano %3</source>
        <translation>%1: expected %2, read %3</translation>
    </message>
    <message>
        <source>kolizja przy nadawaniu (slave collision)</source>
        <translation>collision while sending (slave collision)</translation>
    </message>
    <message>
        <source>błąd odbioru (suma kontrolna, parzystość lub bit)</source>
        <translation>receive error (checksum, parity or bit)</translation>
    </message>
    <message>
        <source>błąd nadawania</source>
        <translation>transmit error</translation>
    </message>
    <message>
        <source>błąd protokołu</source>
        <translation>protocol error</translation>
    </message>
    <message>
        <source>ostrzeżenie o temperaturze</source>
        <translation>temperature warning</translation>
    </message>
    <message>
        <source>Żaden układ interfejsu nie odpowiedział na porcie %1 w ciągu %2 ms.
Sprawdź: czy wybrano właściwy port, kabel, zasilanie interfejsu i magistrali, oraz czy port nie jest zajęty przez inny program.</source>
        <translation>No interface chip answered on port %1 within %2 ms.
Check that the right port is chosen, the cable, the power of the interface and of the bus, and that no other program holds the port.</translation>
    </message>
    <message>
        <source>Układ interfejsu na porcie %1 odpowiedział po %2 ms, stan %3: </source>
        <translation>The interface chip on port %1 answered after %2 ms, state %3: </translation>
    </message>
    <message>
        <source>bez błędów.</source>
        <translation>no errors.</translation>
    </message>
    <message>
        <source>%1 (po %2 ms, %3 odpowiedzi)</source>
        <translation>%1 (after %2 ms, %3 answers)</translation>
    </message>
    <message>
        <source>%1 (po %2 ms)</source>
        <translation>%1 (after %2 ms)</translation>
    </message>
    <message>
        <source>Nie udało się wysłać zapytania o adres fizyczny.</source>
        <translation>The physical address request could not be sent.</translation>
    </message>
    <message>
        <source>Żadne urządzenie nie jest w trybie programowania.</source>
        <translation>No device is in programming mode.</translation>
    </message>
    <message>
        <source>Urządzenia w trybie programowania (%1):</source>
        <translation>Devices in programming mode (%1):</translation>
    </message>
    <message>
        <source>%1: brak urządzenia %2. Sprawdź, czy interfejs jest podłączony, albo wskaż właściwe urządzenie w dcb.ini (sekcja &quot;COM ports&quot;).</source>
        <translation>%1: no device %2. Check that the interface is connected, or name the right device in dcb.ini (section &quot;COM ports&quot;).</translation>
    </message>
    <message>
        <source>%1: brak uprawnień do %2. Dodaj użytkownika do grupy dialout (sudo usermod -aG dialout $USER) i zaloguj się ponownie.</source>
        <translation>%1: no permission for %2. Add the user to the dialout group (sudo usermod -aG dialout $USER) and log in again.</translation>
    </message>
    <message>
        <source>%1: %2 jest zajęty przez inny program.</source>
        <translation>%1: %2 is held by another program.</translation>
    </message>
    <message>
        <source>%1: nie można otworzyć %2 (%3).</source>
        <translation>%1: cannot open %2 (%3).</translation>
    </message>
    <message>
        <source>Plik konfiguracji %1 jest nieprawidłowy; okno pozostaje bez zmian.
%2</source>
        <translation>The configuration file %1 is not valid; the window stays as it is.
%2</translation>
    </message>
    <message>
        <source>Konfiguracja nie została zapisana; poprzedni plik pozostał bez zmian.
%1</source>
        <translation>The configuration was not saved; the previous file is unchanged.
%1</translation>
    </message>
    <message>
        <source>Plik konfiguracji %1 jest nieprawidłowy.
%2</source>
        <translation>The configuration file %1 is not valid.
%2</translation>
    </message>
    <message>
        <source>Weryfikacja przerwana: odczyt elementu nie powiódł się.</source>
        <translation>Verification stopped: reading the device failed.</translation>
    </message>
    <message>
        <source>Weryfikacja zakończona: element zawiera oczekiwaną konfigurację.</source>
        <translation>Verification finished: the device holds the expected configuration.</translation>
    </message>
    <message>
        <source>Weryfikacja zakończona: element różni się w %1 pozycjach.</source>
        <translation>Verification finished: the device differs in %1 items.</translation>
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
        <source>
Port %1 nie jest otwarty.</source>
        <translation>
Port %1 is not open.</translation>
    </message>
    <message>
        <source>
Port %1 nie jest otwarty: %2</source>
        <translation>
Port %1 is not open: %2</translation>
    </message>
    <message>
        <source>przyjęta</source>
        <translation>accepted</translation>
    </message>
    <message>
        <source>echo własnej ramki</source>
        <translation>echo of our own frame</translation>
    </message>
    <message>
        <source>inny adresat</source>
        <translation>another addressee</translation>
    </message>
    <message>
        <source>inna usługa</source>
        <translation>another service</translation>
    </message>
    <message>
        <source>błędna suma kontrolna</source>
        <translation>bad checksum</translation>
    </message>
    <message>
        <source>niepełna</source>
        <translation>incomplete</translation>
    </message>
    <message>
        <source>systemowy</source>
        <translation>system</translation>
    </message>
    <message>
        <source>normalny</source>
        <translation>normal</translation>
    </message>
    <message>
        <source>pilny</source>
        <translation>urgent</translation>
    </message>
    <message>
        <source>niski</source>
        <translation>low</translation>
    </message>
    <message>
        <source>poprawna</source>
        <translation>good</translation>
    </message>
    <message>
        <source>błędna</source>
        <translation>bad</translation>
    </message>
    <message>
        <source>brak</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>odczyt wartości grupy</source>
        <translation>group value read</translation>
    </message>
    <message>
        <source>odpowiedź wartości grupy</source>
        <translation>group value response</translation>
    </message>
    <message>
        <source>zapis wartości grupy</source>
        <translation>group value write</translation>
    </message>
    <message>
        <source>zapis adresu fizycznego</source>
        <translation>physical address write</translation>
    </message>
    <message>
        <source>odczyt adresu fizycznego</source>
        <translation>physical address read</translation>
    </message>
    <message>
        <source>odpowiedź adresu fizycznego</source>
        <translation>physical address response</translation>
    </message>
    <message>
        <source>odczyt pamięci</source>
        <translation>memory read</translation>
    </message>
    <message>
        <source>odpowiedź pamięci</source>
        <translation>memory response</translation>
    </message>
    <message>
        <source>zapis pamięci</source>
        <translation>memory write</translation>
    </message>
    <message>
        <source>sterowanie transportem</source>
        <translation>transport control</translation>
    </message>
    <message>
        <source>brak usługi</source>
        <translation>no service</translation>
    </message>
    <message>
        <source>%1: zał.</source>
        <translation>%1: on</translation>
    </message>
    <message>
        <source>%1: wył.</source>
        <translation>%1: off</translation>
    </message>
    <message>
        <source>adres %1, %2</source>
        <translation>address %1, %2</translation>
    </message>
    <message>
        <source>nowy adres %1</source>
        <translation>new address %1</translation>
    </message>
    <message>
        <source>potwierdzenie pozytywne (8B)</source>
        <translation>positive confirmation (8B)</translation>
    </message>
    <message>
        <source>potwierdzenie negatywne (0B)</source>
        <translation>negative confirmation (0B)</translation>
    </message>
    <message>
        <source>tak</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>nie</source>
        <translation>no</translation>
    </message>
    <message>
        <source>, za długa</source>
        <translation>, too long</translation>
    </message>
    <message>
        <source>, niepełna</source>
        <translation>, incomplete</translation>
    </message>
    <message>
        <source>tekst do układu, próba %1</source>
        <translation>text to the chip, attempt %1</translation>
    </message>
    <message>
        <source>tekst do układu, próba %1: nie zapisano</source>
        <translation>text to the chip, attempt %1: not written</translation>
    </message>
    <message>
        <source>ramka: %1</source>
        <translation>frame: %1</translation>
    </message>
    <message>
        <source>ramka pominięta przez odbiór</source>
        <translation>frame passed over by the receiver</translation>
    </message>
    <message>
        <source>bajt od układu</source>
        <translation>byte from the chip</translation>
    </message>
    <message>
        <source>bajty od układu</source>
        <translation>bytes from the chip</translation>
    </message>
    <message>
        <source>potwierdzenie odbioru wysłane</source>
        <translation>acknowledge sent</translation>
    </message>
    <message>
        <source>potwierdzenie odbioru: nie zapisano</source>
        <translation>acknowledge: not written</translation>
    </message>
    <message>
        <source>wynik: %1</source>
        <translation>result: %1</translation>
    </message>
    <message>
        <source>odpowiedzi urządzeń w trybie programowania (%1):%2</source>
        <translation>answers of devices in programming mode (%1):%2</translation>
    </message>
    <message>
        <source>komunikat: %1</source>
        <translation>message: %1</translation>
    </message>
    <message>
        <source> → Tak</source>
        <translation> → Yes</translation>
    </message>
    <message>
        <source> → Nie</source>
        <translation> → No</translation>
    </message>
    <message>
        <source>Uruchomienie</source>
        <translation>Start-up</translation>
    </message>
    <message>
        <source>Zmiana portu na COM%1</source>
        <translation>Port change to COM%1</translation>
    </message>
    <message>
        <source>Plik / weryfikacja</source>
        <translation>File / verification</translation>
    </message>
    <message>
        <source>Odczyt</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>Zapis</source>
        <translation>Write</translation>
    </message>
    <message>
        <source>Załącz grupę</source>
        <translation>Group on</translation>
    </message>
    <message>
        <source>Wyłącz grupę</source>
        <translation>Group off</translation>
    </message>
    <message>
        <source>odpowiedź układu na reset: nie sprawdzono</source>
        <translation>the chip&apos;s answer to the reset: not checked</translation>
    </message>
    <message>
        <source>układ interfejsu odpowiedział na reset (03)</source>
        <translation>the interface chip answered the reset (03)</translation>
    </message>
    <message>
        <source>układ interfejsu nie odpowiedział na reset</source>
        <translation>the interface chip did not answer the reset</translation>
    </message>
    <message>
        <source>koniec: %1</source>
        <translation>end: %1</translation>
    </message>
    <message>
        <source>koniec, ostatni wynik: %1</source>
        <translation>end, last result: %1</translation>
    </message>
    <message>
        <source>koniec</source>
        <translation>end</translation>
    </message>
    <message>
        <source>inny nadawca</source>
        <translation>another sender</translation>
    </message>
    <message>
        <source>to nie jest poprawny dokument JSON (liczba poza zakresem)</source>
        <translation>this is not a valid JSON document (a number out of range)</translation>
    </message>
    <message>
        <source>bajty spoza ramek</source>
        <translation>bytes outside frames</translation>
    </message>
    <message>
        <source>nasłuch magistrali (Ctrl-C kończy)</source>
        <translation>listening to the bus (Ctrl-C ends)</translation>
    </message>
    <message>
        <source>odczyt z portu %1 przerwany</source>
        <translation>reading from port %1 broke off</translation>
    </message>
    <message>
        <source>Tak</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nie</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Porty COM1..COM4: urządzenie, które każdy z nich oznacza (dcb.ini, sekcja &quot;COM ports&quot;),
i czy można go teraz otworzyć.
</source>
        <translation>Ports COM1..COM4: the device each of them stands for (dcb.ini, section &quot;COM ports&quot;),
and whether it can be opened now.
</translation>
    </message>
    <message>
        <source>Test interfejsu: pyta układ interfejsu o stan i podaje jego bity stanu słowami albo
to, że żaden układ nie odpowiedział (status 1), z tym, co sprawdzić.
</source>
        <translation>Interface test: asks the interface chip for its state and gives its state bits in words,
or that no chip answered (status 1), with what to check.
</translation>
    </message>
    <message>
        <source>Wszystkie elementy w trybie programowania, po adresie fizycznym: rozsyła odczyt
adresu i przez kilka sekund zbiera odpowiedzi. Status 1, gdy żaden nie odpowiedział.
</source>
        <translation>Every device in programming mode, by physical address: broadcasts the address read
and collects the answers for a few seconds. Status 1 when none answered.
</translation>
    </message>
    <message>
        <source>read [--json] [-o PLIK]</source>
        <translation>read [--json] [-o FILE]</translation>
    </message>
    <message>
        <source>Odczytuje konfigurację elementu w trybie programowania procedurą przycisku Odczyt
(adres fizyczny, tablica adresów grupowych, programy WY1/WY2, tryb wejść; pytania
procedury otrzymują odpowiedź Tak).
  --json         wypisuje konfigurację jako plik konfiguracji (na standardowe wyjście)
  -o, --output PLIK  zapisuje ją do pliku konfiguracji (atomowo)
Bez --json i -o wypisuje ją w wierszach &quot;klucz: wartość&quot;.
</source>
        <translation>Reads the configuration of the device in programming mode with the Read button&apos;s
procedure (physical address, group address table, programs of WY1/WY2, input mode;
the procedure&apos;s questions are answered Yes).
  --json         prints the configuration as a configuration file (to standard output)
  -o, --output FILE  saves it to a configuration file (atomically)
Without --json and -o it prints it in lines &quot;key: value&quot;.
</translation>
    </message>
    <message>
        <source>write PLIK (--yes | --only ETAPY)</source>
        <translation>write FILE (--yes | --only STAGES)</translation>
    </message>
    <message>
        <source>Zapisuje konfigurację z pliku do elementu w trybie programowania procedurą przycisku
Zapis. Plik jest sprawdzany w całości, zanim cokolwiek trafi na magistralę.
  -y, --yes      odpowiada Tak na każde pytanie procedury
  --only ETAPY   odpowiada Tak tylko dla wymienionych etapów (po przecinku):
                 address   zapis mimo zajętego adresu fizycznego
                 groups    tablica adresów grupowych
                 programs  programy WY1 i WY2
                 inputs    tryb pracy wejść
                 Odpowiedź Nie kończy zapis, jak w oknie: programs wymaga groups,
                 inputs wymaga programs.
</source>
        <translation>Writes the configuration from the file into the device in programming mode with the
Write button&apos;s procedure. The file is checked whole before anything reaches the bus.
  -y, --yes      answers Yes to every question of the procedure
  --only STAGES  answers Yes only for the stages named (comma-separated):
                 address   write although the physical address is taken
                 groups    the group address table
                 programs  the programs of WY1 and WY2
                 inputs    the input mode
                 A No ends the write, as in the window: programs needs groups,
                 inputs needs programs.
</translation>
    </message>
    <message>
        <source>verify PLIK</source>
        <translation>verify FILE</translation>
    </message>
    <message>
        <source>Odczytuje element w trybie programowania procedurą przycisku Odczyt i porównuje go
z plikiem pozycja po pozycji (oczekiwano / odczytano). Status 0: zgodny, 1: różny
albo odczyt się nie powiódł.
</source>
        <translation>Reads the device in programming mode with the Read button&apos;s procedure and compares it
with the file item by item (expected / read). Status 0: the same, 1: different
or the read failed.
</translation>
    </message>
    <message>
        <source>switch GRUPA on|off</source>
        <translation>switch GROUP on|off</translation>
    </message>
    <message>
        <source>Załącza (on) lub wyłącza (off) grupę, np. 0/0/2, jak przyciski Załącz grupę /
Wyłącz grupę.
</source>
        <translation>Switches a group on (on) or off (off), e.g. 0/0/2, as the buttons Group on /
Group off do.
</translation>
    </message>
    <message>
        <source>Wypisuje każdą ramkę z magistrali, zdekodowaną, wiersz po wierszu, aż do Ctrl-C
(SIGINT) lub SIGTERM; niczego nie wysyła.
</source>
        <translation>Prints every frame on the bus, decoded, one a line, until Ctrl-C
(SIGINT) or SIGTERM; sends nothing.
</translation>
    </message>
    <message>
        <source>--only: nieznany etap &quot;%1&quot; (znane: address, groups, programs, inputs)</source>
        <translation>--only: unknown stage &quot;%1&quot; (known: address, groups, programs, inputs)</translation>
    </message>
    <message>
        <source>--only: brak etapów (address, groups, programs, inputs)</source>
        <translation>--only: no stages (address, groups, programs, inputs)</translation>
    </message>
    <message>
        <source>Użycie: kolvaro-cli [opcje ogólne] %1</source>
        <translation>Usage: kolvaro-cli [general options] %1</translation>
    </message>
    <message>
        <source>Użycie: kolvaro-cli [opcje ogólne] POLECENIE [argumenty]

Konfiguracja elementu magistralnego (wejścia WE1/WE2, wyjścia WY1/WY2) bez okna:
te same procedury co w oknie programu kolvaro.

Polecenia:
</source>
        <translation>Usage: kolvaro-cli [general options] COMMAND [arguments]

Configuring the bus device (inputs WE1/WE2, outputs WY1/WY2) without a window:
the same procedures as in the window of the program kolvaro.

Commands:
</translation>
    </message>
    <message>
        <source>opcja %1 wymaga wartości</source>
        <translation>option %1 needs a value</translation>
    </message>
    <message>
        <source>nieznana opcja %1</source>
        <translation>unknown option %1</translation>
    </message>
    <message>
        <source>--local %1: oczekiwano adresu fizycznego obszar.linia.urządzenie (0-15.0-15.0-255)</source>
        <translation>--local %1: a physical address area.line.device (0-15.0-15.0-255) expected</translation>
    </message>
    <message>
        <source>nie można otworzyć portu %1</source>
        <translation>cannot open port %1</translation>
    </message>
    <message>
        <source>%1: oczekiwano %2 argumentów (kolvaro-cli %1 --help)</source>
        <translation>%1: %2 arguments expected (kolvaro-cli %1 --help)</translation>
    </message>
    <message>
        <source>%1: opcje --yes i --only dotyczą tylko polecenia write</source>
        <translation>%1: the options --yes and --only belong to the command write only</translation>
    </message>
    <message>
        <source>%1: opcje --json i -o dotyczą tylko polecenia read</source>
        <translation>%1: the options --json and -o belong to the command read only</translation>
    </message>
    <message>
        <source>można otworzyć</source>
        <translation>can be opened</translation>
    </message>
    <message>
        <source>nie można otworzyć</source>
        <translation>cannot be opened</translation>
    </message>
    <message>
        <source>odczyt nie powiódł się</source>
        <translation>the read failed</translation>
    </message>
    <message>
        <source>write: podaj --yes albo --only ETAPY (kolvaro-cli write --help)</source>
        <translation>write: give --yes or --only STAGES (kolvaro-cli write --help)</translation>
    </message>
    <message>
        <source>write --only: odpowiedź Nie kończy zapis, więc programs wymaga groups, a inputs wymaga programs</source>
        <translation>write --only: a No ends the write, so programs needs groups, and inputs needs programs</translation>
    </message>
    <message>
        <source>zapis nie powiódł się</source>
        <translation>the write failed</translation>
    </message>
    <message>
        <source>odczyt nie powiódł się, niczego nie porównano</source>
        <translation>the read failed, nothing was compared</translation>
    </message>
    <message>
        <source>element różni się od pliku w %1 pozycjach</source>
        <translation>the device differs from the file in %1 items</translation>
    </message>
    <message>
        <source>zgodny: element zawiera konfigurację z pliku</source>
        <translation>the same: the device holds the configuration of the file</translation>
    </message>
    <message>
        <source>switch %1: oczekiwano adresu grupowego główna/środkowa/podgrupa (0-15/0-7/0-255)</source>
        <translation>switch %1: a group address main/middle/sub (0-15/0-7/0-255) expected</translation>
    </message>
    <message>
        <source>switch: oczekiwano on albo off, jest %1</source>
        <translation>switch: on or off expected, not %1</translation>
    </message>
    <message>
        <source>nie udało się wysłać telegramu</source>
        <translation>the telegram could not be sent</translation>
    </message>
    <message>
        <source>nieznane polecenie %1 (kolvaro-cli --help)</source>
        <translation>unknown command %1 (kolvaro-cli --help)</translation>
    </message>
    <message>
        <source>nie ramka: %1</source>
        <translation>not a frame: %1</translation>
    </message>
    <message>
        <source>, priorytet %1, licznik %2</source>
        <translation>, priority %1, counter %2</translation>
    </message>
    <message>
        <source>, powtórzenie</source>
        <translation>, repetition</translation>
    </message>
    <message>
        <source>, suma %1</source>
        <translation>, checksum %1</translation>
    </message>
    <message>
        <source>Opcje ogólne:
  -p, --port PORT        COM1..COM4 albo ścieżka urządzenia (domyślnie: najniższy
                         wolny port COM1..COM4, jak w oknie)
      --tunnel HOST[:PORT]  przez interfejs KNXnet/IP (tunel, port domyślnie 3671)
                         zamiast portu; adres własny nadaje serwer (bez --local)
  -l, --local ADRES      własny adres fizyczny programu (domyślnie 15.15.254)
      --config-dir KAT   katalog z plikiem dcb.ini (domyślnie ten sam co okna)
      --language JĘZYK   pl albo en (domyślnie: KOLVARO_LANGUAGE, potem wybór z okna
                         zapisany w dcb.ini, potem pl)
  -h, --help             pomoc (także: kolvaro-cli POLECENIE --help)
  -V, --version          wersja programu

Status wyjścia: 0 wykonano; 1 magistrala lub element odmówiły (brak elementu, kilka
elementów w trybie programowania, adres zajęty bez zgody, konfiguracja różna);
2 błędny wiersz poleceń lub plik; 3 nie można otworzyć portu albo połączyć się
z interfejsem KNXnet/IP, lub połączenie zostało zerwane.
</source>
        <translation>General options:
  -p, --port PORT        COM1..COM4 or a device path (default: the lowest free port
                         of COM1..COM4, as in the window)
      --tunnel HOST[:PORT]  through a KNXnet/IP interface (tunnel, port 3671 by default)
                         instead of a port; the server assigns the own address (no --local)
  -l, --local ADDRESS    the program&apos;s own physical address (default 15.15.254)
      --config-dir DIR   the directory of dcb.ini (default: the window&apos;s)
      --language LANG    pl or en (default: KOLVARO_LANGUAGE, then the window&apos;s choice
                         kept in dcb.ini, then pl)
  -h, --help             help (also: kolvaro-cli COMMAND --help)
  -V, --version          the program&apos;s version

Exit status: 0 done; 1 the bus or the device refused (no device, several devices in
programming mode, address taken without consent, configuration different);
2 bad command line or file; 3 the port cannot be opened, the KNXnet/IP interface
cannot be reached, or the connection broke.
</translation>
    </message>
    <message>
        <source>nie można połączyć się z interfejsem KNXnet/IP %1: %2</source>
        <translation>cannot connect to the KNXnet/IP interface %1: %2</translation>
    </message>
    <message>
        <source>--local i --tunnel razem: adres własny w tunelu nadaje serwer</source>
        <translation>--local and --tunnel together: in a tunnel the server assigns the own address</translation>
    </message>
    <message>
        <source>Brak połączenia z interfejsem KNXnet/IP %1: %2.
Sprawdź: adres i port interfejsu, czy jest włączony i osiągalny w sieci, oraz czy nie obsługuje już innych połączeń.</source>
        <translation>No connection to the KNXnet/IP interface %1: %2.
Check the interface&apos;s address and port, that it is on and reachable on the network, and that it is not already serving other connections.</translation>
    </message>
    <message>
        <source>Interfejs KNXnet/IP %1: kanał %2, przydzielony adres %3. </source>
        <translation>KNXnet/IP interface %1: channel %2, assigned address %3. </translation>
    </message>
    <message>
        <source>Serwer nie odpowiedział na pytanie o stan połączenia.</source>
        <translation>The server did not answer the connection-state request.</translation>
    </message>
    <message>
        <source>Stan połączenia po %1 ms: %2.</source>
        <translation>Connection state after %1 ms: %2.</translation>
    </message>
    <message>
        <source>nie znaleziono adresu %1 (%2)</source>
        <translation>no address found for %1 (%2)</translation>
    </message>
    <message>
        <source>nie można otworzyć gniazda UDP (%1)</source>
        <translation>cannot open a UDP socket (%1)</translation>
    </message>
    <message>
        <source>łączenie z %1</source>
        <translation>connecting to %1</translation>
    </message>
    <message>
        <source>datagram pominięty przed połączeniem</source>
        <translation>datagram dropped before the connection</translation>
    </message>
    <message>
        <source>serwer %1 odmówił połączenia: %2</source>
        <translation>server %1 refused the connection: %2</translation>
    </message>
    <message>
        <source>połączono z %1: kanał %2, adres %3</source>
        <translation>connected to %1: channel %2, address %3</translation>
    </message>
    <message>
        <source>serwer %1 nie odpowiedział na prośbę o połączenie w ciągu %2 s</source>
        <translation>server %1 did not answer the connect request within %2 s</translation>
    </message>
    <message>
        <source>rozłączono na żądanie programu</source>
        <translation>disconnected by the program</translation>
    </message>
    <message>
        <source>połączenie z %1 zerwane: %2</source>
        <translation>connection to %1 lost: %2</translation>
    </message>
    <message>
        <source>brak odpowiedzi na pytanie o stan połączenia (%1 z %2)</source>
        <translation>no answer to the connection-state request (%1 of %2)</translation>
    </message>
    <message>
        <source>serwer nie odpowiada na pytania o stan połączenia</source>
        <translation>the server does not answer connection-state requests</translation>
    </message>
    <message>
        <source>pytanie o stan połączenia</source>
        <translation>connection-state request</translation>
    </message>
    <message>
        <source>datagram od innego nadawcy (%1) pominięty</source>
        <translation>datagram from another sender (%1) dropped</translation>
    </message>
    <message>
        <source>datagram pominięty: %1</source>
        <translation>datagram dropped: %1</translation>
    </message>
    <message>
        <source>datagram dla innego kanału (%1) pominięty</source>
        <translation>datagram for another channel (%1) dropped</translation>
    </message>
    <message>
        <source>potwierdzenie z numerem %1 zamiast %2 pominięte</source>
        <translation>ack numbered %1 instead of %2 dropped</translation>
    </message>
    <message>
        <source>serwer odrzucił żądanie: %1</source>
        <translation>the server rejected the request: %1</translation>
    </message>
    <message>
        <source>stan połączenia: %1</source>
        <translation>connection state: %1</translation>
    </message>
    <message>
        <source>serwer zakończył połączenie</source>
        <translation>the server ended the connection</translation>
    </message>
    <message>
        <source>datagram nieoczekiwany w połączeniu pominięty</source>
        <translation>datagram not expected in the connection dropped</translation>
    </message>
    <message>
        <source>powtórzone żądanie nr %1: potwierdzone ponownie, pominięte</source>
        <translation>repeated request %1: acknowledged again, dropped</translation>
    </message>
    <message>
        <source>żądanie nr %1 poza kolejnością (oczekiwano %2) pominięte</source>
        <translation>request %1 out of order (%2 expected) dropped</translation>
    </message>
    <message>
        <source>wiadomość cEMI pominięta: %1</source>
        <translation>cEMI message dropped: %1</translation>
    </message>
    <message>
        <source>L_Data.con negatywne: ramka niepotwierdzona</source>
        <translation>L_Data.con negative: frame not acknowledged</translation>
    </message>
    <message>
        <source>L_Data.con pozytywne: ramka potwierdzona</source>
        <translation>L_Data.con positive: frame acknowledged</translation>
    </message>
    <message>
        <source> (nie do bieżącej ramki)</source>
        <translation> (not for the current frame)</translation>
    </message>
    <message>
        <source>L_Data.req nr %1</source>
        <translation>L_Data.req %1</translation>
    </message>
    <message>
        <source>L_Data.req nr %1 powtórzone: brak potwierdzenia</source>
        <translation>L_Data.req %1 repeated: no ack</translation>
    </message>
    <message>
        <source>serwer nie potwierdził żądania ani jego powtórzenia</source>
        <translation>the server acknowledged neither the request nor its repetition</translation>
    </message>
    <message>
        <source>brak L_Data.con w ciągu %1 ms</source>
        <translation>no L_Data.con within %1 ms</translation>
    </message>
    <message>
        <source>adres %1 jest zajęty: serwer %2 przydzielił go temu tunelowi</source>
        <translation>address %1 is taken: server %2 assigned it to this tunnel</translation>
    </message>
    <message>
        <source>nagłówek nie jest nagłówkiem KNXnet/IP</source>
        <translation>the header is not a KNXnet/IP header</translation>
    </message>
    <message>
        <source>długość w nagłówku nie zgadza się z datagramem</source>
        <translation>the length in the header does not match the datagram</translation>
    </message>
    <message>
        <source>treść nie pasuje do rodzaju datagramu</source>
        <translation>the body does not fit the datagram&apos;s type</translation>
    </message>
    <message>
        <source>nieznany rodzaj datagramu</source>
        <translation>unknown datagram type</translation>
    </message>
    <message>
        <source>wiadomość cEMI za krótka</source>
        <translation>cEMI message too short</translation>
    </message>
    <message>
        <source>wiadomość cEMI innego rodzaju niż dane</source>
        <translation>cEMI message other than data</translation>
    </message>
    <message>
        <source>ramka rozszerzona, nieobsługiwana</source>
        <translation>extended frame, not supported</translation>
    </message>
    <message>
        <source>długość ramki w cEMI nie zgadza się</source>
        <translation>the frame length in the cEMI message does not match</translation>
    </message>
    <message>
        <source>bez błędu</source>
        <translation>no error</translation>
    </message>
    <message>
        <source>serwer nie zna tego kanału</source>
        <translation>the server does not know this channel</translation>
    </message>
    <message>
        <source>serwer nie obsługuje połączeń tunelowych</source>
        <translation>the server does not support tunnelling connections</translation>
    </message>
    <message>
        <source>serwer nie obsługuje opcji połączenia</source>
        <translation>the server does not support an option of the connection</translation>
    </message>
    <message>
        <source>brak wolnych połączeń na serwerze</source>
        <translation>no free connections on the server</translation>
    </message>
    <message>
        <source>błąd połączenia danych</source>
        <translation>data connection error</translation>
    </message>
    <message>
        <source>serwer nie ma połączenia z magistralą</source>
        <translation>the server has no connection to the bus</translation>
    </message>
    <message>
        <source>serwer nie obsługuje tunelu warstwy łącza</source>
        <translation>the server does not support a link-layer tunnel</translation>
    </message>
    <message>
        <source>kod błędu %1</source>
        <translation>error code %1</translation>
    </message>
    <message>
        <source>Połączenie z interfejsem KNXnet/IP %1:%2</source>
        <translation>Connection to the KNXnet/IP interface %1:%2</translation>
    </message>
    <message>
        <source>Interfejs KNXnet/IP</source>
        <translation>KNXnet/IP interface</translation>
    </message>
    <message>
        <source>Nie można połączyć się z interfejsem KNXnet/IP %1:%2: %3.
Używany jest nadal port szeregowy.</source>
        <translation>Cannot connect to the KNXnet/IP interface %1:%2: %3.
The serial port stays in use.</translation>
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
    <name>kolvaro::TLanguageMenu</name>
    <message>
        <source>Język</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Nie udało się zapisać wyboru języka w pliku dcb.ini.</source>
        <translation>The language chosen could not be saved in dcb.ini.</translation>
    </message>
    <message>
        <source>Wybrany język okna obowiązuje od następnego uruchomienia programu.</source>
        <translation>The window shows the language chosen from the next start of the program.</translation>
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
    <message>
        <source>Interfejs KNXnet/IP</source>
        <translation>KNXnet/IP interface</translation>
    </message>
    <message>
        <source>Adres interfejsu:</source>
        <translation>Interface address:</translation>
    </message>
    <message>
        <source>Port UDP:</source>
        <translation>UDP port:</translation>
    </message>
    <message>
        <source>Interfejs KNXnet/IP...</source>
        <translation>KNXnet/IP interface...</translation>
    </message>
    <message>
        <source>Adres przydzielony przez interfejs KNXnet/IP %1</source>
        <translation>Address assigned by the KNXnet/IP interface %1</translation>
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
