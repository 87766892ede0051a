#pragma once
// What the record dialogs of the books edit and when they refuse: each
// dialog's controls (name, label, field, kind) and its required fields with
// their lines of the "Заполните поля:" message; the refusals of an
// accompanying goods line and of a group; the operator's rights as the dialog
// groups them with the role captions; the dataset of a service's accompanying
// goods, a new line and the line dialog's captions. The dialogs
// build their controls from these tables, bind them and show the refusals.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class TClientDataSet;
class TField;

namespace books {

// One bound control of a record dialog: an edit, a date, a choice of the
// book's groups (by FULLPATH) or of a shared lookup's rows (by `display`).
struct RecordControl {
    enum Kind { Edit, Date, Group, Lookup };
    QString objectName;
    QString label;
    QString field;
    Kind kind = Edit;
    QString lookup;         // Lookup: the data module's dataset, cdsTovarLU
    QString display;        // Lookup: the field shown, NAME
    bool readOnly = false;  // shown, not typed into
    bool sameRow = false;   // beside the control before it, without a label of its own
    int maxWidth = 0;       // pixels; 0: as wide as the row gives
};

// Pairs of a field and its line in the "Заполните поля:" message.
using RequiredFields = QList<QPair<QString, QString>>;

struct RecordForm {
    QString dialog;                 // frmNewColor
    QList<RecordControl> controls;  // empty: the dialog lays out its own (operators)
    RequiredFields required;
    QString lineBreak = QStringLiteral("\r");  // of the message; "\n\r" in the goods dialog
};

// The record dialogs of every book, flat and tree, by their instance names.
const QList<RecordForm>& RecordForms();
// The form of a dialog; an empty form (nothing edited, nothing required) for another name.
const RecordForm& RecordFormOf(const QString& dialog);
// The "Заполните поля:" message of the required fields left empty in the
// current row; empty when the record may be saved.
QString RecordRefusal(const RecordForm& form, const TClientDataSet& ds);

// The operator dialog's edits; its role and rights follow, grouped as below.
const QList<RecordControl>& OperatorControls();

// --- accompanying goods of a service ---------------------------------------------
// The line dialog's caption: a new line or one edited.
QString ServiceLineCaption(bool isNew);
// Appends a line to the service being edited in `services`.
void StartServiceLine(TClientDataSet& lines, const TClientDataSet& services);
// The line's refusal: its required fields, then goods already named by
// another line of the service; empty when the line may be kept.
QString ServiceLineRefusal(const TClientDataSet& lines);
// The lines of a service (USLTOV by :USLUGA_ID) with the goods' name, price
// and unit looked up in `goods`; choosing the goods puts its price into the line.
void DefineServiceLines(TClientDataSet& lines, TClientDataSet* goods);

// --- groups -------------------------------------------------------------------
// The group dialog's controls; the document kind only for a book that shows kinds.
QList<RecordControl> GroupControls(bool showsKinds);
// The root group (PARENT_ID -1): its name and parent are not edited.
bool IsRootGroup(const TClientDataSet& groups);
// The group dialog's refusal for the group being edited in `groups`, its
// parent checked against the branch as `list` (or `groups`) holds it; empty
// when the group may be saved. The root group is never refused.
QString GroupRecordRefusal(const TClientDataSet& groups, const TClientDataSet* list);

// --- operators ----------------------------------------------------------------
// One right as the operator dialog shows it; rights of one `group` share a
// frame titled so (an empty group: a check box of its own).
struct OperatorRight {
    QString field;
    QString caption;
    QString group;
};
// The ten rights in the order of the table.
const QList<OperatorRight>& OperatorRights();
// The role frame's title and its buttons, for roles 1 and 2.
QString RoleTitle();
const QStringList& RoleCaptions();
// The role button shown for a row: 1 or 2, 0 for none.
int ShownRole(const TClientDataSet& operators);
// A right's check box: checked for "T", unchecked for "F" and greyed when null.
enum class RightState { Unknown, Granted, Denied };
RightState RightStateOf(const TField& right);
// The value a click on the right's box writes: "F" after "T", "T" otherwise.
QString ToggledRight(const TField& right);

}  // namespace books
