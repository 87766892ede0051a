#pragma once
// The order editor's header without a window: which header fields the clerk
// may change in which mode, the names it shows beside the keys, the heading
// of the order's kind, the customer the order must have, and setting a field
// as a choice of the clerk does.
#include <QString>
#include <vector>

class TClientDataSet;
class TField;

// How a header field of the order may be changed.
enum class TDocuFieldAccess {
    Editing,    // while editing is allowed; view mode shows it read-only
    Shown,      // never typed into: the series and what the money rules compute
    Always,     // in view mode too: the hand-over date
    Deviation,  // OTKLPROC, OTKLSUM: while editing is allowed and a deviation is chosen
};

struct TDocuHeaderField {
    QString field;
    TDocuFieldAccess access;
};
// The header's fields in the editor's order, top to bottom: SERIES, NUMBER,
// DATEP, ZAKAZCH_ID, DATEV, DATEVYD, VREMVYD, TOTAL, OTKLPROC, OTKLSUM,
// TOTAL_WOTKL, COMMENT, GARANT, RECEIVED, DEBT.
const std::vector<TDocuHeaderField>& DocuHeaderFields();
// The access of a header field; Shown for a field the header does not edit.
TDocuFieldAccess DocuFieldAccess(const QString& field);
// Whether a field of this access refuses input. `deviationEditable` is the
// deviation boxes' state (SetOtklEditable of DocuCalc.h), read for Deviation only.
bool DocuFieldReadOnly(TDocuFieldAccess access, bool editAllowed, bool deviationEditable = false);

// The name shown for one of the order's keys: the order's own `nameField`
// when the journal has it, else `resultField` of the row of `list` whose
// `keyField` equals the order's `idField` (empty without a list or a match).
QString DocuShownName(const TClientDataSet& docu, const QString& nameField, const QString& idField,
                      const TClientDataSet* list, const QString& keyField, const QString& resultField);

// The heading over the header: the kind's name followed by a row of dots.
QString DocuKindHeading(const QString& kindName);

// Why the order cannot be saved without its customer; empty when ZAKAZCH_ID
// is set. No order at all is refused alike.
QString DocuCustomerRefusal(const TClientDataSet* docu);

// Puts the row into editing when it is not and gives the field to set, as a
// choice made in the window does (a customer, a service, a special mark).
TField& EditedField(TClientDataSet& ds, const QString& field);
