#include "dialect/channellist.h"

namespace vornsim {

namespace {

bool parseIndex(const QByteArray &text, int count, int *index)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 0 || value >= count)
        return false;
    *index = value;
    return true;
}

void parseList(const QByteArray &inner, int count, Parameters *p)
{
    const QList<QByteArray> entries = inner.split(',');
    for (const QByteArray &entry : entries) {
        const int dash = entry.indexOf('-');
        int first = 0;
        int last = 0;
        const bool ok = dash < 0
            ? parseIndex(entry, count, &first) && parseIndex(entry, count, &last)
            : parseIndex(entry.left(dash), count, &first)
                && parseIndex(entry.mid(dash + 1), count, &last) && first <= last;
        if (!ok) {
            p->listValid = false;
            p->channels.clear();
            return;
        }
        for (int i = first; i <= last; ++i) {
            if (!p->channels.contains(i))
                p->channels << i;
        }
    }
}

} // namespace

Parameters parseParameters(const QByteArray &text, int count)
{
    Parameters p;
    QList<QByteArray> items;
    int depth = 0;
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '(')
            ++depth;
        else if (c == ')')
            --depth;
        else if (c == ',' && depth == 0) {
            items << text.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    if (!text.trimmed().isEmpty())
        items << text.mid(start).trimmed();
    if (!items.isEmpty() && items.last().startsWith("(@")) {
        const QByteArray list = items.takeLast();
        p.hasList = true;
        if (!list.endsWith(')') || depth != 0)
            p.listValid = false;
        else
            parseList(list.mid(2, list.size() - 3), count, &p);
    }
    p.values = items;
    return p;
}

} // namespace vornsim
