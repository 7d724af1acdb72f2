<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
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
        <translation>Statistik...</translation>
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
        <translation>Ereignisstatus</translation>
    </message>
    <message>
        <source>Event Mask</source>
        <translation>Ereignismaske</translation>
    </message>
</context>
<context>
    <name>StatTableCh</name>
    <message>
        <source>set Channel on</source>
        <translation>Kanal einschalten</translation>
    </message>
    <message>
        <source>set Channel off</source>
        <translation>Kanal ausschalten</translation>
    </message>
    <message>
        <source>set Channel Emergency</source>
        <translation>Not-Aus für den Kanal auslösen</translation>
    </message>
    <message>
        <source>no Channel Emergency</source>
        <translation>kein Not-Aus für den Kanal</translation>
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
        <translation>Kanal hat ausgelöst (Trip)</translation>
    </message>
    <message>
        <source>Channel is not on Trip</source>
        <translation>Kanal hat nicht ausgelöst (kein Trip)</translation>
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
        <translation>Ereignis Eingabefehler</translation>
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
        <translation>Ereignis externer Inhibit</translation>
    </message>
    <message>
        <source>Event Trip</source>
        <translation>Ereignis Trip</translation>
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
        <translation>Interlock setzen</translation>
    </message>
    <message>
        <source>Unset Interlock</source>
        <translation>Interlock zurücksetzen</translation>
    </message>
    <message>
        <source>Clear all Events</source>
        <translation>Alle Ereignisse löschen</translation>
    </message>
    <message>
        <source>Don&apos;t clear Events</source>
        <translation>Ereignisse nicht löschen</translation>
    </message>
    <message>
        <source>Set Big Endian order</source>
        <translation>Byte-Reihenfolge Big Endian</translation>
    </message>
    <message>
        <source>Set Little Endian order</source>
        <translation>Byte-Reihenfolge Little Endian</translation>
    </message>
    <message>
        <source>Set Fine Adjustment on</source>
        <translation>Feinabgleich einschalten</translation>
    </message>
    <message>
        <source>Set Fine Adjustment off</source>
        <translation>Feinabgleich ausschalten</translation>
    </message>
    <message>
        <source>Set Kill Enable</source>
        <translation>Kill-Enable einschalten</translation>
    </message>
    <message>
        <source>Set Kill Disable</source>
        <translation>Kill-Enable ausschalten</translation>
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
        <translation>Ereignis Live-Insertion</translation>
    </message>
    <message>
        <source>Event Service Needed</source>
        <translation>Ereignis Service erforderlich</translation>
    </message>
    <message>
        <source>Event Input Error</source>
        <translation>Ereignis Eingabefehler</translation>
    </message>
    <message>
        <source>Event Safety Loop not good</source>
        <translation>Ereignis: Sicherheitsschleife nicht in Ordnung</translation>
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
</TS>
