#pragma once

#include <QString>

class QCoreApplication;
class QLocale;

/// Which language the program speaks, and loading its texts. English is the source language
/// and built in, with the plural forms of texts with a count from a small embedded catalogue;
/// German comes from the embedded catalogue and, for Qt's own dialogs, from Qt's installed
/// translations.
namespace Translations {

/// The language code of the catalogue to use for a locale: "de" for German, empty for
/// English. The locale's preferred UI languages are taken in order, and the first one the
/// program has wins; one it lacks (French, say) lets the next decide.
QString languageFor(const QLocale &locale);

/// Installs the translators for the system locale into the application, which owns them.
/// Call once, right after the application object exists and before any window is built.
/// Returns the language chosen, as languageFor().
QString install(QCoreApplication &application);

} // namespace Translations
