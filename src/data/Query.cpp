#include "data/Query.h"

#include "data/SqlText.h"

TQuery::TQuery(QObject* parent, const QString& name) : QObject(parent) {
    if (!name.isEmpty()) setObjectName(name);
}

void TQuery::setParam(const QString& name, const fb::Value& value) { m_params[name.toUpper()] = value; }

fb::Value TQuery::param(const QString& name) const { return m_params.value(name.toUpper()); }

bool TQuery::hasParam(const QString& name) const { return m_params.contains(name.toUpper()); }

QStringList TQuery::paramNames() const {
    const QString m = sqltext::masked(m_sql);
    QStringList names;
    bool inQuote = false;
    for (int i = 0; i < m.size(); ++i) {
        const QChar c = m[i];
        if (c == '"') inQuote = !inQuote;
        if (inQuote || c != ':') continue;
        int k = i + 1;
        while (k < m.size() && (m[k].isLetterOrNumber() || m[k] == '_' || m[k] == '$')) ++k;
        if (k > i + 1) {
            const QString n = m.mid(i + 1, k - i - 1).toUpper();
            if (!names.contains(n)) names.append(n);
        }
        i = k - 1;
    }
    return names;
}
