#pragma once
// A table of print variables: a name and the text member of a record that
// holds its value. The receipt's and the stock document's variables use it.
#include <QLatin1String>
#include <QString>
#include <QStringList>

template <class Record>
struct TVariableEntry {
    const char* name;
    QString Record::*member;
};

// The value of the variable `name` in `record`; false when the table has no such name.
template <class Record, std::size_t N>
bool FindVariable(const Record& record, const TVariableEntry<Record> (&table)[N], const QString& name,
                  QString& value) {
    for (const TVariableEntry<Record>& e : table)
        if (name == QLatin1String(e.name)) {
            value = record.*(e.member);
            return true;
        }
    return false;
}

template <class Record, std::size_t N>
QStringList VariableNames(const TVariableEntry<Record> (&table)[N]) {
    QStringList out;
    for (const TVariableEntry<Record>& e : table) out << QLatin1String(e.name);
    return out;
}
