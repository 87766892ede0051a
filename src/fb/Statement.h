#pragma once
// A prepared statement with positional (?) or named (:NAME) parameters.
// SELECT and selectable procedures: execute() then fetch() row by row.
// EXECUTE PROCEDURE and statements with RETURNING: execute() fills the one output row.
#include "fb/Value.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace fb {

class Attachment;
class Transaction;

struct Column {
    enum class Type { Integer, SmallInt, BigInt, Decimal, Char, VarChar, Date, Timestamp, Time, Blob, Other };
    QString name;   // alias, as the query names it
    QString relation;  // source table, when any
    Type type = Type::Other;
    int scale = 0;     // decimals of a NUMERIC
    int length = 0;    // characters of CHAR/VARCHAR
    bool nullable = true;
};

class Statement {
public:
    Statement(Transaction& tra, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters: by position (0-based) or by the name written after ':' in the text.
    int paramCount() const;
    void set(int index, const Value& v);
    void set(const QString& name, const Value& v);  // sets every occurrence; unknown name throws
    const QStringList& paramNames() const { return m_paramNames; }  // by position, empty for '?'

    void execute();  // runs it; for a SELECT opens the cursor
    bool fetch();    // next row of an open cursor; false at the end (and closes the cursor)

    int columnCount() const { return int(m_columns.size()); }
    const std::vector<Column>& columns() const { return m_columns; }
    int columnIndex(const QString& name) const;  // -1 when absent
    Value value(int index) const;
    Value value(const QString& name) const;  // throws when absent

    // Rows touched by the last execute (INSERT/UPDATE/DELETE).
    qint64 affectedRows() const;
    bool isSelect() const { return m_isSelect; }

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    std::vector<Column> m_columns;
    QStringList m_paramNames;
    QString m_sqlText;
    bool m_isSelect = false;
};

// Shortcuts that run one statement in the given transaction.
void exec(Transaction& tra, const QString& sql, const std::vector<Value>& params = {});
// First column of the first row; null when there is no row.
Value scalar(Transaction& tra, const QString& sql, const std::vector<Value>& params = {});

// Text <-> WIN1251 bytes. encode throws DbError-free std::invalid_argument
// (caught and turned into a clear Russian message by callers) when a character
// has no place in WIN1251.
QByteArray encodeWin1251(const QString& text);
QString decodeWin1251(const QByteArray& bytes);
// The Russian message for a character WIN1251 cannot hold.
QString win1251ErrorText(QChar c);
QString win1251ErrorText(char32_t c);
// The text in composed form (NFC): what is stored and measured.
QString normalizedText(const QString& text);
// The longest text a parameter carries (bytes of WIN1251, one a character).
constexpr int kMaxTextParam = 32765;

}  // namespace fb
