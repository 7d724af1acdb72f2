#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

/// Records every message while it exists (and still passes it on), so a test can wait for a
/// trace that comes at an unknown moment.
class MessageLog
{
public:
    MessageLog()
    {
        active = this;
        previous = qInstallMessageHandler(&MessageLog::handle);
    }
    ~MessageLog()
    {
        qInstallMessageHandler(previous);
        active = nullptr;
    }

    bool contains(const QString &start) const
    {
        for (const QString &message : messages) {
            if (message.startsWith(start))
                return true;
        }
        return false;
    }

    QList<QString> messages;

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (active) {
            active->messages.append(text);
            if (active->previous)
                active->previous(type, context, text);
        }
    }

    static inline MessageLog *active = nullptr;
    QtMessageHandler previous = nullptr;
};
