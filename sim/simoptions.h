#pragma once

#include "faults/faultoptions.h"
#include "model/presets.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace vornsim {

/// What the command line of vorn-module-sim asks for.
struct SimOptions
{
    enum class Transport { Tcp, Serial, Gpib };

    Transport transport = Transport::Tcp;
    QString address = QStringLiteral("127.0.0.1");
    quint16 port = 10001;
    int modules = 1; ///< TCP modules on consecutive ports from `port`, serial numbers counting up
    QList<int> gpibAddresses; ///< primary addresses of simulated modules
    QList<int> gpibSilent; ///< listeners that never answer
    QString gpibSocket;
    Preset preset;
    double voltageLimit = 100.0; ///< percent of nominal
    double currentLimit = 100.0; ///< percent of nominal
    bool noise = true;
    bool verbose = false;
    QString traceFile; ///< every received request line is appended here when set
    FaultOptions faults;

    /// A load on channels (--load), applied in the order given.
    struct Load
    {
        QList<int> channels;
        double ohms = 0.0;
        double leakagePerVolt = 0.0;
    };
    /// Random arcs on channels (--arc-rate), applied in the order given.
    struct ArcRate
    {
        QList<int> channels;
        double perMinute = 0.0;
    };
    QList<Load> loads;
    QList<ArcRate> arcRates;
    int controlPort = -1; ///< the control port (0 picks a free one); -1 for none
};

/// Parses the arguments (argv[0] included). On success returns true and fills `options`. On
/// --help, --version or --list-presets returns false with the text in `message` and `exitCode` 0;
/// on a bad option returns false with the error in `message` and `exitCode` 2.
bool parseSimOptions(
    const QStringList &arguments, SimOptions *options, QString *message, int *exitCode);

} // namespace vornsim
