#pragma once

#include <cstring>
#include <initializer_list>

/// True when the arguments ask for help or the version: -h, --help, -?, --help-all, -v or
/// --version before any "--", and not as the value of one of \a valueOptions (options that take
/// the next argument as their value). The caller then answers them with a QCoreApplication, so
/// that no display is needed and no window opens (help2man asks while the programs are built).
inline bool asksForTextOnly(
    int argc, char *argv[], std::initializer_list<const char *> valueOptions = {})
{
    static const char *const textOptions[]
        = { "-h", "--help", "-?", "--help-all", "-v", "--version" };
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            return false;
        bool takesValue = false;
        for (const char *option : valueOptions)
            takesValue = takesValue || std::strcmp(argv[i], option) == 0;
        if (takesValue) {
            ++i;
            continue;
        }
        for (const char *option : textOptions) {
            if (std::strcmp(argv[i], option) == 0)
                return true;
        }
    }
    return false;
}
