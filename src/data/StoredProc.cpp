#include "data/StoredProc.h"

#include "data/Connection.h"
#include "data/DataErrors.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <functional>

fb::Value TProcResult::value(const QString& name) const {
    const int i = int(m_names.indexOf(name.toUpper()));
    if (i < 0) throw EDatabaseError(QStringLiteral("Параметр '") + name + QStringLiteral("' не найден"));
    return m_values[size_t(i)];
}

namespace {

QStringList readInputNames(fb::Transaction& tra, const QString& proc) {
    fb::Statement st(tra, QStringLiteral("SELECT TRIM(RDB$PARAMETER_NAME) FROM RDB$PROCEDURE_PARAMETERS "
                                         "WHERE RDB$PROCEDURE_NAME = ? AND RDB$PARAMETER_TYPE = 0 "
                                         "AND RDB$PACKAGE_NAME IS NULL ORDER BY RDB$PARAMETER_NUMBER"));
    st.set(0, fb::Value(proc));
    st.execute();
    QStringList names;
    while (st.fetch()) names << st.value(0).toString().trimmed().toUpper();
    return names;
}

TProcResult run(fb::Transaction& tra, const QString& proc, const QStringList& inputs,
                const std::function<fb::Value(const QString&)>& valueOf) {
    QString sql = QStringLiteral("EXECUTE PROCEDURE ") + proc;
    if (!inputs.isEmpty()) {
        QStringList marks;
        for (int i = 0; i < inputs.size(); ++i) marks << QStringLiteral("?");
        sql += QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    fb::Statement st(tra, sql);
    for (int i = 0; i < inputs.size(); ++i) st.set(i, valueOf(inputs[i]));
    st.execute();
    QStringList names;
    std::vector<fb::Value> values;
    for (int i = 0; i < st.columnCount(); ++i) {
        names << st.columns()[size_t(i)].name.toUpper();
        values.push_back(st.value(i));
    }
    return TProcResult(names, std::move(values));
}

}  // namespace

TStoredProc::TStoredProc(QObject* parent, const QString& name) : QObject(parent) {
    if (!name.isEmpty()) setObjectName(name);
}

void TStoredProc::setStoredProcName(const QString& name) {
    const QString proc = name.trimmed().toUpper();
    if (proc != m_procName) m_result = TProcResult();
    m_procName = proc;
}

fb::Attachment& TStoredProc::attachment() const { return dataconn::require(m_attachment); }

QStringList TStoredProc::inputNames(fb::Transaction& tra) {
    auto it = m_inputNamesCache.constFind(m_procName);
    if (it != m_inputNamesCache.constEnd()) return it.value();
    const QStringList names = readInputNames(tra, m_procName);
    m_inputNamesCache.insert(m_procName, names);
    return names;
}

void TStoredProc::execute() {
    fb::Transaction tra(attachment());
    execute(tra);
    tra.commit();
}

void TStoredProc::execute(fb::Transaction& tra) {
    if (m_procName.isEmpty()) throw EDatabaseError(QStringLiteral("Не задано имя хранимой процедуры ") + objectName());
    m_result = run(tra, m_procName, inputNames(tra), [this](const QString& n) { return m_inputs.value(n); });
}

fb::Value TStoredProc::paramByName(const QString& name) const {
    if (m_result.has(name)) return m_result.value(name);
    if (m_inputs.contains(name.toUpper())) return m_inputs.value(name.toUpper());
    throw EDatabaseError(QStringLiteral("Параметр '") + name + QStringLiteral("' процедуры ") + m_procName +
                         QStringLiteral(" не найден"));
}

TProcResult executeProcedure(fb::Transaction& tra, const QString& name, const std::map<QString, fb::Value>& inputs) {
    const QString proc = name.trimmed().toUpper();
    std::map<QString, fb::Value> upper;
    for (const auto& [k, v] : inputs) upper[k.toUpper()] = v;
    return run(tra, proc, readInputNames(tra, proc), [&](const QString& n) {
        auto it = upper.find(n);
        return it == upper.end() ? fb::Value() : it->second;
    });
}

TProcResult executeProcedure(fb::Attachment& att, const QString& name, const std::map<QString, fb::Value>& inputs) {
    fb::Transaction tra(att);
    TProcResult r = executeProcedure(tra, name, inputs);
    tra.commit();
    return r;
}
