#pragma once
// Exchange of a reference book's rows with delimited text files: Windows-1251,
// no header, one line per row ended by CR LF, values joined by a one-character
// separator without quoting, numbers and dates in the workstation's forms,
// NULL as an empty value. Rows read from a file are appended to a client
// dataset in memory and stored all together or not at all.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <vector>

class TClientDataSet;
namespace fb {
class Attachment;
}

namespace books::csv {

// A refusal of the exchange (a file, a line, a value); the text is for the user.
class ECsvError : public std::runtime_error {
public:
    explicit ECsvError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Every data column of an open dataset, in its order.
QList<int> AllColumns(const TClientDataSet& ds);
// The data columns left out of the selection, in the dataset's order.
QList<int> AvailableColumns(const TClientDataSet& ds, const QList<int>& selection);
// The selection as the dialogs show it: each column name followed by "; ".
QString SelectionText(const TClientDataSet& ds, const QList<int>& columns);
// Refuses an empty separator (the dialogs' message).
void CheckSeparator(const QString& separator);

// Asked when a value holds the separator: the row's ordinal (from 1) and the
// value; false stops the export.
using SeparatorQuestion = std::function<bool(int ordinal, const QString& value)>;
// Called after each row or line with the number done so far.
using Progress = std::function<void(int done)>;

// The lines of every row of `ds` (first to last). Empty optional-like result:
// `stopped` when the question was answered No. A value that Windows-1251
// cannot hold is refused with its row and column before anything is written.
struct ExportLines {
    QStringList lines;
    bool stopped = false;
};
ExportLines MakeLines(TClientDataSet& ds, const QList<int>& columns, const QString& separator,
                      const SeparatorQuestion& ask, const Progress& progress = {});
// The file's bytes: each line in Windows-1251 followed by CR LF.
QByteArray EncodeLines(const QStringList& lines);
// Writes the bytes beside the file and then puts them in its place, so that a
// failure leaves an existing file whole; the message names the file and the reason.
void WriteFileAtomically(const QString& path, const QByteArray& data);

// The lines of a file's bytes: CR, LF or CR LF end a line, a final break adds
// no line. Refuses bytes that are not Windows-1251 text (NUL and other control
// characters, UTF-8 with letters beyond ASCII), naming the line.
QStringList DecodeLines(const QByteArray& data, const QString& fileName);
QStringList ReadLines(const QString& path);
// The values of a line cut at every occurrence of the separator.
QStringList SplitValues(const QString& line, const QString& separator);

struct ImportPass {
    int rows = 0;
    bool idImported = false;  // ID is among the columns read
    qint64 maxId = 0;         // the largest ID read
};
// Appends one row per line to the open dataset, the j-th value into the j-th
// selected column, and posts it in memory. A line must hold exactly one value
// per selected column: a value holding the separator would otherwise shift the
// later ones into the wrong columns unnoticed. A value that does not convert, does not fit or a required value
// missing stops at that line with a message naming the file, the line and the
// column; the rows appended so far are then thrown away.
ImportPass AppendLines(TClientDataSet& ds, const QStringList& lines, const QList<int>& columns,
                       const QString& separator, const QString& fileName, const Progress& progress = {});

// Stores the pending rows of every dataset in one transaction. On a refusal
// nothing is stored, every dataset's pending rows are thrown away and the
// database's error is rethrown.
void ApplyAll(fb::Attachment& att, const std::vector<TClientDataSet*>& datasets);

// "SET GENERATOR <name> TO <value>;"
QString GeneratorStatement(const QString& generator, qint64 value);
// Moves the generator past `maxImported`: the larger of the key the procedure
// draws and `maxImported`. Returns the value set.
qint64 MoveGeneratorPast(fb::Attachment& att, const QString& idProc, const QString& generator,
                         qint64 maxImported);

}  // namespace books::csv
