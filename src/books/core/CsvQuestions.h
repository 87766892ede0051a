#pragma once
// What the exchange windows ask and say, without a window: their captions,
// the files proposed, the checks of the files and separator typed, the
// questions before an export overwrites a file and before an import into a
// book that holds rows, the question about a value holding the separator, and
// how an outcome is shown. The windows ask through the message boxes and
// show what is returned here.
#include "books/core/CsvSession.h"

#include <QString>
#include <QStringList>

namespace books::csv {

// "Импорт справочника" / "Экспорт справочника".
QString ExchangeCaption(bool import);
// The caption of the dialog's OK button.
QString ExchangeButton(bool import);
// The label of a file: the single file of a flat book (`what` empty) or a
// tree book's "группы" / "записи".
QString FileLabel(bool import, const QString& what = {});
// The file proposed for an export: the book's file name beside the program.
QString ProposedExportPath(const QString& fileName);

// The dialog's OK for the files and separator typed: a warning that keeps
// the dialog open (the separator's own: focus goes there), or the questions
// to ask, in order, before existing files are overwritten (a No keeps the
// dialog open).
struct FilesCheck {
    QString warning;
    bool separatorMissing = false;
    QStringList overwriteQuestions;
};
FilesCheck CheckFiles(const QStringList& names, const QString& separator, bool import);

// Asked before an import into a book that holds rows.
QString NotEmptyQuestion();
// Asked when a value holds the separator; `ordinal` counts rows from 1.
QString SeparatorQuestionText(int ordinal, const QString& value);

// How a run's outcome is shown: nothing, an information box or a stop box.
// An import refused by the database shows that refusal first (`error`).
enum class OutcomeBox { None, Info, Stop };
OutcomeBox ExportOutcomeBox(const CsvOutcome& outcome);
OutcomeBox ImportOutcomeBox(const CsvOutcome& outcome);
// A tree book reads its rows again after an import the database did not
// refuse: a refused line leaves the database as it was, yet the book reads
// its rows again as after any error.
bool TreeBookRereads(const CsvOutcome& outcome);

}  // namespace books::csv
