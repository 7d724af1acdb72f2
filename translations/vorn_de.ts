<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE" sourcelanguage="en">
<context>
    <name>CommandLine</name>
    <message>
        <source>Control panel for Vornwerk high-voltage power-supply modules.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos;.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>DialogConfiguration</name>
    <message>
        <source>Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set configuration for..</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Devices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Firmware Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>current Value:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>n.A.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Voltage Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unit:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Precision:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Columns Settings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vbounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ibounds</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>EthControl</name>
    <message>
        <source>Vorn SCPI Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>USB / RS-232 (COM)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Serial Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ethernet (TCP/IP)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TCP Port:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPIB (IEEE-488)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GPIB Address:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Voltage Ramp Speed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Ramp Speed:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vset (V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vmeas (V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vbounds (V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vnominal (V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Iset (mA)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imeas (mA)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ibounds (mA)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Inominal (mA)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Power (W)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CC</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel Event Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel Event Mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status Module</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Module Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Module Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Module Event Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Module Event Mask</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Module</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Instructions for all channels</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Channel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Special Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Voltage...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>V</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Current...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>I</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Channel On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Channel Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select Channel...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+O</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+F</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Voltage Ramp...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Current Ramp...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Shift+R</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+V</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+I</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Voltage Incremental</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Alt+V</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supplies and &amp;Temperature...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Emergency Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Emergency Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F9</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status / Control...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Module Status / Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+S</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Digital Filter...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Scan for IP Address...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear All Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>About &amp;Qt...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+Y</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration of display resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Statistic...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input/&amp;Output...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Increment Voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Decrement Voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>-</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Increment</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Increment × 10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>9</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Increment ÷ 10</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Emission Parameters...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save Changed Configuration in Device</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Applies all changed configurations to the VXT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configure Listen Only Mode...</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HvTable</name>
    <message>
        <source>Channel %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is in Low Current Range.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is configured for Delayed Trip.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatTable</name>
    <message>
        <source>Control</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Status </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Status</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Mask</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatTableCh</name>
    <message>
        <source>set Channel on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>set Channel off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>set Channel Emergency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Channel Emergency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is positive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is negative</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>an Arc is detected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Arc is detected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel Input Error detected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Channel Input Error detected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is ramping</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is not ramping</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is in Emergency state</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is not in Emergency state</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant Current regulation is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant Current regulation is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant Voltage regulation is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constant Voltage regulation is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>low current range measurement</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>low current measurement inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arc Error switched off the HV</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No ARC Error active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current is out of bounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current is within bounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Voltage is out of bounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Voltage is within bounds</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>External Inhibit is set</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no External Inhibit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is on Trip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Channel is not on Trip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current limit is exceeded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current is within limits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Voltage limit is exceeded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Voltage is within limits</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Arc Detected</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Input Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Switch On to Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event End of Ramp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Channel Emergency</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Constant Current</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Constant Voltage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Arc Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Current Bounds exceeded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Voltage Bounds exceeded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event External Inhibit</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Trip</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Current Limit exceeded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Voltage Limit exceeded</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Arc is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Arc is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Input Error is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Input Error is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Toggle ON to OFF is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Toggle ON to OFF is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event End of Ramp is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event End of Ramp is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Channel Emergency is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Channel Emergency is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Constant Current is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Constant Current is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Constant Voltage is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Constant Voltage is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Arc Error is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Arc Error is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Current Bound is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Current Bound is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Voltage Bound is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Voltage Bound is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Inhibit is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Inhibit is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Trip is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Trip is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Current Limit is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Current Limit is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Voltage Limit is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Voltage Limit is inactive</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>StatTableMod</name>
    <message>
        <source>Set Interlock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unset Interlock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Clear all Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Don&apos;t clear Events</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Big Endian order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Little Endian order</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Fine Adjustment on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Fine Adjustment off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Kill Enable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Set Kill Disable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is in Fine Adjustment state</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is not in Fine Adjustment state</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>is in Live Insertion mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>not in Live Insertion mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>High Voltage is on</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Device in bad condition, service is needed!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>device working properly, no Service needed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input Error occured</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Input Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Sum Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sum Error occured!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Ramp active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>at least one Channel is ramping</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Safety Loop is closed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Safety Loop is open!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>one or more Events are active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Event active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>one or more Errors occured</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Supply Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supply not good</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature is good</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Temperature not good!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Kill Enable active!</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no Kill Enable active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Live Insertion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Service Needed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Input Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Safety Loop not good</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Supply not good</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Event Temperature not good</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Input Error is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Input Error is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Safety Loop is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Safety Loop is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Supply not good is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Supply not good is inactive</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Temperature not good is active</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mask Event Temperature not good is inactive</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
