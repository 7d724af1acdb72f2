#pragma once

#include "ethcontrol.h"
#include "fakelink.h"
#include "networkdiscovery.h"
#include "settingsstore.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

/// The window with a fake link behind every tab when \c fake is set.
class TestWindow : public EthControl
{
public:
    /// Never lets a scan leave the machine.
    TestWindow()
    {
        networkDiscovery()->setTarget(QHostAddress::LocalHost, 9);
        session()->setLinkFactory([this](const LinkSettings &settings, QObject *parent) {
            return fake ? new FakeLink(parent) : makeLink(settings, parent);
        });
    }

    bool fake = true;
    FakeLink *fakeLink() const { return static_cast<FakeLink *>(currentLink()); }

    template <typename T> T *widget(const char *name) const
    {
        return findChild<T *>(QLatin1String(name));
    }
    QLabel *statusLabel() const { return widget<QLabel>("lblStatus"); }
};

/// Keeps the settings in a temporary folder for the test's lifetime.
struct TemporarySettings
{
    QTemporaryDir dir;
    TemporarySettings()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    }
    static QSettings open() { return SettingsStore::panel(); }
    static void clear()
    {
        QSettings settings = open();
        settings.clear();
    }
};

/// Answers the next question box with \a button as soon as it shows.
class QuestionAnswerer : public QObject
{
public:
    explicit QuestionAnswerer(QMessageBox::StandardButton button)
    {
        timer.setInterval(10);
        connect(&timer, &QTimer::timeout, this, [this, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            question = box->text();
            title = box->windowTitle();
            timer.stop();
            box->button(button)->click();
        });
        timer.start();
    }
    QString question;
    QString title;

private:
    QTimer timer;
};
