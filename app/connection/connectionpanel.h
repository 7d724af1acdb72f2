#pragma once

#include "linksettings.h"

#include <QObject>

class QComboBox;
class QLineEdit;
class QTabWidget;

/// The connection panel's tabs (serial port, Ethernet, GPIB): fills the interface lists,
/// reads the last connection from the settings, turns the chosen tab into a LinkSettings and
/// remembers a connection that opened.
class ConnectionPanel : public QObject
{
    Q_OBJECT

public:
    /// The widgets of the tabs; not owned, they must outlive the panel.
    struct Widgets
    {
        QTabWidget *tabs = nullptr;
        QComboBox *serialPorts = nullptr;
        QLineEdit *host = nullptr;
        QLineEdit *port = nullptr;
        QComboBox *gpibInstruments = nullptr;
    };

    explicit ConnectionPanel(const Widgets &widgets, QObject *parent = nullptr);

    /// Shows the stored tab, address and port, and fills both lists selecting the stored
    /// serial port and GPIB address.
    void load();
    /// Refills the serial-port and GPIB lists (devices plugged in or out).
    void refreshLists();
    /// The connection the selected tab describes.
    LinkSettings chosen() const;
    /// Stores \a settings, a connection that opened, as the panel shows it.
    void remember(const LinkSettings &settings);
    /// Lets the operator choose (true) or keeps the panel hidden while a link is open or
    /// attempts run.
    void setEditable(bool editable);
    /// Puts a discovered module's address into the Ethernet tab.
    void setHost(const QString &host);

private:
    void fillSerialPortList();
    void fillGpibList(bool reselect);

    Widgets m_widgets;
    QString m_serialPort;
    int m_gpibAddress = 0;
};
