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
    <message>
        <source>adres %1 jest zajęty: serwer %2 przydzielił go temu tunelowi</source>
        <translation>address %1 is taken: server %2 assigned it to this tunnel</translation>
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
