#include "orders/core/WriteOff.h"

#include "data/DataErrors.h"

#include "data/ClientDataSet.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QHash>

namespace {

struct TExisting {
    int id = 0;
    bool open = false;
};

// The order's write-offs (lowest ID first) with the state of their periods.
std::vector<TExisting> existingWriteOffs(fb::Transaction& tra, int docuId) {
    std::vector<TExisting> out;
    fb::Statement st(tra, QStringLiteral("SELECT D.ID, R.ACT FROM DOCS D LEFT JOIN RPERIOD R ON R.ID = D.RPERIOD_ID "
                                         "WHERE D.DOCU_ID = ? AND D.KINDDOC_ID = ? ORDER BY D.ID"));
    st.set(0, docuId);
    st.set(1, kWriteOffKind);
    st.execute();
    while (st.fetch()) out.push_back({int(st.value(0).toInt()), st.value(1).toString() == QLatin1String("*")});
    return out;
}

bool periodOpen(fb::Transaction& tra, int rperiodId) {
    return fb::scalar(tra, QStringLiteral("SELECT ACT FROM RPERIOD WHERE ID = ?"), {rperiodId}).toString() ==
           QLatin1String("*");
}

void insertLines(fb::Transaction& tra, int docId, const std::vector<TWriteOffLine>& lines) {
    fb::Statement st(tra, QStringLiteral("INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA) VALUES (?, ?, ?, ?, ?)"));
    for (const TWriteOffLine& l : lines) {
        st.set(0, docId);
        st.set(1, l.tovarId);
        st.set(2, l.kolvo);
        st.set(3, l.cena);
        st.set(4, l.summa);
        st.execute();
    }
}

}  // namespace

fb::Decimal LineAmount(fb::Decimal cena, fb::Decimal kolvo) {
    return cena.timesRounded(kolvo, 2);
}

std::vector<TWriteOffLine> WriteOffLines(fb::Transaction& tra, const TClientDataSet& umoves) {
    std::vector<TWriteOffLine> out;
    if (!umoves.isActive() || umoves.isEmpty()) return out;
    const int col = umoves.fieldByName(QStringLiteral("USLUGA_ID")).index();
    QHash<qint64, std::vector<TWriteOffLine>> goodsOf;  // per service, read once
    std::unique_ptr<fb::Statement> st;
    for (int row = 0; row < umoves.recordCount(); ++row) {
        const fb::Value uslugaId = umoves.valueAt(row, col);
        if (uslugaId.isNull()) continue;
        const qint64 key = uslugaId.toInt();
        auto it = goodsOf.find(key);
        if (it == goodsOf.end()) {
            if (!st)
                st = std::make_unique<fb::Statement>(
                    tra, QStringLiteral("SELECT TOVAR_ID, KOLVO, CENA FROM USLTOV WHERE USLUGA_ID = ? ORDER BY TOVAR_ID"));
            std::vector<TWriteOffLine> goods;
            st->set(0, key);
            st->execute();
            while (st->fetch()) {
                TWriteOffLine l;
                l.tovarId = int(st->value(0).toInt());
                l.kolvo = st->value(1).toDecimal();
                l.cena = st->value(2).toDecimal();
                l.summa = LineAmount(l.cena, l.kolvo);
                goods.push_back(l);
            }
            it = goodsOf.insert(key, std::move(goods));
        }
        out.insert(out.end(), it->begin(), it->end());
    }
    return out;
}

TWriteOffResult SaveSoputTovar(fb::Transaction& tra, int docuId, const QDate& datep, int rperiodId,
                               const std::vector<TWriteOffLine>& lines) {
    const std::vector<TExisting> existing = existingWriteOffs(tra, docuId);
    for (const TExisting& e : existing)
        if (!e.open) return TWriteOffResult::Frozen;

    if (lines.empty()) {
        if (existing.empty()) return TWriteOffResult::None;
        for (const TExisting& e : existing) fb::exec(tra, QStringLiteral("DELETE FROM DOCS WHERE ID = ?"), {e.id});
        return TWriteOffResult::Removed;
    }
    if (!periodOpen(tra, rperiodId)) return TWriteOffResult::Frozen;

    fb::Decimal total;
    for (const TWriteOffLine& l : lines) total += l.summa;

    if (!existing.empty()) {
        // One write-off per order: extra ones (left by older saves) go.
        for (size_t i = 1; i < existing.size(); ++i)
            fb::exec(tra, QStringLiteral("DELETE FROM DOCS WHERE ID = ?"), {existing[i].id});
        const int docId = existing.front().id;
        fb::exec(tra, QStringLiteral("DELETE FROM MOVES WHERE DOC_ID = ?"), {docId});
        fb::exec(tra, QStringLiteral("UPDATE DOCS SET RPERIOD_ID = ?, DATEDOC = ?, SUMMA = ? WHERE ID = ?"),
                 {rperiodId, datep, total, docId});
        insertLines(tra, docId, lines);
        return TWriteOffResult::Rewritten;
    }

    const int docId = int(fb::scalar(tra, QStringLiteral("SELECT ID FROM GET_DOCS_ID")).toInt());
    // The database draws the number (greatest + 1) as the row is stored.
    const fb::Value max = fb::scalar(tra, QStringLiteral("SELECT MAXNUM FROM GET_MAX_DOCS_NUMBER"));
    if (!max.isNull() && max.toInt() >= kMaxWriteOffNumber)
        throw EDatabaseError(QStringLiteral("Номера складских документов исчерпаны: следующий номер списания больше "
                                            "наибольшего допустимого (%1). Исправьте слишком большой номер, "
                                            "введённый вручную.")
                                 .arg(kMaxWriteOffNumber));
    fb::exec(tra,
             QStringLiteral("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA, COMMENT, DOCU_ID) "
                            "VALUES (?, ?, ?, ?, ?, ?, ?, ?)"),
             {docId, kWriteOffKind, rperiodId, datep, fb::Value(), total, QString(), docuId});
    insertLines(tra, docId, lines);
    return TWriteOffResult::Created;
}

TWriteOffResult SaveSoputTovar(fb::Transaction& tra, const TClientDataSet& docu, const TClientDataSet& umoves,
                               int rperiodId) {
    const int docuId = docu.fieldByName(QStringLiteral("ID")).asInteger();
    const QDate datep = docu.fieldByName(QStringLiteral("DATEP")).asDate();
    return SaveSoputTovar(tra, docuId, datep, rperiodId, WriteOffLines(tra, umoves));
}
