#pragma once

#include "simoptions.h"

#include <QFile>
#include <QHostAddress>
#include <QObject>
#include <QString>

#include <memory>
#include <vector>

namespace vornsim {

class SimModule;

/// The running simulator program: the modules and the front end chosen on the command line.
class SimProgram : public QObject
{
    Q_OBJECT

public:
    explicit SimProgram(QObject *parent = nullptr);
    ~SimProgram() override;

    /// Builds the modules and opens the front end. Returns false with a reason in `error`.
    bool start(const SimOptions &options, QString *error);
    /// The line announcing where the module can be reached, e.g. "tcp 127.0.0.1:10001".
    QString readyLine() const { return m_readyLine; }
    /// "control 127.0.0.1:<port>" when the control port is open, else empty.
    QString controlLine() const { return m_controlLine; }

private:
    SimModule *addModule(const SimOptions &options, int serialOffset);
    bool startFrontEnd(const SimOptions &options, QString *error);
    /// The TCP modules on consecutive ports from options.port (0: a free one).
    bool startTcp(const SimOptions &options, const QHostAddress &address, QString *error);
    bool listenRow(const SimOptions &options, const QHostAddress &address, QString *error);
    bool startControlPort(const SimOptions &options, QString *error);
    void trace(const QByteArray &line);

    std::vector<std::unique_ptr<SimModule>> m_modules;
    QString m_readyLine;
    QString m_controlLine;
    QFile m_trace;
};

} // namespace vornsim
