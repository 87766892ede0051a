#include "fb/Statement.h"

#include "fb/Attachment.h"
#include "fb/FbStatus.h"
#include "fb/Transaction.h"

#include <cstring>
#include <stdexcept>

using namespace Firebird;

namespace fb {

namespace {

constexpr unsigned kWin1251 = 52;

// Replaces ":NAME" outside strings and comments by "?" and records the names.
QString parseNamedParams(const QString& sql, QStringList& names) {
    QString out;
    out.reserve(sql.size());
    const int n = int(sql.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = sql[i];
        if (c == '\'' || c == '"') {
            int j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            out += sql.mid(i, j - i + 1);
            i = j;
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            int j = sql.indexOf('\n', i);
            if (j < 0) j = n - 1;
            out += sql.mid(i, j - i + 1);
            i = j;
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            int j = sql.indexOf(QStringLiteral("*/"), i + 2);
            j = j < 0 ? n - 1 : j + 1;
            out += sql.mid(i, j - i + 1);
            i = j;
        } else if (c == '?') {
            names << QString();
            out += c;
        } else if (c == ':' && i + 1 < n && (sql[i + 1].isLetter() || sql[i + 1] == '_')) {
            int j = i + 1;
            while (j < n && (sql[j].isLetterOrNumber() || sql[j] == '_' || sql[j] == '$')) ++j;
            names << sql.mid(i + 1, j - i - 1).toUpper();
            out += '?';
            i = j - 1;
        } else {
            out += c;
        }
    }
    return out;
}

Column::Type columnType(unsigned t, int scale) {
    switch (t & ~1u) {
    case SQL_SHORT: return scale < 0 ? Column::Type::Decimal : Column::Type::SmallInt;
    case SQL_LONG: return scale < 0 ? Column::Type::Decimal : Column::Type::Integer;
    case SQL_INT64: return scale < 0 ? Column::Type::Decimal : Column::Type::BigInt;
    case SQL_TEXT: return Column::Type::Char;
    case SQL_VARYING: return Column::Type::VarChar;
    case SQL_TYPE_DATE: return Column::Type::Date;
    case SQL_TIMESTAMP: return Column::Type::Timestamp;
    case SQL_TYPE_TIME: return Column::Type::Time;
    case SQL_BLOB: return Column::Type::Blob;
    case SQL_DOUBLE: case SQL_FLOAT: return Column::Type::Decimal;
    default: return Column::Type::Other;
    }
}

qint64 pow10(int n) {
    qint64 r = 1;
    while (n-- > 0) r *= 10;
    return r;
}

}  // namespace

struct Statement::Impl {
    Transaction* tra = nullptr;
    IStatement* stmt = nullptr;
    IResultSet* rs = nullptr;
    IMessageMetadata* inMeta = nullptr;   // as the server describes the parameters
    IMessageMetadata* outMeta = nullptr;
    std::vector<unsigned char> outBuf;
    std::vector<Value> params;
    std::vector<bool> paramSet;
    unsigned type = 0;
    bool hasRow = false;

    ~Impl() {
        detail::Status st;
        if (rs) { rs->close(&st); if (st.failed()) { st.clear(); rs->release(); } }
        if (inMeta) inMeta->release();
        if (outMeta) outMeta->release();
        if (stmt) { stmt->free(&st); if (st.failed()) { st.clear(); stmt->release(); } }
    }

    // Builds the input message from the current values: each parameter travels as
    // the type of its value and the server converts it to the column's type.
    IMessageMetadata* buildInput(detail::Status& st, std::vector<unsigned char>& buf,
                                 std::vector<QByteArray>& texts) {
        const unsigned n = inMeta->getCount(&st);
        st.check();
        if (n == 0) return nullptr;
        IMetadataBuilder* b = inMeta->getBuilder(&st);
        st.check();
        // Released on every way out, also when a check or a text throws below.
        struct BuilderGuard {
            IMetadataBuilder*& b;
            ~BuilderGuard() { if (b) b->release(); }
        } guard{b};
        texts.resize(n);
        for (unsigned i = 0; i < n; ++i) {
            const Value& v = params[i];
            switch (v.kind()) {
            case Value::Kind::Null: {
                const unsigned t = inMeta->getType(&st, i) | 1u;
                b->setType(&st, i, t);
                break;
            }
            case Value::Kind::Int:
                b->setType(&st, i, SQL_INT64 | 1); b->setScale(&st, i, 0); b->setLength(&st, i, 8);
                break;
            case Value::Kind::Dec:
                b->setType(&st, i, SQL_INT64 | 1); b->setScale(&st, i, -4); b->setLength(&st, i, 8);
                break;
            case Value::Kind::Date:
                b->setType(&st, i, SQL_TYPE_DATE | 1); b->setLength(&st, i, sizeof(ISC_DATE));
                break;
            case Value::Kind::Timestamp:
                b->setType(&st, i, SQL_TIMESTAMP | 1); b->setLength(&st, i, sizeof(ISC_TIMESTAMP));
                break;
            case Value::Kind::Text:
                texts[i] = encodeWin1251(v.toString());
                if (texts[i].size() > kMaxTextParam)
                    throw std::invalid_argument(
                        QStringLiteral("Текст длиной %1 символов слишком длинный: в базу данных можно передать "
                                       "не более %2 символов.")
                            .arg(texts[i].size())
                            .arg(kMaxTextParam)
                            .toStdString());
                b->setType(&st, i, SQL_VARYING | 1);
                b->setCharSet(&st, i, kWin1251);
                b->setLength(&st, i, std::max<unsigned>(1, unsigned(texts[i].size())));
                break;
            }
            st.check();
        }
        IMessageMetadata* meta = b->getMetadata(&st);
        b->release();
        b = nullptr;
        st.check();
        buf.assign(meta->getMessageLength(&st), 0);
        IUtil* util = master()->getUtilInterface();
        for (unsigned i = 0; i < n; ++i) {
            const Value& v = params[i];
            unsigned char* p = buf.data() + meta->getOffset(&st, i);
            short* nul = reinterpret_cast<short*>(buf.data() + meta->getNullOffset(&st, i));
            *nul = v.isNull() ? -1 : 0;
            switch (v.kind()) {
            case Value::Kind::Null: break;
            case Value::Kind::Int: { qint64 x = v.toInt(); std::memcpy(p, &x, 8); break; }
            case Value::Kind::Dec: { qint64 x = v.toDecimal().units(); std::memcpy(p, &x, 8); break; }
            case Value::Kind::Date: {
                const QDate d = v.toDate();
                ISC_DATE x = util->encodeDate(d.year(), d.month(), d.day());
                std::memcpy(p, &x, sizeof x);
                break;
            }
            case Value::Kind::Timestamp: {
                const QDateTime dt = v.toDateTime();
                ISC_TIMESTAMP x;
                x.timestamp_date = util->encodeDate(dt.date().year(), dt.date().month(), dt.date().day());
                x.timestamp_time = util->encodeTime(dt.time().hour(), dt.time().minute(), dt.time().second(),
                                                    dt.time().msec() * 10);
                std::memcpy(p, &x, sizeof x);
                break;
            }
            case Value::Kind::Text: {
                const QByteArray& t = texts[i];
                const unsigned short len = static_cast<unsigned short>(t.size());
                std::memcpy(p, &len, 2);
                std::memcpy(p + 2, t.constData(), t.size());
                break;
            }
            }
        }
        st.check();
        return meta;
    }

    Value read(unsigned i) const {
        detail::Status st;
        const unsigned char* base = outBuf.data();
        const short nul = *reinterpret_cast<const short*>(base + outMeta->getNullOffset(&st, i));
        if (nul) return Value();
        const unsigned char* p = base + outMeta->getOffset(&st, i);
        const unsigned t = outMeta->getType(&st, i) & ~1u;
        const int scale = outMeta->getScale(&st, i);
        IUtil* util = master()->getUtilInterface();
        auto numeric = [&](qint64 x) -> Value {
            if (scale < 0) return Value(Decimal::fromScaled(x, -scale));
            if (scale > 0) return Value(x * pow10(scale));
            return Value(x);
        };
        switch (t) {
        case SQL_SHORT: { short x; std::memcpy(&x, p, 2); return numeric(x); }
        case SQL_LONG: { ISC_LONG x; std::memcpy(&x, p, 4); return numeric(x); }
        case SQL_INT64: { qint64 x; std::memcpy(&x, p, 8); return numeric(x); }
        case SQL_BOOLEAN: return Value(qint64(*p ? 1 : 0));
        case SQL_DOUBLE: { double x; std::memcpy(&x, p, 8); return Value(Decimal::fromUnits(qint64(x * 10000 + (x < 0 ? -0.5 : 0.5)))); }
        case SQL_FLOAT: { float x; std::memcpy(&x, p, 4); return Value(Decimal::fromUnits(qint64(double(x) * 10000 + (x < 0 ? -0.5 : 0.5)))); }
        case SQL_TEXT: {
            const unsigned len = outMeta->getLength(&st, i);
            return Value(decodeWin1251(QByteArray(reinterpret_cast<const char*>(p), int(len))));
        }
        case SQL_VARYING: {
            unsigned short len; std::memcpy(&len, p, 2);
            return Value(decodeWin1251(QByteArray(reinterpret_cast<const char*>(p + 2), len)));
        }
        case SQL_TYPE_DATE: {
            ISC_DATE x; std::memcpy(&x, p, sizeof x);
            unsigned y, m, d; util->decodeDate(x, &y, &m, &d);
            return Value(QDate(int(y), int(m), int(d)));
        }
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP x; std::memcpy(&x, p, sizeof x);
            unsigned y, m, d, hh, mm, ss, frac;
            util->decodeDate(x.timestamp_date, &y, &m, &d);
            util->decodeTime(x.timestamp_time, &hh, &mm, &ss, &frac);
            return Value(QDateTime(QDate(int(y), int(m), int(d)), QTime(int(hh), int(mm), int(ss), int(frac / 10))));
        }
        case SQL_TYPE_TIME: {
            ISC_TIME x; std::memcpy(&x, p, sizeof x);
            unsigned hh, mm, ss, frac; util->decodeTime(x, &hh, &mm, &ss, &frac);
            return Value(QTime(int(hh), int(mm), int(ss)).toString(QStringLiteral("hh:mm:ss")));
        }
        case SQL_BLOB: return readBlob(*reinterpret_cast<const ISC_QUAD*>(p));
        default:
            throw std::invalid_argument(QStringLiteral("Столбец %1 имеет тип %2, который программа не читает")
                                            .arg(i + 1)
                                            .arg(t)
                                            .toStdString());
        }
    }

    Value readBlob(const ISC_QUAD& id) const {
        detail::Status st;
        ISC_QUAD copy = id;
        IBlob* blob = tra->attachment().raw()->openBlob(&st, tra->raw(), &copy, 0, nullptr);
        st.check();
        QByteArray data;
        char chunk[8192];
        for (;;) {
            unsigned got = 0;
            const int rc = blob->getSegment(&st, sizeof chunk, chunk, &got);
            if (rc == IStatus::RESULT_OK || rc == IStatus::RESULT_SEGMENT) {
                data.append(chunk, int(got));
                continue;
            }
            if (rc == IStatus::RESULT_NO_DATA) break;
            // A read that failed part-way is an error, never a shorter text.
            DbError e = detail::toDbError(st.get());
            st.clear();
            blob->release();
            throw e;
        }
        blob->close(&st);
        if (st.failed()) { st.clear(); blob->release(); }
        return Value(decodeWin1251(data));
    }
};

Statement::Statement(Transaction& tra, const QString& sql) : d(std::make_unique<Impl>()) {
    d->tra = &tra;
    if (!tra.isActive()) throw DbError(QStringLiteral("Транзакция не активна"));
    m_sqlText = sql;
    const QString text = parseNamedParams(sql, m_paramNames);
    bool anyNamed = false;
    for (const auto& n : m_paramNames) anyNamed |= !n.isEmpty();
    if (!anyNamed) m_paramNames = QStringList(m_paramNames.size(), QString());
    detail::Status st;
    const QByteArray bytes = encodeWin1251(text);
    d->stmt = tra.attachment().raw()->prepare(&st, tra.raw(), 0, bytes.constData(), 3,
                                              IStatement::PREPARE_PREFETCH_METADATA);
    if (st.failed()) { d->stmt = nullptr; st.check(); }
    d->type = d->stmt->getType(&st);
    d->inMeta = d->stmt->getInputMetadata(&st);
    d->outMeta = d->stmt->getOutputMetadata(&st);
    st.check();
    const unsigned nIn = d->inMeta->getCount(&st);
    d->params.assign(nIn, Value());
    d->paramSet.assign(nIn, false);
    while (m_paramNames.size() < int(nIn)) m_paramNames << QString();
    m_isSelect = d->type == isc_info_sql_stmt_select || d->type == isc_info_sql_stmt_select_for_upd;
    const unsigned nOut = d->outMeta->getCount(&st);
    for (unsigned i = 0; i < nOut; ++i) {
        Column c;
        c.name = QString::fromUtf8(d->outMeta->getAlias(&st, i));
        if (c.name.isEmpty()) c.name = QString::fromUtf8(d->outMeta->getField(&st, i));
        c.relation = QString::fromUtf8(d->outMeta->getRelation(&st, i));
        c.scale = -d->outMeta->getScale(&st, i);
        c.type = columnType(d->outMeta->getType(&st, i), d->outMeta->getScale(&st, i));
        const unsigned t = d->outMeta->getType(&st, i) & ~1u;
        c.length = int(d->outMeta->getLength(&st, i));
        if (t == SQL_VARYING || t == SQL_TEXT) {
            // The length is in bytes; WIN1251 has one byte a character.
            const unsigned cs = d->outMeta->getCharSet(&st, i);
            if (cs == 4 /* UTF8 */) c.length /= 4;
            if (cs == 3 /* UNICODE_FSS */) c.length /= 3;
        }
        c.nullable = d->outMeta->isNullable(&st, i);
        m_columns.push_back(c);
    }
    st.check();
    d->outBuf.assign(d->outMeta->getMessageLength(&st), 0);
    st.check();
}

Statement::~Statement() = default;

int Statement::paramCount() const { return int(d->params.size()); }

void Statement::set(int index, const Value& v) {
    if (index < 0 || index >= int(d->params.size()))
        throw std::out_of_range("parameter index out of range");
    d->params[size_t(index)] = v;
    d->paramSet[size_t(index)] = true;
}

void Statement::set(const QString& name, const Value& v) {
    bool found = false;
    const QString up = name.toUpper();
    for (int i = 0; i < m_paramNames.size(); ++i) {
        if (m_paramNames[i] == up) { set(i, v); found = true; }
    }
    if (!found) throw std::invalid_argument(("unknown parameter " + name).toStdString());
}

void Statement::execute() {
    for (size_t i = 0; i < d->paramSet.size(); ++i) {
        if (d->paramSet[i]) continue;
        const QString name = m_paramNames.value(int(i));
        throw std::invalid_argument(
            (QStringLiteral("Не задано значение параметра %1").arg(i + 1) +
             (name.isEmpty() ? QString() : QStringLiteral(" (") + name + QLatin1Char(')')) +
             QStringLiteral(" запроса:\n") + m_sqlText.left(200))
                .toStdString());
    }
    detail::Status st;
    if (d->rs) {
        d->rs->close(&st);
        if (st.failed()) { st.clear(); d->rs->release(); }
        d->rs = nullptr;
    }
    std::vector<unsigned char> inBuf;
    std::vector<QByteArray> texts;
    IMessageMetadata* inMeta = d->buildInput(st, inBuf, texts);
    ITransaction* tra = d->tra->raw();
    if (m_isSelect) {
        d->rs = d->stmt->openCursor(&st, tra, inMeta, inMeta ? inBuf.data() : nullptr, d->outMeta, 0);
        if (inMeta) inMeta->release();
        if (st.failed()) { d->rs = nullptr; st.check(); }
        d->hasRow = false;
    } else {
        const bool hasOut = d->outMeta->getCount(&st) > 0;
        d->stmt->execute(&st, tra, inMeta, inMeta ? inBuf.data() : nullptr,
                         hasOut ? d->outMeta : nullptr, hasOut ? d->outBuf.data() : nullptr);
        if (inMeta) inMeta->release();
        st.check();
        d->hasRow = hasOut;
    }
}

bool Statement::fetch() {
    if (!d->rs) return false;
    detail::Status st;
    const int rc = d->rs->fetchNext(&st, d->outBuf.data());
    st.check();
    if (rc == IStatus::RESULT_OK) {
        d->hasRow = true;
        return true;
    }
    d->hasRow = false;
    d->rs->close(&st);
    if (st.failed()) { st.clear(); d->rs->release(); }
    d->rs = nullptr;
    return false;
}

int Statement::columnIndex(const QString& name) const {
    const QString up = name.toUpper();
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (m_columns[i].name.toUpper() == up) return int(i);
    return -1;
}

Value Statement::value(int index) const {
    if (index < 0 || index >= columnCount()) throw std::out_of_range("column index out of range");
    if (!d->hasRow) throw std::logic_error("no current row");
    return d->read(unsigned(index));
}

Value Statement::value(const QString& name) const {
    const int i = columnIndex(name);
    if (i < 0) throw std::invalid_argument(("unknown column " + name).toStdString());
    return value(i);
}

qint64 Statement::affectedRows() const {
    detail::Status st;
    const qint64 n = qint64(d->stmt->getAffectedRecords(&st));
    st.check();
    return n;
}

void exec(Transaction& tra, const QString& sql, const std::vector<Value>& params) {
    Statement s(tra, sql);
    for (size_t i = 0; i < params.size(); ++i) s.set(int(i), params[i]);
    s.execute();
}

Value scalar(Transaction& tra, const QString& sql, const std::vector<Value>& params) {
    Statement s(tra, sql);
    for (size_t i = 0; i < params.size(); ++i) s.set(int(i), params[i]);
    s.execute();
    if (s.isSelect()) {
        if (!s.fetch()) return Value();
        Value v = s.value(0);
        while (s.fetch()) {}
        return v;
    }
    return s.columnCount() > 0 ? s.value(0) : Value();
}

}  // namespace fb
