#pragma once

#include <QString>

/// What sets one kind of module apart from another: its traits and the queries it is asked,
/// chosen once when the module has identified itself and kept with its state.
struct ModuleFamily
{
    /// Unique among the families; what the telemetry carries.
    QString name;

    /// The family of a module that has not identified itself yet.
    static const ModuleFamily &unknown();
    /// The family named \a name, or nullptr.
    static const ModuleFamily *byName(const QString &name);
};
