// The one reader of numbers an operator types: the sequence table and every text field of ours.
#include "operatornumber.h"

#include <QCoreApplication>

#include <cmath>

std::optional<double> readOperatorNumber(const QString &text, QString *error, const QLocale &locale)
{
    const QString typed = text.trimmed();
    QString why;
    if (typed.isEmpty()) {
        why = QCoreApplication::translate("OperatorNumber", "no number given");
    } else if (!locale.groupSeparator().isEmpty() && typed.contains(locale.groupSeparator())) {
        why = QCoreApplication::translate("OperatorNumber",
            "\"%1\" holds the thousands separator \"%2\": write the decimal separator \"%3\" "
            "and no thousands separator")
                  .arg(typed, locale.groupSeparator(), locale.decimalPoint());
    } else {
        QLocale strict = locale;
        strict.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
        bool ok = false;
        const double value = strict.toDouble(typed, &ok);
        if (ok && std::isfinite(value))
            return value;
        why = QCoreApplication::translate("OperatorNumber", "\"%1\" is no number").arg(typed);
    }
    if (error)
        *error = why;
    return std::nullopt;
}
