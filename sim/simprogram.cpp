#include "simprogram.h"

#include "frontends/controlport.h"
#include "frontends/gpibfrontend.h"
#include "frontends/serialfrontend.h"
#include "frontends/tcpfrontend.h"
#include "model/simmodule.h"
#include "simlog.h"

#include <QHostAddress>
#include <QRandomGenerator>

namespace vornsim {

SimProgram::SimProgram(QObject *parent)
    : QObject(parent)
{
}

// The front ends are children and go first; the modules they point to live until here.
SimProgram::~SimProgram()
{
    qDeleteAll(children());
}

SimModule *SimProgram::addModule(const SimOptions &options, int serialOffset)
{
    Preset preset = options.preset;
    preset.identity.serialNumber += serialOffset;
    m_modules.push_back(std::make_unique<SimModule>(preset));
    SimModule *module = m_modules.back().get();
    module->setClock(SimModule::Clock::RealTime);
    module->setNoise(options.noise);
    for (const SimOptions::Load &load : options.loads) {
        for (int channel : load.channels)
            module->setLoad(channel, load.ohms, load.leakagePerVolt);
    }
    for (const SimOptions::ArcRate &rate : options.arcRates) {
        for (int channel : rate.channels)
            module->setArcRate(channel, rate.perMinute);
    }
    module->setLimits(options.voltageLimit, options.currentLimit);
    return module;
}

void SimProgram::trace(const QByteArray &line)
{
    if (m_trace.isOpen())
        m_trace.write(line + '\n');
}

bool SimProgram::start(const SimOptions &options, QString *error)
{
    if (!options.traceFile.isEmpty()) {
        m_trace.setFileName(options.traceFile);
        if (!m_trace.open(QIODevice::Append | QIODevice::Unbuffered)) {
            *error = QStringLiteral("cannot open %1: %2")
                         .arg(options.traceFile, m_trace.errorString());
            return false;
        }
    }
    return startFrontEnd(options, error) && startControlPort(options, error);
}

bool SimProgram::startControlPort(const SimOptions &options, QString *error)
{
    if (options.controlPort < 0)
        return true;
    if (m_modules.empty()) {
        *error = QStringLiteral("the control port needs a module (--gpib without addresses?)");
        return false;
    }
    std::vector<SimModule *> modules;
    for (const std::unique_ptr<SimModule> &module : m_modules)
        modules.push_back(module.get());
    auto *control = new ControlPort(modules, this);
    if (!control->listen(quint16(options.controlPort))) {
        *error = QStringLiteral("cannot open the control port 127.0.0.1:%1: %2")
                     .arg(options.controlPort)
                     .arg(control->errorString());
        return false;
    }
    m_controlLine = QStringLiteral("control 127.0.0.1:%1").arg(control->serverPort());
    return true;
}

bool SimProgram::listenRow(const SimOptions &options, const QHostAddress &address, QString *error)
{
    std::vector<TcpFrontEnd *> row;
    quint16 base = options.port;
    for (int i = 0; i < options.modules; ++i) {
        auto *tcp = new TcpFrontEnd(addModule(options, i), this);
        tcp->setFaults(options.faults);
        connect(tcp, &TcpFrontEnd::lineReceived, this, &SimProgram::trace);
        row.push_back(tcp);
        const quint16 port = i == 0 ? base : quint16(base + i);
        if (!tcp->listen(address, port)) {
            *error = QStringLiteral("cannot listen on %1:%2: %3")
                         .arg(options.address)
                         .arg(port)
                         .arg(tcp->errorString());
            qDeleteAll(row);
            m_modules.clear();
            return false;
        }
        if (i == 0)
            base = tcp->serverPort();
    }
    m_readyLine = QStringLiteral("tcp %1:%2").arg(address.toString()).arg(base);
    if (options.modules > 1)
        m_readyLine += QStringLiteral("-%1").arg(base + options.modules - 1);
    return true;
}

bool SimProgram::startTcp(const SimOptions &options, const QHostAddress &address, QString *error)
{
    if (options.port != 0 || options.modules == 1)
        return listenRow(options, address, error);
    // A row of free ports is looked for below 32768: the system takes the local ports of
    // outgoing connections from above, so a row there is seldom free.
    constexpr int Lowest = 10000;
    constexpr int Highest = 32767;
    SimOptions row = options;
    for (int attempt = 0; attempt < 50; ++attempt) {
        row.port
            = quint16(QRandomGenerator::global()->bounded(Lowest, Highest - options.modules + 2));
        if (listenRow(row, address, error))
            return true;
    }
    *error = QStringLiteral("found no %1 free consecutive ports between %2 and %3")
                 .arg(options.modules)
                 .arg(Lowest)
                 .arg(Highest);
    return false;
}

bool SimProgram::startFrontEnd(const SimOptions &options, QString *error)
{
    switch (options.transport) {
    case SimOptions::Transport::Tcp: {
        const QHostAddress address(options.address);
        if (address.isNull()) {
            *error = QStringLiteral("invalid listen address: %1").arg(options.address);
            return false;
        }
        return startTcp(options, address, error);
    }
    case SimOptions::Transport::Serial: {
        auto *serial = new SerialFrontEnd(addModule(options, 0), this);
        serial->setFaults(options.faults);
        connect(serial, &SerialFrontEnd::lineReceived, this, &SimProgram::trace);
        if (!serial->open()) {
            *error = QStringLiteral("cannot open a pseudo-terminal: %1").arg(serial->errorString());
            return false;
        }
        m_readyLine = QStringLiteral("serial %1").arg(serial->portPath());
        return true;
    }
    case SimOptions::Transport::Gpib: {
        auto *gpib = new GpibFrontEnd(this);
        gpib->setFaults(options.faults);
        connect(gpib, &GpibFrontEnd::lineReceived, this, [this](int pad, const QByteArray &line) {
            trace(QByteArray::number(pad) + ' ' + line);
        });
        // Several modules of one preset get consecutive serial numbers.
        for (int i = 0; i < options.gpibAddresses.size(); ++i)
            gpib->addModule(options.gpibAddresses.at(i), addModule(options, i));
        for (int pad : options.gpibSilent) {
            if (!options.gpibAddresses.contains(pad))
                gpib->addSilentListener(pad);
        }
        if (!gpib->listen(options.gpibSocket)) {
            *error = QStringLiteral("cannot listen on %1: %2")
                         .arg(options.gpibSocket, gpib->errorString());
            return false;
        }
        m_readyLine = QStringLiteral("gpib %1").arg(gpib->socketPath());
        return true;
    }
    }
    return false;
}

} // namespace vornsim
