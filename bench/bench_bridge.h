#pragma once

#include <QStringList>

// The runs of bench_bridge with the bridge program as a process of its own
// (bench_bridge_service.cpp); each returns the program's exit code.

/// latency [tries] [modules]: emergency off to the wire, trip to events.
int latencyRun(const QStringList &args, quint16 brokerPort);
/// chaos [seconds] [period s] [modules]: a persistent broker killed again and again.
int chaosRun(const QStringList &args);
