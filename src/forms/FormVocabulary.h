#pragma once
// What the program supplies to each of its print forms: the variables it
// answers by name and the report datasets it binds with their fields. The
// designer offers these for insertion. The names come from the code that
// fills the forms (the receipt's and the stock document's variables, the
// reports' variables and statements), so the list follows the program.
#include <QString>
#include <QStringList>
#include <vector>

struct TfrVocabularyDataSet {
    QString name;        // "frdsReportP"
    QString caption;     // "Изделия заказа"
    QStringList fields;  // "PRODUCT_NAME", ...
};

struct TfrFormVocabulary {
    QString caption;                  // what the form is, "" for a form the program does not know
    QStringList variables;            // the names the program answers
    std::vector<TfrVocabularyDataSet> dataSets;
    bool known() const { return !caption.isEmpty(); }
};

// The vocabulary of a form by its file name ("Rep_Kvit_obuv.frf", a path or
// the name without ".frf"; letter case ignored). Unknown forms get an empty one.
TfrFormVocabulary frFormVocabulary(const QString& formFile);

// The file names of every form the program fills ("Rep_Kvit_obuv.frf", ...).
QStringList frKnownForms();

// Expressions the engine itself answers in any form: the date, the time, the
// page number, the page count, the line number of a data band.
QStringList frEngineVariables();

// The names of the columns a SELECT statement returns: the alias after AS,
// otherwise the column name without its table prefix.
QStringList frSelectColumns(const QString& sql);
