#pragma once
// Small readers of a query's SQL text: the table of its FROM clause and the
// columns of its ORDER BY clause. Comments, string literals and anything in
// parentheses (sub-queries, function arguments) are skipped.
#include <QString>
#include <QStringList>
#include <vector>

namespace sqltext {

struct OrderItem {
    QString column;      // upper-case column name without the alias prefix ("P.ID" -> "ID")
    int position = 0;    // "ORDER BY 2": 1-based column number, else 0
    bool descending = false;
};

// The text with every comment and string literal replaced by blanks (same length).
QString masked(const QString& sql);
// The first table named after the top-level FROM, upper case unless quoted; empty when none.
QString fromTable(const QString& sql);
// The items of the last top-level ORDER BY; an item that is an expression is left out.
std::vector<OrderItem> orderBy(const QString& sql);
// Quotes an identifier for Firebird dialect 3 ("NAME" -> "\"NAME\"").
QString quoteIdentifier(const QString& name);

}  // namespace sqltext
