#pragma once

#include <QObject>
#include <QString>

/// Where the engine hands out the answers to console lines (SCPI_Parser::enqueueConsoleLine()).
/// Created by SCPI_Parser::consoleChannel() on first use as a child of the engine, so an engine
/// whose console is never used keeps exactly its own signals, and the channel dies with it.
class ConsoleChannel : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    /// The answer (simplified) to the oldest console line still waiting.
    void answerReceived(QString answer);
};
