#include "data/SqlText.h"

#include <QRegularExpression>

namespace sqltext {

QString masked(const QString& sql) {
    QString out = sql;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            const int end = sql.indexOf(QStringLiteral("*/"), i + 2);
            const int stop = end < 0 ? n : end + 2;
            for (int k = i; k < stop; ++k) out[k] = ' ';
            i = stop;
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            int stop = sql.indexOf('\n', i);
            if (stop < 0) stop = n;
            for (int k = i; k < stop; ++k) out[k] = ' ';
            i = stop;
        } else if (c == '\'') {
            // '' inside a literal is an escaped quote
            int k = i + 1;
            while (k < n) {
                if (sql[k] == '\'') {
                    if (k + 1 < n && sql[k + 1] == '\'') { k += 2; continue; }
                    break;
                }
                ++k;
            }
            const int stop = std::min(n, k + 1);
            for (int j = i; j < stop; ++j) out[j] = ' ';
            i = stop;
        } else if (c == '"') {
            // quoted identifiers stay, but are skipped as a unit
            int k = sql.indexOf('"', i + 1);
            i = k < 0 ? n : k + 1;
        } else {
            ++i;
        }
    }
    return out;
}

namespace {

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == '_' || c == '$'; }

// Text of `m` with everything inside parentheses blanked (same length).
QString topLevel(const QString& m) {
    QString out = m;
    int depth = 0;
    bool inQuote = false;
    for (int i = 0; i < m.size(); ++i) {
        const QChar c = m[i];
        if (c == '"') inQuote = !inQuote;
        if (inQuote) { if (depth > 0) out[i] = ' '; continue; }
        if (c == '(') { ++depth; out[i] = ' '; continue; }
        if (c == ')') { if (depth > 0) --depth; out[i] = ' '; continue; }
        if (depth > 0) out[i] = ' ';
    }
    return out;
}

// Positions of the keyword as a whole word (case-insensitive) in `t`.
std::vector<int> findWord(const QString& t, const QString& word) {
    std::vector<int> found;
    int from = 0;
    while (true) {
        const int p = t.indexOf(word, from, Qt::CaseInsensitive);
        if (p < 0) break;
        const bool startOk = p == 0 || !isWordChar(t[p - 1]);
        const int e = p + word.size();
        const bool endOk = e >= t.size() || !isWordChar(t[e]);
        if (startOk && endOk) found.push_back(p);
        from = p + 1;
    }
    return found;
}

QString identifierAt(const QString& t, int& pos) {
    while (pos < t.size() && t[pos].isSpace()) ++pos;
    if (pos >= t.size()) return QString();
    if (t[pos] == '"') {
        const int end = t.indexOf('"', pos + 1);
        if (end < 0) return QString();
        const QString id = t.mid(pos + 1, end - pos - 1);
        pos = end + 1;
        return id;
    }
    const int start = pos;
    while (pos < t.size() && isWordChar(t[pos])) ++pos;
    return t.mid(start, pos - start).toUpper();
}

QString unquote(QString s) {
    s = s.trimmed();
    if (s.size() >= 2 && s.startsWith('"') && s.endsWith('"')) return s.mid(1, s.size() - 2);
    return s.toUpper();
}

}  // namespace

QString fromTable(const QString& sql) {
    const QString t = topLevel(masked(sql));
    const auto at = findWord(t, QStringLiteral("FROM"));
    if (at.empty()) return QString();
    int pos = at.front() + 4;
    // a derived table "FROM (SELECT ...)" has no table of its own
    int probe = pos;
    while (probe < sql.size() && sql[probe].isSpace()) ++probe;
    if (probe < sql.size() && sql[probe] == '(') return QString();
    return identifierAt(t, pos);
}

std::vector<OrderItem> orderBy(const QString& sql) {
    std::vector<OrderItem> items;
    const QString m = masked(sql);
    const QString t = topLevel(m);
    const auto orders = findWord(t, QStringLiteral("ORDER"));
    int start = -1;
    for (auto it = orders.rbegin(); it != orders.rend(); ++it) {
        int p = *it + 5;
        while (p < t.size() && t[p].isSpace()) ++p;
        if (t.mid(p, 2).compare(QStringLiteral("BY"), Qt::CaseInsensitive) == 0 &&
            (p + 2 >= t.size() || !isWordChar(t[p + 2]))) {
            start = p + 2;
            break;
        }
    }
    if (start < 0) return items;
    int end = t.size();
    for (const QString& stop : {QStringLiteral("ROWS"), QStringLiteral("OFFSET"), QStringLiteral("FETCH"),
                                QStringLiteral("FOR"), QStringLiteral("WITH"), QStringLiteral("PLAN")}) {
        for (int p : findWord(t, stop))
            if (p > start && p < end) end = p;
    }
    // Split at top-level commas; take the pieces from the masked text so that
    // expressions keep their parentheses and can be recognised as such.
    QList<QPair<int, int>> pieces;
    int pieceStart = start;
    for (int i = start; i < end; ++i)
        if (t[i] == ',') { pieces.append({pieceStart, i}); pieceStart = i + 1; }
    pieces.append({pieceStart, end});
    for (const auto& [a, b] : pieces) {
        const QString piece = m.mid(a, b - a).trimmed();
        if (piece.isEmpty() || piece.contains('(')) continue;
        QStringList words = piece.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        if (words.isEmpty()) continue;
        OrderItem item;
        const QString expr = words.takeFirst();
        for (const QString& w : words) {
            const QString u = w.toUpper();
            if (u == QLatin1String("DESC") || u == QLatin1String("DESCENDING")) item.descending = true;
        }
        bool isNumber = false;
        const int position = expr.toInt(&isNumber);
        if (isNumber) {
            item.position = position;
        } else {
            // "P.ID" -> ID, "\"P\".\"NAME\"" -> NAME
            QString name = expr;
            int dot = -1;
            bool inQ = false;
            for (int i = 0; i < name.size(); ++i) {
                if (name[i] == '"') inQ = !inQ;
                else if (name[i] == '.' && !inQ) dot = i;
            }
            if (dot >= 0) name = name.mid(dot + 1);
            item.column = unquote(name);
            if (item.column.isEmpty()) continue;
        }
        items.push_back(item);
    }
    return items;
}

QString quoteIdentifier(const QString& name) {
    QString n = name;
    n.replace('"', QStringLiteral("\"\""));
    return '"' + n + '"';
}

}  // namespace sqltext
