#pragma once

#include "module.h"
#include "modulefamily.h"

#include <QByteArray>
#include <QList>
#include <QLoggingCategory>
#include <QObject>
#include <QPair>
#include <QString>

class ConsoleChannel;

Q_DECLARE_LOGGING_CATEGORY(lcEngine)

/// The protocol engine of one connection to a module. Each link class derives from it and adds
/// only the medium: the six link operations below are the link's contract.
///
/// The engine is answer-driven: it writes one request, carrying a request code, and writes the
/// next one only after the answer has been processed by onAnswerReady(). It has no timer; a
/// request whose answer never comes stalls the cycle until the owner ends the connection.
class SCPI_Parser : public QObject
{
    Q_OBJECT

public:
    /// The code of the request whose answer is awaited; the answer is parsed by it.
    enum RequestCode : quint16 {
        None = 0,
        ReadVoltageSet = 81,
        ReadVoltageNominal = 83,
        ReadVoltageBounds = 84,
        ReadCurrentSet = 90,
        ReadCurrentNominal = 92,
        ReadCurrentBounds = 93,
        ReadRamps = 96,
        ReadFirmware = 99,
        ReadModuleStatus = 101,
        ClearModuleEvents = 104,
        SetModuleEventMask = 105,
        ReadSupplies = 108,
        ReadChannelControl = 122,
        ReadChannelStatus = 123,
        ReadChannelEventStatus = 125,
        ReadChannelEventMask = 126,
        ReadIdentity = 132,
        ReadLimitsPercent = 133,
        ReadLimitsUnits = 134,
        MeasureVoltage = 141,
        MeasureCurrent = 142,
        ReadEpu = 174,
        SaveConfiguration = 179,
        ReadAverage = 200,
        ReadInterfaceMode = 204,
        SetModuleControl = 212,
        ReadOutputs = 245,
        ReadInterlock = 246,
        ReadEmission = 247,
        /// A line typed in the SCPI console: its answer is handed out by consoleChannel().
        ConsoleLine = 300,
    };
    Q_ENUM(RequestCode)

    /// An answer buffer that grows past this without completing is emptied ("answer too
    /// long"), so a runaway device cannot exhaust memory.
    static constexpr int MaxAnswerSize = 64 * 1024;
    /// Records the engine's Module always holds; a module reporting more channels is clamped.
    static constexpr int ChannelRecords = 64;

    explicit SCPI_Parser(QObject *parent = nullptr);
    ~SCPI_Parser() override;

    // --- link contract ------------------------------------------------------------------
    /// Opens the medium; true when it accepted the open request. Resets answerCount to 0.
    virtual bool connectDevice() = 0;
    /// Closes the medium and releases the transport. Afterwards only destruction must work.
    virtual void disconnectDevice() = 0;
    /// True while the medium is usable.
    virtual bool isConnected() const = 0;
    /// Names the endpoint for the status line (host text, port name or "GPIB:<address>").
    virtual QString interfaceName() const = 0;

public slots:
    /// Queues the emission regulation command of a filament supply.
    void setModuleEmissionParameter(float p, float i, float d, float minimum, float maximum);

protected slots:
    /// Collects one complete answer through readAnswer(), parses it by requestCode and asks
    /// refreshData() for the next request. Runs whenever answer bytes may have arrived.
    virtual void onAnswerReady();

public:
    /// Writes \a command (8-bit text) and stores \a requestCode in requestCode before returning.
    virtual void sendCommand(quint16 requestCode, const QString &command) = 0;
    /// Appends the bytes that have arrived to \a answer; true when it now holds one complete
    /// answer. On false the partial answer stays in \a answer for the next call.
    virtual bool readAnswer(QByteArray &answer) = 0;

protected slots:
    /// Chooses and sends the next request: identity, configuration, queued command or poll.
    void refreshData();
    /// Stops the request cycle for good; sends at most one queued command first.
    void onStopRefresh();

public:
    const Module &module() const { return m_module; }
    Module &module() { return m_module; }

    /// Stops the request cycle for good, as onStopRefresh() does; for the link's owner.
    void stopRefresh() { onStopRefresh(); }
    /// Sends the identity query.
    void requestIdentity();
    /// Makes the next refreshData() start the configuration sequence from its beginning.
    void restartFullRead();
    /// The code of the request whose answer is awaited (0 = none).
    quint16 pendingRequest() const { return requestCode; }
    /// While updateDisplay() is emitted: the code of the request the processed answer belonged
    /// to, which names everything in the module the answer can have changed (an uninterpreted
    /// answer changes nothing). -1 at any other time, and also during that emission when a set
    /// command may have written the module itself since the previous answer: anything may then
    /// have changed.
    int answeredRequest() const { return answered; }
    void enqueueCommand(int requestCode, const QString &command);

    /// The suffix addressing \a channel (channelCount = all channels) with "," or " " before it.
    QString channelList(int channel, bool comma) const;

    /// The family of the module (Module::family()): chosen when its identity and firmware
    /// answers come, and chosen again only when that identity changes (a new identity answer,
    /// or a module record written by hand).
    const ModuleFamily &family() const;
    // The family's traits at the module's firmware release.
    bool supportsPercentLimits() const { return family().asks(ReadLimitsPercent, releaseNumber()); }
    bool supportsUnitLimits() const { return family().asks(ReadLimitsUnits, releaseNumber()); }
    bool hasInputOutput() const { return family().asks(ReadOutputs, releaseNumber()); }
    bool hasEmissionControl() const { return family().asks(ReadEmission, releaseNumber()); }
    bool supportsInterfaceMode() const { return family().asks(ReadInterfaceMode, releaseNumber()); }

    // --- set commands ---------------------------------------------------------------------
    void setVoltage(float value, int channel);
    void setVoltageBounds(float value, int channel);
    void setCurrent(float value, int channel);
    void setCurrentBounds(float value, int channel);
    void setChannelEventMask(unsigned mask, int channel);
    void setChannelOn(bool on, int channel);
    void setChannelEmergencyOff(bool off, int channel);
    void setChannelControl(quint16 control, int channel);
    void clearChannelEvents(int channel);
    void setVoltageRamp(float value);
    void setCurrentRamp(float value);
    void clearModuleEvents();
    void clearStatus();
    void setModuleControl(quint16 control);
    void setModuleEventMask(quint16 mask);
    void setAverage(int value);
    void setInterfaceMode(int mode);
    void setModuleOutput(Module::Output output, int value);
    void saveConfiguration();

    /// Queues \a command (a line prepared by ConsoleRequest::prepare(), without CR LF) like a
    /// set command under ConsoleLine; its answer is not parsed but handed out by the
    /// consoleChannel().
    void enqueueConsoleLine(const QString &command);
    /// The console's answer channel, a child of the engine created on first use.
    ConsoleChannel *consoleChannel();

    /// Number of queued set commands (for the owner's display and for tests).
    int queuedCommandCount() const { return commandQueue.size(); }
    /// Moves the command line queued last to the front of the queue, behind the lines moved
    /// there before it, and drops the lines it overtakes. Lines at the front are sent with the
    /// next request even in the middle of the configuration sequence, which then goes on where
    /// it was. A line equal to one already moved to the front is dropped instead. Returns the
    /// number of lines dropped (0 with an empty queue). For off commands, which must not wait
    /// behind set commands.
    int promoteLastCommand();
    bool isStopped() const { return stopped; }
    bool isFullRead() const { return fullRead; }
    int currentStep() const { return step; }

signals:
    void updateFirmwareName(QString s);
    void updateSerialNumber(int);
    void updateDeviceName(QString s);
    void dataReceived(int count);
    void updateDisplay();
    void interfaceModeSupported(bool supported);
    /// The request that starts a polling cycle is about to be sent (from within the processing
    /// of the answer before it): the cycle before it has been answered in full.
    void cycleStarting();

protected:
    /// Called with the echo mode the firmware answer asks for. Only the serial link acts on it.
    virtual void setCharacterEcho(bool on);

    Module m_module;
    QByteArray lastCommand;
    QByteArray manufacturer;
    QList<QPair<int, QString>> commandQueue;
    /// Lines at the front of commandQueue moved there by promoteLastCommand().
    int promotedCommands = 0;
    quint16 requestCode = 0;
    int answerCount = 0;
    int step = 0;
    bool stopped = false;
    bool fullRead = false;
    /// The answer being collected; emptied after each complete answer.
    QByteArray answerBuffer;

private:
    /// Sends a planned request, its line built once for the all-channels list of builtFor.
    void sendPlanned(const PlannedQuery &query);
    /// Takes the first queued line, keeping promotedCommands in step.
    QPair<int, QString> takeQueuedCommand();
    /// Queues "<set> <value><comma list>;<readBack><all-channels list>\r\n" under \a code.
    void queueChannelCommand(
        quint16 code, const char *set, const QString &value, int channel, const char *readBack);
    void sendConfigurationStep();
    void sendCyclicStep();
    /// The first request of \a queries from \a from on that applies to the module, or nullptr.
    const PlannedQuery *firstApplying(const QList<PlannedQuery> &queries, qsizetype from);
    void interpretAnswer(const QByteArray &answer);
    void parseChannelList(quint16 code, const QByteArray &answer);
    void parseIdentity(const QByteArray &answer);
    void parseFirmware(const QByteArray &answer);
    void parseRamps(const QByteArray &answer);
    void parseSupplies(const QByteArray &answer);
    void parseLimits(quint16 code, const QByteArray &answer);
    void parseModuleWords(const QByteArray &answer);
    void parseOutputs(const QByteArray &answer);
    void parseEmission(const QByteArray &answer);
    double releaseNumber() const;

    /// A planned request's line, built for the all-channels list of builtFor.
    struct BuiltQuery
    {
        const char *query;
        QString command;
    };
    QList<BuiltQuery> builtQueries;
    struct
    {
        int count = -1;
        const ModuleFamily *family = nullptr;
    } builtFor;
    /// The firmware release releaseNumber() read last, and its number.
    mutable QString releaseText;
    mutable double releaseValue = 0.0;
    /// See answeredRequest().
    int answered = -1;
    /// A set command was queued since the last answer; it may have written the module.
    bool commandSinceAnswer = false;
};
