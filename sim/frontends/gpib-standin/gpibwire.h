#pragma once

// The local-socket protocol between the stand-in GPIB library and vorn-module-sim --gpib.
// Plain C++ on purpose: the stand-in library links nothing but the C++ runtime.
//
// Request: one header line "<VERB> <pad> <arg1> <arg2> <length>\n" in decimal, then <length>
// payload bytes. Reply: "<ibsta> <iberr> <ibcnt> <length>\n" in decimal, then <length> bytes.
// The simulator answers every request exactly once, in order; a read is answered when the
// device has output or when its time-out (arg2, ms; 0 = none) has run out.
//
//   DEV pad 0 0 0           is the simulator there (ibdev)
//   CLR pad 0 0 0           selected device clear; ERR/ENOL when nobody is at pad
//   WRT pad eoi 0 n <data>  write n bytes; eoi 1 ends the message; ERR/ENOL when absent
//   RD  pad count tmo 0     read up to count bytes; END with the last byte of an answer;
//                           ERR|TIMO/EABO after tmo ms without output
//   LSN 0 0 0 0             present addresses, payload "5 7 9"
//   IFC 0 0 0 0             interface clear: all pending input and output is dropped

namespace gpibwire {

enum Status : int { ERR = 0x8000, TIMO = 0x4000, END = 0x2000, CMPL = 0x0100 };
enum Error : int { EDVR = 0, ECIC = 1, ENOL = 2, EADR = 3, EARG = 4, EABO = 6, ENEB = 7 };

constexpr unsigned short NOADDR = 0xFFFF;
constexpr const char *socketVariable = "VORN_GPIB_SOCKET";

/// Time-out codes of ibdev and ibconfig(IbcTMO) in milliseconds; code 0 waits forever.
inline int timeoutMs(int code)
{
    static const int table[] = { 0, 1, 1, 1, 1, 1, 3, 10, 30, 100, 300, 1000, 3000, 10000, 30000,
        100000, 300000, 1000000 };
    return code >= 0 && code < int(sizeof(table) / sizeof(table[0])) ? table[code] : -1;
}

} // namespace gpibwire
