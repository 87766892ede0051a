#pragma once
// A call of an executable stored procedure: the procedure's name, its input
// parameters by name, and after execute() its output parameters by name.
// Each execute runs in a transaction of its own unless a caller passes one.
#include "fb/Value.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <map>
#include <vector>

namespace fb {
class Attachment;
class Transaction;
}  // namespace fb

// The output row of one procedure call.
class TProcResult {
public:
    TProcResult() = default;
    TProcResult(QStringList names, std::vector<fb::Value> values)
        : m_names(std::move(names)), m_values(std::move(values)) {}
    bool has(const QString& name) const { return m_names.contains(name.toUpper()); }
    fb::Value value(const QString& name) const;  // throws EDatabaseError when there is no such output
    const QStringList& names() const { return m_names; }

private:
    QStringList m_names;
    std::vector<fb::Value> m_values;
};

class TStoredProc : public QObject {
    Q_OBJECT
public:
    explicit TStoredProc(QObject* parent = nullptr, const QString& name = QString());

    void setStoredProcName(const QString& name);
    QString storedProcName() const { return m_procName; }

    // The connection: explicit, else the client datasets' default (the data module's).
    void setAttachment(fb::Attachment* att) { m_attachment = att; }

    // Inputs are passed in the procedure's own order, read from the database's
    // description of it; inputs never set are passed as null.
    void setParam(const QString& name, const fb::Value& value) { m_inputs[name.toUpper()] = value; }
    void clearParams() { m_inputs.clear(); }

    void execute();
    void execute(fb::Transaction& tra);

    // An output (or, when no output has that name, an input) parameter.
    fb::Value paramByName(const QString& name) const;
    const TProcResult& result() const { return m_result; }

private:
    fb::Attachment& attachment() const;
    QStringList inputNames(fb::Transaction& tra);

    QString m_procName;
    fb::Attachment* m_attachment = nullptr;
    QHash<QString, fb::Value> m_inputs;
    TProcResult m_result;
    QHash<QString, QStringList> m_inputNamesCache;
};

// Runs one procedure in its own transaction and returns its outputs.
TProcResult executeProcedure(fb::Attachment& att, const QString& name,
                             const std::map<QString, fb::Value>& inputs = {});
TProcResult executeProcedure(fb::Transaction& tra, const QString& name,
                             const std::map<QString, fb::Value>& inputs = {});
