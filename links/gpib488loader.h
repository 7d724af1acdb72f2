#pragma once

#include "gpib488.h"

#include <QLoggingCategory>
#include <QString>
#include <QStringList>

Q_DECLARE_LOGGING_CATEGORY(lcGpib)
/// Traces that repeat with every scan of the interface lists while nothing is connected (every
/// driver call tries to load a missing driver again, twice per scan); off by default.
Q_DECLARE_LOGGING_CATEGORY(lcGpibRepeat)

/// Binds the GPIB driver library (the 488.2 calls) at run time, so the program starts and runs
/// without one.
///
/// Every driver function has a thin static wrapper of the same name and arguments. The first
/// call of a function loads the driver library (when none is loaded yet) and resolves the entry
/// point, which is then cached. When that fails the wrapper returns at once with the driver's
/// own error status set by the loader: ibsta = ERR, iberr = EDVR, ibcnt = ibcntl = the system
/// error code; ibdev() returns -1, the status-returning calls return ibsta. Nothing is cached
/// then, so every later call tries again, library load included: a driver installed while the
/// program runs is picked up. Once bound, the library stays loaded until the program exits
/// (or setLibraryFileNames()).
///
/// Libraries tried: on Windows "ni4882.dll" (status from its Ibsta/Iberr/Ibcnt functions), then
/// "gpib-32.dll" from the system directory (status variables user_ibsta/user_iberr/
/// user_ibcntl); elsewhere "libgpib.so.0" (status from ThreadIbsta/ThreadIberr/ThreadIbcnt).
/// A library lacking its three status entries is not used.
///
/// All calls are synchronous: a driver call blocks its caller up to the device's time-out. The
/// bound entries and the mirrored status are one state for the whole program, without a lock:
/// the calls must come from one thread at a time. The panel makes them on its GUI thread; the
/// bridge on the one worker thread of GPIB board 0, where all its GPIB engines run.
class Gpib488Loader
{
public:
    Gpib488Loader() = delete;

    static int ibdev(int board, int pad, int sad, int tmo, int eot, int eos);
    static int ibclr(int ud);
    static int ibconfig(int ud, int option, int value);
    static int ibwrt(int ud, const void *buf, long count);
    static int ibrd(int ud, void *buf, long count);
    static int ibonl(int ud, int v);
    static void SendIFC(int board);
    static void FindLstn(
        int board, const unsigned short *padlist, unsigned short *resultlist, int limit);

    /// The driver's status of the calling thread; the mirrored value when it cannot be bound.
    static int ThreadIbsta();
    static int ThreadIberr();
    static int ThreadIbcnt();

    /// Status mirrored after the last wrapped call (or set by the loader on a bind failure).
    static int ibsta();
    static int iberr();
    static int ibcnt();
    static long ibcntl();
    /// True when the mirrored status was set by the loader, not the driver.
    static bool statusFromLoader();

    /// True once a driver library is loaded.
    static bool isLoaded();

    /// Replaces the libraries tried by \a fileNames (paths or names, in order; each must offer
    /// ThreadIbsta, ThreadIberr and ThreadIbcnt, or on Windows Ibsta, Iberr and Ibcnt). An empty
    /// list restores the platform's list. Unloads a loaded library and forgets every bound
    /// entry. For tests; the program never calls it.
    static void setLibraryFileNames(const QStringList &fileNames);
};
