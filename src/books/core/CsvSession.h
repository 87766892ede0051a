#pragma once
// A book's export or import as one session, over the pieces of CsvExchange.h:
// the session reads the book's rows, the caller chooses the files, the
// columns and the separator, then one run does the whole exchange and
// returns what it did or what it refused and why. Nothing here shows
// anything: the window asks the user (through the callbacks), moves its
// progress bar and shows the outcome.
//
// A flat book has one file, its records; a tree book has two, its groups
// (without the root) and its records, always in that order.
#include "books/core/CsvExchange.h"
#include "data/ClientDataSet.h"

#include <QList>
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace fb {
class Attachment;
}
namespace books {
struct TreeBookConfig;
}

namespace books::csv {

// One file of an exchange: the dataset of the book's rows, the file and the
// columns chosen (every data column of the dataset until chosen otherwise).
struct CsvFile {
    std::unique_ptr<TClientDataSet> rows;
    QString path;
    QList<int> columns;
    // The procedure drawing the next key and the generator behind it, moved
    // past the imported keys; empty: the keys are left to the database.
    QString idProc;
    QString generator;
};

// What the progress window is told; every member may be left empty.
struct CsvProgress {
    std::function<void(int count)> start;  // a pass over `count` rows or lines begins
    Progress step;                         // rows or lines done so far in the pass
    std::function<void()> storing;         // every row goes to the database in one step
    std::function<void()> done;            // the passes are over, however they ended
};

// What a run did. The window shows `message`: Done and NotStored with an
// information box, Refused with a stop box; before the NotStored message it
// shows `error`, the database's refusal.
struct CsvOutcome {
    enum Kind {
        Done,       // the files are written, or the rows stored and the generators moved
        Stopped,    // the user answered No to the separator question: nothing written
        Refused,    // a file, a line or a value was refused: nothing stored; of an export's
                    // files, only those before the refused one are written
        NotStored,  // the database refused the rows: nothing stored, generators left alone
    };
    Kind kind = Done;
    QString message;
    std::exception_ptr error;
    std::vector<int> counts;  // lines written or rows added, per file
};

class CsvSession {
public:
    // A flat book: its records by the book's query (dataset cdsExport), read now.
    CsvSession(fb::Attachment& att, const QString& sql);
    // A tree book: its groups without the root (cdsExportG) and its records
    // (cdsExportR), each by ID, read now.
    CsvSession(fb::Attachment& att, const TreeBookConfig& config);
    CsvSession(const CsvSession&) = delete;
    CsvSession& operator=(const CsvSession&) = delete;
    ~CsvSession();

    bool isTree() const { return m_files.size() == 2; }
    std::vector<CsvFile>& files() { return m_files; }
    CsvFile& records() { return m_files.back(); }
    CsvFile& groups() { return m_files.front(); }  // a tree book's
    // What the dialog chose: the separator, and per file in the files' order
    // its path (trimmed) and its columns.
    void choose(const QString& separator, const QStringList& paths, const QList<QList<int>>& columns);

    QString separator = QStringLiteral(";");

protected:
    fb::Attachment& m_att;
    std::vector<CsvFile> m_files;
};

class CsvExportSession : public CsvSession {
public:
    using CsvSession::CsvSession;
    // The lines of every file, then the files written (each whole or not at
    // all). `ask` is asked for each value holding the separator.
    CsvOutcome run(const SeparatorQuestion& ask, const CsvProgress& progress = {});
};

class CsvImportSession : public CsvSession {
public:
    using CsvSession::CsvSession;
    // The book already holds rows: importing may meet them, so the window
    // asks before the files are chosen.
    bool bookHoldsRows() const;
    // Reads every file, checks and appends every line, stores the rows of all
    // files in one transaction, then moves the generators past the imported
    // keys. A refusal leaves the database and the datasets as they were.
    // Errors that are no refusal of the files (the connection, a generator)
    // are thrown.
    CsvOutcome run(const CsvProgress& progress = {});
};

}  // namespace books::csv
