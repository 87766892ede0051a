#pragma once
// The automatic write-off of the goods a service order's services consume.
//
// An order has at most one such stock document (kind 102, DOCS.DOCU_ID = the
// order). Every save rewrites it from the order's current service lines, in
// the caller's transaction: one stock line per accompanying good (USLTOV) of
// every service line, in list order, SUMMA = CENA x KOLVO in whole kopecks,
// the document's total the sum of its lines; the document lies in the current
// work period and carries the order's DATEP; a new one takes the next stock
// number. When nothing is consumed there is no such document. A write-off in
// a closed work period is never touched, and then no second one is made; no
// write-off is made into a closed current period either.
// Every value travels as a statement parameter.
#include "fb/Decimal.h"
#include "fb/Value.h"

#include <QDate>
#include <vector>

class TClientDataSet;

// The greatest stock document number counted when the next one is drawn.
constexpr qint64 kMaxWriteOffNumber = 999999999;
namespace fb { class Transaction; }

constexpr int kWriteOffKind = 102;

struct TWriteOffLine {
    int tovarId = 0;
    fb::Decimal kolvo;
    fb::Decimal cena;
    fb::Decimal summa;  // cena * kolvo in whole kopecks
};

// CENA x KOLVO rounded once to whole kopecks, half away from zero.
fb::Decimal LineAmount(fb::Decimal cena, fb::Decimal kolvo);

// The write-off lines of the service lines (their USLUGA_ID, in list order),
// with USLTOV read in the transaction.
std::vector<TWriteOffLine> WriteOffLines(fb::Transaction& tra, const TClientDataSet& umoves);

// What SaveSoputTovar did.
enum class TWriteOffResult {
    None,       // nothing consumed and no document
    Created,
    Rewritten,
    Removed,    // nothing consumed any more: the document was deleted
    Frozen,     // the write-off lies in a closed period (or the current one is closed): untouched
};

// Brings the order's write-off in line with its service lines. `docu` stands
// on the order (ID, DATEP); `umoves` holds its service lines as they are now,
// saved or not; a new write-off goes into the work period `rperiodId`.
TWriteOffResult SaveSoputTovar(fb::Transaction& tra, const TClientDataSet& docu, const TClientDataSet& umoves,
                               int rperiodId);
// The same with explicit values.
TWriteOffResult SaveSoputTovar(fb::Transaction& tra, int docuId, const QDate& datep, int rperiodId,
                               const std::vector<TWriteOffLine>& lines);
