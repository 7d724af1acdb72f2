#include "dialect/scpicommand.h"

#include <QHash>

namespace vornsim {

namespace {

QByteArray shortForm(const QByteArray &keyword)
{
    static const QHash<QByteArray, QByteArray> longForms = {
        { "VOLTAGE", "VOLT" },
        { "CURRENT", "CURR" },
        { "MEASURE", "MEAS" },
        { "CONFIGURE", "CONF" },
        { "CHANNEL", "CHAN" },
        { "EVENT", "EV" },
        { "STATUS", "STAT" },
        { "CONTROL", "CONT" },
        { "BOUNDS", "BOU" },
        { "NOMINAL", "NOM" },
        { "LIMIT", "LIM" },
        { "MODULE", "MOD" },
        { "FIRMWARE", "FIRM" },
        { "RELEASE", "REL" },
        { "TEMPERATURE", "TEMP" },
        { "SUPPLY", "SUP" },
        { "AVERAGE", "AVER" },
        { "INTERFACE", "INTER" },
        { "OUTPUT", "OUTP" },
        { "FILAMENT", "FILA" },
        { "EMISSION", "EMI" },
        { "MINIMUM", "MIN" },
        { "MAXIMUM", "MAX" },
        { "SYSTEM", "SYS" },
        { "SYST", "SYS" },
        { "ERROR", "ERR" },
        { "ADJUST", "ADJ" },
        { "CHANNELS", "CHAN" },
        { "CONFIGURATION", "CONF" },
    };
    return longForms.value(keyword, keyword);
}

bool validKeyword(const QByteArray &node)
{
    if (node.isEmpty())
        return false;
    for (char c : node) {
        const bool ok = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!ok)
            return false;
    }
    return true;
}

} // namespace

QList<ScpiCommand> splitScpiLine(const QByteArray &line)
{
    QList<ScpiCommand> commands;
    QList<QByteArray> path; // nodes in front of the last header's final node
    const QList<QByteArray> parts = line.split(';');
    for (const QByteArray &part : parts) {
        const QByteArray text = part.trimmed();
        if (text.isEmpty())
            continue;
        ScpiCommand cmd;
        cmd.text = text;
        int space = 0;
        while (space < text.size() && !QChar::isSpace(uchar(text.at(space))))
            ++space;
        QByteArray header = text.left(space).toUpper();
        cmd.parameters = text.mid(space).trimmed();
        if (header.endsWith('?')) {
            cmd.query = true;
            header.chop(1);
        }
        if (header.startsWith('*')) {
            cmd.header = header;
            cmd.valid = validKeyword(header.mid(1));
            commands << cmd;
            continue;
        }
        QList<QByteArray> nodes;
        if (header.startsWith(':')) {
            header.remove(0, 1);
        } else {
            nodes = path;
        }
        for (const QByteArray &node : header.split(':')) {
            cmd.valid = cmd.valid && validKeyword(node);
            nodes << shortForm(node);
        }
        path = nodes.mid(0, nodes.size() - 1);
        cmd.header = nodes.join(':');
        commands << cmd;
    }
    return commands;
}

} // namespace vornsim
