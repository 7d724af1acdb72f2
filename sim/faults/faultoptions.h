#pragma once

#include <QtGlobal>

namespace vornsim {

/// Misbehaviour a front end can show on purpose, so that tests can check how the host copes.
/// Counters ("every Nth") run per connection; 0 switches a fault off.
struct FaultOptions
{
    int splitParts = 0; ///< each answer is written in this many segments (2 or more)
    int splitDelayMs = 20; ///< pause between the segments of a split answer
    int answerDelayMs = 0; ///< every answer goes out this late
    int dropEvery = 0; ///< every Nth answer is swallowed (1: no answer at all)
    int garbageEvery = 0; ///< every Nth answer is replaced by junk bytes ending with CR LF
    int closeAfter = 0; ///< the module closes the connection after N answers (TCP)
    int endlessAfter = 0; ///< the Nth answer becomes an endless stream without CR LF
    qint64 endlessBytes = 8 * 1024 * 1024; ///< the endless stream stops after this many bytes
    int endlessMs = 10000; ///< ... or after this long, whichever comes first

    // Serial port only.
    int wrongEchoEvery = 0; ///< every Nth echoed byte is replaced by a wrong one
    int loneLfEvery = 0; ///< every Nth request gets a lone LF instead of its answer
    bool echoWithAnswer = false; ///< the echo (of the last byte) and the answer in one write
};

} // namespace vornsim
