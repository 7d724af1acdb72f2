<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>AlarmIndicator</name>
    <message>
        <source>Unacknowledged alarms; click to open the event history</source>
        <translation>Nicht quittierte Alarme; Klick öffnet die Ereignishistorie</translation>
    </message>
    <message>
        <source>Alarms: %1</source>
        <translation>Alarme: %1</translation>
    </message>
    <message>
        <source>No alarms</source>
        <translation>Keine Alarme</translation>
    </message>
    <message>
        <source>Acknowledge All</source>
        <translation>Alle quittieren</translation>
    </message>
</context>
<context>
    <name>AlarmListModel</name>
    <message>
        <source>module</source>
        <translation>Modul</translation>
    </message>
    <message>
        <source>yes</source>
        <translation>ja</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Still there</source>
        <translation>Besteht noch</translation>
    </message>
    <message>
        <source>Acknowledged</source>
        <translation>Quittiert</translation>
    </message>
</context>
<context>
    <name>BrokerDialog</name>
    <message>
        <source>Broker</source>
        <translation>Broker</translation>
    </message>
    <message>
        <source>&amp;Host:</source>
        <translation>&amp;Rechner:</translation>
    </message>
    <message>
        <source>&amp;Port:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>Topic p&amp;refix:</source>
        <translation>Topic-P&amp;räfix:</translation>
    </message>
    <message>
        <source>&amp;User:</source>
        <translation>&amp;Benutzer:</translation>
    </message>
    <message>
        <source>Pass&amp;word:</source>
        <translation>Pass&amp;wort:</translation>
    </message>
    <message>
        <source>&amp;CA file (TLS):</source>
        <translation>&amp;CA-Datei (TLS):</translation>
    </message>
    <message>
        <source>Client c&amp;ertificate:</source>
        <translation>Client-&amp;Zertifikat:</translation>
    </message>
    <message>
        <source>Client &amp;key:</source>
        <translation>Client-&amp;Schlüssel:</translation>
    </message>
    <message>
        <source>Use &amp;TLS (with the system&apos;s certificate authorities when no CA file is given)</source>
        <translation>&amp;TLS verwenden (mit den Zertifizierungsstellen des Systems, wenn keine CA-Datei angegeben ist)</translation>
    </message>
</context>
<context>
    <name>Channel</name>
    <message>
        <source>nominal voltage of channel %1 not known yet</source>
        <translation>Nennspannung von Kanal %1 noch nicht bekannt</translation>
    </message>
    <message>
        <source>nominal current of channel %1 not known yet</source>
        <translation>Nennstrom von Kanal %1 noch nicht bekannt</translation>
    </message>
    <message>
        <source>nominal voltage of channel %1 is &quot;%2&quot;: no set value is taken for it</source>
        <translation>Nennspannung von Kanal %1 ist &quot;%2&quot;: kein Sollwert wird dafür angenommen</translation>
    </message>
    <message>
        <source>nominal current of channel %1 is &quot;%2&quot;: no set value is taken for it</source>
        <translation>Nennstrom von Kanal %1 ist &quot;%2&quot;: kein Sollwert wird dafür angenommen</translation>
    </message>
    <message>
        <source>%1 %2 is outside %3 ... %4 %2 of channel %5</source>
        <translation>%1 %2 liegt außerhalb %3 ... %4 %2 von Kanal %5</translation>
    </message>
</context>
<context>
    <name>CommandGate</name>
    <message numerus="yes">
        <source>busy: %n commands wait for the module</source>
        <translation>
            <numerusform>belegt: %n Befehl wartet auf das Modul</numerusform>
            <numerusform>belegt: %n Befehle warten auf das Modul</numerusform>
        </translation>
    </message>
    <message>
        <source>more than %1 commands a second</source>
        <translation>mehr als %1 Befehle pro Sekunde</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Control panel for Vornwerk high-voltage power-supply modules.</source>
        <translation>Bedienoberfläche für Vornwerk-Hochspannungsmodule.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos;.
</source>
        <translation>%1: %2
„%1 --help“ zeigt die möglichen Optionen.
</translation>
    </message>
</context>
<context>
    <name>ConsoleWindow</name>
    <message>
        <source>SCPI Console</source>
        <translation>SCPI-Konsole</translation>
    </message>
    <message>
        <source>Command:</source>
        <translation>Befehl:</translation>
    </message>
    <message>
        <source>:READ:VOLT? (@0)</source>
        <translation>:READ:VOLT? (@0)</translation>
    </message>
    <message>
        <source>&amp;Send</source>
        <translation>&amp;Senden</translation>
    </message>
    <message>
        <source>C&amp;lear</source>
        <translation>&amp;Leeren</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>Refused: the line is longer than %1 characters.</source>
        <translation>Abgelehnt: Die Zeile ist länger als %1 Zeichen.</translation>
    </message>
    <message>
        <source>Refused: the line contains a control character.</source>
        <translation>Abgelehnt: Die Zeile enthält ein Steuerzeichen.</translation>
    </message>
    <message>
        <source>Refused: the line contains a character the module cannot receive.</source>
        <translation>Abgelehnt: Die Zeile enthält ein Zeichen, das das Modul nicht empfangen kann.</translation>
    </message>
    <message>
        <source>Not sent: no module is connected (%1).</source>
        <translation>Nicht gesendet: Kein Modul verbunden (%1).</translation>
    </message>
    <message>
        <source>             (&quot;;*OPC?&quot; appended: the module answers only queries)</source>
        <translation>             („;*OPC?“ angehängt: Das Modul antwortet nur auf Abfragen)</translation>
    </message>
    <message>
        <source>%1 Connection lost: no answer to &quot;%2&quot;.</source>
        <translation>%1 Verbindung verloren: keine Antwort auf „%2“.</translation>
    </message>
    <message>
        <source>Not sent: %1</source>
        <translation>Nicht gesendet: %1</translation>
    </message>
</context>
<context>
    <name>ControlRoomWindow</name>
    <message>
        <source>Vorn Control Room</source>
        <translation>Vorn-Leitstand</translation>
    </message>
    <message>
        <source>Search modules (name, serial, device, bridge, state)</source>
        <translation>Module suchen (Name, Seriennummer, Gerät, Bridge, Zustand)</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>Acknowledge...</source>
        <translation>Quittieren...</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>Modul</translation>
    </message>
    <message>
        <source>Select a module or a channel in the overview.</source>
        <translation>Wählen Sie in der Übersicht ein Modul oder einen Kanal.</translation>
    </message>
    <message>
        <source>Set voltage...</source>
        <translation>Spannung setzen...</translation>
    </message>
    <message>
        <source>Set current...</source>
        <translation>Strom setzen...</translation>
    </message>
    <message>
        <source>Clear events</source>
        <translation>Ereignisse löschen</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Emergency off</source>
        <translation>Notaus</translation>
    </message>
    <message>
        <source>Sequences</source>
        <translation>Sequenzen</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Starten</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Anhalten</translation>
    </message>
    <message>
        <source>Resume</source>
        <translation>Fortsetzen</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Modules</source>
        <translation>&amp;Module</translation>
    </message>
    <message>
        <source>&amp;Broker...</source>
        <translation>&amp;Broker...</translation>
    </message>
    <message>
        <source>&amp;Export overview as CSV...</source>
        <translation>Übersicht als CSV &amp;exportieren...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Ctrl+Q</source>
        <translation>Ctrl+Q</translation>
    </message>
    <message>
        <source>&amp;All off...</source>
        <translation>&amp;Alle aus...</translation>
    </message>
    <message>
        <source>Broker %1:%2 not connected: %3</source>
        <translation>Broker %1:%2 nicht verbunden: %3</translation>
    </message>
    <message>
        <source>The bridge refused: %1</source>
        <translation>Die Bridge hat abgelehnt: %1</translation>
    </message>
    <message>
        <source>The broker settings can not be used.</source>
        <translation>Die Broker-Einstellungen sind nicht verwendbar.</translation>
    </message>
    <message>
        <source>Connected to %1:%2, prefix %3</source>
        <translation>Verbunden mit %1:%2, Präfix %3</translation>
    </message>
    <message>
        <source>Connecting to %1:%2 ...</source>
        <translation>Verbinde mit %1:%2 ...</translation>
    </message>
    <message numerus="yes">
        <source>%n alarm(s)</source>
        <translation>
            <numerusform>%n Alarm</numerusform>
            <numerusform>%n Alarme</numerusform>
        </translation>
    </message>
    <message>
        <source>Not connected to the broker.</source>
        <translation>Nicht mit dem Broker verbunden.</translation>
    </message>
    <message>
        <source>The module is stale: its bridge or its values are gone.</source>
        <translation>Das Modul ist veraltet: seine Bridge oder seine Werte fehlen.</translation>
    </message>
    <message>
        <source>Its bridge takes no commands for this module (commands = off in its file).</source>
        <translation>Seine Bridge nimmt für dieses Modul keine Befehle an (commands = off in ihrer Datei).</translation>
    </message>
    <message>
        <source>Two modules share this serial number: the bridge takes only offs.</source>
        <translation>Zwei Module haben diese Seriennummer: die Bridge nimmt nur Abschaltungen an.</translation>
    </message>
    <message>
        <source>Module %1 (%2, serial %3), %4</source>
        <translation>Modul %1 (%2, Seriennummer %3), %4</translation>
    </message>
    <message>
        <source>channel %1</source>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <source>all channels</source>
        <translation>alle Kanäle</translation>
    </message>
    <message>
        <source>No sequence has run on this module.</source>
        <translation>Auf diesem Modul ist keine Sequenz gelaufen.</translation>
    </message>
    <message>
        <source>%1: %2, step %3 of %4, %5 s%6</source>
        <translation>%1: %2, Schritt %3 von %4, %5 s%6</translation>
    </message>
    <message>
        <source>Not sent: the broker is not connected.</source>
        <translation>Nicht gesendet: der Broker ist nicht verbunden.</translation>
    </message>
    <message>
        <source>Acknowledge</source>
        <translation>Quittieren</translation>
    </message>
    <message>
        <source>Note (optional):</source>
        <translation>Notiz (freiwillig):</translation>
    </message>
    <message>
        <source>Export overview</source>
        <translation>Übersicht exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>%1 could not be written: %2</source>
        <translation>%1 konnte nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>All off</source>
        <translation>Alle aus</translation>
    </message>
    <message>
        <source>Switch off all %1 channels of %2 modules?</source>
        <translation>Alle %1 Kanäle von %2 Modulen ausschalten?</translation>
    </message>
    <message>
        <source>All off: all %1 modules report their channels off.</source>
        <translation>Alle aus: alle %1 Module melden ihre Kanäle aus.</translation>
    </message>
    <message>
        <source>All off: %1 of %2 modules report their channels off; not yet: %3</source>
        <translation>Alle aus: %1 von %2 Modulen melden ihre Kanäle aus; noch nicht: %3</translation>
    </message>
    <message>
        <source>Set voltage</source>
        <translation>Spannung setzen</translation>
    </message>
    <message>
        <source>Set current</source>
        <translation>Strom setzen</translation>
    </message>
    <message>
        <source>Broker</source>
        <translation>Broker</translation>
    </message>
    <message>
        <source>The password could not be kept in the desktop&apos;s secret store (%1): it is used until the program ends.</source>
        <translation>Das Passwort konnte nicht im Schlüsselbund des Desktops abgelegt werden (%1): es gilt, bis das Programm endet.</translation>
    </message>
    <message>
        <source>- the module shows it done.</source>
        <translation>- das Modul zeigt es ausgeführt.</translation>
    </message>
    <message>
        <source>Vset (V)</source>
        <translation>Vset (V)</translation>
    </message>
    <message>
        <source>Vmeas (V)</source>
        <translation>Vmeas (V)</translation>
    </message>
    <message>
        <source>Vbounds (V)</source>
        <translation>Vbounds (V)</translation>
    </message>
    <message>
        <source>Vnominal (V)</source>
        <translation>Vnominal (V)</translation>
    </message>
    <message>
        <source>Iset (mA)</source>
        <translation>Iset (mA)</translation>
    </message>
    <message>
        <source>Imeas (mA)</source>
        <translation>Imeas (mA)</translation>
    </message>
    <message>
        <source>Ibounds (mA)</source>
        <translation>Ibounds (mA)</translation>
    </message>
    <message>
        <source>Inominal (mA)</source>
        <translation>Inominal (mA)</translation>
    </message>
    <message>
        <source>Power (W)</source>
        <translation>Leistung (W)</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>CV</source>
        <translation>CV</translation>
    </message>
    <message>
        <source>CC</source>
        <translation>CC</translation>
    </message>
    <message>
        <source>Channel Control</source>
        <translation>Kanalsteuerung</translation>
    </message>
    <message>
        <source>Channel Status</source>
        <translation>Kanalstatus</translation>
    </message>
    <message>
        <source>Channel Event Status</source>
        <translation>Kanal-Ereignisstatus</translation>
    </message>
    <message>
        <source>Channel Event Mask</source>
        <translation>Kanal-Ereignismaske</translation>
    </message>
    <message>
        <source>Module Control</source>
        <translation>Modulsteuerung</translation>
    </message>
    <message>
        <source>Module Status</source>
        <translation>Modulstatus</translation>
    </message>
    <message>
        <source>Module Event Status</source>
        <translation>Modul-Ereignisstatus</translation>
    </message>
    <message>
        <source>Module Event Mask</source>
        <translation>Modul-Ereignismaske</translation>
    </message>
    <message>
        <source>Trend</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>stale since %1</source>
        <translation>veraltet seit %1</translation>
    </message>
    <message numerus="yes">
        <source>Measured values of module %1 (%2), %3, from its topics since it was first chosen (%n sample(s)).</source>
        <translation>
            <numerusform>Messwerte von Modul %1 (%2), %3, aus seinen Topics, seit es zuerst gewählt wurde (%n Messpunkt).</numerusform>
            <numerusform>Messwerte von Modul %1 (%2), %3, aus seinen Topics, seit es zuerst gewählt wurde (%n Messpunkte).</numerusform>
        </translation>
    </message>
    <message>
        <source>Not sent: the bridge takes set voltages and currents; bounds are set in the panel.</source>
        <translation>Nicht gesendet: Die Bridge nimmt Soll-Spannungen und -Ströme an; Grenzen werden im Bedienfeld gesetzt.</translation>
    </message>
    <message>
        <source>Not sent: &quot;%1&quot; is not a number.</source>
        <translation>Nicht gesendet: „%1“ ist keine Zahl.</translation>
    </message>
    <message>
        <source>Module %1: %2</source>
        <translation>Modul %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>%n new alarm(s) in the control room</source>
        <translation>
            <numerusform>%n neuer Alarm im Kontrollraum</numerusform>
            <numerusform>%n neue Alarme im Kontrollraum</numerusform>
        </translation>
    </message>
    <message>
        <source>Which modules the overview shows</source>
        <translation>Welche Module die Übersicht zeigt</translation>
    </message>
    <message>
        <source>All modules</source>
        <translation>Alle Module</translation>
    </message>
    <message>
        <source>With alarms</source>
        <translation>Mit Alarmen</translation>
    </message>
    <message>
        <source>With channels on</source>
        <translation>Mit eingeschalteten Kanälen</translation>
    </message>
    <message>
        <source>With a channel tripped</source>
        <translation>Mit ausgelöstem Kanal</translation>
    </message>
    <message>
        <source>Stale, offline or clashing</source>
        <translation>Veraltet, offline oder doppelt</translation>
    </message>
    <message>
        <source>Not sent: %1</source>
        <translation>Nicht gesendet: %1</translation>
    </message>
    <message>
        <source>set voltage %1 V</source>
        <translation>Soll-Spannung %1 V</translation>
    </message>
    <message>
        <source>set current %1 A</source>
        <translation>Soll-Strom %1 A</translation>
    </message>
    <message>
        <source>on</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>emergency off</source>
        <translation>Not-Aus</translation>
    </message>
    <message>
        <source>clear emergency off</source>
        <translation>Not-Aus aufheben</translation>
    </message>
    <message>
        <source>clear events</source>
        <translation>Ereignisse löschen</translation>
    </message>
    <message>
        <source>Sent %1 to module %2, %3</source>
        <translation>%1 an Modul %2 gesendet, %3</translation>
    </message>
    <message>
        <source>Not sent: %1 is outside %2 ... %3 %4.</source>
        <translation>Nicht gesendet: %1 liegt außerhalb von %2 ... %3 %4.</translation>
    </message>
</context>
<context>
    <name>DialogChannelControl</name>
    <message>
        <source>Channel Control / Status</source>
        <translation>Kanalsteuerung / Status</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Status Is Voltage Limit</source>
        <translation>Status: Spannungsgrenzwert überschritten</translation>
    </message>
    <message>
        <source>Is Voltage Limit</source>
        <translation>U-Grenzwert</translation>
    </message>
    <message>
        <source>Status Is Current Limit</source>
        <translation>Status: Stromgrenzwert überschritten</translation>
    </message>
    <message>
        <source>Is Current Limit</source>
        <translation>I-Grenzwert</translation>
    </message>
    <message>
        <source>Status Is Trip</source>
        <translation>Status: Trip ausgelöst</translation>
    </message>
    <message>
        <source>Is Trip</source>
        <translation>Trip</translation>
    </message>
    <message>
        <source>Status Is External Inhibit</source>
        <translation>Status: externer Inhibit aktiv</translation>
    </message>
    <message>
        <source>Is External Inhibit</source>
        <translation>Ext. Inhibit</translation>
    </message>
    <message>
        <source>Status Is Voltage Bounds</source>
        <translation>Status: Spannung außerhalb der Toleranz</translation>
    </message>
    <message>
        <source>Is Voltage Bounds</source>
        <translation>U-Toleranz</translation>
    </message>
    <message>
        <source>Status Is Current Bounds</source>
        <translation>Status: Strom außerhalb der Toleranz</translation>
    </message>
    <message>
        <source>Is Current Bounds</source>
        <translation>I-Toleranz</translation>
    </message>
    <message>
        <source>Status Is Controlled By Voltage</source>
        <translation>Status: Konstantspannungsregelung</translation>
    </message>
    <message>
        <source>Is Voltage Control</source>
        <translation>U-Regelung</translation>
    </message>
    <message>
        <source>Status Is Controlled By Current</source>
        <translation>Status: Konstantstromregelung</translation>
    </message>
    <message>
        <source>Is Current Control</source>
        <translation>I-Regelung</translation>
    </message>
    <message>
        <source>Status Is Emergency Off</source>
        <translation>Status: Not-Aus ausgelöst</translation>
    </message>
    <message>
        <source>Is Emergency Off</source>
        <translation>Not-Aus</translation>
    </message>
    <message>
        <source>Status Is Ramping</source>
        <translation>Status: Rampe läuft</translation>
    </message>
    <message>
        <source>Is Ramping</source>
        <translation>Rampe läuft</translation>
    </message>
    <message>
        <source>Status Is On</source>
        <translation>Status: Kanal eingeschaltet</translation>
    </message>
    <message>
        <source>Is On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Status Is Input Error</source>
        <translation>Status: Eingabefehler</translation>
    </message>
    <message>
        <source>Is Input Error</source>
        <translation>Eingabefehler</translation>
    </message>
    <message>
        <source>reserved</source>
        <translation>reserviert</translation>
    </message>
    <message>
        <source>Event Status</source>
        <translation>Ereignisstatus</translation>
    </message>
    <message>
        <source>Event Voltage Limit</source>
        <translation>U-Grenzwert</translation>
    </message>
    <message>
        <source>Event Current Limit</source>
        <translation>I-Grenzwert</translation>
    </message>
    <message>
        <source>Event Current Trip</source>
        <translation>Ereignis: Strom-Trip</translation>
    </message>
    <message>
        <source>Event Trip</source>
        <translation>Trip</translation>
    </message>
    <message>
        <source>Event External Inhibit</source>
        <translation>Ext. Inhibit</translation>
    </message>
    <message>
        <source>Event Voltage Bounds</source>
        <translation>U-Toleranz</translation>
    </message>
    <message>
        <source>Event Current Bounds</source>
        <translation>I-Toleranz</translation>
    </message>
    <message>
        <source>Event Controlled By Voltage</source>
        <translation>Ereignis: Konstantspannungsregelung</translation>
    </message>
    <message>
        <source>Event Voltage Control</source>
        <translation>U-Regelung</translation>
    </message>
    <message>
        <source>Event Controlled By Current</source>
        <translation>Ereignis: Konstantstromregelung</translation>
    </message>
    <message>
        <source>Event Current Control</source>
        <translation>I-Regelung</translation>
    </message>
    <message>
        <source>Event Emergency Off</source>
        <translation>Not-Aus</translation>
    </message>
    <message>
        <source>Event End Of Ramp</source>
        <translation>Rampenende</translation>
    </message>
    <message>
        <source>Event On</source>
        <translation>Ereignis: von Ein auf Aus geschaltet</translation>
    </message>
    <message>
        <source>Event Shut Off</source>
        <translation>Abschaltung</translation>
    </message>
    <message>
        <source>Event Input Error</source>
        <translation>Eingabefehler</translation>
    </message>
    <message>
        <source>Event Mask</source>
        <translation>Ereignismaske</translation>
    </message>
    <message>
        <source>Mask Event Voltage Limit</source>
        <translation>Ereignismaske Spannungsgrenzwert</translation>
    </message>
    <message>
        <source>Mask Voltage Limit</source>
        <translation>U-Grenzwert</translation>
    </message>
    <message>
        <source>Mask Event Current Limit</source>
        <translation>Ereignismaske Stromgrenzwert</translation>
    </message>
    <message>
        <source>Mask Current Limit</source>
        <translation>I-Grenzwert</translation>
    </message>
    <message>
        <source>Mask Event Current Trip</source>
        <translation>Ereignismaske Strom-Trip</translation>
    </message>
    <message>
        <source>Mask Trip</source>
        <translation>Trip</translation>
    </message>
    <message>
        <source>Mask Event External Inihibit</source>
        <translation>Ereignismaske externer Inhibit</translation>
    </message>
    <message>
        <source>Mask External Inhibit</source>
        <translation>Ext. Inhibit</translation>
    </message>
    <message>
        <source>Mask Event Voltage Bounds</source>
        <translation>Ereignismaske Spannungstoleranz</translation>
    </message>
    <message>
        <source>Mask Voltage Bounds</source>
        <translation>U-Toleranz</translation>
    </message>
    <message>
        <source>Mask Event Current Bounds</source>
        <translation>Ereignismaske Stromtoleranz</translation>
    </message>
    <message>
        <source>Mask Current Bounds</source>
        <translation>I-Toleranz</translation>
    </message>
    <message>
        <source>Mask Event Controlled by Voltage</source>
        <translation>Ereignismaske Konstantspannungsregelung</translation>
    </message>
    <message>
        <source>Mask Voltage Control</source>
        <translation>U-Regelung</translation>
    </message>
    <message>
        <source>Mask Event Controlled By Current</source>
        <translation>Ereignismaske Konstantstromregelung</translation>
    </message>
    <message>
        <source>Mask Current Control</source>
        <translation>I-Regelung</translation>
    </message>
    <message>
        <source>Mask Event Emergency OfF</source>
        <translation>Ereignismaske Not-Aus</translation>
    </message>
    <message>
        <source>Mask Emergency Off</source>
        <translation>Not-Aus</translation>
    </message>
    <message>
        <source>Mask Event End Of Ramp</source>
        <translation>Ereignismaske Rampenende</translation>
    </message>
    <message>
        <source>Mask End Of Ramp</source>
        <translation>Rampenende</translation>
    </message>
    <message>
        <source>Mask Event On</source>
        <translation>Ereignismaske Umschalten von Ein auf Aus</translation>
    </message>
    <message>
        <source>Mask Shut Off</source>
        <translation>Abschaltung</translation>
    </message>
    <message>
        <source>Mask Event Input Error</source>
        <translation>Ereignismaske Eingabefehler</translation>
    </message>
    <message>
        <source>Mask Input Error</source>
        <translation>Eingabefehler</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>Steuerung</translation>
    </message>
    <message>
        <source>Set High Voltage Emergency Off</source>
        <translation>Hochspannung per Not-Aus abschalten</translation>
    </message>
    <message>
        <source>Set Emergency Off</source>
        <translation>Not-Aus auslösen</translation>
    </message>
    <message>
        <source>Set High Voltage On</source>
        <translation>Hochspannung einschalten</translation>
    </message>
    <message>
        <source>Set On</source>
        <translation>Einschalten</translation>
    </message>
    <message>
        <source>Clear &amp;Events</source>
        <translation>&amp;Ereignisse löschen</translation>
    </message>
    <message>
        <source>Set &amp;Mask</source>
        <translation>&amp;Maske setzen</translation>
    </message>
    <message>
        <source>Set &amp;Control</source>
        <translation>&amp;Steuerwort setzen</translation>
    </message>
    <message>
        <source>Channel %1 Status / Control</source>
        <translation>Kanal %1 Status / Steuerung</translation>
    </message>
</context>
<context>
    <name>DialogConfiguration</name>
    <message>
        <source>Configuration</source>
        <translation>Konfiguration</translation>
    </message>
    <message>
        <source>Set configuration for..</source>
        <translation>Konfiguration gilt für..</translation>
    </message>
    <message>
        <source>All Devices</source>
        <translation>Alle Geräte</translation>
    </message>
    <message>
        <source>Firmware Name</source>
        <translation>Firmware-Name</translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>current Value:</source>
        <translation>aktueller Wert:</translation>
    </message>
    <message>
        <source>n.A.</source>
        <translation>k.A.</translation>
    </message>
    <message>
        <source>Voltage Settings</source>
        <translation>Spannung</translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation>Einheit:</translation>
    </message>
    <message>
        <source>Precision:</source>
        <translation>Nachkommastellen:</translation>
    </message>
    <message>
        <source>Current Settings</source>
        <translation>Strom</translation>
    </message>
    <message>
        <source>Columns Settings</source>
        <translation>Spalten</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Leistung</translation>
    </message>
    <message>
        <source>Vbounds</source>
        <translation>Vbounds</translation>
    </message>
    <message>
        <source>Ibounds</source>
        <translation>Ibounds</translation>
    </message>
</context>
<context>
    <name>DialogEmissionParameters</name>
    <message>
        <source>Emission Parameters</source>
        <translation>Emissionsparameter</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;body&gt;&lt;p&gt;The regulation is done by the following formula&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;K&lt;sub&gt;P&lt;/sub&gt; &amp;middot; &amp;Delta;I + K&lt;sub&gt;I&lt;/sub&gt; &amp;middot; &amp;Sigma;&amp;Delta;I + K&lt;sub&gt;D&lt;/sub&gt; &amp;middot; d&amp;Delta;I&lt;/p&gt;&lt;p&gt;with&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&amp;Delta;I = (I&lt;sub&gt;E&lt;/sub&gt; - I&lt;sub&gt;Eset&lt;/sub&gt;)&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;body&gt;&lt;p&gt;Die Regelung erfolgt nach der Formel&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;K&lt;sub&gt;P&lt;/sub&gt; &amp;middot; &amp;Delta;I + K&lt;sub&gt;I&lt;/sub&gt; &amp;middot; &amp;Sigma;&amp;Delta;I + K&lt;sub&gt;D&lt;/sub&gt; &amp;middot; d&amp;Delta;I&lt;/p&gt;&lt;p&gt;mit&lt;/p&gt;&lt;p align=&quot;center&quot;&gt;&amp;Delta;I = (I&lt;sub&gt;E&lt;/sub&gt; - I&lt;sub&gt;Eset&lt;/sub&gt;)&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Regulation Factors</source>
        <translation>Regelfaktoren</translation>
    </message>
    <message>
        <source>Factor Proportional (Kp):</source>
        <translation>Proportionalfaktor (Kp):</translation>
    </message>
    <message>
        <source>Factor Integral (Ki):</source>
        <translation>Integralfaktor (Ki):</translation>
    </message>
    <message>
        <source>Factor Differential (Kd):</source>
        <translation>Differentialfaktor (Kd):</translation>
    </message>
    <message>
        <source>Regulation Limits</source>
        <translation>Regelgrenzen</translation>
    </message>
    <message>
        <source>Filament Minimum (A):</source>
        <translation>Filamentstrom min. (A):</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;body&gt;&lt;p&gt;The minimum value for filament current set.&lt;/p&gt;&lt;p&gt;The regulation will not go lower than this value.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;body&gt;&lt;p&gt;Kleinster Sollwert für den Filamentstrom.&lt;/p&gt;&lt;p&gt;Die Regelung geht nicht unter diesen Wert.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Filament Maximum (A):</source>
        <translation>Filamentstrom max. (A):</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;body&gt;&lt;p&gt;The maximum value for filament current set.&lt;/p&gt;&lt;p&gt;The regulation will not go higher than this value.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;body&gt;&lt;p&gt;Größter Sollwert für den Filamentstrom.&lt;/p&gt;&lt;p&gt;Die Regelung geht nicht über diesen Wert.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
</context>
<context>
    <name>DialogInputOutput</name>
    <message>
        <source>Input/Output</source>
        <translation>Ein-/Ausgänge</translation>
    </message>
    <message>
        <source>High Voltage Output</source>
        <translation>Hochspannungsausgang</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keiner</translation>
    </message>
    <message>
        <source>HV 1</source>
        <translation>HV 1</translation>
    </message>
    <message>
        <source>HV 2</source>
        <translation>HV 2</translation>
    </message>
    <message>
        <source>Both</source>
        <translation>Beide</translation>
    </message>
    <message>
        <source>Filament Output</source>
        <translation>Filamentausgang</translation>
    </message>
    <message>
        <source>Cathode 1</source>
        <translation>Kathode 1</translation>
    </message>
    <message>
        <source>Cathode 2</source>
        <translation>Kathode 2</translation>
    </message>
    <message>
        <source>Cathode 3</source>
        <translation>Kathode 3</translation>
    </message>
    <message>
        <source>Cathode 4</source>
        <translation>Kathode 4</translation>
    </message>
    <message>
        <source>Digital Output</source>
        <translation>Digitalausgang</translation>
    </message>
    <message>
        <source>Water Valve 0</source>
        <translation>Wasserventil 0</translation>
    </message>
    <message>
        <source>Water Valve 1</source>
        <translation>Wasserventil 1</translation>
    </message>
    <message>
        <source>Chiller</source>
        <translation>Kühlaggregat</translation>
    </message>
    <message>
        <source>Interlock Inputs</source>
        <translation>Interlock-Eingänge</translation>
    </message>
    <message>
        <source>7</source>
        <translation>7</translation>
    </message>
    <message>
        <source>6</source>
        <translation>6</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
</context>
<context>
    <name>DialogModuleControl</name>
    <message>
        <source>Module Status / Control</source>
        <translation>Modulstatus / Steuerung</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Status Is Kill Enable</source>
        <translation>Status: Kill-Enable aktiv</translation>
    </message>
    <message>
        <source>Is Kill Enable</source>
        <translation>Kill-Enable</translation>
    </message>
    <message>
        <source>Status Is Temperature Good</source>
        <translation>Status: Temperatur in Ordnung</translation>
    </message>
    <message>
        <source>Is Temperature Good</source>
        <translation>Temperatur in Ordnung</translation>
    </message>
    <message>
        <source>Status Is Supply Good</source>
        <translation>Status: Versorgung in Ordnung</translation>
    </message>
    <message>
        <source>Is Supply Good</source>
        <translation>Versorgung in Ordnung</translation>
    </message>
    <message>
        <source>Status Is Module Good</source>
        <translation>Status: Modul in Ordnung</translation>
    </message>
    <message>
        <source>Is Module Good</source>
        <translation>Modul in Ordnung</translation>
    </message>
    <message>
        <source>Status Is Event Active</source>
        <translation>Status: Ereignis aktiv</translation>
    </message>
    <message>
        <source>Is Event Active</source>
        <translation>Ereignis aktiv</translation>
    </message>
    <message>
        <source>Status Is Safety Loop Good</source>
        <translation>Status: Sicherheitsschleife geschlossen</translation>
    </message>
    <message>
        <source>Is Safety Loop Good</source>
        <translation>Sicherheitsschleife geschlossen</translation>
    </message>
    <message>
        <source>Status Is No Channel Ramping</source>
        <translation>Status: kein Kanal fährt eine Rampe</translation>
    </message>
    <message>
        <source>Is No Ramp</source>
        <translation>Keine Rampe</translation>
    </message>
    <message>
        <source>Status Is No Sum Error</source>
        <translation>Status: kein Summenfehler</translation>
    </message>
    <message>
        <source>Is No Sum Error</source>
        <translation>Kein Summenfehler</translation>
    </message>
    <message>
        <source>Status Is Command Complete</source>
        <translation>Status: Befehl ausgeführt</translation>
    </message>
    <message>
        <source>Is Command Complete</source>
        <translation>Befehl ausgeführt</translation>
    </message>
    <message>
        <source>Status Is Special Mode</source>
        <translation>Status: Sondermodus aktiv</translation>
    </message>
    <message>
        <source>Is Special Mode</source>
        <translation>Sondermodus</translation>
    </message>
    <message>
        <source>Status Is Input Error</source>
        <translation>Status: Eingabefehler</translation>
    </message>
    <message>
        <source>Is Input Error</source>
        <translation>Eingabefehler</translation>
    </message>
    <message>
        <source>Status Is Service Needed</source>
        <translation>Status: Service erforderlich</translation>
    </message>
    <message>
        <source>Is Service Needed</source>
        <translation>Service erforderlich</translation>
    </message>
    <message>
        <source>Status Is Stop</source>
        <translation>Status: Stopp</translation>
    </message>
    <message>
        <source>Is Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Status Is Interlock Out</source>
        <translation>Status: Interlock-Ausgang aktiv</translation>
    </message>
    <message>
        <source>Is Interlock Out</source>
        <translation>Interlock-Ausgang</translation>
    </message>
    <message>
        <source>Status Is Adjusting</source>
        <translation>Status: Feinabgleich aktiv</translation>
    </message>
    <message>
        <source>Is Adjusting</source>
        <translation>Feinabgleich</translation>
    </message>
    <message>
        <source>reserved</source>
        <translation>reserviert</translation>
    </message>
    <message>
        <source>Event Status</source>
        <translation>Ereignisstatus</translation>
    </message>
    <message>
        <source>Event Temperature Nod Good</source>
        <translation>Ereignis: Temperatur nicht in Ordnung</translation>
    </message>
    <message>
        <source>Event Temperature Not Good</source>
        <translation>Temperatur nicht in Ordnung</translation>
    </message>
    <message>
        <source>Event Supply Nod Good</source>
        <translation>Ereignis: Versorgung nicht in Ordnung</translation>
    </message>
    <message>
        <source>Event Supply Not Good</source>
        <translation>Versorgung nicht in Ordnung</translation>
    </message>
    <message>
        <source>Event Safety Loop Not Good</source>
        <translation>Sicherheitsschleife offen</translation>
    </message>
    <message>
        <source>Event Input Error</source>
        <translation>Eingabefehler</translation>
    </message>
    <message>
        <source>Event Service Needed</source>
        <translation>Service erforderlich</translation>
    </message>
    <message>
        <source>Event Restart</source>
        <translation>Neustart</translation>
    </message>
    <message>
        <source>Event Mask</source>
        <translation>Ereignismaske</translation>
    </message>
    <message>
        <source>Mask Event Temperature Not Good</source>
        <translation>Ereignismaske Temperatur nicht in Ordnung</translation>
    </message>
    <message>
        <source>Mask Temperature Not Good</source>
        <translation>Temperatur nicht in Ordnung</translation>
    </message>
    <message>
        <source>Mask Event Supply Not Good</source>
        <translation>Ereignismaske Versorgung nicht in Ordnung</translation>
    </message>
    <message>
        <source>Mask Supply Not Good</source>
        <translation>Versorgung nicht in Ordnung</translation>
    </message>
    <message>
        <source>Mask Event Safety Loop Not Good</source>
        <translation>Ereignismaske Sicherheitsschleife offen</translation>
    </message>
    <message>
        <source>Mask Safety Loop Not Good</source>
        <translation>Sicherheitsschleife offen</translation>
    </message>
    <message>
        <source>Mask Event Input Error</source>
        <translation>Ereignismaske Eingabefehler</translation>
    </message>
    <message>
        <source>Mask Input Error</source>
        <translation>Eingabefehler</translation>
    </message>
    <message>
        <source>Mask Event Service Needed</source>
        <translation>Ereignismaske Service erforderlich</translation>
    </message>
    <message>
        <source>Mask Service Needed</source>
        <translation>Service erforderlich</translation>
    </message>
    <message>
        <source>Mask Event Restart</source>
        <translation>Ereignismaske Neustart</translation>
    </message>
    <message>
        <source>Mask Restart</source>
        <translation>Neustart</translation>
    </message>
    <message>
        <source>Control</source>
        <translation>Steuerung</translation>
    </message>
    <message>
        <source>Save Set Values</source>
        <translation>Sollwerte speichern</translation>
    </message>
    <message>
        <source>Set Kill Enable</source>
        <translation>Kill-Enable einschalten</translation>
    </message>
    <message>
        <source>Set Adjustment On</source>
        <translation>Feinabgleich einschalten</translation>
    </message>
    <message>
        <source>Set Adjusting</source>
        <translation>Feinabgleich</translation>
    </message>
    <message>
        <source>Interrupt Level 2</source>
        <translation>Interrupt-Ebene 2</translation>
    </message>
    <message>
        <source>ILVL2</source>
        <translation>ILVL2</translation>
    </message>
    <message>
        <source>Interrupt Level 1</source>
        <translation>Interrupt-Ebene 1</translation>
    </message>
    <message>
        <source>ILVL1</source>
        <translation>ILVL1</translation>
    </message>
    <message>
        <source>Interrupt Level 0</source>
        <translation>Interrupt-Ebene 0</translation>
    </message>
    <message>
        <source>ILVL0</source>
        <translation>ILVL0</translation>
    </message>
    <message>
        <source>Clear All Events</source>
        <translation>Alle Ereignisse löschen</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Set Action On</source>
        <translation>Aktion ein</translation>
    </message>
    <message>
        <source>Set Stop</source>
        <translation>Stopp setzen</translation>
    </message>
    <message>
        <source>Recall Set Values</source>
        <translation>Sollwerte laden</translation>
    </message>
    <message>
        <source>Set Special Mode</source>
        <translation>Sondermodus setzen</translation>
    </message>
    <message>
        <source>Clear &amp;Events</source>
        <translation>&amp;Ereignisse löschen</translation>
    </message>
    <message>
        <source>Set &amp;Mask</source>
        <translation>&amp;Maske setzen</translation>
    </message>
    <message>
        <source>Set &amp;Control</source>
        <translation>&amp;Steuerwort setzen</translation>
    </message>
    <message>
        <source>Module EventChannel</source>
        <translation>Ereigniskanäle</translation>
    </message>
    <message>
        <source>Module Event Channel Status</source>
        <translation>Ereigniskanal-Status</translation>
    </message>
    <message>
        <source>Module Event Channel Mask</source>
        <translation>Ereigniskanal-Maske</translation>
    </message>
    <message>
        <source>Clear Events</source>
        <translation>Ereignisse löschen</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Alle auswählen</translation>
    </message>
    <message>
        <source>Set Mask</source>
        <translation>Maske setzen</translation>
    </message>
    <message>
        <source>Module EventGroup</source>
        <translation>Ereignisgruppen</translation>
    </message>
    <message>
        <source>EventGroupStatus</source>
        <translation>Ereignisgruppen-Status</translation>
    </message>
    <message>
        <source>EventGroupMask</source>
        <translation>Ereignisgruppen-Maske</translation>
    </message>
    <message>
        <source>AutoStart</source>
        <translation>Autostart</translation>
    </message>
    <message>
        <source>RestartTime</source>
        <translation>Neustartzeit</translation>
    </message>
    <message>
        <source>Set RestartTime</source>
        <translation>Neustartzeit setzen</translation>
    </message>
    <message>
        <source>Unselect All</source>
        <translation>Auswahl aufheben</translation>
    </message>
</context>
<context>
    <name>DialogPrompter</name>
    <message>
        <source>Vorn SCPI Control</source>
        <translation>Vorn SCPI Control</translation>
    </message>
</context>
<context>
    <name>DialogStatistic</name>
    <message>
        <source>Statistic</source>
        <translation>Messwertaufzeichnung</translation>
    </message>
    <message>
        <source>Save measurement data to file:</source>
        <translation>Messdaten in Datei speichern:</translation>
    </message>
    <message>
        <source>measurement.txt</source>
        <translation>messdaten.txt</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Save data for ...</source>
        <translation>Daten speichern für ...</translation>
    </message>
    <message>
        <source>&amp;All Channels in Module</source>
        <translation>&amp;Alle Kanäle des Moduls</translation>
    </message>
    <message>
        <source>Single &amp;Channel:</source>
        <translation>Einzelner &amp;Kanal:</translation>
    </message>
    <message>
        <source>Write</source>
        <translation>Schreiben</translation>
    </message>
    <message>
        <source>Voltage</source>
        <translation>Spannung</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Strom</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Delay between writes (ms)</source>
        <translation>Pause zwischen zwei Zeilen (ms)</translation>
    </message>
    <message>
        <source>Lines written:</source>
        <translation>Geschriebene Zeilen:</translation>
    </message>
    <message>
        <source>&amp;Start</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>S&amp;topp</translation>
    </message>
    <message>
        <source>&amp;Once</source>
        <translation>&amp;Einmal</translation>
    </message>
    <message>
        <source>Can not open file &apos;%1&apos; for writing!</source>
        <translation>Die Datei „%1“ lässt sich nicht zum Schreiben öffnen!</translation>
    </message>
    <message>
        <source>Writing to file &apos;%1&apos; failed: %2
Measurement logging has been stopped; the lines written before are kept.</source>
        <translation>Schreiben in die Datei „%1“ fehlgeschlagen: %2
Die Messwertaufzeichnung wurde angehalten; die bereits geschriebenen Zeilen bleiben erhalten.</translation>
    </message>
    <message>
        <source>Vorn SCPI Control</source>
        <translation>Vorn SCPI Control</translation>
    </message>
    <message>
        <source>Save measurement data</source>
        <translation>Messdaten speichern</translation>
    </message>
    <message>
        <source>Measurement files (*%1)</source>
        <translation>Messdateien (*%1)</translation>
    </message>
</context>
<context>
    <name>DialogSuppliesTempLimits</name>
    <message>
        <source>Supplies, Temperature and Limits</source>
        <translation>Versorgung, Temperatur und Grenzwerte</translation>
    </message>
    <message>
        <source>Vcc +5 (V)</source>
        <translation>Vcc +5 (V)</translation>
    </message>
    <message>
        <source>Vcc +24 (V)</source>
        <translation>Vcc +24 (V)</translation>
    </message>
    <message>
        <source>Vcc +12 (V)</source>
        <translation>Vcc +12 (V)</translation>
    </message>
    <message>
        <source>Vcc -12 (V)</source>
        <translation>Vcc -12 (V)</translation>
    </message>
    <message>
        <source>Vmax (% of Vnominal)</source>
        <translation>Vmax (% von Vnominal)</translation>
    </message>
    <message>
        <source>Imax (% of Inominal)</source>
        <translation>Imax (% von Inominal)</translation>
    </message>
    <message>
        <source>Temperature (°C)</source>
        <translation>Temperatur (°C)</translation>
    </message>
    <message>
        <source>Vcc -24 (V)</source>
        <translation>Vcc -24 (V)</translation>
    </message>
</context>
<context>
    <name>EthControl</name>
    <message>
        <source>Vorn SCPI Control</source>
        <translation>Vorn SCPI Control</translation>
    </message>
    <message>
        <source>USB / RS-232 (COM)</source>
        <translation>USB / RS-232 (COM)</translation>
    </message>
    <message>
        <source>Serial Port:</source>
        <translation>Serielle Schnittstelle:</translation>
    </message>
    <message>
        <source>Ethernet (TCP/IP)</source>
        <translation>Ethernet (TCP/IP)</translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation>IP-Adresse:</translation>
    </message>
    <message>
        <source>TCP Port:</source>
        <translation>TCP-Port:</translation>
    </message>
    <message>
        <source>GPIB (IEEE-488)</source>
        <translation>GPIB (IEEE-488)</translation>
    </message>
    <message>
        <source>GPIB Address:</source>
        <translation>GPIB-Adresse:</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <source>Voltage Ramp Speed:</source>
        <translation>Spannungsrampe:</translation>
    </message>
    <message>
        <source>Current Ramp Speed:</source>
        <translation>Stromrampe:</translation>
    </message>
    <message>
        <source>Vset (V)</source>
        <translation>Vset (V)</translation>
    </message>
    <message>
        <source>Vmeas (V)</source>
        <translation>Vmeas (V)</translation>
    </message>
    <message>
        <source>Vbounds (V)</source>
        <translation>Vbounds (V)</translation>
    </message>
    <message>
        <source>Vnominal (V)</source>
        <translation>Vnominal (V)</translation>
    </message>
    <message>
        <source>Iset (mA)</source>
        <translation>Iset (mA)</translation>
    </message>
    <message>
        <source>Imeas (mA)</source>
        <translation>Imeas (mA)</translation>
    </message>
    <message>
        <source>Ibounds (mA)</source>
        <translation>Ibounds (mA)</translation>
    </message>
    <message>
        <source>Inominal (mA)</source>
        <translation>Inominal (mA)</translation>
    </message>
    <message>
        <source>Power (W)</source>
        <translation>Leistung (W)</translation>
    </message>
    <message>
        <source>Status</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>CV</source>
        <translation>CV</translation>
    </message>
    <message>
        <source>CC</source>
        <translation>CC</translation>
    </message>
    <message>
        <source>Status Channel</source>
        <translation>Kanalstatus</translation>
    </message>
    <message>
        <source>Channel Control</source>
        <translation>Kanalsteuerung</translation>
    </message>
    <message>
        <source>Channel Status</source>
        <translation>Kanalstatus</translation>
    </message>
    <message>
        <source>Channel Event Status</source>
        <translation>Kanal-Ereignisstatus</translation>
    </message>
    <message>
        <source>Channel Event Mask</source>
        <translation>Kanal-Ereignismaske</translation>
    </message>
    <message>
        <source>Status Module</source>
        <translation>Modulstatus</translation>
    </message>
    <message>
        <source>Module Control</source>
        <translation>Modulsteuerung</translation>
    </message>
    <message>
        <source>Module Status</source>
        <translation>Modulstatus</translation>
    </message>
    <message>
        <source>Module Event Status</source>
        <translation>Modul-Ereignisstatus</translation>
    </message>
    <message>
        <source>Module Event Mask</source>
        <translation>Modul-Ereignismaske</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Module</source>
        <translation>&amp;Modul</translation>
    </message>
    <message>
        <source>Instructions for all channels</source>
        <translation>Befehle für alle Kanäle</translation>
    </message>
    <message>
        <source>&amp;Channel</source>
        <translation>&amp;Kanal</translation>
    </message>
    <message>
        <source>Special Control</source>
        <translation>Spannungsschritte</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Set Voltage...</source>
        <translation>Spannung einstellen...</translation>
    </message>
    <message>
        <source>Set Voltage</source>
        <translation>Spannung einstellen</translation>
    </message>
    <message>
        <source>V</source>
        <translation>V</translation>
    </message>
    <message>
        <source>Set Current...</source>
        <translation>Strom einstellen...</translation>
    </message>
    <message>
        <source>Set Current</source>
        <translation>Strom einstellen</translation>
    </message>
    <message>
        <source>I</source>
        <translation>I</translation>
    </message>
    <message>
        <source>Set Channel On</source>
        <translation>Kanal einschalten</translation>
    </message>
    <message>
        <source>O</source>
        <translation>O</translation>
    </message>
    <message>
        <source>Set Channel Off</source>
        <translation>Kanal ausschalten</translation>
    </message>
    <message>
        <source>F</source>
        <translation>F</translation>
    </message>
    <message>
        <source>Select Channel...</source>
        <translation>Kanal wählen...</translation>
    </message>
    <message>
        <source>C</source>
        <translation>C</translation>
    </message>
    <message>
        <source>Set On</source>
        <translation>Einschalten</translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation>Ctrl+O</translation>
    </message>
    <message>
        <source>Set Off</source>
        <translation>Ausschalten</translation>
    </message>
    <message>
        <source>Ctrl+F</source>
        <translation>Ctrl+F</translation>
    </message>
    <message>
        <source>Set Voltage Ramp...</source>
        <translation>Spannungsrampe einstellen...</translation>
    </message>
    <message>
        <source>R</source>
        <translation>R</translation>
    </message>
    <message>
        <source>Set Current Ramp...</source>
        <translation>Stromrampe einstellen...</translation>
    </message>
    <message>
        <source>Shift+R</source>
        <translation>Shift+R</translation>
    </message>
    <message>
        <source>Ctrl+V</source>
        <translation>Ctrl+V</translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <source>Set Voltage Incremental</source>
        <translation>Spannungstreppe setzen</translation>
    </message>
    <message>
        <source>Ctrl+Alt+V</source>
        <translation>Ctrl+Alt+V</translation>
    </message>
    <message>
        <source>Supplies and &amp;Temperature...</source>
        <translation>Versorgung und &amp;Temperatur...</translation>
    </message>
    <message>
        <source>Clear Emergency Off</source>
        <translation>Not-Aus aufheben</translation>
    </message>
    <message>
        <source>M</source>
        <translation>M</translation>
    </message>
    <message>
        <source>Set Emergency Off</source>
        <translation>Not-Aus auslösen</translation>
    </message>
    <message>
        <source>Y</source>
        <translation>Y</translation>
    </message>
    <message>
        <source>Clear Events</source>
        <translation>Ereignisse löschen</translation>
    </message>
    <message>
        <source>F9</source>
        <translation>F9</translation>
    </message>
    <message>
        <source>Status / Control...</source>
        <translation>Status / Steuerung...</translation>
    </message>
    <message>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <source>Module Status / Control</source>
        <translation>Modulstatus / Steuerung</translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation>Ctrl+S</translation>
    </message>
    <message>
        <source>Digital Filter...</source>
        <translation>Digitalfilter...</translation>
    </message>
    <message>
        <source>D</source>
        <translation>D</translation>
    </message>
    <message>
        <source>&amp;Scan for IP Address...</source>
        <translation>IP-Adresse &amp;suchen...</translation>
    </message>
    <message>
        <source>Clear All Events</source>
        <translation>Alle Ereignisse löschen</translation>
    </message>
    <message>
        <source>F10</source>
        <translation>F10</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>About &amp;Qt...</source>
        <translation>Über &amp;Qt...</translation>
    </message>
    <message>
        <source>Ctrl+Y</source>
        <translation>Ctrl+Y</translation>
    </message>
    <message>
        <source>Ctrl+M</source>
        <translation>Ctrl+M</translation>
    </message>
    <message>
        <source>Configuration...</source>
        <translation>Konfiguration...</translation>
    </message>
    <message>
        <source>Configuration of display resolution</source>
        <translation>Einstellung der Anzeigegenauigkeit</translation>
    </message>
    <message>
        <source>Statistic...</source>
        <translation>Messwertaufzeichnung...</translation>
    </message>
    <message>
        <source>Input/&amp;Output...</source>
        <translation>Ein-/&amp;Ausgänge...</translation>
    </message>
    <message>
        <source>Increment Voltage</source>
        <translation>Spannung erhöhen</translation>
    </message>
    <message>
        <source>+</source>
        <translation>+</translation>
    </message>
    <message>
        <source>Decrement Voltage</source>
        <translation>Spannung verringern</translation>
    </message>
    <message>
        <source>-</source>
        <translation>-</translation>
    </message>
    <message>
        <source>Set Increment</source>
        <translation>Schrittweite einstellen</translation>
    </message>
    <message>
        <source>Set Increment × 10</source>
        <translation>Schrittweite × 10</translation>
    </message>
    <message>
        <source>9</source>
        <translation>9</translation>
    </message>
    <message>
        <source>Set Increment ÷ 10</source>
        <translation>Schrittweite ÷ 10</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>&amp;Emission Parameters...</source>
        <translation>&amp;Emissionsparameter...</translation>
    </message>
    <message>
        <source>Save Changed Configuration in Device</source>
        <translation>Geänderte Konfiguration im Gerät speichern</translation>
    </message>
    <message>
        <source>Applies all changed configurations to the VXT</source>
        <translation>Speichert alle geänderten Einstellungen im VXT</translation>
    </message>
    <message>
        <source>Configure Listen Only Mode...</source>
        <translation>„Listen Only“-Modus einstellen...</translation>
    </message>
    <message>
        <source>%1 %2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>Can not connect to device!</source>
        <translation>Keine Verbindung zum Gerät möglich!</translation>
    </message>
    <message>
        <source>Connecting to device...</source>
        <translation>Verbindung zum Gerät wird aufgebaut...</translation>
    </message>
    <message>
        <source>Ramp down all high voltages?</source>
        <translation>Alle Hochspannungen herunterfahren?</translation>
    </message>
    <message>
        <source>Not connected.</source>
        <translation>Nicht verbunden.</translation>
    </message>
    <message>
        <source>Channel %1 menu</source>
        <translation>Menü Kanal %1</translation>
    </message>
    <message>
        <source>Module menu</source>
        <translation>Modulmenü</translation>
    </message>
    <message>
        <source>Set All Voltages...</source>
        <translation>Spannung aller Kanäle einstellen...</translation>
    </message>
    <message>
        <source>Set All Currents...</source>
        <translation>Strom aller Kanäle einstellen...</translation>
    </message>
    <message>
        <source>Set All On</source>
        <translation>Alle einschalten</translation>
    </message>
    <message>
        <source>Set All Off</source>
        <translation>Alle ausschalten</translation>
    </message>
    <message>
        <source>Set All Emergency Off</source>
        <translation>Not-Aus für alle auslösen</translation>
    </message>
    <message>
        <source>Clear All Emergency Off</source>
        <translation>Not-Aus für alle aufheben</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Vorn SCPI Control Version %1&lt;/h2&gt;&lt;p&gt;Copyright &amp;copy; %2 Vornwerk GmbH&lt;/p&gt;&lt;p&gt;This program is an example for the control and monitoring of Vornwerk high-voltage modules with the SCPI command set.&lt;/p&gt;&lt;p&gt;It communicates with Vornwerk HV modules over RS-232, USB or Ethernet and uses the Vornwerk &amp;quot;Zelk&amp;quot; SCPI command set.&lt;/p&gt;&lt;p&gt;Supported devices:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;DRSB firmware &amp;ge; 3.00&lt;/li&gt;&lt;li&gt;VXT, KA2F and GLW8 firmware &amp;ge; 1.00&lt;/li&gt;&lt;li&gt;TX01/TX02 1.5 kW, 3 kW and 10 kW firmware &amp;ge; 1.60&lt;/li&gt;&lt;li&gt;TX01/TX02 300 W and 800 W firmware &amp;ge; 5.34&lt;/li&gt;&lt;li&gt;TX compact and TQ88812 firmware &amp;ge; 3.00&lt;/li&gt;&lt;li&gt;Filament supplies firmware &amp;ge; 2.00&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;For more information see &lt;a href=&quot;https://vornwerk.example&quot;&gt;vornwerk.example&lt;/a&gt; or &lt;a href=&quot;mailto:support@vornwerk.example?subject=Vorn SCPI Control %1&quot;&gt;contact&lt;/a&gt; (support@vornwerk.example).&lt;/p&gt;</source>
        <translation>&lt;h2&gt;Vorn SCPI Control Version %1&lt;/h2&gt;&lt;p&gt;Copyright &amp;copy; %2 Vornwerk GmbH&lt;/p&gt;&lt;p&gt;Dieses Programm ist ein Beispiel für das Steuern und Überwachen von Vornwerk-Hochspannungsmodulen mit dem SCPI-Befehlssatz.&lt;/p&gt;&lt;p&gt;Es kommuniziert mit Vornwerk-HV-Modulen über RS-232, USB oder Ethernet und verwendet den Vornwerk-SCPI-Befehlssatz &amp;bdquo;Zelk&amp;ldquo;.&lt;/p&gt;&lt;p&gt;Unterstützte Geräte:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;DRSB ab Firmware 3.00&lt;/li&gt;&lt;li&gt;VXT, KA2F und GLW8 ab Firmware 1.00&lt;/li&gt;&lt;li&gt;TX01/TX02 1,5 kW, 3 kW und 10 kW ab Firmware 1.60&lt;/li&gt;&lt;li&gt;TX01/TX02 300 W und 800 W ab Firmware 5.34&lt;/li&gt;&lt;li&gt;TX compact und TQ88812 ab Firmware 3.00&lt;/li&gt;&lt;li&gt;Filamentversorgungen ab Firmware 2.00&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;Weitere Informationen unter &lt;a href=&quot;https://vornwerk.example&quot;&gt;vornwerk.example&lt;/a&gt; oder über &lt;a href=&quot;mailto:support@vornwerk.example?subject=Vorn SCPI Control %1&quot;&gt;Kontakt&lt;/a&gt; (support@vornwerk.example).&lt;/p&gt;</translation>
    </message>
    <message>
        <source>About Vorn SCPI Control</source>
        <translation>Über Vorn SCPI Control</translation>
    </message>
    <message>
        <source>Connected to: %1 at %2. Firmware: %3, Release: %4, Serial Number: %5</source>
        <translation>Verbunden mit: %1 an %2. Firmware: %3, Version: %4, Seriennummer: %5</translation>
    </message>
    <message>
        <source>Status Channel </source>
        <translation>Kanalstatus </translation>
    </message>
    <message>
        <source>Emergency</source>
        <translation>Not-Aus</translation>
    </message>
    <message>
        <source>External Inhibit</source>
        <translation>Externer Inhibit</translation>
    </message>
    <message>
        <source>Voltage Bounds</source>
        <translation>U außer Toleranz</translation>
    </message>
    <message>
        <source>Trip</source>
        <translation>Trip</translation>
    </message>
    <message>
        <source>Current Bounds</source>
        <translation>I außer Toleranz</translation>
    </message>
    <message>
        <source>Ramp</source>
        <translation>Rampe</translation>
    </message>
    <message>
        <source>Constant Current</source>
        <translation>Konstantstrom</translation>
    </message>
    <message>
        <source>Constant Voltage</source>
        <translation>Konstantspannung</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>%L1</source>
        <translation>%L1</translation>
    </message>
    <message>
        <source>&amp;Trend...</source>
        <translation>T&amp;rend...</translation>
    </message>
    <message>
        <source>SCPI &amp;Console...</source>
        <translation>SCPI-&amp;Konsole...</translation>
    </message>
    <message>
        <source>Reconnect &amp;Automatically</source>
        <translation>&amp;Automatisch neu verbinden</translation>
    </message>
    <message>
        <source>Try the same connection again every 2 s after it was lost or could not be opened</source>
        <translation>Dieselbe Verbindung alle 2 s erneut versuchen, wenn sie verloren ging oder nicht geöffnet werden konnte</translation>
    </message>
    <message>
        <source>Reconnecting to device... (attempt %1)</source>
        <translation>Verbindung zum Gerät wird erneut aufgebaut... (Versuch %1)</translation>
    </message>
    <message>
        <source>Not connected. Reconnecting in 2 s (attempt %1)...</source>
        <translation>Nicht verbunden. Neuer Verbindungsversuch in 2 s (Versuch %1)...</translation>
    </message>
    <message>
        <source>

Note: some channels will only allow %L1 %2.</source>
        <translation>

Hinweis: Einige Kanäle erlauben nur %L1 %2.</translation>
    </message>
    <message>
        <source>Input a voltage (Vset: %L1...%L2 %3) for channel %4:</source>
        <translation>Spannung für Kanal %4 eingeben (Vset: %L1...%L2 %3):</translation>
    </message>
    <message>
        <source>Input a current (Iset: 0...%L1 %2) for channel %3:</source>
        <translation>Strom für Kanal %3 eingeben (Iset: 0...%L1 %2):</translation>
    </message>
    <message>
        <source>Input a voltage (Vset: %L1...%L2 %3) for all channels:</source>
        <translation>Spannung für alle Kanäle eingeben (Vset: %L1...%L2 %3):</translation>
    </message>
    <message>
        <source>Input a current (Iset: 0...%L1 %2) for all channels:</source>
        <translation>Strom für alle Kanäle eingeben (Iset: 0...%L1 %2):</translation>
    </message>
    <message>
        <source>Input a Voltage Ramp Speed (0...100%/s): </source>
        <translation>Spannungsrampe eingeben (0...100 %/s): </translation>
    </message>
    <message>
        <source>Input a Voltage Ramp Speed (0 ..%1 %2/s)</source>
        <translation>Spannungsrampe eingeben (0...%1 %2/s)</translation>
    </message>
    <message>
        <source>Input a Current Ramp Speed (0...100%/s): </source>
        <translation>Stromrampe eingeben (0...100 %/s): </translation>
    </message>
    <message>
        <source>Input a Current Ramp Speed (0 ..%1 %2/s)</source>
        <translation>Stromrampe eingeben (0...%1 %2/s)</translation>
    </message>
    <message>
        <source>Input a voltage increment value (%1) that is applied when pressing the Plus or Minus keys:</source>
        <translation>Schrittweite der Spannung (%1) eingeben, die mit den Tasten Plus und Minus angewendet wird:</translation>
    </message>
    <message>
        <source>Voltage Increment: %1 Volt</source>
        <translation>Schrittweite der Spannung: %L1 Volt</translation>
    </message>
    <message>
        <source>Event &amp;History...</source>
        <translation>Ereignis&amp;historie...</translation>
    </message>
    <message>
        <source>&amp;Sequence...</source>
        <translation>&amp;Sequenz...</translation>
    </message>
    <message>
        <source>Nothing is sent: %1.</source>
        <translation>Nichts gesendet: %1.</translation>
    </message>
</context>
<context>
    <name>EventText</name>
    <message>
        <source>channel %1 polarity positive</source>
        <translation>Kanal %1 Polarität positiv</translation>
    </message>
    <message>
        <source>channel %1 polarity negative</source>
        <translation>Kanal %1 Polarität negativ</translation>
    </message>
    <message>
        <source>arc on channel %1</source>
        <translation>Überschlag an Kanal %1</translation>
    </message>
    <message>
        <source>channel %1 arc over</source>
        <translation>Kanal %1 Überschlag beendet</translation>
    </message>
    <message>
        <source>channel %1 input error</source>
        <translation>Kanal %1 Eingabefehler</translation>
    </message>
    <message>
        <source>channel %1 input error cleared</source>
        <translation>Kanal %1 Eingabefehler behoben</translation>
    </message>
    <message>
        <source>channel %1 on</source>
        <translation>Kanal %1 ein</translation>
    </message>
    <message>
        <source>channel %1 off</source>
        <translation>Kanal %1 aus</translation>
    </message>
    <message>
        <source>channel %1 ramping</source>
        <translation>Kanal %1 fährt Rampe</translation>
    </message>
    <message>
        <source>channel %1 ramp ended</source>
        <translation>Kanal %1 Rampe beendet</translation>
    </message>
    <message>
        <source>channel %1 emergency off</source>
        <translation>Kanal %1 Not-Aus</translation>
    </message>
    <message>
        <source>channel %1 emergency off cleared</source>
        <translation>Kanal %1 Not-Aus aufgehoben</translation>
    </message>
    <message>
        <source>channel %1 in constant current</source>
        <translation>Kanal %1 in Konstantstromregelung</translation>
    </message>
    <message>
        <source>channel %1 out of constant current</source>
        <translation>Kanal %1 nicht mehr in Konstantstromregelung</translation>
    </message>
    <message>
        <source>channel %1 in constant voltage</source>
        <translation>Kanal %1 in Konstantspannungsregelung</translation>
    </message>
    <message>
        <source>channel %1 out of constant voltage</source>
        <translation>Kanal %1 nicht mehr in Konstantspannungsregelung</translation>
    </message>
    <message>
        <source>channel %1 in low current range</source>
        <translation>Kanal %1 im kleinen Strombereich</translation>
    </message>
    <message>
        <source>channel %1 out of low current range</source>
        <translation>Kanal %1 nicht mehr im kleinen Strombereich</translation>
    </message>
    <message>
        <source>channel %1 arc error, high voltage off</source>
        <translation>Kanal %1 Überschlagsfehler, Hochspannung aus</translation>
    </message>
    <message>
        <source>channel %1 arc error cleared</source>
        <translation>Kanal %1 Überschlagsfehler aufgehoben</translation>
    </message>
    <message>
        <source>channel %1 current out of bounds</source>
        <translation>Kanal %1 Strom außerhalb der Toleranz</translation>
    </message>
    <message>
        <source>channel %1 current within bounds</source>
        <translation>Kanal %1 Strom innerhalb der Toleranz</translation>
    </message>
    <message>
        <source>channel %1 voltage out of bounds</source>
        <translation>Kanal %1 Spannung außerhalb der Toleranz</translation>
    </message>
    <message>
        <source>channel %1 voltage within bounds</source>
        <translation>Kanal %1 Spannung innerhalb der Toleranz</translation>
    </message>
    <message>
        <source>channel %1 externally inhibited</source>
        <translation>Kanal %1 durch externen Inhibit gesperrt</translation>
    </message>
    <message>
        <source>channel %1 inhibit released</source>
        <translation>Kanal %1 Inhibit aufgehoben</translation>
    </message>
    <message>
        <source>channel %1 tripped</source>
        <translation>Kanal %1 Trip</translation>
    </message>
    <message>
        <source>channel %1 trip cleared</source>
        <translation>Kanal %1 Trip aufgehoben</translation>
    </message>
    <message>
        <source>channel %1 current limit exceeded</source>
        <translation>Kanal %1 Stromgrenzwert überschritten</translation>
    </message>
    <message>
        <source>channel %1 current within limit</source>
        <translation>Kanal %1 Strom innerhalb des Grenzwerts</translation>
    </message>
    <message>
        <source>channel %1 voltage limit exceeded</source>
        <translation>Kanal %1 Spannungsgrenzwert überschritten</translation>
    </message>
    <message>
        <source>channel %1 voltage within limit</source>
        <translation>Kanal %1 Spannung innerhalb des Grenzwerts</translation>
    </message>
    <message>
        <source>fine adjustment on</source>
        <translation>Feinabgleich ein</translation>
    </message>
    <message>
        <source>fine adjustment off</source>
        <translation>Feinabgleich aus</translation>
    </message>
    <message>
        <source>live insertion mode on</source>
        <translation>Live-Insertion-Modus ein</translation>
    </message>
    <message>
        <source>live insertion mode off</source>
        <translation>Live-Insertion-Modus aus</translation>
    </message>
    <message>
        <source>high voltage on</source>
        <translation>Hochspannung ein</translation>
    </message>
    <message>
        <source>high voltage off</source>
        <translation>Hochspannung aus</translation>
    </message>
    <message>
        <source>module needs service</source>
        <translation>Modul: Service erforderlich</translation>
    </message>
    <message>
        <source>module service condition cleared</source>
        <translation>Modul: Service nicht mehr erforderlich</translation>
    </message>
    <message>
        <source>module input error</source>
        <translation>Modul-Eingabefehler</translation>
    </message>
    <message>
        <source>module input error cleared</source>
        <translation>Modul-Eingabefehler behoben</translation>
    </message>
    <message>
        <source>module sum error</source>
        <translation>Modul-Summenfehler</translation>
    </message>
    <message>
        <source>module sum error cleared</source>
        <translation>Modul-Summenfehler aufgehoben</translation>
    </message>
    <message>
        <source>channels ramping</source>
        <translation>Kanäle fahren Rampe</translation>
    </message>
    <message>
        <source>no channel ramping</source>
        <translation>kein Kanal fährt Rampe</translation>
    </message>
    <message>
        <source>safety loop open</source>
        <translation>Sicherheitsschleife offen</translation>
    </message>
    <message>
        <source>safety loop closed</source>
        <translation>Sicherheitsschleife geschlossen</translation>
    </message>
    <message>
        <source>module events active</source>
        <translation>Modulereignisse aktiv</translation>
    </message>
    <message>
        <source>no module events active</source>
        <translation>keine Modulereignisse aktiv</translation>
    </message>
    <message>
        <source>module not good</source>
        <translation>Modul nicht in Ordnung</translation>
    </message>
    <message>
        <source>module good</source>
        <translation>Modul in Ordnung</translation>
    </message>
    <message>
        <source>supply not good</source>
        <translation>Versorgung nicht in Ordnung</translation>
    </message>
    <message>
        <source>supplies good</source>
        <translation>Versorgungen in Ordnung</translation>
    </message>
    <message>
        <source>temperature not good</source>
        <translation>Temperatur nicht in Ordnung</translation>
    </message>
    <message>
        <source>temperature good</source>
        <translation>Temperatur in Ordnung</translation>
    </message>
    <message>
        <source>kill enable on</source>
        <translation>Kill-Enable ein</translation>
    </message>
    <message>
        <source>kill enable off</source>
        <translation>Kill-Enable aus</translation>
    </message>
    <message>
        <source>arc</source>
        <translation>Überschlag</translation>
    </message>
    <message>
        <source>input error</source>
        <translation>Eingabefehler</translation>
    </message>
    <message>
        <source>switched off</source>
        <translation>ausgeschaltet</translation>
    </message>
    <message>
        <source>end of ramp</source>
        <translation>Rampenende</translation>
    </message>
    <message>
        <source>emergency off</source>
        <translation>Not-Aus</translation>
    </message>
    <message>
        <source>constant current</source>
        <translation>Konstantstrom</translation>
    </message>
    <message>
        <source>constant voltage</source>
        <translation>Konstantspannung</translation>
    </message>
    <message>
        <source>arc error</source>
        <translation>Überschlagsfehler</translation>
    </message>
    <message>
        <source>current out of bounds</source>
        <translation>Strom außerhalb der Toleranz</translation>
    </message>
    <message>
        <source>voltage out of bounds</source>
        <translation>Spannung außerhalb der Toleranz</translation>
    </message>
    <message>
        <source>external inhibit</source>
        <translation>externer Inhibit</translation>
    </message>
    <message>
        <source>trip</source>
        <translation>Trip</translation>
    </message>
    <message>
        <source>current limit exceeded</source>
        <translation>Stromgrenzwert überschritten</translation>
    </message>
    <message>
        <source>voltage limit exceeded</source>
        <translation>Spannungsgrenzwert überschritten</translation>
    </message>
    <message>
        <source>live insertion</source>
        <translation>Live-Insertion</translation>
    </message>
    <message>
        <source>service needed</source>
        <translation>Service erforderlich</translation>
    </message>
    <message>
        <source>module: %1 set</source>
        <translation>Modul: %1 gesetzt</translation>
    </message>
    <message>
        <source>module: %1 cleared</source>
        <translation>Modul: %1 zurückgesetzt</translation>
    </message>
    <message>
        <source>connected</source>
        <translation>verbunden</translation>
    </message>
    <message>
        <source>link back</source>
        <translation>Verbindung wieder da</translation>
    </message>
    <message>
        <source>disconnected</source>
        <translation>getrennt</translation>
    </message>
    <message>
        <source>link lost: %1</source>
        <translation>Verbindung verloren: %1</translation>
    </message>
    <message>
        <source>module event: %1</source>
        <translation>Modulereignis: %1</translation>
    </message>
    <message>
        <source>channel %1 event: %2</source>
        <translation>Kanal %1 Ereignis: %2</translation>
    </message>
    <message>
        <source>module events cleared: %1</source>
        <translation>Modulereignisse gelöscht: %1</translation>
    </message>
    <message>
        <source>channel %1 events cleared: %2</source>
        <translation>Kanal %1 Ereignisse gelöscht: %2</translation>
    </message>
    <message>
        <source>hardware voltage limit good</source>
        <translation>Hardware-Spannungsgrenzwert in Ordnung</translation>
    </message>
    <message>
        <source>hardware voltage limit not good</source>
        <translation>Hardware-Spannungsgrenzwert nicht in Ordnung</translation>
    </message>
</context>
<context>
    <name>HistoryFile</name>
    <message>
        <source>can not create the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
</context>
<context>
    <name>HistoryFormat</name>
    <message>
        <source>Channel %1</source>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>Modul</translation>
    </message>
    <message>
        <source>Alarm</source>
        <translation>Alarm</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Zeit</translation>
    </message>
    <message>
        <source>Serial number</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Severity</source>
        <translation>Schweregrad</translation>
    </message>
    <message>
        <source>Event</source>
        <translation>Ereignis</translation>
    </message>
    <message>
        <source>Voltage (V)</source>
        <translation>Spannung (V)</translation>
    </message>
    <message>
        <source>Current (A)</source>
        <translation>Strom (A)</translation>
    </message>
    <message>
        <source>Rose</source>
        <translation>Gesetzte Bits</translation>
    </message>
    <message>
        <source>Fell</source>
        <translation>Gelöschte Bits</translation>
    </message>
</context>
<context>
    <name>HistoryJournal</name>
    <message>
        <source>Sequence: %1</source>
        <translation>Sequenz: %1</translation>
    </message>
</context>
<context>
    <name>HistoryModel</name>
    <message>
        <source>Voltage</source>
        <translation>Spannung</translation>
    </message>
    <message>
        <source>Current</source>
        <translation>Strom</translation>
    </message>
</context>
<context>
    <name>HistoryPanel</name>
    <message>
        <source>Alarm of module %1</source>
        <translation>Alarm von Modul %1</translation>
    </message>
    <message>
        <source>%1 alarms of module %2</source>
        <translation>%1 Alarme von Modul %2</translation>
    </message>
    <message>
        <source>Event history not saved!</source>
        <translation>Ereignishistorie nicht gespeichert!</translation>
    </message>
</context>
<context>
    <name>HistoryWindow</name>
    <message>
        <source>Event History</source>
        <translation>Ereignishistorie</translation>
    </message>
    <message>
        <source>&amp;Severity:</source>
        <translation>&amp;Schweregrad:</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>Warnings</source>
        <translation>Warnungen</translation>
    </message>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>S&amp;ource:</source>
        <translation>&amp;Quelle:</translation>
    </message>
    <message>
        <source>&amp;Acknowledge All</source>
        <translation>&amp;Alle quittieren</translation>
    </message>
    <message>
        <source>C&amp;lear View</source>
        <translation>Ansicht &amp;leeren</translation>
    </message>
    <message>
        <source>Export &amp;CSV...</source>
        <translation>&amp;CSV exportieren...</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>Modul</translation>
    </message>
    <message>
        <source>Channel %1</source>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <source>Unacknowledged alarms: %1</source>
        <translation>Nicht quittierte Alarme: %1</translation>
    </message>
    <message>
        <source>The event history cannot be saved (%1). New entries are kept here and written as soon as that works again.</source>
        <translation>Die Ereignishistorie kann nicht gespeichert werden (%1). Neue Einträge bleiben hier erhalten und werden geschrieben, sobald das Speichern wieder möglich ist.</translation>
    </message>
    <message>
        <source>Export Event History</source>
        <translation>Ereignishistorie exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Vorn SCPI Control</source>
        <translation>Vorn SCPI Control</translation>
    </message>
    <message>
        <source>The event history could not be written to %1: %2</source>
        <translation>Die Ereignishistorie konnte nicht nach %1 geschrieben werden: %2</translation>
    </message>
</context>
<context>
    <name>HvTable</name>
    <message>
        <source>Channel %1</source>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <source>Channel is in Low Current Range.</source>
        <translation>Der Kanal misst im kleinen Strombereich.</translation>
    </message>
    <message>
        <source>Channel is configured for Delayed Trip.</source>
        <translation>Der Kanal ist auf verzögerten Trip eingestellt.</translation>
    </message>
    <message>
        <source>Unacknowledged alarm: see the event history</source>
        <translation>Nicht quittierter Alarm: siehe Ereignishistorie</translation>
    </message>
</context>
<context>
    <name>LinkReason</name>
    <message>
        <source>disconnected by the operator</source>
        <translation>vom Bediener getrennt</translation>
    </message>
    <message>
        <source>timeout while requesting %1</source>
        <translation>Zeitüberschreitung bei Anfrage %1</translation>
    </message>
</context>
<context>
    <name>ModuleController</name>
    <message>
        <source>module offline</source>
        <translation>Modul nicht verbunden</translation>
    </message>
    <message>
        <source>channel %1 was switched off by someone else: the sequence neither switches it on nor raises its voltage</source>
        <translation>Kanal %1 wurde von anderer Seite ausgeschaltet: Die Sequenz schaltet ihn weder ein noch erhöht sie seine Spannung</translation>
    </message>
    <message>
        <source>no sequence is running</source>
        <translation>Es läuft keine Sequenz</translation>
    </message>
    <message>
        <source>the sequence is not running</source>
        <translation>Die Sequenz läuft nicht</translation>
    </message>
    <message>
        <source>the sequence is not paused</source>
        <translation>Die Sequenz ist nicht angehalten</translation>
    </message>
    <message>
        <source>an off from the console</source>
        <translation>ein Aus von der Konsole</translation>
    </message>
</context>
<context>
    <name>OperatorCommands</name>
    <message>
        <source>Select a channel in the table first.</source>
        <translation>Bitte zuerst einen Kanal in der Tabelle auswählen.</translation>
    </message>
    <message>
        <source>Select Channel (0...%1):</source>
        <translation>Kanal wählen (0...%1):</translation>
    </message>
    <message>
        <source>Choose Digital Filter steps:</source>
        <translation>Mittelung des Digitalfilters wählen (Anzahl Messungen):</translation>
    </message>
    <message>
        <source>listen-only</source>
        <translation>„Listen Only“</translation>
    </message>
    <message>
        <source>normal</source>
        <translation>normal</translation>
    </message>
    <message>
        <source>Set &apos;Listen Only&apos; mode</source>
        <translation>„Listen Only“-Modus einstellen</translation>
    </message>
    <message>
        <source>Set the interface to &apos;Listen Only&apos; mode?

In this mode, the device can be controlled locally and monitored by SCPI. It goes to remote as soon as the first set command was received over SCPI.

The interface is currently set to %1.</source>
        <translation>Die Schnittstelle in den „Listen Only“-Modus schalten?

In diesem Modus wird das Gerät vor Ort bedient und über SCPI nur überwacht. Sobald der erste Setzbefehl über SCPI eintrifft, wechselt es in den Fernsteuerbetrieb.

Die Schnittstelle steht zurzeit auf %1.</translation>
    </message>
</context>
<context>
    <name>OperatorNumber</name>
    <message>
        <source>no number given</source>
        <translation>keine Zahl angegeben</translation>
    </message>
    <message>
        <source>&quot;%1&quot; holds the thousands separator &quot;%2&quot;: write the decimal separator &quot;%3&quot; and no thousands separator</source>
        <translation>&quot;%1&quot; enthält das Tausendertrennzeichen &quot;%2&quot;: Dezimaltrennzeichen &quot;%3&quot; schreiben und kein Tausendertrennzeichen</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no number</source>
        <translation>&quot;%1&quot; ist keine Zahl</translation>
    </message>
</context>
<context>
    <name>OverviewModel</name>
    <message>
        <source>stale since %1</source>
        <translation>veraltet seit %1</translation>
    </message>
    <message>
        <source>channel %1</source>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <source>Module</source>
        <translation>Modul</translation>
    </message>
    <message>
        <source>Serial</source>
        <translation>Seriennummer</translation>
    </message>
    <message>
        <source>Device</source>
        <translation>Gerät</translation>
    </message>
    <message>
        <source>Bridge</source>
        <translation>Bridge</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>On / tripped</source>
        <translation>Ein / ausgelöst</translation>
    </message>
    <message>
        <source>Highest |Vmeas|</source>
        <translation>Höchste |Vmess|</translation>
    </message>
    <message>
        <source>Alarms</source>
        <translation>Alarme</translation>
    </message>
    <message>
        <source>Set voltage</source>
        <translation>Soll-Spannung</translation>
    </message>
    <message>
        <source>Measured voltage</source>
        <translation>Messspannung</translation>
    </message>
    <message>
        <source>Set current</source>
        <translation>Soll-Strom</translation>
    </message>
    <message>
        <source>Measured current</source>
        <translation>Messstrom</translation>
    </message>
</context>
<context>
    <name>SafetyRulesTable</name>
    <message>
        <source>Condition</source>
        <translation>Bedingung</translation>
    </message>
    <message>
        <source>Action</source>
        <translation>Aktion</translation>
    </message>
    <message>
        <source>Limit</source>
        <translation>Grenzwert</translation>
    </message>
    <message>
        <source>Within</source>
        <translation>Zeitfenster</translation>
    </message>
    <message>
        <source> min</source>
        <translation> min</translation>
    </message>
    <message>
        <source>Taken by the module bridge when it loses its MQTT broker for a few seconds; always watched there. The panel has no broker.</source>
        <translation>Wird von der Modul-Bridge angewandt, wenn sie ihren MQTT-Broker für einige Sekunden verliert; dort immer überwacht. Das Bedienprogramm hat keinen Broker.</translation>
    </message>
</context>
<context>
    <name>Sequence</name>
    <message>
        <source>trip</source>
        <translation>Trip</translation>
    </message>
    <message>
        <source>arc error</source>
        <translation>Überschlagsfehler</translation>
    </message>
    <message>
        <source>emergency off</source>
        <translation>Not-Aus</translation>
    </message>
    <message>
        <source>external inhibit</source>
        <translation>externer Inhibit</translation>
    </message>
    <message>
        <source>safety loop open</source>
        <translation>Sicherheitsschleife offen</translation>
    </message>
    <message>
        <source>current above the limit</source>
        <translation>Strom über dem Grenzwert</translation>
    </message>
    <message>
        <source>too many arcs</source>
        <translation>zu viele Überschläge</translation>
    </message>
    <message>
        <source>link lost</source>
        <translation>Verbindung verloren</translation>
    </message>
    <message>
        <source>step time-out</source>
        <translation>Zeitlimit des Schritts</translation>
    </message>
    <message>
        <source>hold</source>
        <translation>halten</translation>
    </message>
    <message>
        <source>ramp down</source>
        <translation>herunterfahren</translation>
    </message>
    <message>
        <source>off</source>
        <translation>ausschalten</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is no channel number or range from 0 to %2</source>
        <translation>„%1“ ist keine Kanalnummer und kein Bereich von 0 bis %2</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min %2 s</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>broker lost</source>
        <translation>Broker verloren</translation>
    </message>
    <message>
        <source>all</source>
        <translation>alle</translation>
    </message>
    <message>
        <source>all channels</source>
        <translation>alle Kanäle</translation>
    </message>
    <message>
        <source>channel %1</source>
        <translation>Kanal %1</translation>
    </message>
    <message>
        <source>channels %1</source>
        <translation>Kanäle %1</translation>
    </message>
    <message>
        <source>on all channels</source>
        <translation>auf allen Kanälen</translation>
    </message>
    <message>
        <source>on channel %1</source>
        <translation>auf Kanal %1</translation>
    </message>
    <message>
        <source>on channels %1</source>
        <translation>auf Kanälen %1</translation>
    </message>
</context>
<context>
    <name>SequenceFile</name>
    <message>
        <source>no JSON: %1 at byte %2</source>
        <translation>kein JSON: %1 bei Byte %2</translation>
    </message>
    <message>
        <source>no JSON object</source>
        <translation>kein JSON-Objekt</translation>
    </message>
    <message>
        <source>version: missing</source>
        <translation>version: fehlt</translation>
    </message>
    <message>
        <source>version: must be a number</source>
        <translation>version: muss eine Zahl sein</translation>
    </message>
    <message>
        <source>version: %1 is not a version this program reads (%2)</source>
        <translation>version: %1 ist keine Version, die dieses Programm liest (%2)</translation>
    </message>
    <message>
        <source>steps: missing</source>
        <translation>steps: fehlt</translation>
    </message>
    <message>
        <source>steps: must be a list of at least one step</source>
        <translation>steps: muss eine Liste mit mindestens einem Schritt sein</translation>
    </message>
    <message>
        <source>steps: more than %1 steps</source>
        <translation>steps: mehr als %1 Schritte</translation>
    </message>
    <message>
        <source>can not read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>can not write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>unknown key</source>
        <translation>unbekannter Schlüssel</translation>
    </message>
    <message>
        <source>must be a number</source>
        <translation>muss eine Zahl sein</translation>
    </message>
    <message>
        <source>must be true or false</source>
        <translation>muss true oder false sein</translation>
    </message>
    <message>
        <source>must be a text</source>
        <translation>muss ein Text sein</translation>
    </message>
    <message>
        <source>must be &quot;hold&quot;, &quot;rampDown&quot;, &quot;off&quot; or &quot;ignore&quot;</source>
        <translation>muss „hold“, „rampDown“, „off“ oder „ignore“ sein</translation>
    </message>
    <message>
        <source>must be &quot;hold&quot;, &quot;rampDown&quot; or &quot;off&quot;</source>
        <translation>muss „hold“, „rampDown“ oder „off“ sein</translation>
    </message>
    <message>
        <source>must be a channel number from 0 to %1</source>
        <translation>muss eine Kanalnummer von 0 bis %1 sein</translation>
    </message>
    <message>
        <source>channel named twice</source>
        <translation>Kanal doppelt genannt</translation>
    </message>
    <message>
        <source>must be an object</source>
        <translation>muss ein Objekt sein</translation>
    </message>
    <message>
        <source>needs either &quot;voltage&quot; or &quot;percent&quot;</source>
        <translation>braucht entweder „voltage“ oder „percent“</translation>
    </message>
    <message>
        <source>missing</source>
        <translation>fehlt</translation>
    </message>
    <message>
        <source>&quot;ignore&quot; is not allowed: unattended work must stop when nobody can steer it; use &quot;hold&quot;, &quot;rampDown&quot; or &quot;off&quot;</source>
        <translation>&quot;ignore&quot; ist nicht erlaubt: unbeaufsichtigte Arbeit muss anhalten, wenn niemand sie steuern kann; &quot;hold&quot;, &quot;rampDown&quot; oder &quot;off&quot; verwenden</translation>
    </message>
    <message>
        <source>must be at least %L1</source>
        <translation>muss mindestens %L1 sein</translation>
    </message>
    <message>
        <source>must lie between %L1 and %L2</source>
        <translation>muss zwischen %L1 und %L2 liegen</translation>
    </message>
    <message>
        <source>must not be empty</source>
        <translation>darf nicht leer sein</translation>
    </message>
    <message>
        <source>must be &quot;all&quot;, a list such as &quot;0-3, 5&quot; or an array of channel numbers</source>
        <translation>muss &quot;all&quot;, eine Liste wie &quot;0-3, 5&quot; oder ein Array von Kanalnummern sein</translation>
    </message>
    <message>
        <source>the file is larger than %L1 KiB</source>
        <translation>die Datei ist größer als %L1 KiB</translation>
    </message>
    <message>
        <source>steps[%1] (step %2)</source>
        <translation>steps[%1] (Schritt %2)</translation>
    </message>
</context>
<context>
    <name>SequenceRunner</name>
    <message>
        <source>the sequence runner was closed</source>
        <translation>der Sequenzablauf wurde beendet</translation>
    </message>
    <message>
        <source>channel %1 can not come on: %2</source>
        <translation>Kanal %1 kann nicht eingeschaltet werden: %2</translation>
    </message>
    <message>
        <source>a sequence is running</source>
        <translation>eine Sequenz läuft</translation>
    </message>
    <message>
        <source>no module is connected</source>
        <translation>kein Modul verbunden</translation>
    </message>
    <message>
        <source>the sequence has no steps</source>
        <translation>die Sequenz hat keine Schritte</translation>
    </message>
    <message>
        <source>unnamed</source>
        <translation>ohne Namen</translation>
    </message>
    <message>
        <source>Step %1 of %2: ramping to %3%4</source>
        <translation>Schritt %1 von %2: Rampe auf %3%4</translation>
    </message>
    <message>
        <source>Sequence &quot;%1&quot; finished after %2</source>
        <translation>Sequenz „%1“ nach %2 beendet</translation>
    </message>
    <message>
        <source>Paused by the operator at %1</source>
        <translation>Vom Bediener angehalten bei %1</translation>
    </message>
    <message>
        <source>paused by the operator</source>
        <translation>vom Bediener angehalten</translation>
    </message>
    <message>
        <source>Resumed at step %1 of %2</source>
        <translation>Fortgesetzt bei Schritt %1 von %2</translation>
    </message>
    <message>
        <source>Aborted by the operator during the ramp-down: the channels are switched off</source>
        <translation>Vom Bediener während des Herunterfahrens abgebrochen: die Kanäle werden ausgeschaltet</translation>
    </message>
    <message>
        <source>aborted by the operator</source>
        <translation>vom Bediener abgebrochen</translation>
    </message>
    <message>
        <source>Aborted by the operator at %1: %2</source>
        <translation>Vom Bediener abgebrochen bei %1, Aktion: %2</translation>
    </message>
    <message>
        <source>Sequence aborted: the channels stay at their present voltages</source>
        <translation>Sequenz abgebrochen: die Kanäle bleiben auf ihren jetzigen Spannungen</translation>
    </message>
    <message>
        <source>Step %1 of %2 skipped by the operator</source>
        <translation>Schritt %1 von %2 vom Bediener übersprungen</translation>
    </message>
    <message>
        <source>Sequence ended at %1: %2; the module keeps its present set values</source>
        <translation>Sequenz beendet bei %1: %2; das Modul behält seine jetzigen Sollwerte</translation>
    </message>
    <message>
        <source>Link lost at %1 (%2)</source>
        <translation>Verbindung verloren bei %1 (%2)</translation>
    </message>
    <message>
        <source>%1: the channels are brought down as soon as the module answers again</source>
        <translation>%1: die Kanäle werden heruntergefahren, sobald das Modul wieder antwortet</translation>
    </message>
    <message>
        <source>%1: the sequence stays paused</source>
        <translation>%1: die Sequenz bleibt angehalten</translation>
    </message>
    <message>
        <source>%1: the step is sent again as soon as the module answers again</source>
        <translation>%1: der Schritt wird erneut gesendet, sobald das Modul wieder antwortet</translation>
    </message>
    <message>
        <source>%1: %2 as soon as the module answers again</source>
        <translation>%1: Aktion „%2“, sobald das Modul wieder antwortet</translation>
    </message>
    <message>
        <source>link lost</source>
        <translation>Verbindung verloren</translation>
    </message>
    <message>
        <source>The module answers again</source>
        <translation>Das Modul antwortet wieder</translation>
    </message>
    <message>
        <source>ramping</source>
        <translation>Rampe</translation>
    </message>
    <message>
        <source>holding</source>
        <translation>Halten</translation>
    </message>
    <message>
        <source>ramping down</source>
        <translation>Herunterfahren</translation>
    </message>
    <message>
        <source>waiting</source>
        <translation>Warten</translation>
    </message>
    <message>
        <source>step %1 of %2 (%3)</source>
        <translation>Schritt %1 von %2 (%3)</translation>
    </message>
    <message>
        <source>holding at the present voltages, the sequence is paused</source>
        <translation>Spannungen werden gehalten, die Sequenz ist angehalten</translation>
    </message>
    <message>
        <source>ramping down, then off</source>
        <translation>wird heruntergefahren, dann ausgeschaltet</translation>
    </message>
    <message>
        <source>switching off</source>
        <translation>Kanäle werden ausgeschaltet</translation>
    </message>
    <message>
        <source>%1 at %2: not watched by this sequence</source>
        <translation>%1 bei %2: von dieser Sequenz nicht überwacht</translation>
    </message>
    <message>
        <source>%1 on channel %2</source>
        <translation>%1 an Kanal %2</translation>
    </message>
    <message>
        <source>step %1 did not end within %2</source>
        <translation>Schritt %1 wurde nicht innerhalb von %2 beendet</translation>
    </message>
    <message>
        <source>%1 during the ramp-down</source>
        <translation>%1 während des Herunterfahrens</translation>
    </message>
    <message>
        <source>%1 during the ramp-down: switching off</source>
        <translation>%1 während des Herunterfahrens: Kanäle werden ausgeschaltet</translation>
    </message>
    <message>
        <source>%1 at %2: %3</source>
        <translation>%1 bei %2: %3</translation>
    </message>
    <message>
        <source>Step %1 of %2: %3 reached after %4</source>
        <translation>Schritt %1 von %2: %3 nach %4 erreicht</translation>
    </message>
    <message>
        <source>Step %1 of %2: held %3 at %4</source>
        <translation>Schritt %1 von %2: %3 bei %4 gehalten</translation>
    </message>
    <message>
        <source>The ramp-down did not end within %1: switching off</source>
        <translation>Das Herunterfahren wurde nicht innerhalb von %1 beendet: Kanäle werden ausgeschaltet</translation>
    </message>
    <message>
        <source>step %1 of %2</source>
        <translation>Schritt %1 von %2</translation>
    </message>
    <message>
        <source>%1 at %2: the sequence stays paused</source>
        <translation>%1 bei %2: die Sequenz bleibt angehalten</translation>
    </message>
    <message>
        <source>step %1: %2</source>
        <translation>Schritt %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>channel %1 is not there: the module has %n channels</source>
        <translation>
            <numerusform>Kanal %1 gibt es nicht: das Modul hat %n Kanal</numerusform>
            <numerusform>Kanal %1 gibt es nicht: das Modul hat %n Kanäle</numerusform>
        </translation>
    </message>
    <message>
        <source>Sequence &quot;%1&quot; started %2</source>
        <translation>Sequenz „%1“ %2 gestartet</translation>
    </message>
    <message>
        <source> at %L1 V/s</source>
        <translation> mit %L1 V/s</translation>
    </message>
    <message>
        <source>a command of the step was refused</source>
        <translation>ein Befehl des Schritts wurde abgelehnt</translation>
    </message>
    <message>
        <source>channels %1 are off; the sequence does not switch them on again</source>
        <translation>Kanäle %1 sind aus; die Sequenz schaltet sie nicht wieder ein</translation>
    </message>
    <message>
        <source>Sequence aborted: %1 off</source>
        <translation>Sequenz abgebrochen: %1 ausgeschaltet</translation>
    </message>
    <message>
        <source>Ramping down %1 from %L2 V%3</source>
        <translation>Herunterfahren von %L2 V%3: %1</translation>
    </message>
    <message>
        <source>%1 refused: %2</source>
        <translation>%1 abgelehnt: %2</translation>
    </message>
    <message>
        <source>%1, not by the sequence</source>
        <translation>%1, nicht durch die Sequenz</translation>
    </message>
    <message>
        <source>channels %1 were found off after the link came back</source>
        <translation>Kanäle %1 waren nach der Rückkehr der Verbindung aus</translation>
    </message>
    <message>
        <source>channel %1 was switched off, not by the sequence</source>
        <translation>Kanal %1 wurde ausgeschaltet, nicht durch die Sequenz</translation>
    </message>
    <message numerus="yes">
        <source>%n arcs within %L1 min, the last on channel %2</source>
        <translation>
            <numerusform>%n Überschlag innerhalb von %L1 min, an Kanal %2</numerusform>
            <numerusform>%n Überschläge innerhalb von %L1 min, der letzte an Kanal %2</numerusform>
        </translation>
    </message>
    <message>
        <source>current of channel %1 above %2 (%3)</source>
        <translation>Strom von Kanal %1 über %2 (%3)</translation>
    </message>
    <message>
        <source>channel %1 did not take %L2 V (it keeps %L3 V)</source>
        <translation>Kanal %1 hat %L2 V nicht übernommen (er behält %L3 V)</translation>
    </message>
    <message>
        <source>%1; current stable (changing %2)</source>
        <translation>%1; Strom stabil (Änderung %2)</translation>
    </message>
    <message>
        <source>Sequence aborted at %1: %2 ramped down and off</source>
        <translation>Sequenz abgebrochen bei %1: %2 heruntergefahren und ausgeschaltet</translation>
    </message>
    <message>
        <source>%1 do not report off %L2 answers after the switch-off</source>
        <translation>%1 melden %L2 Antworten nach dem Ausschalten noch nicht aus</translation>
    </message>
</context>
<context>
    <name>SequenceStepModel</name>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>% Vnom</source>
        <translation>% Vnom</translation>
    </message>
    <message>
        <source>Ramp (V/s)</source>
        <translation>Rampe (V/s)</translation>
    </message>
    <message>
        <source>Iset (A)</source>
        <translation>Iset (A)</translation>
    </message>
    <message>
        <source>Hold (s)</source>
        <translation>Haltezeit (s)</translation>
    </message>
    <message>
        <source>Stable</source>
        <translation>Stabil</translation>
    </message>
    <message>
        <source>Tol. (V)</source>
        <translation>Tol. (V)</translation>
    </message>
    <message>
        <source>ΔI (A/min)</source>
        <translation>ΔI (A/min)</translation>
    </message>
    <message>
        <source>Window (s)</source>
        <translation>Zeitfenster (s)</translation>
    </message>
    <message>
        <source>Time-out (s)</source>
        <translation>Zeitlimit (s)</translation>
    </message>
    <message>
        <source>%1 is less than %2</source>
        <translation>%1 ist kleiner als %2</translation>
    </message>
    <message>
        <source>%1 is more than %2</source>
        <translation>%1 ist größer als %2</translation>
    </message>
    <message>
        <source>Step %1, %2: %3.</source>
        <translation>Schritt %1, %2: %3.</translation>
    </message>
</context>
<context>
    <name>SequenceWindow</name>
    <message>
        <source>Sequence</source>
        <translation>Sequenz</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>C&amp;hannels:</source>
        <translation>&amp;Kanäle:</translation>
    </message>
    <message>
        <source>&quot;all&quot;, or channel numbers and ranges such as &quot;0-3, 5&quot;</source>
        <translation>„alle“ oder Kanalnummern und Bereiche wie „0-3, 5“</translation>
    </message>
    <message>
        <source>all</source>
        <translation>alle</translation>
    </message>
    <message>
        <source>&amp;Load...</source>
        <translation>&amp;Laden...</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>Steps</source>
        <translation>Schritte</translation>
    </message>
    <message>
        <source>A&amp;dd Step</source>
        <translation>Schritt &amp;hinzufügen</translation>
    </message>
    <message>
        <source>Re&amp;move Step</source>
        <translation>Schritt &amp;entfernen</translation>
    </message>
    <message>
        <source>Safety Rules</source>
        <translation>Sicherheitsregeln</translation>
    </message>
    <message>
        <source>Ramp-down speed:</source>
        <translation>Rampe beim Herunterfahren:</translation>
    </message>
    <message>
        <source>0 keeps the module&apos;s present ramp speed</source>
        <translation>0 behält die jetzige Rampe des Moduls</translation>
    </message>
    <message>
        <source> V/s</source>
        <translation> V/s</translation>
    </message>
    <message>
        <source>Abort:</source>
        <translation>Abbruch:</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Ablauf</translation>
    </message>
    <message>
        <source>S&amp;tart</source>
        <translation>S&amp;tarten</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
    <message>
        <source>S&amp;kip Step</source>
        <translation>Schritt ü&amp;berspringen</translation>
    </message>
    <message>
        <source>&amp;Abort</source>
        <translation>&amp;Abbrechen</translation>
    </message>
    <message>
        <source>Not started.</source>
        <translation>Nicht gestartet.</translation>
    </message>
    <message>
        <source>trip</source>
        <translation>Trip</translation>
    </message>
    <message>
        <source>arc error</source>
        <translation>Überschlagsfehler</translation>
    </message>
    <message>
        <source>inhibit</source>
        <translation>Inhibit</translation>
    </message>
    <message>
        <source>emergency off</source>
        <translation>Not-Aus</translation>
    </message>
    <message>
        <source>off</source>
        <translation>aus</translation>
    </message>
    <message>
        <source>ramping</source>
        <translation>Rampe</translation>
    </message>
    <message>
        <source>constant current</source>
        <translation>Konstantstrom</translation>
    </message>
    <message>
        <source>on</source>
        <translation>ein</translation>
    </message>
    <message>
        <source>Channel</source>
        <translation>Kanal</translation>
    </message>
    <message>
        <source>Target</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Vset</source>
        <translation>Vset</translation>
    </message>
    <message>
        <source>Vmeas</source>
        <translation>Vmeas</translation>
    </message>
    <message>
        <source>Imeas</source>
        <translation>Imeas</translation>
    </message>
    <message>
        <source>State</source>
        <translation>Zustand</translation>
    </message>
    <message>
        <source>Channels: %1</source>
        <translation>Kanäle: %1</translation>
    </message>
    <message>
        <source>The sequence has no steps.</source>
        <translation>Die Sequenz hat keine Schritte.</translation>
    </message>
    <message>
        <source>The sequence file %1 can not be used:
%2</source>
        <translation>Die Sequenzdatei %1 kann nicht verwendet werden:
%2</translation>
    </message>
    <message>
        <source>Loaded %1</source>
        <translation>%1 geladen</translation>
    </message>
    <message>
        <source>Load Sequence</source>
        <translation>Sequenz laden</translation>
    </message>
    <message>
        <source>Sequences (*.json);;All files (*)</source>
        <translation>Sequenzen (*.json);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Save Sequence</source>
        <translation>Sequenz speichern</translation>
    </message>
    <message>
        <source>Sequences (*.json)</source>
        <translation>Sequenzen (*.json)</translation>
    </message>
    <message>
        <source>Saved %1</source>
        <translation>%1 gespeichert</translation>
    </message>
    <message>
        <source>The sequence can not start: %1.</source>
        <translation>Die Sequenz kann nicht starten: %1.</translation>
    </message>
    <message>
        <source>The sequence can not resume: %1.</source>
        <translation>Die Sequenz kann nicht fortgesetzt werden: %1.</translation>
    </message>
    <message>
        <source>Ready.</source>
        <translation>Bereit.</translation>
    </message>
    <message>
        <source>No module is connected.</source>
        <translation>Kein Modul verbunden.</translation>
    </message>
    <message>
        <source>Running.</source>
        <translation>Läuft.</translation>
    </message>
    <message>
        <source>Paused.</source>
        <translation>Angehalten.</translation>
    </message>
    <message>
        <source>Paused: %1.</source>
        <translation>Angehalten: %1.</translation>
    </message>
    <message>
        <source>Stopping: %1.</source>
        <translation>Wird beendet: %1.</translation>
    </message>
    <message>
        <source>Finished.</source>
        <translation>Beendet.</translation>
    </message>
    <message>
        <source>Aborted: %1.</source>
        <translation>Abgebrochen: %1.</translation>
    </message>
    <message>
        <source>Waiting for the module to answer again.</source>
        <translation>Warten, bis das Modul wieder antwortet.</translation>
    </message>
    <message>
        <source>Step %1 of %2</source>
        <translation>Schritt %1 von %2</translation>
    </message>
    <message>
        <source>holding</source>
        <translation>Halten</translation>
    </message>
    <message>
        <source>ramping down</source>
        <translation>Herunterfahren</translation>
    </message>
    <message>
        <source>Elapsed: %1</source>
        <translation>Verstrichen: %1</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
    <message>
        <source>not there</source>
        <translation>nicht vorhanden</translation>
    </message>
    <message>
        <source>A sequence is running (step %1 of %2). It keeps running when this window closes; Module → Sequence... shows it again.</source>
        <translation>Eine Sequenz läuft (Schritt %1 von %2). Sie läuft weiter, wenn dieses Fenster geschlossen wird; Modul → Sequenz... zeigt sie wieder.</translation>
    </message>
    <message>
        <source>&amp;Keep Running</source>
        <translation>&amp;Weiterlaufen lassen</translation>
    </message>
    <message>
        <source>&amp;Abort Sequence</source>
        <translation>Sequenz &amp;abbrechen</translation>
    </message>
    <message>
        <source>A sequence is running (step %1 of %2). Closing the program ends it where it is; the module keeps its present set values. Close anyway?</source>
        <translation>Eine Sequenz läuft (Schritt %1 von %2). Das Schließen des Programms beendet sie an dieser Stelle; das Modul behält seine jetzigen Sollwerte. Trotzdem schließen?</translation>
    </message>
    <message>
        <source>the program was closed</source>
        <translation>das Programm wurde geschlossen</translation>
    </message>
    <message>
        <source>switching off</source>
        <translation>wird ausgeschaltet</translation>
    </message>
    <message>
        <source>Keep the Window &amp;Open</source>
        <translation>Fenster &amp;offen lassen</translation>
    </message>
</context>
<context>
    <name>StatTable</name>
    <message>
        <source>Control</source>
        <translation>Steuerung</translation>
    </message>
    <message>
        <source>Status </source>
        <translation>Status </translation>
    </message>
    <message>
        <source>Event Status</source>
        <translation>Ereignis</translation>
    </message>
    <message>
        <source>Event Mask</source>
        <translation>Maske</translation>
    </message>
</context>
<context>
    <name>StatTableCh</name>
    <message>
        <source>set Channel on</source>
        <translation>Steuerbit: Kanal ein gesetzt</translation>
    </message>
    <message>
        <source>set Channel off</source>
        <translation>Steuerbit: Kanal ein nicht gesetzt</translation>
    </message>
    <message>
        <source>set Channel Emergency</source>
        <translation>Steuerbit: Not-Aus gesetzt</translation>
    </message>
    <message>
        <source>no Channel Emergency</source>
        <translation>Steuerbit: Not-Aus nicht gesetzt</translation>
    </message>
    <message>
        <source>Channel is positive</source>
        <translation>Kanal ist positiv</translation>
    </message>
    <message>
        <source>Channel is negative</source>
        <translation>Kanal ist negativ</translation>
    </message>
    <message>
        <source>an Arc is detected</source>
        <translation>Überschlag erkannt</translation>
    </message>
    <message>
        <source>no Arc is detected</source>
        <translation>kein Überschlag erkannt</translation>
    </message>
    <message>
        <source>Channel Input Error detected</source>
        <translation>Eingabefehler am Kanal erkannt</translation>
    </message>
    <message>
        <source>no Channel Input Error detected</source>
        <translation>kein Eingabefehler am Kanal</translation>
    </message>
    <message>
        <source>Channel is on</source>
        <translation>Kanal ist eingeschaltet</translation>
    </message>
    <message>
        <source>Channel is off</source>
        <translation>Kanal ist ausgeschaltet</translation>
    </message>
    <message>
        <source>Channel is ramping</source>
        <translation>Kanal fährt eine Rampe</translation>
    </message>
    <message>
        <source>Channel is not ramping</source>
        <translation>Kanal fährt keine Rampe</translation>
    </message>
    <message>
        <source>Channel is in Emergency state</source>
        <translation>Kanal ist im Not-Aus</translation>
    </message>
    <message>
        <source>Channel is not in Emergency state</source>
        <translation>Kanal ist nicht im Not-Aus</translation>
    </message>
    <message>
        <source>Constant Current regulation is active</source>
        <translation>Konstantstromregelung ist aktiv</translation>
    </message>
    <message>
        <source>Constant Current regulation is inactive</source>
        <translation>Konstantstromregelung ist inaktiv</translation>
    </message>
    <message>
        <source>Constant Voltage regulation is active</source>
        <translation>Konstantspannungsregelung ist aktiv</translation>
    </message>
    <message>
        <source>Constant Voltage regulation is inactive</source>
        <translation>Konstantspannungsregelung ist inaktiv</translation>
    </message>
    <message>
        <source>low current range measurement</source>
        <translation>Messung im kleinen Strombereich</translation>
    </message>
    <message>
        <source>low current measurement inactive</source>
        <translation>kleiner Strombereich nicht aktiv</translation>
    </message>
    <message>
        <source>Arc Error switched off the HV</source>
        <translation>Überschlagsfehler hat die Hochspannung abgeschaltet</translation>
    </message>
    <message>
        <source>No ARC Error active</source>
        <translation>kein Überschlagsfehler aktiv</translation>
    </message>
    <message>
        <source>Current is out of bounds</source>
        <translation>Strom außerhalb der Toleranz</translation>
    </message>
    <message>
        <source>Current is within bounds</source>
        <translation>Strom innerhalb der Toleranz</translation>
    </message>
    <message>
        <source>Voltage is out of bounds</source>
        <translation>Spannung außerhalb der Toleranz</translation>
    </message>
    <message>
        <source>Voltage is within bounds</source>
        <translation>Spannung innerhalb der Toleranz</translation>
    </message>
    <message>
        <source>External Inhibit is set</source>
        <translation>Externer Inhibit ist gesetzt</translation>
    </message>
    <message>
        <source>no External Inhibit</source>
        <translation>kein externer Inhibit</translation>
    </message>
    <message>
        <source>Channel is on Trip</source>
        <translation>Kanal im Trip</translation>
    </message>
    <message>
        <source>Channel is not on Trip</source>
        <translation>Kanal nicht im Trip</translation>
    </message>
    <message>
        <source>Current limit is exceeded</source>
        <translation>Stromgrenzwert überschritten</translation>
    </message>
    <message>
        <source>Current is within limits</source>
        <translation>Strom innerhalb der Grenzwerte</translation>
    </message>
    <message>
        <source>Voltage limit is exceeded</source>
        <translation>Spannungsgrenzwert überschritten</translation>
    </message>
    <message>
        <source>Voltage is within limits</source>
        <translation>Spannung innerhalb der Grenzwerte</translation>
    </message>
    <message>
        <source>Event Arc Detected</source>
        <translation>Ereignis: Überschlag erkannt</translation>
    </message>
    <message>
        <source>Event Input Error</source>
        <translation>Ereignis: Eingabefehler</translation>
    </message>
    <message>
        <source>Event Switch On to Off</source>
        <translation>Ereignis: von Ein auf Aus geschaltet</translation>
    </message>
    <message>
        <source>Event End of Ramp</source>
        <translation>Ereignis: Rampenende</translation>
    </message>
    <message>
        <source>Event Channel Emergency</source>
        <translation>Ereignis: Not-Aus des Kanals</translation>
    </message>
    <message>
        <source>Event Constant Current</source>
        <translation>Ereignis: Konstantstrom</translation>
    </message>
    <message>
        <source>Event Constant Voltage</source>
        <translation>Ereignis: Konstantspannung</translation>
    </message>
    <message>
        <source>Event Arc Error</source>
        <translation>Ereignis: Überschlagsfehler</translation>
    </message>
    <message>
        <source>Event Current Bounds exceeded</source>
        <translation>Ereignis: Stromtoleranz verlassen</translation>
    </message>
    <message>
        <source>Event Voltage Bounds exceeded</source>
        <translation>Ereignis: Spannungstoleranz verlassen</translation>
    </message>
    <message>
        <source>Event External Inhibit</source>
        <translation>Ereignis: externer Inhibit</translation>
    </message>
    <message>
        <source>Event Trip</source>
        <translation>Ereignis: Trip</translation>
    </message>
    <message>
        <source>Event Current Limit exceeded</source>
        <translation>Ereignis: Stromgrenzwert überschritten</translation>
    </message>
    <message>
        <source>Event Voltage Limit exceeded</source>
        <translation>Ereignis: Spannungsgrenzwert überschritten</translation>
    </message>
    <message>
        <source>Mask Event Arc is active</source>
        <translation>Ereignismaske Überschlag ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Arc is inactive</source>
        <translation>Ereignismaske Überschlag ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Input Error is active</source>
        <translation>Ereignismaske Eingabefehler ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Input Error is inactive</source>
        <translation>Ereignismaske Eingabefehler ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Toggle ON to OFF is active</source>
        <translation>Ereignismaske Umschalten von Ein auf Aus ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Toggle ON to OFF is inactive</source>
        <translation>Ereignismaske Umschalten von Ein auf Aus ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event End of Ramp is active</source>
        <translation>Ereignismaske Rampenende ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event End of Ramp is inactive</source>
        <translation>Ereignismaske Rampenende ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Channel Emergency is active</source>
        <translation>Ereignismaske Not-Aus des Kanals ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Channel Emergency is inactive</source>
        <translation>Ereignismaske Not-Aus des Kanals ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Constant Current is active</source>
        <translation>Ereignismaske Konstantstrom ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Constant Current is inactive</source>
        <translation>Ereignismaske Konstantstrom ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Constant Voltage is active</source>
        <translation>Ereignismaske Konstantspannung ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Constant Voltage is inactive</source>
        <translation>Ereignismaske Konstantspannung ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Arc Error is active</source>
        <translation>Ereignismaske Überschlagsfehler ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Arc Error is inactive</source>
        <translation>Ereignismaske Überschlagsfehler ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Current Bound is active</source>
        <translation>Ereignismaske Stromtoleranz ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Current Bound is inactive</source>
        <translation>Ereignismaske Stromtoleranz ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Voltage Bound is active</source>
        <translation>Ereignismaske Spannungstoleranz ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Voltage Bound is inactive</source>
        <translation>Ereignismaske Spannungstoleranz ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Inhibit is active</source>
        <translation>Ereignismaske Inhibit ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Inhibit is inactive</source>
        <translation>Ereignismaske Inhibit ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Trip is active</source>
        <translation>Ereignismaske Trip ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Trip is inactive</source>
        <translation>Ereignismaske Trip ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Current Limit is active</source>
        <translation>Ereignismaske Stromgrenzwert ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Current Limit is inactive</source>
        <translation>Ereignismaske Stromgrenzwert ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Voltage Limit is active</source>
        <translation>Ereignismaske Spannungsgrenzwert ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Voltage Limit is inactive</source>
        <translation>Ereignismaske Spannungsgrenzwert ist inaktiv</translation>
    </message>
</context>
<context>
    <name>StatTableMod</name>
    <message>
        <source>Set Interlock</source>
        <translation>Steuerbit: Interlock gesetzt</translation>
    </message>
    <message>
        <source>Unset Interlock</source>
        <translation>Steuerbit: Interlock nicht gesetzt</translation>
    </message>
    <message>
        <source>Clear all Events</source>
        <translation>Steuerbit: Ereignisse löschen gesetzt</translation>
    </message>
    <message>
        <source>Don&apos;t clear Events</source>
        <translation>Steuerbit: Ereignisse löschen nicht gesetzt</translation>
    </message>
    <message>
        <source>Set Big Endian order</source>
        <translation>Steuerbit: Big Endian gesetzt</translation>
    </message>
    <message>
        <source>Set Little Endian order</source>
        <translation>Steuerbit: Big Endian nicht gesetzt (Little Endian)</translation>
    </message>
    <message>
        <source>Set Fine Adjustment on</source>
        <translation>Steuerbit: Feinabgleich gesetzt</translation>
    </message>
    <message>
        <source>Set Fine Adjustment off</source>
        <translation>Steuerbit: Feinabgleich nicht gesetzt</translation>
    </message>
    <message>
        <source>Set Kill Enable</source>
        <translation>Steuerbit: Kill-Enable gesetzt</translation>
    </message>
    <message>
        <source>Set Kill Disable</source>
        <translation>Steuerbit: Kill-Enable nicht gesetzt</translation>
    </message>
    <message>
        <source>is in Fine Adjustment state</source>
        <translation>Feinabgleich ist aktiv</translation>
    </message>
    <message>
        <source>is not in Fine Adjustment state</source>
        <translation>Feinabgleich ist nicht aktiv</translation>
    </message>
    <message>
        <source>is in Live Insertion mode</source>
        <translation>im Live-Insertion-Modus</translation>
    </message>
    <message>
        <source>not in Live Insertion mode</source>
        <translation>nicht im Live-Insertion-Modus</translation>
    </message>
    <message>
        <source>High Voltage is on</source>
        <translation>Hochspannung ist eingeschaltet</translation>
    </message>
    <message>
        <source>Device in bad condition, service is needed!</source>
        <translation>Gerät in schlechtem Zustand, Service erforderlich!</translation>
    </message>
    <message>
        <source>device working properly, no Service needed</source>
        <translation>Gerät arbeitet einwandfrei, kein Service nötig</translation>
    </message>
    <message>
        <source>Input Error occured</source>
        <translation>Eingabefehler aufgetreten</translation>
    </message>
    <message>
        <source>no Input Error</source>
        <translation>kein Eingabefehler</translation>
    </message>
    <message>
        <source>no Sum Error</source>
        <translation>kein Summenfehler</translation>
    </message>
    <message>
        <source>Sum Error occured!</source>
        <translation>Summenfehler aufgetreten!</translation>
    </message>
    <message>
        <source>no Ramp active</source>
        <translation>keine Rampe aktiv</translation>
    </message>
    <message>
        <source>at least one Channel is ramping</source>
        <translation>mindestens ein Kanal fährt eine Rampe</translation>
    </message>
    <message>
        <source>Safety Loop is closed</source>
        <translation>Sicherheitsschleife ist geschlossen</translation>
    </message>
    <message>
        <source>Safety Loop is open!</source>
        <translation>Sicherheitsschleife ist offen!</translation>
    </message>
    <message>
        <source>one or more Events are active</source>
        <translation>ein oder mehrere Ereignisse aktiv</translation>
    </message>
    <message>
        <source>no Event active</source>
        <translation>kein Ereignis aktiv</translation>
    </message>
    <message>
        <source>no Error</source>
        <translation>kein Fehler</translation>
    </message>
    <message>
        <source>one or more Errors occured</source>
        <translation>ein oder mehrere Fehler aufgetreten</translation>
    </message>
    <message>
        <source>no Supply Error</source>
        <translation>kein Versorgungsfehler</translation>
    </message>
    <message>
        <source>Supply not good</source>
        <translation>Versorgung nicht in Ordnung</translation>
    </message>
    <message>
        <source>Temperature is good</source>
        <translation>Temperatur in Ordnung</translation>
    </message>
    <message>
        <source>Temperature not good!</source>
        <translation>Temperatur nicht in Ordnung!</translation>
    </message>
    <message>
        <source>Kill Enable active!</source>
        <translation>Kill-Enable aktiv!</translation>
    </message>
    <message>
        <source>no Kill Enable active</source>
        <translation>Kill-Enable nicht aktiv</translation>
    </message>
    <message>
        <source>Event Live Insertion</source>
        <translation>Ereignis: Live-Insertion</translation>
    </message>
    <message>
        <source>Event Service Needed</source>
        <translation>Ereignis: Service erforderlich</translation>
    </message>
    <message>
        <source>Event Input Error</source>
        <translation>Ereignis: Eingabefehler</translation>
    </message>
    <message>
        <source>Event Safety Loop not good</source>
        <translation>Ereignis: Sicherheitsschleife offen</translation>
    </message>
    <message>
        <source>Event Supply not good</source>
        <translation>Ereignis: Versorgung nicht in Ordnung</translation>
    </message>
    <message>
        <source>Event Temperature not good</source>
        <translation>Ereignis: Temperatur nicht in Ordnung</translation>
    </message>
    <message>
        <source>Mask Event Input Error is active</source>
        <translation>Ereignismaske Eingabefehler ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Input Error is inactive</source>
        <translation>Ereignismaske Eingabefehler ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Safety Loop is active</source>
        <translation>Ereignismaske Sicherheitsschleife ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Safety Loop is inactive</source>
        <translation>Ereignismaske Sicherheitsschleife ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Supply not good is active</source>
        <translation>Ereignismaske Versorgung nicht in Ordnung ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Supply not good is inactive</source>
        <translation>Ereignismaske Versorgung nicht in Ordnung ist inaktiv</translation>
    </message>
    <message>
        <source>Mask Event Temperature not good is active</source>
        <translation>Ereignismaske Temperatur nicht in Ordnung ist aktiv</translation>
    </message>
    <message>
        <source>Mask Event Temperature not good is inactive</source>
        <translation>Ereignismaske Temperatur nicht in Ordnung ist inaktiv</translation>
    </message>
</context>
<context>
    <name>TrendPlot</name>
    <message>
        <source>Measured voltage (%1)</source>
        <translation>Messspannung (%1)</translation>
    </message>
    <message>
        <source>Measured current (%1)</source>
        <translation>Messstrom (%1)</translation>
    </message>
    <message>
        <source>No data</source>
        <translation>Keine Daten</translation>
    </message>
    <message>
        <source>Ch %1</source>
        <translation>Kan. %1</translation>
    </message>
</context>
<context>
    <name>TrendWindow</name>
    <message>
        <source>Trend</source>
        <translation>Trend</translation>
    </message>
    <message>
        <source>Time window:</source>
        <translation>Zeitfenster:</translation>
    </message>
    <message>
        <source>1 min</source>
        <translation>1 min</translation>
    </message>
    <message>
        <source>10 min</source>
        <translation>10 min</translation>
    </message>
    <message>
        <source>1 h</source>
        <translation>1 h</translation>
    </message>
    <message>
        <source>&amp;Pause</source>
        <translation>&amp;Pause</translation>
    </message>
    <message>
        <source>Export &amp;CSV...</source>
        <translation>&amp;CSV exportieren...</translation>
    </message>
    <message>
        <source>Export P&amp;NG...</source>
        <translation>P&amp;NG exportieren...</translation>
    </message>
    <message>
        <source>&amp;All</source>
        <translation>&amp;Alle</translation>
    </message>
    <message>
        <source>N&amp;one</source>
        <translation>&amp;Keine</translation>
    </message>
    <message>
        <source>Ch %1</source>
        <translation>Kan. %1</translation>
    </message>
    <message>
        <source>&amp;Resume</source>
        <translation>&amp;Fortsetzen</translation>
    </message>
    <message>
        <source>Export Trend Data</source>
        <translation>Trenddaten exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>Vorn SCPI Control</source>
        <translation>Vorn SCPI Control</translation>
    </message>
    <message>
        <source>The trend data could not be written to %1: %2</source>
        <translation>Die Trenddaten konnten nicht in %1 geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Export Trend Plot</source>
        <translation>Trenddiagramm exportieren</translation>
    </message>
    <message>
        <source>PNG images (*.png)</source>
        <translation>PNG-Bilder (*.png)</translation>
    </message>
    <message>
        <source>The plot could not be saved as %1.</source>
        <translation>Das Diagramm konnte nicht als %1 gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Every Vornwerk module on an MQTT broker in one window, fed by the module bridges.</source>
        <translation>Alle Vornwerk-Module an einem MQTT-Broker in einem Fenster, gespeist von den Modul-Bridges.</translation>
    </message>
    <message>
        <source>The broker, HOST or HOST:PORT (remembered).</source>
        <translation>Der Broker, RECHNER oder RECHNER:PORT (wird gemerkt).</translation>
    </message>
    <message>
        <source>The first topic level of the modules (remembered).</source>
        <translation>Die erste Topic-Ebene der Module (wird gemerkt).</translation>
    </message>
</context>
</TS>
