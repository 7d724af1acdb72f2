#pragma once

#include "scpi_parser.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

/// A link without a medium: records every request the engine writes and lets a test feed the
/// exact answer bytes. feed() appends bytes and runs the engine's answer processing, as a
/// transport's ready-read notification would.
class FakeLink : public SCPI_Parser
{
public:
    using SCPI_Parser::SCPI_Parser;

    bool connectDevice() override
    {
        answerCount = 0;
        open = true;
        return true;
    }
    void disconnectDevice() override { open = false; }
    bool isConnected() const override { return open; }
    QString interfaceName() const override { return QStringLiteral("fake"); }
    void sendCommand(quint16 code, const QString &command) override
    {
        sent.append(qMakePair(code, command));
        requestCode = code;
    }
    bool readAnswer(QByteArray &answer) override
    {
        answer.append(pending);
        pending.clear();
        return answer.endsWith("\r\n");
    }

    /// Delivers \a bytes as arriving answer bytes.
    void feed(const QByteArray &bytes)
    {
        pending.append(bytes);
        onAnswerReady();
    }
    void callRefreshData() { refreshData(); }
    void callStopRefresh() { onStopRefresh(); }
    void setAnswerCount(int count) { answerCount = count; }

    QString lastSent() const { return sent.isEmpty() ? QString() : sent.last().second; }
    quint16 lastCode() const { return sent.isEmpty() ? 0 : sent.last().first; }
    int bufferedAnswerSize() const { return answerBuffer.size(); }
    /// The set commands waiting to be sent, in order.
    QStringList queued() const
    {
        QStringList lines;
        for (const auto &command : commandQueue)
            lines.append(command.second);
        return lines;
    }
    /// As if the configuration had been read.
    void endFullRead() { fullRead = false; }

    QList<QPair<quint16, QString>> sent;
    QList<bool> echoChoices;
    bool open = false;

protected:
    void setCharacterEcho(bool on) override { echoChoices.append(on); }

private:
    QByteArray pending;
};
