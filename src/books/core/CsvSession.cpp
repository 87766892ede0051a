#include "books/core/CsvSession.h"

#include "books/core/BookRules.h"
#include "data/ClientDataSet.h"

namespace books::csv {

namespace {

std::unique_ptr<TClientDataSet> openRows(fb::Attachment& att, const char* name, const QString& sql) {
    auto ds = std::make_unique<TClientDataSet>(nullptr, QString::fromLatin1(name));
    ds->setAttachment(&att);
    ds->setCommandText(sql);
    ds->open();
    return ds;
}

CsvFile fileOf(std::unique_ptr<TClientDataSet> rows, const QString& idProc = {}, const QString& generator = {}) {
    CsvFile f;
    f.columns = AllColumns(*rows);
    f.rows = std::move(rows);
    f.idProc = idProc;
    f.generator = generator;
    return f;
}

QString groupsSql(const TreeBookConfig& c) {
    return QStringLiteral("SELECT *\nFROM\n%1\nWHERE PARENT_ID<>-1\nORDER BY ID").arg(c.groupTable);
}
QString recordsSql(const TreeBookConfig& c) {
    return QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(c.groupTable.chopped(2));
}
// The records' keys are drawn by GET_TOVAR_ID in every tree book that has a generator of its own.
QString recordIdProc(const TreeBookConfig& c) {
    return c.recordGenerator.isEmpty() ? QString() : QStringLiteral("GET_TOVAR_ID");
}

// "Сохранено строк: 2" for a flat book, groups and records for a tree book, each on a line of its own.
QString countsText(const QString& what, const std::vector<int>& counts) {
    if (counts.size() == 1) return QStringLiteral("\r%1 строк: %2").arg(what).arg(counts[0]);
    return QStringLiteral("\r%1 групп: %2\r%1 записей: %3").arg(what).arg(counts[0]).arg(counts[1]);
}

CsvOutcome refusedBy(const ECsvError& e) {
    CsvOutcome out;
    out.kind = CsvOutcome::Refused;
    out.message = e.message();
    return out;
}

// The passes as the progress window follows them: once a pass has started,
// `done` is told when they are over, however the run leaves.
class Passes {
public:
    explicit Passes(const CsvProgress& progress) : m_progress(progress) {}
    ~Passes() { end(); }
    Passes(const Passes&) = delete;
    Passes& operator=(const Passes&) = delete;
    void start(int count) {
        m_started = true;
        if (m_progress.start) m_progress.start(count);
    }
    void storing() {
        if (m_progress.storing) m_progress.storing();
    }
    void end() {
        if (m_started && m_progress.done) m_progress.done();
        m_started = false;
    }

private:
    const CsvProgress& m_progress;
    bool m_started = false;
};

}  // namespace

CsvSession::CsvSession(fb::Attachment& att, const QString& sql) : m_att(att) {
    m_files.push_back(fileOf(openRows(att, "cdsExport", sql)));
}

CsvSession::CsvSession(fb::Attachment& att, const TreeBookConfig& c) : m_att(att) {
    auto groups = openRows(att, "cdsExportG", groupsSql(c));
    auto records = openRows(att, "cdsExportR", recordsSql(c));
    m_files.push_back(fileOf(std::move(groups), c.groupIdProc, c.groupGenerator));
    m_files.push_back(fileOf(std::move(records), recordIdProc(c), c.recordGenerator));
}

CsvSession::~CsvSession() = default;

void CsvSession::choose(const QString& sep, const QStringList& paths, const QList<QList<int>>& columns) {
    separator = sep;
    for (size_t i = 0; i < m_files.size(); ++i) {
        m_files[i].path = paths.value(int(i)).trimmed();
        m_files[i].columns = columns.value(int(i));
    }
}

CsvOutcome CsvExportSession::run(const SeparatorQuestion& ask, const CsvProgress& progress) {
    CsvOutcome out;
    try {
        std::vector<QStringList> lines;
        {
            Passes passes(progress);
            for (CsvFile& f : m_files) {
                passes.start(f.rows->recordCount());
                ExportLines made = MakeLines(*f.rows, f.columns, separator, ask, progress.step);
                if (made.stopped) {
                    out.kind = CsvOutcome::Stopped;
                    return out;
                }
                lines.push_back(std::move(made.lines));
            }
        }
        for (size_t i = 0; i < m_files.size(); ++i) {
            WriteFileAtomically(m_files[i].path, EncodeLines(lines[i]));
            out.counts.push_back(int(lines[i].size()));
        }
    } catch (const ECsvError& e) {
        return refusedBy(e);
    }
    out.message = QStringLiteral("Экспорт содержимого справочника закончен.") + countsText(QStringLiteral("Сохранено"), out.counts);
    return out;
}

bool CsvImportSession::bookHoldsRows() const {
    for (const CsvFile& f : m_files)
        if (!f.rows->isEmpty()) return true;
    return false;
}

CsvOutcome CsvImportSession::run(const CsvProgress& progress) {
    CsvOutcome out;
    std::vector<ImportPass> imported;
    try {
        std::vector<QStringList> lines;
        for (const CsvFile& f : m_files) lines.push_back(ReadLines(f.path));
        Passes passes(progress);
        try {
            for (size_t i = 0; i < m_files.size(); ++i) {
                CsvFile& f = m_files[i];
                passes.start(int(lines[i].size()));
                imported.push_back(AppendLines(*f.rows, lines[i], f.columns, separator, f.path, progress.step));
            }
        } catch (...) {
            // A refused line of the records throws away the groups appended before them.
            for (CsvFile& f : m_files) f.rows->cancelUpdates();
            throw;
        }
        passes.storing();
        std::vector<TClientDataSet*> datasets;
        for (CsvFile& f : m_files) datasets.push_back(f.rows.get());
        try {
            // Groups and records are stored together: a record never lands without its group.
            ApplyAll(m_att, datasets);
        } catch (...) {
            passes.end();
            out.kind = CsvOutcome::NotStored;
            out.error = std::current_exception();
            out.message = isTree() ? QStringLiteral("При импорте произошли ошибки.\rДобавление отменено.")
                                   : QStringLiteral("При импорте произошли ошибки.\rДобавление строк отменено.");
            return out;
        }
    } catch (const ECsvError& e) {
        return refusedBy(e);
    }
    // The generators move past the stored keys, so that a new group or record gets a higher one.
    for (size_t i = 0; i < m_files.size(); ++i)
        if (imported[i].idImported && !m_files[i].generator.isEmpty())
            MoveGeneratorPast(m_att, m_files[i].idProc, m_files[i].generator, imported[i].maxId);
    for (const ImportPass& p : imported) out.counts.push_back(p.rows);
    out.message = QStringLiteral("Импорт в справочник закончен.") + countsText(QStringLiteral("Добавлено"), out.counts);
    return out;
}

}  // namespace books::csv
