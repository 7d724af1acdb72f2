#include "linksettings.h"

#include "scpi_eth.h"
#include "scpi_gpib.h"
#include "scpi_serial.h"

QString LinkSettings::endpoint() const
{
    switch (kind) {
    case Kind::Tcp:
        return QStringLiteral("tcp %1:%2").arg(host).arg(port);
    case Kind::Serial:
        return QStringLiteral("serial %1").arg(serialPort);
    case Kind::Gpib:
        return QStringLiteral("gpib %1").arg(gpibAddress);
    }
    return QString();
}

SCPI_Parser *makeLink(const LinkSettings &settings, QObject *parent, const LinkClasses &classes)
{
    switch (settings.kind) {
    case LinkSettings::Kind::Serial: {
        auto *serial = classes.serial ? classes.serial(parent) : new SCPI_Serial(parent);
        serial->setPortName(settings.serialPort);
        return serial;
    }
    case LinkSettings::Kind::Tcp: {
        auto *eth = classes.tcp ? classes.tcp(parent) : new SCPI_Eth(parent);
        eth->setPort(settings.port);
        eth->setHostAddress(settings.host);
        return eth;
    }
    case LinkSettings::Kind::Gpib: {
        auto *gpib = classes.gpib ? classes.gpib(parent) : new SCPI_Gpib(parent);
        gpib->setPrimaryAddress(settings.gpibAddress);
        return gpib;
    }
    }
    return nullptr;
}
