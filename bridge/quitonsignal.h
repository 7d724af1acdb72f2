#pragma once

class QObject;

/// Makes SIGTERM and SIGINT end the application's event loop, so that the bridge can say
/// goodbye to the broker. The notifier lives as a child of \a parent.
void quitOnTermination(QObject *parent);
