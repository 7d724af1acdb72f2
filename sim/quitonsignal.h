#pragma once

class QCoreApplication;

namespace vornsim {

/// Makes SIGTERM and SIGINT end the event loop normally, so that the front ends close their
/// sockets and pseudo-terminals and remove their socket files. Call once.
void quitOnSignal(QCoreApplication *app);

} // namespace vornsim
