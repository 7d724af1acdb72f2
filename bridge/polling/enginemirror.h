#pragma once

#include "module.h"
#include "scpi_parser.h"

#include <QMetaType>

#include <memory>

/// A copy of a module's values made on the thread of its engine and read on another: a
/// Module of no thread, handed over in a queued signal and never changed after.
using ModuleSnapshot = std::shared_ptr<const Module>;
Q_DECLARE_METATYPE(ModuleSnapshot)

/// Copies every value of \a from into \a to (the channel records both have).
void copyModule(const Module &from, Module &to);
/// A snapshot of \a module for another thread.
ModuleSnapshot takeSnapshot(const Module &module);

/// An engine without a medium that holds the latest snapshot of a module whose real engine
/// runs on another thread, so that everything that reads a module through its engine (the
/// topics, the checks of a command, the family tests) reads it on this thread the same way.
class EngineMirror : public SCPI_Parser
{
public:
    using SCPI_Parser::SCPI_Parser;

    /// Takes the values of \a snapshot.
    void update(const Module &snapshot) { copyModule(snapshot, module()); }

    bool connectDevice() override { return false; }
    void disconnectDevice() override { }
    bool isConnected() const override { return false; }
    QString interfaceName() const override { return QString(); }
    void sendCommand(quint16, const QString &) override { }
    bool readAnswer(QByteArray &) override { return false; }
};
