#pragma once
// The money rules of a service order: total, deviation (discount or markup),
// total with deviation, amount received and debt. They are change handlers
// attached to any dataset with the DOCU columns (the main window's cdsDocu),
// so a value typed in the editor, a value assigned when an order is created
// and a total recomputed after a line change all pass through them.
//
// Amounts are exact (fb::Decimal) and brought to whole kopecks, half away
// from zero, whenever they are assigned: the invariants
//   TOTAL_WOTKL = TOTAL + sign * OTKLSUM,  DEBT = TOTAL_WOTKL - RECEIVED
// hold exactly in what is stored.
#include "fb/Decimal.h"
#include "fb/Value.h"

#include <QObject>
#include <QString>

class TClientDataSet;
class TField;

// Deviation kinds (OTKLTYPE).
enum : int { otklNone = 0, otklSkid = 1, otklNadb = 2 };

// The sign of the deviation: 1 discount -> -1, 2 markup -> +1, anything else
// (0, other values, null) -> 0.
int OtklSign(const fb::Value& otklType);
int OtklSign(const TClientDataSet& docu);

// What the rules tell the editor while they run. One instance per dataset,
// created by AttachDocuRules and owned by the dataset; the editor connects to
// its signals (direct connections: they run inside the cascade).
class TDocuRules : public QObject {
    Q_OBJECT
public:
    explicit TDocuRules(TClientDataSet& docu);
    TClientDataSet& dataSet() const { return m_docu; }

signals:
    // The deviation type changed its sign, before TOTAL_WOTKL is worked out
    // again: the deviation boxes follow the new sign
    // (the editor's SetOtklEditable).
    void otklSignChanged(int sign);
    // The order row entered editing (the editor's SetModified(true)).
    void rowEdited();

private:
    TClientDataSet& m_docu;
};

// Attaches the change rules (OTKLPROC, OTKLSUM, OTKLTYPE, TOTAL, TOTAL_WOTKL,
// RECEIVED), the after-edit notice and the display of NUMBER, SERNUM (when the
// dataset has it) and the money fields. Call once, before the dataset is used;
// a second call does nothing. Replaces the dataset's AfterEdit handler.
void AttachDocuRules(TClientDataSet& docu);
// The rules attached to the dataset, or nullptr.
TDocuRules* DocuRules(const TClientDataSet& docu);

// Recomputes TOTAL as the sum of SUMMA over the service lines (a null adds 0),
// without moving the lines' cursor; puts the order row into editing when it is
// not, assigns TOTAL (the cascade follows) and posts the row to the cache.
void CalcTotal(TClientDataSet& docu, TClientDataSet& umoves);
// The sum of SUMMA over the lines, without moving their cursor.
fb::Decimal ServiceLinesTotal(const TClientDataSet& umoves);

// How the deviation boxes (edOtklProc, edOtklSum) look for a sign.
struct TOtklBoxes {
    bool editable = false;  // both boxes alike; the window gives read-only boxes the read-only look
};
// Editable when the editor allows editing and the sign is not 0; read-only otherwise.
TOtklBoxes SetOtklEditable(int sign, bool editingAllowed);

// The radio button that shows OTKLTYPE: "rbNone", "rbSkid", "rbNadb", or the
// empty text when no button matches (other values, null).
QString ShowOtklType(const fb::Value& otklType);
// The OTKLTYPE a radio button stands for; -1 for an unknown name.
int OtklTypeOfRadio(const QString& radioName);
// The deviation type chosen: OTKLTYPE is set (the row put into editing, the
// cascade follows) unless it already holds `type`; false when nothing changed.
bool ChooseOtklType(TClientDataSet& docu, int type);

// Display texts.
QString DocuNumberText(const fb::Value& number);                          // ZeroPad(number, 6)
QString DocuSerNumText(const fb::Value& series, const fb::Value& number);  // "АБ 000007"

// Brings an amount to whole kopecks, half away from zero.
inline fb::Decimal ToKopecks(fb::Decimal v) { return v.kopecks(); }
