#pragma once
// A report over one query: the form loaded, the query's rows as its main
// dataset, its variables set; a query without rows ends the report with a
// line that says so.
#include "reports/engine/ReportEngine.h"

#include <QPair>
#include <QString>
#include <QList>

inline constexpr const char* kNoDataText = "Нет данных для отчета";
// Appends the line kNoDataText at the end of the report's first page.
void AddNoDataLine(TfrTemplate& templ);

// On a loaded form: removes any value callback, makes `frds` the main dataset
// reading `ds` and sets the variables. When `ds` has no rows the report ends
// with the line kNoDataText instead of a bare page.
template <class DataSet, class Vars>
void BindQueryDataSet(TfrReport& rep, TfrDBDataSet& frds, const DataSet& ds, const Vars& vars) {
    if (ds.isEmpty()) AddNoDataLine(rep.templ());
    rep.clearOnGetValue();
    rep.addDataSet(&frds);
    rep.setDataSet(&frds);
    frds.bind(ds);
    rep.clearVariables();
    for (const auto& v : vars) rep.setVariable(v.first, v.second);
}

// Loads the form (the path without ".frf") and binds it as BindQueryDataSet does.
template <class DataSet, class Vars>
void BindQueryReport(TfrReport& rep, TfrDBDataSet& frds, const DataSet& ds, const QString& formPath, const Vars& vars) {
    rep.loadFromFile(formPath + QStringLiteral(".frf"));
    BindQueryDataSet(rep, frds, ds, vars);
}
