#include "modulefamily.h"

const ModuleFamily &ModuleFamily::unknown()
{
    static const ModuleFamily family { QString() };
    return family;
}

const ModuleFamily *ModuleFamily::byName(const QString &name)
{
    return name.isEmpty() ? &unknown() : nullptr;
}
