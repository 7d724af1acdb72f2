#pragma once

// Public values and entry-point types of the NI-488.2 interface, as far as the program uses
// them. The driver is bound at run time (Gpib488Loader), so no driver header is needed.

#include <QtGlobal>

#ifdef Q_OS_WIN
#define VORN_GPIB_CALL __stdcall
#else
#define VORN_GPIB_CALL
#endif

namespace Gpib488 {

/// ibsta bit: the call failed.
constexpr int ERR = 0x8000;
/// iberr: the driver is missing or could not be bound.
constexpr int EDVR = 0;
/// Device I/O time-out of 300 ms (ibdev's tmo argument).
constexpr int T300ms = 10;
/// ibconfig option: assert EOI with the last byte of every write.
constexpr int IbcEOT = 4;
/// End marker of an address list given to FindLstn.
constexpr unsigned short NOADDR = 0xFFFF;

extern "C" {
using IbdevFn = int(VORN_GPIB_CALL *)(int board, int pad, int sad, int tmo, int eot, int eos);
using IbclrFn = int(VORN_GPIB_CALL *)(int ud);
using IbconfigFn = int(VORN_GPIB_CALL *)(int ud, int option, int value);
using IbwrtFn = int(VORN_GPIB_CALL *)(int ud, const void *buf, long count);
using IbrdFn = int(VORN_GPIB_CALL *)(int ud, void *buf, long count);
using IbonlFn = int(VORN_GPIB_CALL *)(int ud, int v);
using SendIFCFn = void(VORN_GPIB_CALL *)(int board);
using FindLstnFn = void(VORN_GPIB_CALL *)(
    int board, const unsigned short *padlist, unsigned short *resultlist, int limit);
using StatusFn = int(VORN_GPIB_CALL *)(void);
}

} // namespace Gpib488
