#include "dialect/valueparse.h"

#include <cmath>

namespace vornsim {

bool parseNumber(QByteArray text, double *value)
{
    text = text.trimmed().toUpper();
    for (const char *unit : { "V/S", "A/S", "%/S", "V", "A", "%", "C" }) {
        if (text.endsWith(unit)) {
            text.chop(int(qstrlen(unit)));
            break;
        }
    }
    bool ok = false;
    const double v = text.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

bool parseUnsigned(const QByteArray &text, quint32 *value)
{
    bool ok = false;
    const quint32 v = text.trimmed().toUInt(&ok);
    if (ok)
        *value = v;
    return ok;
}

bool parseSwitch(const QByteArray &text, bool *on)
{
    const QByteArray t = text.trimmed().toUpper();
    if (t == "ENABLE" || t == "ON" || t == "1") {
        *on = true;
        return true;
    }
    if (t == "DISABLE" || t == "OFF" || t == "0") {
        *on = false;
        return true;
    }
    return false;
}

} // namespace vornsim
