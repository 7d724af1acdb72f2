#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QList>
#include <QString>

#include <limits>

/// One request of a query plan: the code its answer is parsed by (SCPI_Parser::RequestCode),
/// the line with "%1" where the all-channels list goes, and what decides whether it is sent.
struct PlannedQuery
{
    enum When : quint8 {
        Always,
        /// From the family's percentLimitsFrom release on.
        PercentLimits,
        /// From the family's interfaceModeFrom release on; where the configuration comes to it,
        /// the engine tells its owner whether the module has the interface mode.
        InterfaceMode,
        /// From the family's newEpuFrom release on.
        NewEpu,
    };

    quint16 code;
    const char *line;
    When when = Always;
};

/// The requests of the configuration or of one polling cycle, walked by the engine's step
/// counter (one counter for both, so that a configuration started from within the polling
/// cycle goes on at the step where the cycle was). At step s the first request from steps[s] on
/// that applies is sent and the counter goes to s + 1; when none applies, the first of wrap
/// that applies is sent: it ends the configuration, or starts the next polling cycle at
/// step 0.
struct QueryPlan
{
    QList<PlannedQuery> steps;
    QList<PlannedQuery> wrap;
};

/// What sets one kind of module apart from another: its traits and the queries it is asked,
/// chosen once when the module has identified itself and kept with its state. One entry of
/// table() each; a new family is one more entry.
struct ModuleFamily
{
    /// A release no module reaches: the trait is missing.
    static constexpr double Never = std::numeric_limits<double>::infinity();

    /// Unique among the families; what the telemetry carries.
    QString name;

    // --- who belongs: the first entry of the table whose rules all hold -------------------
    /// The firmware name, whole or (firmwarePrefix) its beginning; empty: any.
    QLatin1String firmware;
    bool firmwarePrefix = false;
    /// The beginning of the device name; empty: any.
    QLatin1String devicePrefix;
    int minChannels = 0;
    int maxChannels = std::numeric_limits<int>::max();

    // --- traits -------------------------------------------------------------------------------
    /// Ramp speeds and limits in percent of the nominal values.
    bool percentBased = false;
    /// The releases from which PlannedQuery::When conditions hold.
    double percentLimitsFrom = Never;
    double interfaceModeFrom = Never;
    double newEpuFrom = Never;
    /// The beginning of the releases whose serial modules echo each byte before the next may be
    /// sent ("" every release); null: none.
    const char *echoRelease = nullptr;
    /// A single channel is addressed with a channel list too (otherwise it takes none).
    bool listAlways = false;
    const QueryPlan *configuration = nullptr;
    const QueryPlan *polling = nullptr;

    /// Whether a planned request with condition \a when is sent to a module of \a release.
    bool applies(PlannedQuery::When when, double release) const;
    /// Whether the configuration or the polling plan asks \a code of a module of \a release.
    bool asks(quint16 code, double release) const;
    /// Whether a serial module of the firmware release \a release echoes each byte.
    bool echoes(const QByteArray &release) const;

    /// Every family, the family of unidentified modules last (it takes every module).
    static const QList<ModuleFamily> &table();
    /// The family of a module that has not identified itself yet, and of modules of no family.
    static const ModuleFamily &unknown();
    /// The family named \a name, or nullptr.
    static const ModuleFamily *byName(const QString &name);
    /// The family of a module with this identity.
    static const ModuleFamily &identify(
        const QString &device, const QString &firmware, int channels);
};
