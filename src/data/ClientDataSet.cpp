#include "data/ClientDataSet.h"
#include "data/SaveRetry.h"

#include "data/Connection.h"
#include "data/DataErrors.h"
#include "data/SqlText.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

namespace {

TFieldType typeOfColumn(const fb::Column& c) {
    using T = fb::Column::Type;
    switch (c.type) {
    case T::Integer: return TFieldType::Integer;
    case T::SmallInt: return TFieldType::SmallInt;
    case T::BigInt: return TFieldType::LargeInt;
    case T::Decimal: return TFieldType::Decimal;
    case T::Char:
    case T::VarChar: return TFieldType::Text;
    case T::Date: return TFieldType::Date;
    case T::Timestamp: return TFieldType::DateTime;
    case T::Time: return TFieldType::Time;
    case T::Blob: return TFieldType::Memo;
    case T::Other: return TFieldType::Other;
    }
    return TFieldType::Other;
}

// Key of a value in the lookup cache: numbers of any kind alike.
QString keyText(const fb::Value& v) {
    using K = fb::Value::Kind;
    switch (v.kind()) {
    case K::Null: return QString();
    case K::Int:
    case K::Dec: return QStringLiteral("n:") + v.toDecimal().toPlainString();
    case K::Date: return QStringLiteral("d:") + v.toDate().toString(Qt::ISODate);
    case K::Timestamp: return QStringLiteral("s:") + v.toDateTime().toString(Qt::ISODateWithMs);
    case K::Text: return QStringLiteral("t:") + v.toString();
    }
    return QString();
}

bool sameValue(const fb::Value& a, const fb::Value& b) { return a == b && a.kind() == b.kind(); }

// Columns that a WHERE clause can compare exactly.
bool comparable(TFieldType t) {
    switch (t) {
    case TFieldType::Integer:
    case TFieldType::SmallInt:
    case TFieldType::LargeInt:
    case TFieldType::Text:
    case TFieldType::Decimal:
    case TFieldType::Date: return true;
    default: return false;  // blobs, and timestamps finer than QDateTime keeps
    }
}

}  // namespace

// Makes fields read a given row (a grid cell, a lookup) for a moment.
struct TClientDataSet::ReadScope {
    const TClientDataSet& ds;
    const std::vector<fb::Value>* saved;
    ReadScope(const TClientDataSet& d, const std::vector<fb::Value>* buf) : ds(d), saved(d.m_readOverride) {
        d.m_readOverride = buf;
    }
    ~ReadScope() { ds.m_readOverride = saved; }
};

TClientDataSet::TClientDataSet(QObject* parent, const QString& name) : QObject(parent) {
    if (!name.isEmpty()) setObjectName(name);
    m_query = new TQuery(this);
}

TClientDataSet::~TClientDataSet() = default;

fb::Attachment& TClientDataSet::attachment() const { return dataconn::require(m_attachment); }

QString TClientDataSet::tableName() const {
    if (!m_tableName.isEmpty()) return m_tableName;
    return sqltext::fromTable(m_query->sql());
}

// ---------------------------------------------------------------------------
// fields

TField& TClientDataSet::addField(const QString& name, TFieldType type, int size) {
    if (isActive()) throw EDatabaseError(QStringLiteral("Нельзя менять поля открытого набора данных ") + objectName());
    if (findField(name)) throw EDatabaseError(QStringLiteral("Поле '") + name + QStringLiteral("' уже есть в ") + objectName());
    // A declared data field replaces the automatic ones.
    m_fields.erase(std::remove_if(m_fields.begin(), m_fields.end(),
                                  [](const auto& f) { return f->isAutoCreated(); }),
                   m_fields.end());
    m_fields.push_back(std::make_unique<TField>(*this, name, TFieldKind::Data, type, size));
    reindexFields();
    return *m_fields.back();
}

TField& TClientDataSet::addCalcField(const QString& name, TFieldType type, int size) {
    if (isActive()) throw EDatabaseError(QStringLiteral("Нельзя менять поля открытого набора данных ") + objectName());
    if (findField(name)) throw EDatabaseError(QStringLiteral("Поле '") + name + QStringLiteral("' уже есть в ") + objectName());
    m_fields.push_back(std::make_unique<TField>(*this, name, TFieldKind::Calculated, type, size));
    reindexFields();
    return *m_fields.back();
}

TField& TClientDataSet::addLookupField(const QString& name, TFieldType type, int size, const QString& keyField,
                                       TClientDataSet* lookupDataSet, const QString& lookupKeyField,
                                       const QString& resultField) {
    if (isActive()) throw EDatabaseError(QStringLiteral("Нельзя менять поля открытого набора данных ") + objectName());
    if (findField(name)) throw EDatabaseError(QStringLiteral("Поле '") + name + QStringLiteral("' уже есть в ") + objectName());
    m_fields.push_back(std::make_unique<TField>(*this, name, TFieldKind::Lookup, type, size));
    m_fields.back()->setLookup({keyField.toUpper(), lookupDataSet, lookupKeyField.toUpper(), resultField.toUpper()});
    reindexFields();
    return *m_fields.back();
}

void TClientDataSet::removeField(const QString& name) {
    if (isActive()) throw EDatabaseError(QStringLiteral("Нельзя менять поля открытого набора данных ") + objectName());
    m_fields.erase(std::remove_if(m_fields.begin(), m_fields.end(),
                                  [&](const auto& f) { return f->name() == name.toUpper(); }),
                   m_fields.end());
    reindexFields();
}

TField* TClientDataSet::findField(const QString& name) const {
    const int i = m_fieldIndex.value(name.toUpper(), -1);
    return i < 0 ? nullptr : m_fields[size_t(i)].get();
}

TField& TClientDataSet::fieldByName(const QString& name) const {
    if (TField* f = findField(name)) return *f;
    throw EDatabaseError(objectName() + QStringLiteral(": поле '") + name + QStringLiteral("' не найдено"));
}

std::vector<TField*> TClientDataSet::fields() const {
    std::vector<TField*> out;
    for (const auto& f : m_fields) out.push_back(f.get());
    return out;
}

std::vector<TField*> TClientDataSet::visibleFields() const {
    std::vector<TField*> out;
    for (const auto& f : m_fields)
        if (f->isVisible()) out.push_back(f.get());
    return out;
}

void TClientDataSet::reindexFields() {
    m_fieldIndex.clear();
    for (size_t i = 0; i < m_fields.size(); ++i) {
        m_fields[i]->m_index = int(i);
        m_fieldIndex.insert(m_fields[i]->name(), int(i));
    }
}

void TClientDataSet::notifyFieldsChanged() {
    if (!m_disabled) emit fieldsChanged();
}

void TClientDataSet::setupFields(const std::vector<fb::Column>& columns, std::vector<int>& columnOfField) {
    // Result column names, made unique the way a second NAME becomes NAME_1.
    QStringList names;
    for (const auto& c : columns) {
        QString n = c.name.toUpper();
        for (int k = 1; names.contains(n); ++k) n = c.name.toUpper() + QLatin1Char('_') + QString::number(k);
        names << n;
    }
    const auto takeColumnInfo = [&](TField& f, const fb::Column& c, bool typeFromColumn) {
        const TFieldType t = typeOfColumn(c);
        if (typeFromColumn) {
            f.m_type = t;
            f.m_size = c.length;
            f.m_scale = c.scale;
            f.m_fixedChar = c.type == fb::Column::Type::Char;
        } else {
            if (f.m_type == TFieldType::Text && f.m_size == 0) f.m_size = c.length;
            if (f.m_type == TFieldType::Text && c.type == fb::Column::Type::Char) f.m_fixedChar = true;
            if (f.m_type == TFieldType::Decimal && t == TFieldType::Decimal) f.m_scale = c.scale;
        }
        f.m_origin = c.relation.toUpper();
    };

    QString table = tableName();
    if (table.startsWith(QLatin1Char('"')) && table.endsWith(QLatin1Char('"'))) table = table.mid(1, table.size() - 2);
    const bool declared = std::any_of(m_fields.begin(), m_fields.end(), [](const auto& f) {
        return f->kind() == TFieldKind::Data && !f->isAutoCreated();
    });
    if (!declared) {
        std::vector<std::unique_ptr<TField>> rebuilt;
        for (size_t j = 0; j < columns.size(); ++j) {
            std::unique_ptr<TField> f;
            for (auto& old : m_fields)
                if (old && old->isAutoCreated() && old->name() == names[int(j)]) f = std::move(old);
            if (!f) {
                f = std::make_unique<TField>(*this, names[int(j)], TFieldKind::Data, TFieldType::Unknown, 0);
                f->m_auto = true;
            }
            takeColumnInfo(*f, columns[j], true);
            // NOT NULL of the provider's own table; columns of joined tables and
            // expressions are never written, so they are never required.
            f->m_required = !columns[j].nullable && !table.isEmpty() &&
                            columns[j].relation.compare(table, Qt::CaseInsensitive) == 0;
            rebuilt.push_back(std::move(f));
        }
        for (auto& old : m_fields)
            if (old && old->kind() != TFieldKind::Data) rebuilt.push_back(std::move(old));
        m_fields = std::move(rebuilt);
        reindexFields();
    }

    columnOfField.assign(m_fields.size(), -1);
    for (auto& f : m_fields) {
        if (f->kind() != TFieldKind::Data) continue;
        const int j = int(names.indexOf(f->name()));
        if (j < 0)
            throw EDatabaseError(QStringLiteral("Поле '") + f->name() +
                                 QStringLiteral("' не найдено в результате запроса набора данных ") + objectName());
        columnOfField[size_t(f->index())] = j;
        if (declared) takeColumnInfo(*f, columns[size_t(j)], f->type() == TFieldType::Unknown);
    }
    for (auto& f : m_fields) {
        if (f->kind() != TFieldKind::Lookup) continue;
        if (!findField(f->lookup().keyField))
            throw EDatabaseError(QStringLiteral("Поле-ключ '") + f->lookup().keyField + QStringLiteral("' поля '") +
                                 f->name() + QStringLiteral("' не найдено в ") + objectName());
    }
    m_fieldColumn = columnOfField;
}

// ---------------------------------------------------------------------------
// open and close

void TClientDataSet::open() {
    if (isActive()) return;
    fb::Transaction tra(attachment());
    load(tra);
    try {
        tra.commit();
    } catch (...) {
        close();
        throw;
    }
}

void TClientDataSet::open(fb::Transaction& tra) {
    if (isActive()) return;
    load(tra);
}

void TClientDataSet::load(fb::Transaction& tra) {
    fb::Statement st(tra, m_query->sql());
    QStringList done;
    for (const QString& name : st.paramNames()) {
        if (name.isEmpty() || done.contains(name)) continue;
        done << name;
        if (!m_query->hasParam(name))
            throw EDatabaseError(QStringLiteral("Не задано значение параметра ") + name +
                                 QStringLiteral(" набора данных ") + objectName());
        st.set(name, m_query->param(name));
    }
    st.execute();
    std::vector<int> columnOf;
    setupFields(st.columns(), columnOf);

    // Declared types that differ from the column's are converted as rows arrive.
    std::vector<bool> convert(m_fields.size(), false);
    for (size_t i = 0; i < m_fields.size(); ++i)
        if (columnOf[i] >= 0 && !m_fields[i]->isAutoCreated())
            convert[i] = m_fields[i]->type() != typeOfColumn(st.columns()[size_t(columnOf[i])]);

    std::vector<TRowPtr> rows;
    const size_t n = m_fields.size();
    while (st.fetch()) {
        auto row = std::make_shared<TDataRow>();
        row->serial = m_nextSerial++;
        row->order = double(rows.size());
        row->values.resize(n);
        for (size_t i = 0; i < n; ++i) {
            if (columnOf[i] < 0) continue;
            fb::Value v = st.value(columnOf[i]);
            row->values[i] = convert[i] ? m_fields[i]->convert(v) : v;
        }
        // Only a dataset that can be edited needs the loaded values a second time.
        if (!m_readOnly) row->original = row->values;
        rows.push_back(std::move(row));
    }
    for (auto& r : rows) calculate(r->values);

    m_all = std::move(rows);
    m_log.clear();
    m_state = TDataSetState::Browse;
    m_modified = false;
    m_editBuf.clear();
    m_insertRow.reset();
    invalidateLookupCache();
    resolveSort();
    rebuildView();
    m_cur = m_view.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.empty();
    emitState();
    emitData();
    emitCurrent();
    if (m_afterOpen) m_afterOpen(*this);
    if (m_afterScroll) m_afterScroll(*this);
}

void TClientDataSet::close() {
    if (!isActive()) return;
    m_state = TDataSetState::Inactive;
    m_editBuf.clear();
    m_insertRow.reset();
    m_modified = false;
    m_all.clear();
    m_view.clear();
    const bool hadLog = !m_log.isEmpty();
    m_log.clear();
    m_cur = -1;
    m_bof = m_eof = true;
    ++m_generation;
    m_inFlight = false;
    invalidateLookupCache();
    emitState();
    emitData();
    emitCurrent();
    if (hadLog) emitLog();
}

void TClientDataSet::refresh() {
    checkActive();
    fb::Value id;
    if (TField* f = findField(QStringLiteral("ID")); f && !isEmpty()) id = f->value();
    close();
    open();
    if (!id.isNull() && !locate(QStringLiteral("ID"), id)) first();
}

void TClientDataSet::setReadOnly(bool on) {
    if (m_readOnly && !on)
        for (const TRowPtr& r : m_all)
            if (r->original.empty()) r->original = r->values;
    m_readOnly = on;
}

void TClientDataSet::refreshRecord() {
    checkActive();
    if (isEditing() || m_cur < 0 || m_cur >= int(m_view.size())) return;
    TDataRow* row = m_view[size_t(m_cur)];
    if (m_log.find(row)) return;  // pending changes are the user's: keep them
    TField* idField = findField(QStringLiteral("ID"));
    if (!idField || idField->isNull()) return;
    QString table = tableName();
    if (table.startsWith(QLatin1Char('"')) && table.endsWith(QLatin1Char('"'))) table = table.mid(1, table.size() - 2);
    std::vector<TField*> fields;
    QStringList names;
    for (const auto& f : m_fields) {
        if (f->kind() != TFieldKind::Data || f->origin().compare(table, Qt::CaseInsensitive) != 0) continue;
        fields.push_back(f.get());
        names << (m_quoteIdentifiers ? sqltext::quoteIdentifier(f->name()) : f->name());
    }
    if (fields.empty()) return;
    fb::Transaction tra(attachment());
    fb::Statement st(tra, QStringLiteral("SELECT ") + names.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") +
                              (m_quoteIdentifiers ? sqltext::quoteIdentifier(table) : table) +
                              QStringLiteral(" WHERE ID = ?"));
    st.set(0, idField->value());
    st.execute();
    if (!st.fetch()) return;
    for (size_t i = 0; i < fields.size(); ++i) {
        const size_t k = size_t(fields[i]->index());
        row->values[k] = st.value(int(i));
        if (k < row->original.size()) row->original[k] = row->values[k];
    }
    while (st.fetch()) {}
    tra.commit();
    calculate(row->values);
    invalidateLookupCache();
    emitRow(m_cur);
    emitData();
}

void TClientDataSet::checkActive() const {
    if (!isActive()) throw EDatabaseError(QStringLiteral("Набор данных ") + objectName() + QStringLiteral(" закрыт"));
}

void TClientDataSet::checkCanModify() const {
    checkActive();
    if (m_readOnly)
        throw EDatabaseError(QStringLiteral("Набор данных ") + objectName() + QStringLiteral(" доступен только для чтения"));
}

// ---------------------------------------------------------------------------
// order and filter

void TClientDataSet::resolveSort() {
    std::vector<TSortKey> keys;
    if (!m_indexFieldNames.isEmpty()) {
        for (const QString& n : m_indexFieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            TField& f = fieldByName(n.trimmed());
            keys.push_back({f.index(), false});
        }
    } else if (!m_keepServerOrder) {
        const auto items = sqltext::orderBy(m_query->sql());
        if (items.empty()) {
            if (TField* id = findField(QStringLiteral("ID"))) keys.push_back({id->index(), false});
        }
        for (const auto& item : items) {
            int idx = -1;
            if (item.position > 0) {
                for (size_t i = 0; i < m_fieldColumn.size(); ++i)
                    if (m_fieldColumn[i] == item.position - 1) idx = int(i);
            } else if (TField* f = findField(item.column)) {
                idx = f->index();
            }
            if (idx >= 0) keys.push_back({idx, item.descending});
        }
    }
    m_sort = TSortIndex(std::move(keys));
}

QStringList TClientDataSet::sortFields() const {
    QStringList out;
    for (const auto& k : m_sort.keys()) out << m_fields[size_t(k.field)]->name();
    return out;
}

void TClientDataSet::setIndexFieldNames(const QString& names) {
    if (isActive()) checkBrowseMode();
    m_indexFieldNames = names.trimmed();
    if (!isActive()) return;
    const TDataRow* keep = m_cur >= 0 ? m_view[size_t(m_cur)] : nullptr;
    resolveSort();
    rebuildView();
    placeCursorOn(keep, 0);
    emitData();
    emitCurrent();
}

void TClientDataSet::orderView() const {
    if (!m_viewUnordered) return;
    auto* self = const_cast<TClientDataSet*>(this);
    const TDataRow* cur = m_cur >= 0 && m_cur < int(m_view.size()) ? m_view[size_t(m_cur)] : nullptr;
    const TDataRow* inserting = m_insertRow.get();
    self->rebuildView();
    if (inserting) self->m_view.push_back(const_cast<TDataRow*>(inserting));
    self->placeCursorOn(cur, m_cur);
}

void TClientDataSet::rebuildView() {
    m_viewUnordered = false;
    m_view.clear();
    m_view.reserve(m_all.size());
    for (const auto& r : m_all)
        if (passesFilter(*r)) m_view.push_back(r.get());
    m_sort.sort(m_view);
}

bool TClientDataSet::passesFilter(const TDataRow& row) const {
    if (!m_filtered || m_filterFieldName.isEmpty()) return true;
    const int i = m_fieldIndex.value(m_filterFieldName, -1);
    if (i < 0) return true;
    const fb::Value& v = row.values[size_t(i)];
    return !v.isNull() && compareValues(v, m_filterValue) == 0;
}

void TClientDataSet::setFilter(const QString& expression) {
    static const QRegularExpression re(QStringLiteral("^\\s*\"?([A-Za-z_][A-Za-z0-9_$]*)\"?\\s*=\\s*(.+?)\\s*$"));
    QString name;
    fb::Value value;
    if (!expression.trimmed().isEmpty()) {
        const auto m = re.match(expression);
        if (!m.hasMatch())
            throw EDatabaseError(QStringLiteral("Неверное выражение фильтра: ") + expression);
        name = m.captured(1).toUpper();
        const QString text = m.captured(2);
        if (text.size() >= 2 && text.startsWith(QLatin1Char('\'')) && text.endsWith(QLatin1Char('\''))) {
            value = fb::Value(text.mid(1, text.size() - 2).replace(QStringLiteral("''"), QStringLiteral("'")));
        } else if (auto d = fb::Decimal::parse(text)) {
            value = fb::Value(*d);
        } else {
            throw EDatabaseError(QStringLiteral("Неверное выражение фильтра: ") + expression);
        }
    }
    if (isActive()) checkBrowseMode();
    m_filterText = expression;
    m_filterFieldName = name;
    m_filterValue = value;
    if (isActive() && m_filtered) setFiltered(true);
}

void TClientDataSet::setFiltered(bool on) {
    if (isActive()) {
        checkBrowseMode();
        if (on && !m_filterFieldName.isEmpty()) fieldByName(m_filterFieldName);
    }
    m_filtered = on;
    if (!isActive()) return;
    rebuildView();
    m_cur = m_view.empty() ? -1 : 0;
    m_bof = true;
    m_eof = m_view.empty();
    emitData();
    emitCurrent();
    if (m_afterScroll) m_afterScroll(*this);
}

// ---------------------------------------------------------------------------
// navigation

void TClientDataSet::moveTo(int target, bool bof, bool eof) {
    const int n = int(m_view.size());
    const int old = m_cur;
    m_cur = n == 0 ? -1 : std::clamp(target, 0, n - 1);
    m_bof = bof || n == 0;
    m_eof = eof || n == 0;
    if (m_cur != old) {
        emitCurrent();
        if (m_afterScroll) m_afterScroll(*this);
    }
}

void TClientDataSet::placeCursorOn(const TDataRow* row, int fallback) {
    int idx = -1;
    if (row) {
        const auto it = std::find(m_view.begin(), m_view.end(), row);
        if (it != m_view.end()) idx = int(it - m_view.begin());
    }
    if (idx < 0) idx = m_view.empty() ? -1 : std::clamp(fallback, 0, int(m_view.size()) - 1);
    m_cur = idx;
    m_bof = m_eof = m_view.empty();
}

void TClientDataSet::first() {
    orderView();
    checkActive();
    checkBrowseMode();
    moveTo(0, true, false);
}

void TClientDataSet::last() {
    orderView();
    checkActive();
    checkBrowseMode();
    moveTo(int(m_view.size()) - 1, false, true);
}

void TClientDataSet::next() {
    orderView();
    checkActive();
    checkBrowseMode();
    if (m_cur >= 0 && m_cur < int(m_view.size()) - 1) moveTo(m_cur + 1, false, false);
    else m_eof = true;
}

void TClientDataSet::prior() {
    orderView();
    checkActive();
    checkBrowseMode();
    if (m_cur > 0) moveTo(m_cur - 1, false, false);
    else m_bof = true;
}

void TClientDataSet::setRecNo(int row) {
    orderView();
    checkActive();
    if (row == m_cur) return;
    checkBrowseMode();
    moveTo(row, false, false);
}

bool TClientDataSet::locate(const QString& fieldName, const fb::Value& value) {
    return locate(QStringList{fieldName}, {value});
}

bool TClientDataSet::locate(const QStringList& fieldNames, const std::vector<fb::Value>& values) {
    orderView();
    checkActive();
    checkBrowseMode();
    std::vector<int> idx;
    for (const QString& n : fieldNames) idx.push_back(fieldByName(n).index());
    for (size_t r = 0; r < m_view.size(); ++r) {
        ReadScope scope(*this, &m_view[r]->values);
        bool match = true;
        for (size_t k = 0; k < idx.size() && match; ++k) {
            const fb::Value v = m_fields[size_t(idx[k])]->value();
            const fb::Value& want = k < values.size() ? values[k] : fb::Value();
            match = (v.isNull() && want.isNull()) || (!v.isNull() && v == want);
        }
        if (match) {
            moveTo(int(r), false, false);
            return true;
        }
    }
    return false;
}

fb::Value TClientDataSet::lookup(const QString& keyField, const fb::Value& key, const QString& resultField) const {
    if (!isActive() || key.isNull()) return {};
    TField* kf = findField(keyField);
    TField* rf = findField(resultField);
    if (!kf || !rf) return {};
    auto& cache = m_lookupCache[kf->name()];
    if (cache.isEmpty()) {
        for (auto it = m_all.rbegin(); it != m_all.rend(); ++it) {
            const fb::Value& v = (*it)->values[size_t(kf->index())];
            if (!v.isNull()) cache.insert(keyText(v), it->get());
        }
    }
    const auto hit = cache.constFind(keyText(key));
    if (hit == cache.constEnd()) return {};
    ReadScope scope(*this, &hit.value()->values);
    return rf->value();
}

void TClientDataSet::findNearest(const std::vector<fb::Value>& values) {
    orderView();
    checkActive();
    checkBrowseMode();
    if (!m_sort.isActive())
        throw EDatabaseError(QStringLiteral("Набор данных ") + objectName() + QStringLiteral(" не упорядочен"));
    std::vector<fb::Value> key;
    const auto& keys = m_sort.keys();
    for (size_t i = 0; i < values.size() && i < keys.size(); ++i)
        key.push_back(m_fields[size_t(keys[i].field)]->convert(values[i]));
    int lo = 0, hi = int(m_view.size());
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (m_sort.compareWithKey(m_view[size_t(mid)]->values, key) < 0) lo = mid + 1;
        else hi = mid;
    }
    moveTo(std::min(lo, int(m_view.size()) - 1), false, false);
}

// ---------------------------------------------------------------------------
// field values

const std::vector<fb::Value>* TClientDataSet::activeBuffer() const {
    if (m_calcBuf) return m_calcBuf;
    if (m_readOverride) return m_readOverride;
    if (isEditing()) return &m_editBuf;
    if (m_cur >= 0 && m_cur < int(m_view.size())) return &m_view[size_t(m_cur)]->values;
    return nullptr;
}

fb::Value TClientDataSet::fieldValue(const TField& f) const {
    if (f.kind() == TFieldKind::Lookup) return lookupFieldValue(f);
    const auto* buf = activeBuffer();
    if (!buf || f.index() >= int(buf->size())) return {};
    return (*buf)[size_t(f.index())];
}

fb::Value TClientDataSet::lookupFieldValue(const TField& f) const {
    const auto& d = f.lookup();
    if (!d.dataSet) return {};
    TField* key = findField(d.keyField);
    if (!key) return {};
    const fb::Value k = key->value();
    if (k.isNull()) return {};
    return d.dataSet->lookup(d.lookupKeyField, k, d.resultField);
}

void TClientDataSet::setFieldValue(TField& f, const fb::Value& v) {
    const auto refuse = [&] {
        return EDatabaseError(QStringLiteral("Поле '") + f.displayLabel() + QStringLiteral("' нельзя изменить"));
    };
    if (f.kind() == TFieldKind::Calculated) {
        if (!m_calcBuf) throw refuse();
        (*m_calcBuf)[size_t(f.index())] = f.convert(v);
        return;
    }
    if (f.isReadOnly() || m_calcBuf) throw refuse();
    if (!isEditing())
        throw EDatabaseError(QStringLiteral("Набор данных ") + objectName() +
                             QStringLiteral(" не в режиме редактирования"));
    const fb::Value nv = f.convert(v);
    m_editBuf[size_t(f.index())] = nv;
    m_modified = true;
    calculate(m_editBuf);
    // Runs after every assignment, also of an equal value; it may assign other
    // fields, whose handlers run in turn before this call returns.
    const TField::ChangeHandler handler = f.onChange();
    if (handler) handler(f);
    emitRow(m_cur);
}

void TClientDataSet::calculate(std::vector<fb::Value>& values) {
    if (!m_onCalcFields) return;
    bool any = false;
    for (const auto& f : m_fields)
        if (f->kind() == TFieldKind::Calculated) {
            values[size_t(f->index())] = fb::Value();
            any = true;
        }
    if (!any) return;
    std::vector<fb::Value>* saved = m_calcBuf;
    m_calcBuf = &values;
    try {
        m_onCalcFields(*this);
    } catch (...) {
        m_calcBuf = saved;
        throw;
    }
    m_calcBuf = saved;
}

fb::Value TClientDataSet::valueAt(int row, int fieldIndex) const {
    orderView();
    if (row < 0 || row >= int(m_view.size()) || fieldIndex < 0 || fieldIndex >= int(m_fields.size())) return {};
    const auto* buf = (row == m_cur && isEditing()) ? &m_editBuf : &m_view[size_t(row)]->values;
    ReadScope scope(*this, buf);
    return m_fields[size_t(fieldIndex)]->value();
}

QString TClientDataSet::displayTextAt(int row, int fieldIndex) const {
    orderView();
    if (row < 0 || row >= int(m_view.size()) || fieldIndex < 0 || fieldIndex >= int(m_fields.size())) return {};
    const auto* buf = (row == m_cur && isEditing()) ? &m_editBuf : &m_view[size_t(row)]->values;
    ReadScope scope(*this, buf);
    return m_fields[size_t(fieldIndex)]->displayText();
}

quint64 TClientDataSet::rowSerialAt(int row) const {
    orderView();
    if (row < 0 || row >= int(m_view.size())) return 0;
    return m_view[size_t(row)]->serial;
}

// ---------------------------------------------------------------------------
// editing

TRowPtr TClientDataSet::takeRow(const TDataRow* row) {
    auto it = std::find_if(m_all.begin(), m_all.end(), [&](const TRowPtr& r) { return r.get() == row; });
    if (it == m_all.end()) return nullptr;
    TRowPtr p = *it;
    m_all.erase(it);
    return p;
}

void TClientDataSet::putRow(const TRowPtr& row) {
    auto it = std::upper_bound(m_all.begin(), m_all.end(), row->order,
                               [](double o, const TRowPtr& r) { return o < r->order; });
    m_all.insert(it, row);
}

double TClientDataSet::orderBefore(const TDataRow* row) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto it = std::find_if(m_all.begin(), m_all.end(), [&](const TRowPtr& r) { return r.get() == row; });
        if (it == m_all.end()) break;
        const double after = row->order;
        const double before = it == m_all.begin() ? after - 1.0 : (*(it - 1))->order;
        const double mid = (before + after) / 2.0;
        if (mid > before && mid < after) return mid;
        for (size_t i = 0; i < m_all.size(); ++i) m_all[i]->order = double(i);  // no room left: renumber
    }
    return m_all.empty() ? 0.0 : m_all.back()->order + 1.0;
}

void TClientDataSet::startInsert(bool atEnd) {
    checkCanModify();
    checkBrowseMode();
    auto row = std::make_shared<TDataRow>();
    row->serial = m_nextSerial++;
    row->values.resize(m_fields.size());
    size_t pos;
    if (atEnd || m_view.empty() || m_cur < 0) {
        row->order = m_all.empty() ? 0.0 : m_all.back()->order + 1.0;
        pos = m_view.size();
    } else {
        row->order = orderBefore(m_view[size_t(m_cur)]);
        pos = size_t(m_cur);
    }
    m_editBuf = row->values;
    calculate(m_editBuf);
    m_insertRow = row;
    m_view.insert(m_view.begin() + long(pos), row.get());
    m_cur = int(pos);
    m_bof = m_eof = false;
    m_state = TDataSetState::Insert;
    m_modified = false;
    emitData();
    emitState();
    emitCurrent();
    if (m_afterInsert) m_afterInsert(*this);
}

void TClientDataSet::append() { startInsert(true); }

void TClientDataSet::insert() { startInsert(false); }

void TClientDataSet::edit() {
    checkCanModify();
    if (isEditing()) return;
    if (m_view.empty()) {
        append();
        return;
    }
    m_editBuf = m_view[size_t(m_cur)]->values;
    m_modified = false;
    m_state = TDataSetState::Edit;
    emitState();
    if (m_afterEdit) m_afterEdit(*this);
}

void TClientDataSet::updateRecord() {
    const auto links = m_links;
    for (TDataLink* l : links) l->updateData();
}

void TClientDataSet::checkBrowseMode() {
    if (!isEditing()) return;
    updateRecord();
    if (m_modified) post();
    else cancel();
}

void TClientDataSet::post() {
    checkActive();
    if (!isEditing()) return;
    updateRecord();
    if (m_beforePost) m_beforePost(*this);
    for (const auto& f : m_fields)
        if (f->kind() == TFieldKind::Data && f->isRequired() && m_editBuf[size_t(f->index())].isNull())
            throw EFieldRequired(f->displayLabel());

    TRowPtr row;
    if (m_state == TDataSetState::Insert) {
        row = m_insertRow;
        row->values = m_editBuf;
        ++row->version;
        putRow(row);
        m_log.recordInsert(row);
        m_insertRow.reset();
    } else {
        TDataRow* cur = m_view[size_t(m_cur)];
        bool changed = false;
        for (const auto& f : m_fields)
            if (f->kind() == TFieldKind::Data && !sameValue(cur->values[size_t(f->index())], m_editBuf[size_t(f->index())]))
                changed = true;
        cur->values = m_editBuf;
        const auto it = std::find_if(m_all.begin(), m_all.end(), [&](const TRowPtr& r) { return r.get() == cur; });
        if (it != m_all.end()) row = *it;
        if (changed && row) {
            ++row->version;
            m_log.recordModify(row);
        }
    }
    const int fallback = m_cur;
    m_state = TDataSetState::Browse;
    m_modified = false;
    m_editBuf.clear();
    if (m_disabled > 0 && row && passesFilter(*row)) {
        // Bulk work (an import) posts row after row with the controls disabled:
        // the row stays where it was put and the view is put in order once,
        // when it is next looked at in order.
        m_viewUnordered = true;
        m_cur = std::clamp(fallback, 0, int(m_view.size()) - 1);
        m_bof = m_eof = m_view.empty();
    } else {
        rebuildView();
        placeCursorOn(row.get(), fallback);
    }
    invalidateLookupCache();
    emitState();
    emitData();
    emitCurrent();
    emitLog();
    if (m_afterPost) m_afterPost(*this);
}

void TClientDataSet::cancel() {
    if (!isEditing()) return;
    const bool inserting = m_state == TDataSetState::Insert;
    if (inserting) {
        m_view.erase(std::remove(m_view.begin(), m_view.end(), m_insertRow.get()), m_view.end());
        m_insertRow.reset();
        m_cur = m_view.empty() ? -1 : std::min(m_cur, int(m_view.size()) - 1);
        m_bof = m_eof = m_view.empty();
    }
    m_editBuf.clear();
    m_modified = false;
    m_state = TDataSetState::Browse;
    emitState();
    if (inserting) {
        emitData();
        emitCurrent();
    } else {
        emitRow(m_cur);
    }
    if (m_afterCancel) m_afterCancel(*this);
}

void TClientDataSet::deleteRecord() {
    checkCanModify();
    if (m_state == TDataSetState::Insert) {
        cancel();
        return;
    }
    if (m_state == TDataSetState::Edit) cancel();
    if (m_view.empty())
        throw EDatabaseError(QStringLiteral("Невозможно выполнить операцию над пустым набором данных ") + objectName());
    if (m_beforeDelete) m_beforeDelete(*this);
    const int fallback = m_cur;
    TRowPtr row = takeRow(m_view[size_t(m_cur)]);
    ++row->version;
    m_log.recordDelete(row);
    rebuildView();
    placeCursorOn(nullptr, fallback);
    invalidateLookupCache();
    emitData();
    emitCurrent();
    emitLog();
    if (m_afterDelete) m_afterDelete(*this);
    if (m_afterScroll) m_afterScroll(*this);
}

TUpdateStatus TClientDataSet::updateStatus() const {
    if (m_cur < 0 || m_cur >= int(m_view.size())) return TUpdateStatus::Unmodified;
    const TChange* c = m_log.find(m_view[size_t(m_cur)]);
    if (!c) return TUpdateStatus::Unmodified;
    return c->kind == TChangeKind::Insert ? TUpdateStatus::Inserted : TUpdateStatus::Modified;
}

void TClientDataSet::cancelChangeOf(const TChange& change) {
    const TRowPtr row = change.row;
    const auto restoreLoaded = [&] {
        for (const auto& f : m_fields)
            if (f->kind() == TFieldKind::Data) row->values[size_t(f->index())] = row->original[size_t(f->index())];
        calculate(row->values);
        ++row->version;
    };
    switch (change.kind) {
    case TChangeKind::Insert: takeRow(row.get()); break;
    case TChangeKind::Modify: restoreLoaded(); break;
    case TChangeKind::Delete:
        restoreLoaded();
        putRow(row);
        break;
    }
    m_log.remove(row.get());
}

void TClientDataSet::afterRowsRestored(const TDataRow* keep) {
    const int fallback = m_cur;
    rebuildView();
    placeCursorOn(keep, fallback);
    invalidateLookupCache();
    emitData();
    emitCurrent();
    emitLog();
}

bool TClientDataSet::cancelChange(quint64 rowSerial) {
    if (!isActive()) return false;
    if (isEditing()) cancel();
    const TChange* c = m_log.findSerial(rowSerial);
    if (!c) return false;
    const TChange change = *c;
    const TDataRow* keep = m_cur >= 0 ? m_view[size_t(m_cur)] : nullptr;
    if (change.kind == TChangeKind::Insert && keep == change.row.get()) keep = nullptr;
    cancelChangeOf(change);
    afterRowsRestored(change.kind == TChangeKind::Delete ? change.row.get() : keep);
    return true;
}

bool TClientDataSet::revertRecord() {
    if (!isActive()) return false;
    if (isEditing()) cancel();
    if (m_cur < 0) return false;
    return cancelChange(m_view[size_t(m_cur)]->serial);
}

void TClientDataSet::cancelUpdates() {
    if (!isActive()) return;
    if (isEditing()) cancel();
    if (m_log.isEmpty()) return;
    const TDataRow* keep = m_cur >= 0 ? m_view[size_t(m_cur)] : nullptr;
    const auto entries = m_log.entries();
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
        if (it->kind == TChangeKind::Insert && keep == it->row.get()) keep = nullptr;
        cancelChangeOf(*it);
    }
    m_log.clear();
    afterRowsRestored(keep);
}

// ---------------------------------------------------------------------------
// apply

TUpdateResolver TClientDataSet::resolver() const {
    QString table = tableName();
    if (table.isEmpty())
        throw EDatabaseError(QStringLiteral("Не задана таблица для сохранения изменений набора данных ") + objectName());
    if (table.startsWith(QLatin1Char('"')) && table.endsWith(QLatin1Char('"'))) table = table.mid(1, table.size() - 2);
    // When the server names the table for none of the columns (a view, a
    // selectable procedure, expressions), every data field is taken as the
    // table's own; the statements then fail loudly if one is not.
    const bool anyFromTable = std::any_of(m_fields.begin(), m_fields.end(), [&](const auto& f) {
        return f->kind() == TFieldKind::Data && f->origin().compare(table, Qt::CaseInsensitive) == 0;
    });
    std::vector<TResolverColumn> columns;
    for (const auto& f : m_fields) {
        if (f->kind() != TFieldKind::Data) continue;
        bool send;
        if (f->inUpdateOverride()) send = *f->inUpdateOverride();
        else if (!anyFromTable) send = true;
        else send = f->origin().compare(table, Qt::CaseInsensitive) == 0;
        if (!send) continue;
        columns.push_back({f->index(), f->name(), comparable(f->type()),
                           f->type() == TFieldType::Decimal ? f->scale() : -1});
    }
    return TUpdateResolver(table, std::move(columns), m_quoteIdentifiers);
}

std::vector<TSentChange> TClientDataSet::snapshot(const TUpdateResolver& res) const {
    std::vector<TSentChange> batch;
    for (const auto& e : m_log.entries()) {
        TSentChange s{e.kind, e.row, e.row->version, {}, {}};
        if (e.kind != TChangeKind::Insert) s.oldValues = e.row->original;
        if (e.kind != TChangeKind::Delete) s.newValues = res.prepared(e.row->values);
        batch.push_back(std::move(s));
    }
    return batch;
}

void TClientDataSet::send(fb::Transaction& tra, const std::vector<TSentChange>& batch, const TUpdateResolver& res,
                          int& failed, QString& failedSql) {
    for (size_t i = 0; i < batch.size(); ++i) {
        failed = int(i);
        const TResolverSql sql = res.statementFor(batch[i]);
        failedSql = sql.text;
        if (sql.text.isEmpty()) continue;
        TUpdateResolver::execute(tra, sql);
    }
    failed = -1;
    failedSql.clear();
}

void TClientDataSet::markApplied(const std::vector<TSentChange>& batch) {
    QSet<const TDataRow*> done;
    for (const auto& s : batch) {
        const TChange* e = m_log.find(s.row.get());
        if (s.kind == TChangeKind::Delete) {
            if (e && e->kind == TChangeKind::Delete) done.insert(s.row.get());
            continue;
        }
        // The database now holds the sent values: later statements find the row by them.
        s.row->original = s.newValues;
        if (!e || e->kind == TChangeKind::Delete) continue;
        if (s.row->version == s.version) done.insert(s.row.get());
        else m_log.setKind(s.row.get(), TChangeKind::Modify);  // changed again after sending
    }
    m_log.removeRows(done);
    emitLog();
}

void TClientDataSet::reportApplyFailure(const std::vector<TSentChange>& batch, int failed, const QString& sql,
                                        std::exception_ptr error, bool callHandler) {
    m_lastApplyError = errorMessage(error);
    m_lastApplyException = error;
    if (batch.empty()) return;
    TApplyFailure f;
    f.message = m_lastApplyError;
    f.error = error;
    f.sql = sql;
    if (failed < 0) {
        // Refused at commit (or before any statement): the whole batch failed, not one change of it.
        f.wholeBatch = true;
    } else {
        const TSentChange& s = batch[size_t(failed)];
        f.kind = s.kind;
        f.rowSerial = s.row->serial;
        if (TField* id = findField(QStringLiteral("ID")))
            f.key = s.kind == TChangeKind::Delete ? s.oldValues[size_t(id->index())]
                                                  : s.row->values[size_t(id->index())];
    }
    if (callHandler && m_onReconcile) {
        if (m_onReconcile(*this, f) == TReconcileAction::Cancel) {
            if (f.wholeBatch) cancelUpdates();
            else cancelChange(f.rowSerial);
        }
    }
}

int TClientDataSet::applyUpdates() {
    m_lastApplyError.clear();
    m_lastApplyException = nullptr;
    if (!isActive()) return 0;
    checkBrowseMode();
    if (m_log.isEmpty()) return 0;
    if (m_inFlight)
        throw EDatabaseError(QStringLiteral("Изменения набора данных ") + objectName() +
                             QStringLiteral(" уже переданы в незавершённой транзакции"));
    std::vector<TSentChange> batch;
    int failed = -1;
    QString sql;
    for (int attempt = 1;; ++attempt) {
        batch.clear();
        failed = -1;
        sql.clear();
        try {
            const TUpdateResolver res = resolver();
            batch = snapshot(res);
            fb::Transaction tra(attachment());
            send(tra, batch, res, failed, sql);
            tra.commit();
            break;
        } catch (...) {
            // the transaction has been rolled back by its destructor: nothing of this apply remains
            std::exception_ptr error = std::current_exception();
            if (isUpdateConflict(error)) {
                if (std::exception_ptr held = heldByAnother(attachment(), error)) {
                    error = held;
                } else if (attempt < kSaveAttempts) {
                    pauseBeforeRetry(attempt);
                    continue;
                }
            }
            if (batch.empty()) batch = snapshot(TUpdateResolver(QString(), {}, false));
            reportApplyFailure(batch, failed, sql, error, true);
            return 1;
        }
    }
    markApplied(batch);
    return 0;
}

void TClientDataSet::applyUpdates(fb::Transaction& tra) {
    m_lastApplyError.clear();
    m_lastApplyException = nullptr;
    if (!isActive()) return;
    checkBrowseMode();
    if (m_log.isEmpty()) return;
    if (m_inFlight)
        throw EDatabaseError(QStringLiteral("Изменения набора данных ") + objectName() +
                             QStringLiteral(" уже переданы в незавершённой транзакции"));
    const TUpdateResolver res = resolver();
    const std::vector<TSentChange> batch = snapshot(res);
    int failed = -1;
    QString sql;
    // A savepoint keeps a failed dataset from leaving half its changes in the
    // caller's transaction, even if the caller went on to commit.
    fb::exec(tra, QStringLiteral("SAVEPOINT OBRIX_APPLY"));
    try {
        send(tra, batch, res, failed, sql);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        try {
            fb::exec(tra, QStringLiteral("ROLLBACK TO SAVEPOINT OBRIX_APPLY"));
        } catch (...) {
        }
        reportApplyFailure(batch, failed, sql, error, false);
        throw;
    }
    fb::exec(tra, QStringLiteral("RELEASE SAVEPOINT OBRIX_APPLY"));
    m_inFlight = true;
    const std::weak_ptr<int> alive = m_alive;
    const quint64 generation = m_generation;
    tra.onCommit([this, alive, generation, batch] {
        if (alive.expired()) return;
        m_inFlight = false;
        if (generation == m_generation) markApplied(batch);
    });
    tra.onRollback([this, alive] {
        if (!alive.expired()) m_inFlight = false;
    });
}

// ---------------------------------------------------------------------------
// notifications

void TClientDataSet::disableControls() { ++m_disabled; }

void TClientDataSet::enableControls() {
    if (m_disabled == 0) return;
    if (--m_disabled == 0) {
        orderView();
        emit stateChanged();
        emit dataChanged();
        emit currentChanged();
    }
}

void TClientDataSet::addDataLink(TDataLink* link) {
    if (std::find(m_links.begin(), m_links.end(), link) == m_links.end()) m_links.push_back(link);
}

void TClientDataSet::removeDataLink(TDataLink* link) {
    m_links.erase(std::remove(m_links.begin(), m_links.end(), link), m_links.end());
}

void TClientDataSet::emitState() {
    if (!m_disabled) emit stateChanged();
}

void TClientDataSet::emitData() {
    if (!m_disabled) emit dataChanged();
}

void TClientDataSet::emitCurrent() {
    if (!m_disabled) emit currentChanged();
}

void TClientDataSet::emitRow(int row) {
    if (!m_disabled && row >= 0) emit rowChanged(row);
}

void TClientDataSet::emitLog() { emit changeLogChanged(); }
