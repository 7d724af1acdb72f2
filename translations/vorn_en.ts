<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="en">
<context>
    <name>CommandGate</name>
    <message numerus="yes">
        <source>busy: %n commands wait for the module</source>
        <translation>
            <numerusform>busy: %n command waits for the module</numerusform>
            <numerusform>busy: %n commands wait for the module</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ControlRoomWindow</name>
    <message numerus="yes">
        <source>%n alarm(s)</source>
        <translation>
            <numerusform>%n alarm</numerusform>
            <numerusform>%n alarms</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Measured values of module %1 (%2), %3, from its topics since it was first chosen (%n sample(s)).</source>
        <translation>
            <numerusform>Measured values of module %1 (%2), %3, from its topics since it was first chosen (%n sample).</numerusform>
            <numerusform>Measured values of module %1 (%2), %3, from its topics since it was first chosen (%n samples).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n new alarm(s) in the control room</source>
        <translation>
            <numerusform>%n new alarm in the control room</numerusform>
            <numerusform>%n new alarms in the control room</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SequenceRunner</name>
    <message numerus="yes">
        <source>channel %1 is not there: the module has %n channels</source>
        <translation>
            <numerusform>channel %1 is not there: the module has %n channel</numerusform>
            <numerusform>channel %1 is not there: the module has %n channels</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n arcs within %L1 min, the last on channel %2</source>
        <translation>
            <numerusform>%n arc within %L1 min, on channel %2</numerusform>
            <numerusform>%n arcs within %L1 min, the last on channel %2</numerusform>
        </translation>
    </message>
</context>
</TS>
