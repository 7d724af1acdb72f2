#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

/// The child of \a parent with object name \a name; ends the test run if the form lacks it.
template <typename T> T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("no child %s", qPrintable(name));
    return found;
}
