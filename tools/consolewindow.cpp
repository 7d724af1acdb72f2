#include "consolewindow.h"

#include "modulecontroller.h"
#include "ui_consolewindow.h"

#include "consolechannel.h"
#include "consolerequest.h"
#include "modulesession.h"
#include "scpi_parser.h"
#include "settingsstore.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QSettings>
#include <QTextCursor>
#include <QTime>

namespace {

const QLatin1String HistoryKey(SettingsStore::Key::ConsoleHistory);

QString stamp()
{
    return QTime::currentTime().toString(QStringLiteral("HH:mm:ss.zzz"));
}

} // namespace

ConsoleWindow::ConsoleWindow(ModuleController *controller, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , ui(std::make_unique<Ui::ConsoleWindow>())
    , m_controller(controller)
    , m_session(controller ? controller->session() : nullptr)
{
    ui->setupUi(this);
    ui->textHistory->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The view is bounded like the history, so a console left open for days stays small.
    ui->textHistory->setMaximumBlockCount(10000);
    ui->lineCommand->installEventFilter(this);
    m_history = SettingsStore::panel().value(HistoryKey).toStringList().mid(0, HistoryLength);
    m_historyIndex = m_history.size();
}

ConsoleWindow::~ConsoleWindow() = default;

QString ConsoleWindow::transcript() const
{
    return ui->textHistory->toPlainText();
}

void ConsoleWindow::on_lineCommand_returnPressed()
{
    submitLine(ui->lineCommand->text());
}

void ConsoleWindow::on_btnSend_clicked()
{
    submitLine(ui->lineCommand->text());
}

void ConsoleWindow::on_btnClear_clicked()
{
    ui->textHistory->clear();
}

void ConsoleWindow::on_btnCopy_clicked()
{
    const QString selected = ui->textHistory->textCursor().selectedText();
    // Selections use U+2029 between paragraphs.
    QGuiApplication::clipboard()->setText(selected.isEmpty()
            ? transcript()
            : QString(selected).replace(QChar::ParagraphSeparator, QLatin1Char('\n')));
}

void ConsoleWindow::submitLine(const QString &line)
{
    const ConsoleRequest request = ConsoleRequest::prepare(line);
    const QColor error(Qt::darkRed);
    switch (request.verdict) {
    case ConsoleRequest::Empty:
        ui->lineCommand->clear();
        return;
    case ConsoleRequest::TooLong:
        print(tr("Refused: the line is longer than %1 characters.").arg(ConsoleRequest::MaxLength),
            error);
        return;
    case ConsoleRequest::ControlCharacter:
        print(tr("Refused: the line contains a control character."), error);
        return;
    case ConsoleRequest::NotLatin1:
        print(tr("Refused: the line contains a character the module cannot receive."), error);
        return;
    case ConsoleRequest::Accepted:
        break;
    }
    remember(line.trimmed());
    ui->lineCommand->clear();

    SCPI_Parser *link = m_session ? m_session->link() : nullptr;
    if (!link || link->isStopped() || !link->isConnected()) {
        print(tr("Not sent: no module is connected (%1).").arg(line.trimmed()), error);
        return;
    }
    attach(link);
    m_waiting.append({ line.trimmed(), request.command, request.completionQueryAdded });
    sendNext();
}

void ConsoleWindow::attach(SCPI_Parser *link)
{
    if (m_link == link)
        return;
    disconnect(m_answerConnection);
    disconnect(m_destroyedConnection);
    m_link = link;
    m_answerConnection = connect(link->consoleChannel(), &ConsoleChannel::answerReceived, this,
        &ConsoleWindow::answerReceived);
    m_destroyedConnection = connect(link, &QObject::destroyed, this, &ConsoleWindow::linkDestroyed);
}

void ConsoleWindow::sendNext()
{
    if (!m_pending.isEmpty() || m_waiting.isEmpty() || !m_link)
        return;
    const Line line = m_waiting.takeFirst();
    print(QStringLiteral("%1 > %2").arg(stamp(), line.command), palette().color(QPalette::Text));
    if (line.completionQueryAdded)
        print(tr("             (\";*OPC?\" appended: the module answers only queries)"),
            Qt::darkGray);
    m_pending = line.command;
    m_controller->consoleLine(line.command);
}

void ConsoleWindow::answerReceived(const QString &answer)
{
    if (m_pending.isEmpty())
        return;
    print(QStringLiteral("%1 < %2").arg(stamp(), answer), Qt::darkBlue);
    m_pending.clear();
    sendNext();
}

void ConsoleWindow::linkDestroyed()
{
    // The link is being destroyed: only forget it, never call it.
    m_link = nullptr;
    if (m_pending.isEmpty() && m_waiting.isEmpty())
        return;
    print(tr("%1 Connection lost: no answer to \"%2\".").arg(stamp(), m_pending), Qt::darkRed);
    for (const Line &line : std::as_const(m_waiting))
        print(tr("Not sent: %1").arg(line.typed), Qt::darkRed);
    m_pending.clear();
    m_waiting.clear();
}

void ConsoleWindow::remember(const QString &line)
{
    if (m_history.isEmpty() || m_history.last() != line)
        m_history.append(line);
    while (m_history.size() > HistoryLength)
        m_history.removeFirst();
    m_historyIndex = m_history.size();
    SettingsStore::panel().setValue(HistoryKey, m_history);
}

void ConsoleWindow::print(const QString &text, const QColor &colour)
{
    QTextCharFormat format;
    format.setForeground(colour);
    QTextCursor cursor(ui->textHistory->document());
    cursor.movePosition(QTextCursor::End);
    if (!ui->textHistory->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(text, format);
    ui->textHistory->moveCursor(QTextCursor::End);
    ui->textHistory->ensureCursorVisible();
}

bool ConsoleWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->lineCommand && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Up && m_historyIndex > 0)
            || (key == Qt::Key_Down && m_historyIndex < m_history.size())) {
            m_historyIndex += key == Qt::Key_Up ? -1 : 1;
            ui->lineCommand->setText(
                m_historyIndex < m_history.size() ? m_history.at(m_historyIndex) : QString());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
