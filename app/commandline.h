#pragma once

#include "textonlyoptions.h"

class QCoreApplication;

/// The program's own command-line options, --help and --version; it reads no others.
namespace CommandLine {

/// Returned by handle() when the program should go on and open its window.
constexpr int Continue = -1;

/// Reads the application's arguments (Qt's own options are already taken out by QApplication)
/// and sets the application version. Help and version are printed to standard output
/// and give 0; an unknown option or a stray argument is reported on standard error and gives 1;
/// otherwise Continue.
int handle(QCoreApplication &application);

} // namespace CommandLine
