#pragma once
// Turns the pending changes of a client dataset into statements on the
// provider's table: INSERT of the data columns that hold a value, UPDATE of
// the changed columns, DELETE; UPDATE and DELETE find the row by the values
// all its columns had when it was loaded (a null as IS NULL) and must touch
// exactly that one row; a statement with nothing to find the row by is
// refused. Values always travel as parameters.
#include "data/ChangeLog.h"

#include <QString>
#include <vector>

namespace fb { class Transaction; }

struct TResolverColumn {
    int field = -1;       // index into the row's values
    QString name;         // column name in the table
    bool inWhere = true;  // used to find the row
    int scale = -1;       // decimals of a NUMERIC column: values are rounded to it
};

struct TResolverSql {
    QString text;
    std::vector<fb::Value> params;
    bool mustHitRow = false;  // an UPDATE or DELETE that finds no row fails
};

// One change as it is sent: copies of the values at that moment.
struct TSentChange {
    TChangeKind kind;
    TRowPtr row;
    quint64 version = 0;
    std::vector<fb::Value> oldValues;  // as loaded (empty for an insert)
    std::vector<fb::Value> newValues;  // as sent (rounded to the columns' scale)
};

class TUpdateResolver {
public:
    TUpdateResolver(QString table, std::vector<TResolverColumn> columns, bool quoteIdentifiers);

    // The values of `values` as the columns will hold them (decimals rounded).
    std::vector<fb::Value> prepared(const std::vector<fb::Value>& values) const;

    // Empty text when an UPDATE would change nothing.
    TResolverSql statementFor(const TSentChange& change) const;

    // Runs one statement; throws fb::DbError, ERecordChanged when an UPDATE
    // or DELETE touched no row, ERecordAmbiguous when it touched several.
    static void execute(fb::Transaction& tra, const TResolverSql& sql);

private:
    QString ident(const QString& name) const;
    void appendWhere(QString& text, std::vector<fb::Value>& params, const std::vector<fb::Value>& old) const;

    QString m_table;
    std::vector<TResolverColumn> m_columns;
    bool m_quote;
};
