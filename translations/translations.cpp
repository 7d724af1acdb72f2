#include "translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>

Q_LOGGING_CATEGORY(lcTranslations, "vorn.translations", QtWarningMsg)

namespace Translations {

QString languageFor(const QLocale &locale)
{
    const QStringList languages = locale.uiLanguages();
    for (const QString &language : languages) {
        if (language.startsWith(QLatin1String("de")))
            return QStringLiteral("de");
        if (language.startsWith(QLatin1String("en")))
            return QString();
    }
    return QString();
}

static void load(QCoreApplication &application, const QString &name, const QString &folder)
{
    auto *translator = new QTranslator(&application);
    if (translator->load(name, folder) && QCoreApplication::installTranslator(translator)) {
        qCDebug(lcTranslations) << "loaded" << name << "from" << folder;
        return;
    }
    qCDebug(lcTranslations) << "no translation" << name << "in" << folder;
    delete translator;
}

QString install(QCoreApplication &application)
{
    const QString language = languageFor(QLocale::system());
    if (language.isEmpty()) {
        // The built-in English, but for the plural forms of texts with a count.
        load(application, QStringLiteral("vorn_en"), QStringLiteral(":/i18n"));
        return language;
    }
    load(application, QStringLiteral("vorn_") + language, QStringLiteral(":/i18n"));
    // Qt's own texts (standard buttons, file and input dialogs, serial port errors) come from
    // the system's Qt translations; without them those stay English and nothing else changes.
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    load(application, QStringLiteral("qtbase_") + language, qtFolder);
    load(application, QStringLiteral("qtserialport_") + language, qtFolder);
    return language;
}

} // namespace Translations
