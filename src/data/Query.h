#pragma once
// A query: SQL text with named parameters (":RPERIOD_ID") and their values.
// Callers set parameters here; a client dataset runs the query when it opens.
#include "fb/Value.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>

class TQuery : public QObject {
    Q_OBJECT
public:
    explicit TQuery(QObject* parent = nullptr, const QString& name = QString());

    const QString& sql() const { return m_sql; }
    void setSql(const QString& sql) { m_sql = sql; }

    // The value is kept until it is set again or the parameters are cleared.
    void setParam(const QString& name, const fb::Value& value);
    fb::Value param(const QString& name) const;  // null when not set
    bool hasParam(const QString& name) const;
    void clearParams() { m_params.clear(); }

    // Names written after ':' in the text, in order of first appearance,
    // upper case, without those in comments or string literals.
    QStringList paramNames() const;

private:
    QString m_sql;
    QMap<QString, fb::Value> m_params;
};
