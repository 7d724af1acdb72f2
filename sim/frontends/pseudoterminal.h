#pragma once

#include <QString>

namespace vornsim {

/// A pseudo-terminal pair in raw mode. The simulator reads and writes the master side; a host
/// opens slavePath() (a /dev/pts/N) as its serial port. The simulator keeps a handle on the
/// slave side too, so the pair survives a host closing and reopening the port.
class PseudoTerminal
{
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal &) = delete;
    PseudoTerminal &operator=(const PseudoTerminal &) = delete;

    /// Opens the pair; false with errorString() set on failure.
    bool open();
    void close();
    bool isOpen() const { return m_master >= 0; }
    /// Non-blocking master descriptor, or -1.
    int masterFd() const { return m_master; }
    QString slavePath() const { return m_slavePath; }
    QString errorString() const { return m_error; }

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
    QString m_error;
};

} // namespace vornsim
