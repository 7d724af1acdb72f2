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
