#include "gpib488loader.h"

#include <QLibrary>
#include <QList>
#include <cerrno>
#include <memory>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

Q_LOGGING_CATEGORY(lcGpib, "vorn.links.gpib")
Q_LOGGING_CATEGORY(lcGpibRepeat, "vorn.links.gpib.repeat", QtInfoMsg)

using namespace Gpib488;

namespace {

/// Where a driver library keeps the status of the last call.
enum class StatusSource {
    Functions, ///< status functions (Ibsta/Iberr/Ibcnt or ThreadIbsta/ThreadIberr/ThreadIbcnt)
    Variables, ///< exported status variables (user_ibsta/user_iberr/user_ibcntl)
};

struct Candidate
{
    QString fileName;
    StatusSource source = StatusSource::Functions;
    /// Names of the status entries: ibsta, iberr, count.
    const char *statusNames[3] = {};
    /// Look the file up in the system directory instead of the normal search order.
    bool inSystemDirectory = false;
};

enum Entry {
    EntryIbdev,
    EntryIbclr,
    EntryIbconfig,
    EntryIbwrt,
    EntryIbrd,
    EntryIbonl,
    EntrySendIFC,
    EntryFindLstn,
    EntryThreadIbsta,
    EntryThreadIberr,
    EntryThreadIbcnt,
    EntryCount
};

const char *const EntryNames[EntryCount] = { "ibdev", "ibclr", "ibconfig", "ibwrt", "ibrd", "ibonl",
    "SendIFC", "FindLstn", "ThreadIbsta", "ThreadIberr", "ThreadIbcnt" };

Candidate threadStatusCandidate(const QString &fileName)
{
    Candidate c;
    c.fileName = fileName;
#ifdef Q_OS_WIN
    c.statusNames[0] = "Ibsta";
    c.statusNames[1] = "Iberr";
    c.statusNames[2] = "Ibcnt";
#else
    c.statusNames[0] = "ThreadIbsta";
    c.statusNames[1] = "ThreadIberr";
    c.statusNames[2] = "ThreadIbcnt";
#endif
    return c;
}

QList<Candidate> platformCandidates()
{
#ifdef Q_OS_WIN
    Candidate legacy;
    legacy.fileName = QStringLiteral("gpib-32.dll");
    legacy.source = StatusSource::Variables;
    legacy.statusNames[0] = "user_ibsta";
    legacy.statusNames[1] = "user_iberr";
    legacy.statusNames[2] = "user_ibcntl";
    legacy.inSystemDirectory = true;
    return { threadStatusCandidate(QStringLiteral("ni4882.dll")), legacy };
#else
    return { threadStatusCandidate(QStringLiteral("libgpib.so.0")) };
#endif
}

int lastSystemError()
{
#ifdef Q_OS_WIN
    return static_cast<int>(GetLastError());
#else
    return errno;
#endif
}

/// The loader's state: one set for the whole program. The library is unloaded when this is
/// destroyed at program exit.
struct LoaderState
{
    QList<Candidate> overrides;
    std::unique_ptr<QLibrary> library;
    StatusSource source = StatusSource::Functions;
    StatusFn statusFunctions[3] = {};
    int *statusVariableSta = nullptr;
    int *statusVariableErr = nullptr;
    long *statusVariableCntl = nullptr;
    QFunctionPointer entries[EntryCount] = {};

    int ibsta = 0;
    int iberr = 0;
    int ibcnt = 0;
    long ibcntl = 0;
    bool fromLoader = false;
    /// The driver's failure to load has been said (once per run and list of libraries).
    bool failureSaid = false;

    ~LoaderState() { unload(); }

    void unload()
    {
        if (library) {
            library->unload();
            library.reset();
        }
        for (auto &f : statusFunctions)
            f = nullptr;
        statusVariableSta = nullptr;
        statusVariableErr = nullptr;
        statusVariableCntl = nullptr;
        for (auto &e : entries)
            e = nullptr;
    }

    void setErrorStatus(int systemError)
    {
        ibsta = ERR;
        iberr = EDVR;
        ibcnt = systemError;
        ibcntl = systemError;
        fromLoader = true;
    }

    /// Says why the driver could not be bound: the first time as a trace of vorn.links.gpib,
    /// every time after that only in its sub-category, which is off by default.
    void sayFailure(const QString &text)
    {
        if (failureSaid) {
            qCDebug(lcGpibRepeat).noquote() << text;
            return;
        }
        failureSaid = true;
        qCDebug(lcGpib).noquote() << text;
    }

    bool load();
    QFunctionPointer bind(Entry entry);
    void mirrorDriverStatus();
};

LoaderState &state()
{
    static LoaderState s;
    return s;
}

/// Data symbols come back from the resolver as a function pointer; go through an integer to
/// reach the object.
template <typename T> T *variableAddress(QFunctionPointer symbol)
{
    return reinterpret_cast<T *>(reinterpret_cast<quintptr>(symbol));
}

bool LoaderState::load()
{
    const QList<Candidate> candidates = overrides.isEmpty() ? platformCandidates() : overrides;
    for (const Candidate &candidate : candidates) {
        QString fileName = candidate.fileName;
#ifdef Q_OS_WIN
        if (candidate.inSystemDirectory) {
            char directory[MAX_PATH + 1] = {};
            const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
            if (length == 0 || length > MAX_PATH) {
                setErrorStatus(lastSystemError());
                sayFailure(QStringLiteral("no system directory for %1").arg(fileName));
                return false;
            }
            fileName = QString::fromLocal8Bit(directory) + QLatin1Char('\\') + fileName;
        }
#endif
        auto lib = std::make_unique<QLibrary>(fileName);
        errno = 0;
        if (!lib->load()) {
            const int error = lastSystemError();
            sayFailure(QStringLiteral("cannot load %1 : %2").arg(fileName, lib->errorString()));
            setErrorStatus(error);
            continue;
        }
        // The first library that loads is the driver; one without its status entries cannot
        // report failures and is not used.
        const QFunctionPointer sta = lib->resolve(candidate.statusNames[0]);
        const QFunctionPointer err = lib->resolve(candidate.statusNames[1]);
        const QFunctionPointer cnt = lib->resolve(candidate.statusNames[2]);
        if (!sta || !err || !cnt) {
            const int error = lastSystemError();
            sayFailure(QStringLiteral("driver %1 lacks its status entries").arg(fileName));
            lib->unload();
            setErrorStatus(error);
            return false;
        }
        source = candidate.source;
        if (source == StatusSource::Variables) {
            statusVariableSta = variableAddress<int>(sta);
            statusVariableErr = variableAddress<int>(err);
            statusVariableCntl = variableAddress<long>(cnt);
        } else {
            statusFunctions[0] = reinterpret_cast<StatusFn>(sta);
            statusFunctions[1] = reinterpret_cast<StatusFn>(err);
            statusFunctions[2] = reinterpret_cast<StatusFn>(cnt);
        }
        library = std::move(lib);
        qCDebug(lcGpib) << "driver loaded from" << library->fileName();
        return true;
    }
    return false;
}

QFunctionPointer LoaderState::bind(Entry entry)
{
    if (!entries[entry]) {
        if (!library && !load())
            return nullptr;
        entries[entry] = library->resolve(EntryNames[entry]);
        if (!entries[entry]) {
            setErrorStatus(lastSystemError());
            qCDebug(lcGpib) << "driver has no" << EntryNames[entry];
        }
    }
    return entries[entry];
}

void LoaderState::mirrorDriverStatus()
{
    fromLoader = false;
    if (source == StatusSource::Variables) {
        if (statusVariableSta)
            ibsta = *statusVariableSta;
        if (statusVariableErr)
            iberr = *statusVariableErr;
        if (statusVariableCntl) {
            ibcntl = *statusVariableCntl;
            ibcnt = static_cast<int>(ibcntl);
        }
        return;
    }
    if (statusFunctions[0])
        ibsta = statusFunctions[0]();
    if (statusFunctions[1])
        iberr = statusFunctions[1]();
    if (statusFunctions[2]) {
        ibcnt = statusFunctions[2]();
        ibcntl = ibcnt;
    }
}

template <typename Fn> Fn bound(Entry entry)
{
    return reinterpret_cast<Fn>(state().bind(entry));
}

} // namespace

int Gpib488Loader::ibdev(int board, int pad, int sad, int tmo, int eot, int eos)
{
    const auto fn = bound<IbdevFn>(EntryIbdev);
    if (!fn)
        return -1;
    const int result = fn(board, pad, sad, tmo, eot, eos);
    state().mirrorDriverStatus();
    return result;
}

int Gpib488Loader::ibclr(int ud)
{
    const auto fn = bound<IbclrFn>(EntryIbclr);
    if (!fn)
        return state().ibsta;
    const int result = fn(ud);
    state().mirrorDriverStatus();
    return result;
}

int Gpib488Loader::ibconfig(int ud, int option, int value)
{
    const auto fn = bound<IbconfigFn>(EntryIbconfig);
    if (!fn)
        return state().ibsta;
    const int result = fn(ud, option, value);
    state().mirrorDriverStatus();
    return result;
}

int Gpib488Loader::ibwrt(int ud, const void *buf, long count)
{
    const auto fn = bound<IbwrtFn>(EntryIbwrt);
    if (!fn)
        return state().ibsta;
    const int result = fn(ud, buf, count);
    state().mirrorDriverStatus();
    return result;
}

int Gpib488Loader::ibrd(int ud, void *buf, long count)
{
    const auto fn = bound<IbrdFn>(EntryIbrd);
    if (!fn)
        return state().ibsta;
    const int result = fn(ud, buf, count);
    state().mirrorDriverStatus();
    return result;
}

int Gpib488Loader::ibonl(int ud, int v)
{
    const auto fn = bound<IbonlFn>(EntryIbonl);
    if (!fn)
        return state().ibsta;
    const int result = fn(ud, v);
    state().mirrorDriverStatus();
    return result;
}

void Gpib488Loader::SendIFC(int board)
{
    const auto fn = bound<SendIFCFn>(EntrySendIFC);
    if (!fn)
        return;
    fn(board);
    state().mirrorDriverStatus();
}

void Gpib488Loader::FindLstn(
    int board, const unsigned short *padlist, unsigned short *resultlist, int limit)
{
    const auto fn = bound<FindLstnFn>(EntryFindLstn);
    if (!fn)
        return;
    fn(board, padlist, resultlist, limit);
    state().mirrorDriverStatus();
}

int Gpib488Loader::ThreadIbsta()
{
    const auto fn = bound<StatusFn>(EntryThreadIbsta);
    return fn ? fn() : state().ibsta;
}

int Gpib488Loader::ThreadIberr()
{
    const auto fn = bound<StatusFn>(EntryThreadIberr);
    return fn ? fn() : state().iberr;
}

int Gpib488Loader::ThreadIbcnt()
{
    const auto fn = bound<StatusFn>(EntryThreadIbcnt);
    return fn ? fn() : state().ibcnt;
}

int Gpib488Loader::ibsta()
{
    return state().ibsta;
}

int Gpib488Loader::iberr()
{
    return state().iberr;
}

int Gpib488Loader::ibcnt()
{
    return state().ibcnt;
}

long Gpib488Loader::ibcntl()
{
    return state().ibcntl;
}

bool Gpib488Loader::statusFromLoader()
{
    return state().fromLoader;
}

bool Gpib488Loader::isLoaded()
{
    return state().library != nullptr;
}

void Gpib488Loader::setLibraryFileNames(const QStringList &fileNames)
{
    LoaderState &s = state();
    s.unload();
    s.failureSaid = false;
    s.overrides.clear();
    for (const QString &fileName : fileNames)
        s.overrides.append(threadStatusCandidate(fileName));
}
