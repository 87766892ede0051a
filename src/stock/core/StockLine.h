#pragma once
// The stock line dialog's rules without a window: the prices a chosen goods
// brings into the line, and the fields a line needs before OK takes it.
#include <QString>
#include <QStringList>

class TClientDataSet;

// A chosen goods brings its prices into the line being edited: CENA from the
// goods' CENA, CENA_REALIZ from its CENA_PROD, as found in the goods list
// `tovar` (ID, CENA, CENA_PROD; the data module's goods lookup). A price the
// goods lacks, or a goods not in the list, gives 0. The line value rule
// recomputes the sums.
void PutGoodsPrices(TClientDataSet& moves, const TClientDataSet& tovar, int tovarId);

// The fields of the current line left empty among TOVAR_ID, KOLVO and CENA,
// in that order, by their labels (the field's name when it has none).
QStringList MissingLineFields(const TClientDataSet& moves);
// The warning OK shows for them: "Заполните поля:" and one field a line.
QString MissingLineFieldsText(const QStringList& missing);
