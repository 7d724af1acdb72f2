#include "connectionpanel.h"

#include "scpi_gpib.h"
#include "scpi_serial.h"
#include "settingsstore.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

namespace {
const char defaultIpAddress[] = "192.168.1.100";
constexpr int defaultTcpPort = 10001;
constexpr int defaultGpibAddress = 17;
enum Tab { SerialTab = 0, EthernetTab = 1, GpibTab = 2 };
} // namespace

ConnectionPanel::ConnectionPanel(const Widgets &widgets, QObject *parent)
    : QObject(parent)
    , m_widgets(widgets)
{
}

void ConnectionPanel::load()
{
    namespace Key = SettingsStore::Key;
    const QSettings settings = SettingsStore::panel();
    m_widgets.tabs->setCurrentIndex(settings.value(QLatin1String(Key::SelectedTab), 0).toInt());
    m_widgets.tabs->setStyleSheet(QString());
    m_widgets.host->setText(
        settings.value(QLatin1String(Key::IpAddress), QLatin1String(defaultIpAddress)).toString());
    m_widgets.port->setText(settings.value(QLatin1String(Key::TcpPort), defaultTcpPort).toString());
    m_serialPort = settings.value(QLatin1String(Key::SerialPort), QString()).toString();
    fillSerialPortList();
    m_gpibAddress = settings.value(QLatin1String(Key::GpibAddress), defaultGpibAddress).toInt();
    fillGpibList(true);
}

void ConnectionPanel::refreshLists()
{
    fillGpibList(false);
    fillSerialPortList();
}

void ConnectionPanel::fillSerialPortList()
{
    QComboBox *list = m_widgets.serialPorts;
    list->clear();
    list->addItems(SCPI_Serial::listSerialPorts());
    const int index = list->findText(m_serialPort, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        list->setCurrentIndex(index);
}

void ConnectionPanel::fillGpibList(bool reselect)
{
    QComboBox *list = m_widgets.gpibInstruments;
    list->clear();
    list->addItems(SCPI_Gpib::scanGpibBus());
    if (!reselect || m_gpibAddress <= 0 || m_gpibAddress >= 32)
        return;
    const QString prefix = QString::number(m_gpibAddress) + QLatin1Char(' ');
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemText(i).startsWith(prefix)) {
            list->setCurrentIndex(i);
            return;
        }
    }
}

LinkSettings ConnectionPanel::chosen() const
{
    LinkSettings settings;
    switch (m_widgets.tabs->currentIndex()) {
    case SerialTab:
        settings.kind = LinkSettings::Kind::Serial;
        settings.serialPort = m_widgets.serialPorts->currentText();
        break;
    case GpibTab:
        settings.kind = LinkSettings::Kind::Gpib;
        // The list entries start with the address: "17 <identity>".
        settings.gpibAddress = m_widgets.gpibInstruments->currentText().left(2).trimmed().toInt();
        break;
    default:
        settings.kind = LinkSettings::Kind::Tcp;
        settings.host = m_widgets.host->text();
        settings.port = m_widgets.port->text().toUShort(nullptr, 10);
        break;
    }
    return settings;
}

void ConnectionPanel::remember(const LinkSettings &settings)
{
    namespace Key = SettingsStore::Key;
    QSettings store = SettingsStore::panel();
    int tab = EthernetTab;
    switch (settings.kind) {
    case LinkSettings::Kind::Serial:
        tab = SerialTab;
        store.setValue(QLatin1String(Key::SerialPort), settings.serialPort);
        break;
    case LinkSettings::Kind::Tcp:
        // As the panel shows them: the port as typed.
        store.setValue(QLatin1String(Key::IpAddress), m_widgets.host->text());
        store.setValue(QLatin1String(Key::TcpPort), m_widgets.port->text());
        break;
    case LinkSettings::Kind::Gpib:
        tab = GpibTab;
        m_gpibAddress = settings.gpibAddress;
        store.setValue(QLatin1String(Key::GpibAddress), settings.gpibAddress);
        break;
    }
    store.setValue(QLatin1String(Key::SelectedTab), tab);
}

void ConnectionPanel::setEditable(bool editable)
{
    m_widgets.tabs->setVisible(editable);
    m_widgets.tabs->setEnabled(editable);
    m_widgets.host->setEnabled(editable);
    m_widgets.port->setEnabled(editable);
}

void ConnectionPanel::setHost(const QString &host)
{
    m_widgets.host->setText(host);
}
