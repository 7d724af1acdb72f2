#include "eventhistory.h"

#include "eventtext.h"
#include "historyfile.h"
#include "linkreason.h"
#include "modulesession.h"
#include "scpi_parser.h"

#include <QDateTime>

Q_LOGGING_CATEGORY(lcHistory, "vorn.history")

EventHistory::EventHistory(QObject *parent)
    : QObject(parent)
{
}

EventHistory::~EventHistory() = default;

void EventHistory::follow(ModuleSession *session)
{
    if (m_session)
        m_session->disconnect(this);
    m_session = session;
    if (!session)
        return;
    connect(session, &ModuleSession::online, this, [this] {
        if (m_session && m_session->link())
            moduleOnline(m_session->link()->module());
    });
    connect(session, &ModuleSession::answerProcessed, this, [this] {
        if (m_online && m_session && m_session->link())
            answer(m_session->link()->module());
    });
    connect(session, &ModuleSession::offline, this, &EventHistory::moduleOffline);
}

void EventHistory::setStorage(const QString &folder, qint64 maxBytes, int files)
{
    m_file.reset(folder.isEmpty() ? nullptr : new HistoryFile(folder, maxBytes, files));
    if (m_file && m_serialNumber != 0)
        m_file->setSerialNumber(m_serialNumber);
}

void EventHistory::moduleOnline(const Module &module)
{
    if (!m_loaded || module.serialNumber() != m_serialNumber)
        loadModule(module.serialNumber());
    m_online = true;
    const bool back = m_lost;
    m_lost = false;
    linkEntry(back ? QStringLiteral("back") : QStringLiteral("up"), Severity::Info, QString());
    addAll(m_detector.start(module, QDateTime::currentMSecsSinceEpoch()));
    if (back || m_detector.alarmsChanged())
        emit activeAlarmsChanged();
}

void EventHistory::answer(const Module &module)
{
    const QList<HistoryEntry> entries
        = m_detector.observe(module, QDateTime::currentMSecsSinceEpoch());
    if (!entries.isEmpty())
        addAll(entries);
    if (m_detector.alarmsChanged())
        emit activeAlarmsChanged();
}

void EventHistory::moduleOffline(const QString &reason)
{
    if (!m_online)
        return;
    m_online = false;
    m_detector.stop();
    const bool closed = reason.isEmpty() || reason == LinkReason::closedByOperator();
    if (closed) {
        linkEntry(QStringLiteral("closed"), Severity::Info, QString());
    } else {
        m_lost = true;
        m_lostSince = QDateTime::currentMSecsSinceEpoch();
        m_lostReason = reason;
        linkEntry(QStringLiteral("lost"), Severity::Alarm, reason);
    }
    emit activeAlarmsChanged();
}

QList<EventDetector::Condition> EventHistory::activeAlarms() const
{
    if (!m_lost)
        return m_detector.activeAlarms();
    HistoryEntry entry;
    entry.link = QStringLiteral("lost");
    entry.reason = m_lostReason;
    EventDetector::Condition lost;
    lost.name = QStringLiteral("link");
    lost.text = EventText::describe(entry, false);
    lost.sinceMs = m_lostSince;
    return { lost };
}

void EventHistory::acknowledgeAll()
{
    if (m_unacknowledged == 0 && m_alarmedChannels.isEmpty())
        return;
    m_unacknowledged = 0;
    m_alarmedChannels.clear();
    emit alarmsChanged();
}

void EventHistory::linkEntry(const QString &link, Severity severity, const QString &reason)
{
    HistoryEntry entry;
    entry.timeMs = QDateTime::currentMSecsSinceEpoch();
    entry.serialNumber = m_serialNumber;
    entry.severity = severity;
    entry.link = link;
    entry.reason = reason;
    entry.text = EventText::describe(entry, false);
    add(entry);
}

void EventHistory::note(Severity severity, const QString &text)
{
    HistoryEntry entry;
    entry.timeMs = QDateTime::currentMSecsSinceEpoch();
    entry.serialNumber = m_serialNumber;
    entry.severity = severity;
    entry.text = text;
    add(entry);
}

void EventHistory::loadModule(int serialNumber)
{
    m_serialNumber = serialNumber;
    m_loaded = true;
    m_firstNumber = 0;
    m_entries.clear();
    if (m_file) {
        m_file->setSerialNumber(serialNumber);
        int skipped = 0;
        m_entries = m_file->readRecent(MemoryEntries, &skipped);
        if (skipped > 0) {
            qCWarning(lcHistory).noquote()
                << QStringLiteral("%1: %2 lines that are no entry skipped")
                       .arg(m_file->path())
                       .arg(skipped);
        }
    }
    emit entriesReset();
}

void EventHistory::addAll(const QList<HistoryEntry> &entries)
{
    for (const HistoryEntry &entry : entries)
        add(entry);
}

void EventHistory::add(const HistoryEntry &entry)
{
    m_entries.append(entry);
    if (m_entries.size() > MemoryEntries) {
        const qsizetype excess = m_entries.size() - MemoryEntries;
        m_entries.remove(0, excess);
        m_firstNumber += quint64(excess);
    }
    if (m_file) {
        if (!m_file->append(entry)) {
            if (m_writeError.isEmpty()) {
                m_writeError = m_file->errorString();
                qCWarning(lcHistory).noquote() << "event history not saved:" << m_writeError;
                emit writeFailed(m_writeError);
            }
        } else if (!m_writeError.isEmpty()) {
            m_writeError.clear();
            emit writeRecovered();
        }
    }
    emit entryAdded(entry);
    if (entry.severity == Severity::Alarm) {
        ++m_unacknowledged;
        if (entry.isChannel())
            m_alarmedChannels.insert(entry.channel);
        emit alarmsChanged();
    }
}
