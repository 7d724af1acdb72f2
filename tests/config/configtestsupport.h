#pragma once

#include <QSettings>
#include <QTemporaryDir>

#include <memory>

// Each test case gets a store of its own: QSettings looks for the INI file below a fresh
// temporary folder, so no case sees what another wrote.
class TemporaryStore
{
public:
    TemporaryStore() { QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path()); }

    static std::unique_ptr<QSettings> open()
    {
        return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
            QStringLiteral("Vornwerk GmbH"), QStringLiteral("VornScpiConfig"));
    }

    static void write(const QString &group, const QString &key, const QVariant &value)
    {
        auto store = open();
        if (!group.isEmpty())
            store->beginGroup(group);
        store->setValue(key, value);
    }

    static QVariant read(const QString &group, const QString &key)
    {
        auto store = open();
        if (!group.isEmpty())
            store->beginGroup(group);
        return store->value(key);
    }

    static QStringList groups() { return open()->childGroups(); }

    bool isValid() const { return dir.isValid(); }

private:
    QTemporaryDir dir;
};
