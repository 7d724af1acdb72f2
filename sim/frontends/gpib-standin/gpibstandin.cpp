// A stand-in for a GPIB driver library: the usual entry points, forwarded over a local socket
// to vorn-module-sim --gpib, which plays the instruments on the bus. Calls block like a real
// driver's. The socket path comes from the environment variable VORN_GPIB_SOCKET, read when a
// call needs a connection; with no simulator reachable every call fails with ERR and EDVR.
#include "gpibwire.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#define GPIB_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

using namespace gpibwire;

// ibconfig options this library acts on; all others are accepted and ignored.
constexpr int IbcPAD = 0x1;
constexpr int IbcTMO = 0x3;
constexpr int IbcEOT = 0x4;

thread_local int t_ibsta = 0;
thread_local int t_iberr = 0;
thread_local long t_ibcnt = 0;

struct Device
{
    int pad = 0;
    int timeoutCode = 10;
    bool eot = true;
};

std::mutex g_lock; // guards everything below
int g_socket = -1;
std::map<int, Device> g_devices;
int g_nextDescriptor = 1;

int setStatus(int sta, int err, long cnt)
{
    t_ibsta = sta;
    t_iberr = err;
    t_ibcnt = cnt;
    return sta;
}

int fail(int err)
{
    return setStatus(ERR, err, 0);
}

void disconnect()
{
    if (g_socket >= 0)
        ::close(g_socket);
    g_socket = -1;
}

bool connectSimulator()
{
    if (g_socket >= 0)
        return true;
    const char *path = std::getenv(socketVariable);
    if (!path || !*path)
        return false;
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (std::strlen(path) >= sizeof(address.sun_path))
        return false;
    std::strcpy(address.sun_path, path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return false;
    }
    g_socket = fd;
    return true;
}

bool sendAll(const char *data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(g_socket, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

/// Waits up to waitMs (negative: forever) for one byte.
bool receiveByte(char *byte, int waitMs)
{
    pollfd p { g_socket, POLLIN, 0 };
    int r = 0;
    do {
        r = ::poll(&p, 1, waitMs);
    } while (r < 0 && errno == EINTR);
    if (r <= 0)
        return false;
    return ::recv(g_socket, byte, 1, 0) == 1;
}

bool receiveAll(char *data, size_t size, int waitMs)
{
    while (size > 0) {
        pollfd p { g_socket, POLLIN, 0 };
        const int r = ::poll(&p, 1, waitMs);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            return false;
        const ssize_t n = ::recv(g_socket, data, size, 0);
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

struct Reply
{
    int sta = ERR;
    int err = EDVR;
    long cnt = 0;
    std::string payload;
};

/// One request/reply exchange; false (and the connection dropped) when the simulator is gone.
/// `waitMs` is how long the simulator may take; replies come at the latest when a device
/// time-out runs out, so a small margin is added.
bool exchange(const char *verb, int pad, long arg1, long arg2, const void *data, long size,
    int waitMs, Reply *reply)
{
    if (!connectSimulator())
        return false;
    char header[128];
    const int h
        = std::snprintf(header, sizeof header, "%s %d %ld %ld %ld\n", verb, pad, arg1, arg2, size);
    std::string request(header, size_t(h));
    if (size > 0)
        request.append(static_cast<const char *>(data), size_t(size));
    const int limit = waitMs <= 0 ? -1 : waitMs + 5000;
    std::string line;
    char c = 0;
    bool ok = sendAll(request.data(), request.size());
    while (ok && receiveByte(&c, limit) && c != '\n' && line.size() < 100)
        line += c;
    ok = ok && c == '\n';
    long length = 0;
    if (ok)
        ok = std::sscanf(
                 line.c_str(), "%d %d %ld %ld", &reply->sta, &reply->err, &reply->cnt, &length)
                == 4
            && length >= 0 && length <= (64L << 20);
    if (ok && length > 0) {
        reply->payload.resize(size_t(length));
        ok = receiveAll(&reply->payload[0], size_t(length), limit);
    }
    if (!ok)
        disconnect();
    return ok;
}

Device *device(int ud)
{
    const auto it = g_devices.find(ud);
    return it == g_devices.end() ? nullptr : &it->second;
}

} // namespace

GPIB_EXPORT int ibdev(int board, int pad, int sad, int tmo, int eot, int eos)
{
    (void)sad;
    (void)eos;
    std::lock_guard<std::mutex> guard(g_lock);
    Reply reply;
    if (!exchange("DEV", pad, 0, 0, nullptr, 0, 1000, &reply)) {
        fail(EDVR);
        return -1;
    }
    if (board != 0) {
        fail(ENEB);
        return -1;
    }
    if (pad < 0 || pad > 30 || timeoutMs(tmo) < 0) {
        fail(EARG);
        return -1;
    }
    Device d;
    d.pad = pad;
    d.timeoutCode = tmo;
    d.eot = eot != 0;
    const int ud = g_nextDescriptor++;
    g_devices[ud] = d;
    setStatus(CMPL, 0, 0);
    return ud;
}

GPIB_EXPORT int ibclr(int ud)
{
    std::lock_guard<std::mutex> guard(g_lock);
    Reply reply;
    if (!connectSimulator())
        return fail(EDVR);
    const Device *d = device(ud);
    if (!d)
        return fail(EDVR);
    if (!exchange("CLR", d->pad, 0, 0, nullptr, 0, 1000, &reply))
        return fail(EDVR);
    return setStatus(reply.sta, reply.err, reply.cnt);
}

GPIB_EXPORT int ibconfig(int ud, int option, int value)
{
    std::lock_guard<std::mutex> guard(g_lock);
    if (!connectSimulator())
        return fail(EDVR);
    Device *d = device(ud);
    if (!d)
        return fail(EDVR);
    if (option == IbcTMO) {
        if (timeoutMs(value) < 0)
            return fail(EARG);
        d->timeoutCode = value;
    } else if (option == IbcEOT) {
        d->eot = value != 0;
    } else if (option == IbcPAD) {
        if (value < 0 || value > 30)
            return fail(EARG);
        d->pad = value;
    }
    return setStatus(CMPL, 0, 0);
}

/// Finds the device of a data transfer on \a ud after the checks both directions share.
/// Returns 0 with \a d set, or the failed status when the simulator, the descriptor or the
/// buffer is not usable.
static int transferDevice(int ud, const void *buf, long count, const Device **d)
{
    if (!connectSimulator())
        return fail(EDVR);
    *d = device(ud);
    if (!*d)
        return fail(EDVR);
    if (count < 0 || (count > 0 && !buf))
        return fail(EARG);
    return 0;
}

GPIB_EXPORT int ibwrt(int ud, const void *buf, long count)
{
    std::lock_guard<std::mutex> guard(g_lock);
    const Device *d = nullptr;
    if (const int failed = transferDevice(ud, buf, count, &d))
        return failed;
    Reply reply;
    if (!exchange("WRT", d->pad, d->eot ? 1 : 0, 0, buf, count, 1000, &reply))
        return fail(EDVR);
    return setStatus(reply.sta, reply.err, reply.cnt);
}

GPIB_EXPORT int ibrd(int ud, void *buf, long count)
{
    std::lock_guard<std::mutex> guard(g_lock);
    const Device *d = nullptr;
    if (const int failed = transferDevice(ud, buf, count, &d))
        return failed;
    const int wait = timeoutMs(d->timeoutCode);
    Reply reply;
    if (!exchange("RD", d->pad, count, wait, nullptr, 0, wait, &reply))
        return fail(EDVR);
    const size_t n = reply.payload.size() < size_t(count) ? reply.payload.size() : size_t(count);
    if (n > 0)
        std::memcpy(buf, reply.payload.data(), n);
    return setStatus(reply.sta, reply.err, long(n));
}

GPIB_EXPORT int ibonl(int ud, int v)
{
    std::lock_guard<std::mutex> guard(g_lock);
    if (!connectSimulator())
        return fail(EDVR);
    if (!device(ud))
        return fail(EDVR);
    if (v == 0)
        g_devices.erase(ud);
    return setStatus(CMPL, 0, 0);
}

GPIB_EXPORT void SendIFC(int board)
{
    std::lock_guard<std::mutex> guard(g_lock);
    Reply reply;
    if (!exchange("IFC", 0, 0, 0, nullptr, 0, 1000, &reply)) {
        fail(EDVR);
        return;
    }
    if (board != 0) {
        fail(ENEB);
        return;
    }
    setStatus(reply.sta, reply.err, reply.cnt);
}

GPIB_EXPORT void FindLstn(
    int board, const unsigned short *padlist, unsigned short *resultlist, int limit)
{
    std::lock_guard<std::mutex> guard(g_lock);
    Reply reply;
    if (!exchange("LSN", 0, 0, 0, nullptr, 0, 1000, &reply)) {
        if (resultlist && limit > 0)
            resultlist[0] = NOADDR;
        fail(EDVR);
        return;
    }
    if (board != 0) {
        fail(ENEB);
        return;
    }
    if (!padlist || !resultlist || limit < 0) {
        fail(EARG);
        return;
    }
    bool present[32] = {};
    const char *p = reply.payload.c_str();
    char *end = nullptr;
    for (long a = std::strtol(p, &end, 10); end != p; a = std::strtol(p, &end, 10)) {
        if (a >= 0 && a < 32)
            present[a] = true;
        p = end;
    }
    int found = 0;
    for (const unsigned short *entry = padlist; *entry != NOADDR && found < limit; ++entry) {
        const int pad = *entry & 0xFF; // the high byte carries a secondary address
        if (pad < 32 && present[pad])
            resultlist[found++] = *entry;
    }
    if (found < limit)
        resultlist[found] = NOADDR;
    setStatus(CMPL, 0, found);
}

GPIB_EXPORT int ThreadIbsta(void)
{
    return t_ibsta;
}

GPIB_EXPORT int ThreadIberr(void)
{
    return t_iberr;
}

GPIB_EXPORT int ThreadIbcnt(void)
{
    return int(t_ibcnt);
}

GPIB_EXPORT long ThreadIbcntl(void)
{
    return t_ibcnt;
}
