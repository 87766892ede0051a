#include "db/SqlScript.h"

#include "fb/Attachment.h"
#include "fb/FbStatus.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QRegularExpression>
#include <stdexcept>

namespace obrixdb {

namespace {

// Drops blanks and comments before the first word of a statement.
QString stripLeading(const QString& s) {
    int i = 0;
    const int n = int(s.size());
    while (i < n) {
        if (s[i].isSpace()) {
            ++i;
        } else if (s.mid(i, 2) == QLatin1String("--")) {
            const int e = s.indexOf('\n', i);
            i = e < 0 ? n : e + 1;
        } else if (s.mid(i, 2) == QLatin1String("/*")) {
            const int e = s.indexOf(QLatin1String("*/"), i + 2);
            i = e < 0 ? n : e + 2;
        } else {
            break;
        }
    }
    return s.mid(i).trimmed();
}

void runOne(fb::Attachment& att, fb::Transaction& tra, const QString& sql) {
    const QByteArray bytes = fb::encodeWin1251(sql);
    fb::detail::Status st;
    att.raw()->execute(&st, tra.raw(), unsigned(bytes.size()), bytes.constData(), 3,
                       nullptr, nullptr, nullptr, nullptr);
    st.check();
}

}  // namespace

QStringList splitScript(const QString& script) {
    static const QRegularExpression setTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)$"),
                                            QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    QString term = QStringLiteral(";");
    QString cur;
    const int n = int(script.size());
    auto finish = [&]() {
        const QString stmt = stripLeading(cur);
        cur.clear();
        if (stmt.isEmpty()) return;
        const auto m = setTerm.match(stmt);
        if (m.hasMatch()) term = m.captured(1);
        else out << stmt;
    };
    for (int i = 0; i < n;) {
        const QChar c = script[i];
        if (c == '\'' || c == '"') {
            int j = i + 1;
            for (;;) {
                if (j >= n) throw std::invalid_argument("unterminated quoted text in SQL script");
                if (script[j] == c) {
                    if (j + 1 < n && script[j + 1] == c) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            cur += script.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == '-' && i + 1 < n && script[i + 1] == '-') {
            int j = script.indexOf('\n', i);
            j = j < 0 ? n : j + 1;
            cur += script.mid(i, j - i);
            i = j;
        } else if (c == '/' && i + 1 < n && script[i + 1] == '*') {
            const int j = script.indexOf(QLatin1String("*/"), i + 2);
            if (j < 0) throw std::invalid_argument("unterminated comment in SQL script");
            cur += script.mid(i, j + 2 - i);
            i = j + 2;
        } else if (script.mid(i, term.size()) == term) {
            finish();
            i += int(term.size());
        } else {
            cur += c;
            ++i;
        }
    }
    finish();
    return out;
}

void executeRaw(fb::Attachment& att, const QString& sql) {
    fb::Transaction tra(att);
    runOne(att, tra, sql);
    tra.commit();
}

void runScript(fb::Attachment& att, const QString& script, bool oneTransaction) {
    const QStringList stmts = splitScript(script);
    if (!oneTransaction) {
        for (const QString& s : stmts) executeRaw(att, s);
        return;
    }
    fb::Transaction tra(att);
    for (const QString& s : stmts) runOne(att, tra, s);
    tra.commit();
}

}  // namespace obrixdb
