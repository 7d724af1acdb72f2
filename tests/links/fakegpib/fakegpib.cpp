// A GPIB driver double for the loader and link tests: an instrument at address 5 that answers
// every write with a settable reply, and a listener at address 9 that never answers. Every call
// is logged; a unit descriptor as "@" and the address it was opened for, so logs do not depend
// on how many descriptors earlier tests opened. Built once complete and once lacking one of its
// three status functions (FAKEGPIB_WITHOUT_IBERR).

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int ERR = 0x8000, TIMO = 0x4000, END = 0x2000, CMPL = 0x0100;
constexpr int ENOL = 2, EARG = 4, EABO = 6;
constexpr int Instrument = 5, SilentListener = 9;

int ibstaValue = 0, iberrValue = 0, ibcntValue = 0;
std::string callLog, pending, reply = "Vornwerk GmbH,FAKE,1,1.00;1\r\n";
std::vector<int> descriptors; // descriptor n is descriptors[n - 1], the primary address
bool failWrites = false;

int addressOf(int ud)
{
    return ud >= 1 && ud <= int(descriptors.size()) ? descriptors[ud - 1] : -1;
}

std::string unit(int ud)
{
    return '@' + std::to_string(addressOf(ud));
}

template <typename... Items> void log(const char *call, const Items &...items)
{
    std::ostringstream line;
    line << call;
    ((line << ' ' << items), ...);
    callLog += line.str() + '\n';
}

bool present(int address)
{
    return address == Instrument || address == SilentListener;
}

int status(int sta, int err = 0)
{
    iberrValue = err;
    if (sta & ERR)
        ibcntValue = 0;
    return ibstaValue = sta;
}

} // namespace

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_EXPORT int ibdev(int board, int pad, int sad, int tmo, int eot, int eos)
{
    log("ibdev", board, pad, sad, tmo, eot, eos);
    if (pad < 0 || pad > 30) {
        status(ERR, EARG);
        return -1;
    }
    descriptors.push_back(pad);
    status(CMPL);
    return int(descriptors.size());
}

FAKE_EXPORT int ibclr(int ud)
{
    log("ibclr", unit(ud));
    return present(addressOf(ud)) ? status(CMPL) : status(ERR, ENOL);
}

FAKE_EXPORT int ibconfig(int ud, int option, int value)
{
    log("ibconfig", unit(ud), option, value);
    return status(CMPL);
}

FAKE_EXPORT int ibwrt(int ud, const void *buf, long count)
{
    log("ibwrt", unit(ud), std::string(static_cast<const char *>(buf), size_t(count)));
    pending.clear();
    if (failWrites || !present(addressOf(ud)))
        return status(ERR, ENOL);
    if (addressOf(ud) == Instrument)
        pending = reply;
    ibcntValue = int(count);
    return status(CMPL);
}

FAKE_EXPORT int ibrd(int ud, void *buf, long count)
{
    log("ibrd", unit(ud), count);
    if (pending.empty() || addressOf(ud) != Instrument)
        return status(ERR | TIMO, EABO);
    const size_t n = std::min(pending.size(), size_t(count));
    std::memcpy(buf, pending.data(), n);
    pending.erase(0, n);
    ibcntValue = int(n);
    return status(CMPL | END);
}

FAKE_EXPORT int ibonl(int ud, int v)
{
    log("ibonl", unit(ud), v);
    return status(CMPL);
}

FAKE_EXPORT void SendIFC(int board)
{
    log("SendIFC", board);
    status(CMPL);
}

FAKE_EXPORT void FindLstn(
    int board, const unsigned short *padlist, unsigned short *resultlist, int limit)
{
    callLog += "FindLstn " + std::to_string(board) + " " + std::to_string(limit) + " [";
    int found = 0;
    for (const unsigned short *pad = padlist; *pad != 0xFFFF; ++pad) {
        callLog += " " + std::to_string(*pad);
        if (present(*pad) && found < limit)
            resultlist[found++] = *pad;
    }
    callLog += " ]\n";
    if (found < limit)
        resultlist[found] = 0xFFFF;
    ibcntValue = found;
    status(CMPL);
}

FAKE_EXPORT int ThreadIbsta(void)
{
    return ibstaValue;
}
#ifndef FAKEGPIB_WITHOUT_IBERR
FAKE_EXPORT int ThreadIberr(void)
{
    return iberrValue;
}
#endif
FAKE_EXPORT int ThreadIbcnt(void)
{
    return ibcntValue;
}

// Test controls.
FAKE_EXPORT const char *fakegpib_takeLog(void)
{
    static std::string taken;
    taken.swap(callLog);
    callLog.clear();
    return taken.c_str();
}

FAKE_EXPORT void fakegpib_setReply(const char *bytes, long count)
{
    reply.assign(bytes, size_t(count));
}

FAKE_EXPORT void fakegpib_setFailWrites(int fail)
{
    failWrites = fail != 0;
}
