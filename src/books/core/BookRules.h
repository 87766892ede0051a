#pragma once
// The rules of the reference books, without windows: the configuration of
// each book, the rewriting of the sort order, the ID of a new record, the
// "Заполните поля:" message, what a choice returns, the checks of a group's
// parent, the depth (LEVELI) of groups, the operators' role presets, the
// accompanying goods of a service and saving a service with them.
#include "fb/Value.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class TClientDataSet;
namespace fb {
class Transaction;
}

namespace books {

// A column of a book as its grid shows it.
struct BookField {
    QString name;
    QString label;   // grid title; empty: hidden column
    int width = 0;   // in characters; 0: the field's own
    bool money = false;
};

// What every book has, flat or tree: its windows, its record's procedure of
// new IDs, its shared list, help, sort orders, quick-find fields, the fields
// a copy takes and the grid's columns.
struct BookConfig {
    QString window;        // frmBookColor
    QString dialog;        // frmNewColor
    QString heading;       // "Цвет"
    QString idProc;        // GET_MAX_COLOR_ID
    QString lookup;        // cdsColorLU
    QString helpPage;
    std::array<QString, 4> sortCaptions;
    std::array<QString, 4> findCaptions;
    std::array<QString, 4> orderFields;
    QStringList copyFields;
    QList<BookField> fields;
};

// One flat reference book (colours, materials, special marks, customers, operators).
struct SimpleBookConfig : BookConfig {
    QString sql;           // ends with ORDER BY ID
    QString caption;       // "Справочник: Цвета"
    QString exportFileName;
};

// The five flat books in the order of the main window's menu.
const QList<SimpleBookConfig>& SimpleBooks();
const SimpleBookConfig* SimpleBookByWindow(const QString& window);

// One tree reference book (goods, services, products).
struct TreeBookConfig : BookConfig {
    QString bookTitle;        // "Товары"
    QString recordsSql;       // with :PAR_GR, "ORDER BY" on a line of its own
    QString groupsSql;
    QString groupsLookupSql;  // ID, PARENT_ID, NAME, LEVELI, FULLPATH
    QString groupTable;       // TOVARGR
    QString groupIdProc;      // GET_TOVARGR_ID
    QString groupsFileName, recordsFileName, groupGenerator, recordGenerator;
    bool showsKindDoc = false;
    bool kindFilter = false;  // the groups query takes :KINDDOC_ID
};

const QList<TreeBookConfig>& TreeBooks();
const TreeBookConfig* TreeBookByWindow(const QString& window);

// The query text with every "ORDER BY" (exact, case-sensitive) rewritten to
// "ORDER BY <entry>": from "ORDER BY" to the end of its line (flat books), or
// the whole line (tree books, whose query keeps ORDER BY on a line of its own).
QString ReplaceOrderBy(const QString& sql, const QString& entry, bool wholeLine);

// The ID proposed for a new record from the GET_MAX_..._ID output: that + 1, or 1 when null.
int NewRecordID(const fb::Value& maxId);

// "Заполните поля:" + two line breaks + each missing line followed by a line
// break; empty when nothing is missing. `lineBreak` is "\r" in most dialogs,
// "\n\r" in the goods dialog.
QString MissingFieldsMessage(const QStringList& missing, const QString& lineBreak = QStringLiteral("\r"));
// The message lines of the fields of the current row whose text is empty
// after trimming; `fields` pairs a field name with its message line.
QStringList MissingFields(const TClientDataSet& ds, const QList<QPair<QString, QString>>& fields);

// What "Вставить в поле" hands to its caller: the current row's ID; nothing
// when the book (or the group in view) is empty, so that no ID 0 is returned.
std::optional<int> ChosenID(const TClientDataSet& ds);

// Reading a dataset's current row into a list of values and writing it back.
QHash<QString, fb::Value> RowValues(const TClientDataSet& ds);
void SetRowValues(TClientDataSet& ds, const QHash<QString, fb::Value>& values);

// --- groups -----------------------------------------------------------------
// The parent of every group by ID, from a dataset of groups (ID, PARENT_ID).
QHash<int, int> ParentsOf(const TClientDataSet& groups);
// True when `candidate` is the group itself or lies in its branch (a child, a
// grandchild ...): such a parent would make a cycle.
bool IsInOwnBranch(const QHash<int, int>& parents, int groupId, int candidate);
// The group dialog's refusal for the typed name and parent; empty when the
// group may be saved.
QString GroupDialogError(const QString& name, int groupId, int parentId, const QHash<int, int>& parents);
// Makes LEVELI true for the group and its whole branch: the parent's LEVELI
// + 1 (0 for a group whose parent is not a group), each child one deeper.
// Returns the number of rows changed.
int FixGroupLevels(fb::Transaction& tra, const QString& groupTable, int groupId);

// Whether a group may be deleted: not the root, no subgroups and no records in view.
enum class GroupDelete { Root, NotEmpty, Allowed };
GroupDelete CanDeleteGroup(int groupId, bool hasChildren, int recordsInView);

// --- operators --------------------------------------------------------------
// The ten rights in the order of the table.
const QStringList& RightFields();
// The preset of a role (1 "Приемщик", 2 "Администратор"): "T"/"F" per right; empty for other roles.
QStringList RolePreset(int roleId);
// ROLE_ID := role and, for roles 1 and 2, the ten rights := the preset.
void ApplyRole(TClientDataSet& operators, int roleId);

// --- accompanying goods -----------------------------------------------------
// True when another line of `lines` (not the one being edited) already names the goods.
bool IsDuplicateLine(const TClientDataSet& lines, const fb::Value& tovarId);
// Saves the posted service row and its lines in one transaction: the service
// first, then the lines with the service's final ID. Nothing is stored when
// either is refused; the error is rethrown.
void SaveServiceWithLines(TClientDataSet& services, TClientDataSet& lines);

}  // namespace books
