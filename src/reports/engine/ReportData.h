#pragma once
// Report datasets: a named dataset of the report (frdsReport, frdsReportP,
// frdsReportU) reads the rows of a program dataset where they are, one row at
// a time; nothing is copied.
#include "fb/Value.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// Rows a report can read.
class TfrDataSource {
public:
    virtual ~TfrDataSource() = default;
    virtual int rowCount() const = 0;
    virtual int fieldIndex(const QString& name) const = 0;  // -1 when there is no such field
    virtual fb::Value value(int row, int field) const = 0;
};

// Any dataset with recordCount(), findField(name)->index() and valueAt(row, field):
// the program's client datasets and queries, read in their list order.
template <class DataSet>
class TfrDataSetSource : public TfrDataSource {
public:
    explicit TfrDataSetSource(const DataSet& ds) : m_ds(&ds) {}
    int rowCount() const override { return m_ds->isActive() ? m_ds->recordCount() : 0; }
    int fieldIndex(const QString& name) const override {
        auto* f = m_ds->findField(name);
        return f ? f->index() : -1;
    }
    fb::Value value(int row, int field) const override { return m_ds->valueAt(row, field); }
private:
    const DataSet* m_ds;
};

// Rows held by the source itself (tests, fixed lists).
class TfrMemorySource : public TfrDataSource {
public:
    TfrMemorySource(QStringList fields, std::vector<std::vector<fb::Value>> rows)
        : m_fields(std::move(fields)), m_rows(std::move(rows)) {}
    int rowCount() const override { return int(m_rows.size()); }
    int fieldIndex(const QString& name) const override {
        for (int i = 0; i < m_fields.size(); ++i)
            if (m_fields[i].compare(name, Qt::CaseInsensitive) == 0) return i;
        return -1;
    }
    fb::Value value(int row, int field) const override { return m_rows.at(size_t(row)).at(size_t(field)); }
private:
    QStringList m_fields;
    std::vector<std::vector<fb::Value>> m_rows;
};

// A named report dataset; bands name it, the program binds it to its rows.
class TfrDBDataSet {
public:
    explicit TfrDBDataSet(const QString& name) : m_name(name) {}
    const QString& name() const { return m_name; }

    void setSource(std::shared_ptr<TfrDataSource> source) {
        m_source = std::move(source);
        m_fieldCache.clear();
    }
    template <class DataSet>
    void bind(const DataSet& ds) { setSource(std::make_shared<TfrDataSetSource<DataSet>>(ds)); }
    void unbind() { setSource(nullptr); }
    bool isBound() const { return m_source != nullptr; }

    int rowCount() const { return m_source ? m_source->rowCount() : 0; }
    int fieldIndex(const QString& name) const {
        if (!m_source) return -1;
        auto it = m_fieldCache.constFind(name);
        if (it != m_fieldCache.constEnd()) return *it;
        const int i = m_source->fieldIndex(name);
        m_fieldCache.insert(name, i);
        return i;
    }
    fb::Value value(int row, int field) const { return m_source ? m_source->value(row, field) : fb::Value(); }

    // The row the report stands on while it is laid out.
    int currentRow() const { return m_row; }
    void setCurrentRow(int row) { m_row = row; }

private:
    QString m_name;
    std::shared_ptr<TfrDataSource> m_source;
    mutable QHash<QString, int> m_fieldCache;
    int m_row = 0;
};
