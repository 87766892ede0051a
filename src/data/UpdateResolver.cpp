#include "data/UpdateResolver.h"

#include "data/DataErrors.h"
#include "data/SqlText.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

TUpdateResolver::TUpdateResolver(QString table, std::vector<TResolverColumn> columns, bool quoteIdentifiers)
    : m_table(std::move(table)), m_columns(std::move(columns)), m_quote(quoteIdentifiers) {}

QString TUpdateResolver::ident(const QString& name) const {
    return m_quote ? sqltext::quoteIdentifier(name) : name;
}

std::vector<fb::Value> TUpdateResolver::prepared(const std::vector<fb::Value>& values) const {
    std::vector<fb::Value> out = values;
    for (const auto& c : m_columns) {
        if (c.scale < 0 || c.field >= int(out.size())) continue;
        fb::Value& v = out[c.field];
        if (v.kind() == fb::Value::Kind::Dec) v = fb::Value(v.toDecimal().rounded(std::min(c.scale, 4)));
    }
    return out;
}

void TUpdateResolver::appendWhere(QString& text, std::vector<fb::Value>& params,
                                  const std::vector<fb::Value>& old) const {
    QStringList conds;
    for (const auto& c : m_columns) {
        if (!c.inWhere) continue;
        const fb::Value& v = old[c.field];
        if (v.isNull()) {
            conds << ident(c.name) + QStringLiteral(" IS NULL");
        } else {
            conds << ident(c.name) + QStringLiteral(" = ?");
            params.push_back(v);
        }
    }
    // Never an UPDATE or DELETE of the whole table.
    if (conds.isEmpty())
        throw EDatabaseError(QStringLiteral("Изменение не сохранено: у набора данных нет полей таблицы ") + m_table +
                             QStringLiteral(", по которым можно найти изменяемую запись"));
    text += QStringLiteral(" WHERE ") + conds.join(QStringLiteral(" AND "));
}

TResolverSql TUpdateResolver::statementFor(const TSentChange& change) const {
    TResolverSql sql;
    switch (change.kind) {
    case TChangeKind::Insert: {
        QStringList names, marks;
        for (const auto& c : m_columns) {
            const fb::Value& v = change.newValues[c.field];
            if (v.isNull()) continue;  // the database's defaults and triggers fill what is left out
            names << ident(c.name);
            marks << QStringLiteral("?");
            sql.params.push_back(v);
        }
        if (names.isEmpty())
            sql.text = QStringLiteral("INSERT INTO ") + ident(m_table) + QStringLiteral(" DEFAULT VALUES");
        else
            sql.text = QStringLiteral("INSERT INTO ") + ident(m_table) + QStringLiteral(" (") +
                       names.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (") +
                       marks.join(QStringLiteral(", ")) + QLatin1Char(')');
        break;
    }
    case TChangeKind::Modify: {
        QStringList sets;
        for (const auto& c : m_columns) {
            const fb::Value& nv = change.newValues[c.field];
            const fb::Value& ov = change.oldValues[c.field];
            if (nv == ov && nv.kind() == ov.kind()) continue;
            sets << ident(c.name) + QStringLiteral(" = ?");
            sql.params.push_back(nv);
        }
        if (sets.isEmpty()) return {};
        sql.text = QStringLiteral("UPDATE ") + ident(m_table) + QStringLiteral(" SET ") +
                   sets.join(QStringLiteral(", "));
        appendWhere(sql.text, sql.params, change.oldValues);
        sql.mustHitRow = true;
        break;
    }
    case TChangeKind::Delete:
        sql.text = QStringLiteral("DELETE FROM ") + ident(m_table);
        appendWhere(sql.text, sql.params, change.oldValues);
        sql.mustHitRow = true;
        break;
    }
    return sql;
}

void TUpdateResolver::execute(fb::Transaction& tra, const TResolverSql& sql) {
    fb::Statement st(tra, sql.text);
    for (size_t i = 0; i < sql.params.size(); ++i) st.set(int(i), sql.params[i]);
    st.execute();
    if (!sql.mustHitRow) return;
    const qint64 rows = st.affectedRows();
    if (rows == 0) throw ERecordChanged();
    if (rows > 1) throw ERecordAmbiguous(rows);
}
