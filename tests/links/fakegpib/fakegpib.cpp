// A GPIB driver double for the loader and link tests: a bus with an instrument at address 5
// that answers every write with a settable reply, and a listener at address 9 that never
// answers. Every call is logged so tests can check the exact calls and arguments.
// Built once complete and once without its status functions (FAKEGPIB_WITHOUT_STATUS).

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int ERR = 0x8000;
constexpr int TIMO = 0x4000;
constexpr int END = 0x2000;
constexpr int CMPL = 0x0100;
constexpr int ENOL = 2;
constexpr int EARG = 4;
constexpr int EABO = 6;
constexpr int Instrument = 5;
constexpr int SilentListener = 9;
constexpr unsigned short NOADDR = 0xFFFF;

int ibstaValue = 0;
int iberrValue = 0;
int ibcntValue = 0;
std::string callLog;
std::string reply = "Vornwerk GmbH,FAKE,1,1.00;1\r\n";
std::string pending;
std::vector<int> descriptors; // descriptor n is descriptors[n - 1], the primary address
bool failWrites = false;

void log(const std::string &entry)
{
    callLog += entry;
    callLog += '\n';
}

int addressOf(int ud)
{
    return ud >= 1 && ud <= int(descriptors.size()) ? descriptors[ud - 1] : -1;
}

bool present(int address)
{
    return address == Instrument || address == SilentListener;
}

int fail(int error)
{
    ibstaValue = ERR;
    iberrValue = error;
    ibcntValue = 0;
    return ibstaValue;
}

int done()
{
    ibstaValue = CMPL;
    iberrValue = 0;
    return ibstaValue;
}

} // namespace

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

FAKE_EXPORT int ibdev(int board, int pad, int sad, int tmo, int eot, int eos)
{
    log("ibdev " + std::to_string(board) + " " + std::to_string(pad) + " " + std::to_string(sad)
        + " " + std::to_string(tmo) + " " + std::to_string(eot) + " " + std::to_string(eos));
    if (pad < 0 || pad > 30) {
        fail(EARG);
        return -1;
    }
    descriptors.push_back(pad);
    done();
    return int(descriptors.size());
}

FAKE_EXPORT int ibclr(int ud)
{
    log("ibclr " + std::to_string(ud));
    return present(addressOf(ud)) ? done() : fail(ENOL);
}

FAKE_EXPORT int ibconfig(int ud, int option, int value)
{
    log("ibconfig " + std::to_string(ud) + " " + std::to_string(option) + " "
        + std::to_string(value));
    return done();
}

FAKE_EXPORT int ibwrt(int ud, const void *buf, long count)
{
    const std::string bytes(static_cast<const char *>(buf), size_t(count));
    log("ibwrt " + std::to_string(ud) + " " + bytes);
    pending.clear();
    if (failWrites || !present(addressOf(ud)))
        return fail(ENOL);
    if (addressOf(ud) == Instrument)
        pending = reply;
    ibcntValue = int(count);
    return done();
}

FAKE_EXPORT int ibrd(int ud, void *buf, long count)
{
    log("ibrd " + std::to_string(ud) + " " + std::to_string(count));
    if (pending.empty() || addressOf(ud) != Instrument) {
        fail(EABO);
        ibstaValue |= TIMO;
        return ibstaValue;
    }
    const size_t n = std::min(pending.size(), size_t(count));
    std::memcpy(buf, pending.data(), n);
    pending.erase(0, n);
    ibcntValue = int(n);
    done();
    ibstaValue |= END;
    return ibstaValue;
}

FAKE_EXPORT int ibonl(int ud, int v)
{
    log("ibonl " + std::to_string(ud) + " " + std::to_string(v));
    return done();
}

FAKE_EXPORT void SendIFC(int board)
{
    log("SendIFC " + std::to_string(board));
    done();
}

FAKE_EXPORT void FindLstn(
    int board, const unsigned short *padlist, unsigned short *resultlist, int limit)
{
    std::string entry = "FindLstn " + std::to_string(board) + " " + std::to_string(limit) + " [";
    int found = 0;
    for (const unsigned short *pad = padlist; *pad != NOADDR; ++pad) {
        entry += " " + std::to_string(*pad);
        if (present(*pad) && found < limit)
            resultlist[found++] = *pad;
    }
    log(entry + " ]");
    if (found < limit)
        resultlist[found] = NOADDR;
    ibcntValue = found;
    done();
}

#ifndef FAKEGPIB_WITHOUT_STATUS
FAKE_EXPORT int ThreadIbsta(void)
{
    return ibstaValue;
}
FAKE_EXPORT int ThreadIberr(void)
{
    return iberrValue;
}
FAKE_EXPORT int ThreadIbcnt(void)
{
    return ibcntValue;
}
#endif

// Test controls.
FAKE_EXPORT const char *fakegpib_takeLog(void)
{
    static std::string taken;
    taken = callLog;
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
