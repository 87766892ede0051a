#include "books/core/CsvExchange.h"
#include "base/FileReplace.h"

#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "data/SaveRetry.h"
#include "data/StoredProc.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>

namespace books::csv {

namespace {

QString shortName(const QString& path) { return QFileInfo(path).fileName(); }

QString errorText(const std::exception& e) {
    if (auto* c = dynamic_cast<const EConvertError*>(&e)) return c->message();
    if (auto* c = dynamic_cast<const ECsvError*>(&e)) return c->message();
    return QString::fromUtf8(e.what());
}

bool isText(TFieldType t) { return t == TFieldType::Text || t == TFieldType::Memo || t == TFieldType::Other; }

// Bytes beyond ASCII that form valid UTF-8 sequences throughout: a file saved
// as UTF-8, which Windows-1251 would read as letters that were never typed.
bool looksLikeUtf8(const QByteArray& data) {
    bool high = false;
    for (char c : data)
        if (uchar(c) >= 0x80) { high = true; break; }
    if (!high) return false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString s = utf8.decode(data);
    return !utf8.hasError() && !s.contains(QChar::ReplacementCharacter);
}

}  // namespace

QList<int> AllColumns(const TClientDataSet& ds) {
    QList<int> l;
    for (int i = 0; i < ds.fieldCount(); ++i)
        if (ds.field(i).kind() == TFieldKind::Data) l << i;
    return l;
}

QList<int> AvailableColumns(const TClientDataSet& ds, const QList<int>& selection) {
    QList<int> available;
    for (int col : AllColumns(ds))
        if (!selection.contains(col)) available << col;
    return available;
}

QString SelectionText(const TClientDataSet& ds, const QList<int>& columns) {
    QString s;
    for (int c : columns) s += ds.field(c).name() + QStringLiteral("; ");
    return s;
}

void CheckSeparator(const QString& separator) {
    if (separator.isEmpty()) throw ECsvError(QStringLiteral("Введите символ-разделитель"));
}

ExportLines MakeLines(TClientDataSet& ds, const QList<int>& columns, const QString& separator,
                      const SeparatorQuestion& ask, const Progress& progress) {
    CheckSeparator(separator);
    ExportLines out;
    const int rows = ds.recordCount();
    out.lines.reserve(rows);
    for (int r = 0; r < rows; ++r) {
        QString line;
        for (int j = 0; j < columns.size(); ++j) {
            const TField& f = ds.field(columns[j]);
            const QString value = f.textOf(ds.valueAt(r, columns[j]));
            try {
                fb::encodeWin1251(value);
            } catch (const std::exception& e) {
                throw ECsvError(QStringLiteral("Строка %1, поле %2: %3").arg(r + 1).arg(f.name(), errorText(e)));
            }
            if (value.contains(separator) && ask && !ask(r + 1, value)) {
                out.lines.clear();
                out.stopped = true;
                return out;
            }
            line += value;
            if (j + 1 < columns.size()) line += separator;
        }
        out.lines << line;
        if (progress) progress(r + 1);
    }
    return out;
}

QByteArray EncodeLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& l : lines) {
        out += fb::encodeWin1251(l);
        out += "\r\n";
    }
    return out;
}

void WriteFileAtomically(const QString& path, const QByteArray& data) {
    QString reason;
    if (!WriteFileReplacing(path, data, reason))
        throw ECsvError(QStringLiteral("Не удалось записать файл %1.\r%2").arg(path, reason));
}

QStringList DecodeLines(const QByteArray& data, const QString& fileName) {
    if (looksLikeUtf8(data))
        throw ECsvError(QStringLiteral("Файл %1 записан не в кодировке Windows-1251 (похоже, в UTF-8).")
                            .arg(shortName(fileName)));
    int lineNo = 1;
    for (int i = 0; i < data.size(); ++i) {
        const uchar c = uchar(data[i]);
        if (c == '\n' || (c == '\r' && (i + 1 >= data.size() || data[i + 1] != '\n'))) ++lineNo;
        else if ((c < 0x20 && c != '\t' && c != '\r') || c == 0x7F || c == 0x98)
            throw ECsvError(QStringLiteral("Файл %1, строка %2: файл не является текстом в кодировке "
                                           "Windows-1251 (недопустимый байт %3).")
                                .arg(shortName(fileName))
                                .arg(lineNo)
                                .arg(int(c), 2, 16, QLatin1Char('0')));
    }
    const QString text = fb::decodeWin1251(data);
    QStringList lines;
    int start = 0;
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            lines << text.mid(start, i - start);
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n') ++i;
            start = i + 1;
        }
    }
    if (start < n) lines << text.mid(start);
    return lines;
}

QStringList ReadLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw ECsvError(QStringLiteral("Не удалось прочитать файл %1.\r%2").arg(path, f.errorString()));
    return DecodeLines(f.readAll(), path);
}

QStringList SplitValues(const QString& line, const QString& separator) {
    CheckSeparator(separator);
    return line.split(separator, Qt::KeepEmptyParts);
}

ImportPass AppendLines(TClientDataSet& ds, const QStringList& lines, const QList<int>& columns,
                       const QString& separator, const QString& fileName, const Progress& progress) {
    CheckSeparator(separator);
    ImportPass pass;
    const TField* idField = ds.findField(QStringLiteral("ID"));
    const int idCol = idField ? idField->index() : -1;
    pass.idImported = idCol >= 0 && columns.contains(idCol);
    ds.disableControls();
    try {
        for (int i = 0; i < lines.size(); ++i) {
            const QStringList values = SplitValues(lines[i], separator);
            if (values.size() != columns.size()) {
                QString where;
                if (values.size() < columns.size())
                    where = QStringLiteral(", поле ") + ds.field(columns[values.size()]).name();
                throw ECsvError(QStringLiteral("Файл %1, строка %2%3: значений в строке %4, а выбрано полей %5.")
                                    .arg(shortName(fileName))
                                    .arg(i + 1)
                                    .arg(where)
                                    .arg(values.size())
                                    .arg(columns.size()));
            }
            ds.append();
            for (int j = 0; j < columns.size(); ++j) {
                TField& f = ds.field(columns[j]);
                const QString& v = values[j];
                try {
                    if (v.isEmpty() && isText(f.type())) f.setValue(fb::Value(QStringLiteral("")));
                    else f.setAsString(v);
                } catch (const std::exception& e) {
                    throw ECsvError(QStringLiteral("Файл %1, строка %2, поле %3: %4")
                                        .arg(shortName(fileName))
                                        .arg(i + 1)
                                        .arg(f.name(), errorText(e)));
                }
            }
            for (int k = 0; k < ds.fieldCount(); ++k) {
                const TField& f = ds.field(k);
                if (f.kind() == TFieldKind::Data && (f.isRequired() || k == idCol) && f.isNull())
                    throw ECsvError(QStringLiteral("Файл %1, строка %2, поле %3: значение не задано.")
                                        .arg(shortName(fileName))
                                        .arg(i + 1)
                                        .arg(f.name()));
            }
            if (pass.idImported) pass.maxId = std::max(pass.maxId, qint64(idField->asLargeInt()));
            try {
                ds.post();
            } catch (const std::exception& e) {
                throw ECsvError(
                    QStringLiteral("Файл %1, строка %2: %3").arg(shortName(fileName)).arg(i + 1).arg(errorText(e)));
            }
            ++pass.rows;
            if (progress) progress(i + 1);
        }
    } catch (...) {
        if (ds.isEditing()) ds.cancel();
        ds.cancelUpdates();
        ds.enableControls();
        throw;
    }
    ds.enableControls();
    return pass;
}

void ApplyAll(fb::Attachment& att, const std::vector<TClientDataSet*>& datasets) {
    try {
        RunSaveTransaction(att, [&](fb::Transaction& tra) {
            for (TClientDataSet* ds : datasets)
                if (ds->updatesPending()) ds->applyUpdates(tra);
        });
    } catch (...) {
        for (TClientDataSet* ds : datasets) ds->cancelUpdates();
        throw;
    }
}

QString GeneratorStatement(const QString& generator, qint64 value) {
    return QStringLiteral("SET GENERATOR ") + generator + QStringLiteral(" TO ") + QString::number(value) +
           QStringLiteral(";");
}

qint64 MoveGeneratorPast(fb::Attachment& att, const QString& idProc, const QString& generator,
                         qint64 maxImported) {
    const qint64 drawn = executeProcedure(att, idProc).value(QStringLiteral("ID")).toInt();
    const qint64 value = std::max(drawn, maxImported);
    QString sql = GeneratorStatement(generator, value);
    sql.chop(1);  // the statement is sent alone, without its terminator
    att.executeImmediate(sql);
    return value;
}

}  // namespace books::csv
