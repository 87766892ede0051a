#pragma once
// The client dataset: runs its query, holds every row in memory, lets the
// program edit them (append, insert, edit, post, cancel, delete), keeps a log
// of the changes and applies them to one table of the database in one
// transaction. The provider part (table name, server order, quoting) lives
// here too; the query with its parameters is query().
#include "data/ChangeLog.h"
#include "data/Field.h"
#include "data/Query.h"
#include "data/SortIndex.h"
#include "data/UpdateResolver.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

namespace fb {
class Attachment;
class Transaction;
struct Column;
}  // namespace fb

enum class TDataSetState { Inactive, Browse, Edit, Insert };

enum class TUpdateStatus { Unmodified, Modified, Inserted };

// A change that an apply could not send.
struct TApplyFailure {
    TChangeKind kind = TChangeKind::Modify;
    quint64 rowSerial = 0;      // hand to cancelChange() to undo the change in memory
    fb::Value key;              // ID of the row, null when the dataset has no ID field
    QString message;            // the error's text (with "Database Server Error: " for the server's own)
    std::exception_ptr error;   // the error itself
    QString sql;                // the statement that failed
    // The commit itself was refused: the failure belongs to every change of
    // the batch (rowSerial is 0; Cancel undoes them all).
    bool wholeBatch = false;
};

enum class TReconcileAction {
    Keep,    // the change stays in the log
    Cancel,  // the change is undone in memory (cancelChange)
};

// Something bound to the dataset that holds a value not yet written into its
// field (a line edit being typed in). Post and navigation ask it to write first.
class TDataLink {
public:
    virtual ~TDataLink() = default;
    virtual void updateData() = 0;
};

class TClientDataSet : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(TClientDataSet&)>;
    using ReconcileHandler = std::function<TReconcileAction(TClientDataSet&, const TApplyFailure&)>;

    explicit TClientDataSet(QObject* parent = nullptr, const QString& name = QString());
    ~TClientDataSet() override;

    // --- query and provider -------------------------------------------------
    TQuery& query() { return *m_query; }
    const TQuery& query() const { return *m_query; }
    // Shortcut for query().setSql().
    void setCommandText(const QString& sql) { m_query->setSql(sql); }

    // The table changes are written to; empty: the table of the query's FROM clause.
    void setTableName(const QString& table) { m_tableName = table; }
    QString tableName() const;
    // Rows stay in the order the server returned them (the journals); otherwise
    // they are kept sorted by the ORDER BY columns of the query, or by ID.
    void setKeepServerOrder(bool on) { m_keepServerOrder = on; }
    bool keepServerOrder() const { return m_keepServerOrder; }
    // Generated statements quote table and column names.
    void setQuoteIdentifiers(bool on) { m_quoteIdentifiers = on; }
    bool quoteIdentifiers() const { return m_quoteIdentifiers; }
    // A read-only dataset refuses edit, insert and delete.
    // A read-only dataset keeps no second copy of its loaded rows; made
    // editable while open, it takes the rows as they stand as loaded.
    void setReadOnly(bool on);
    bool isReadOnly() const { return m_readOnly; }

    // The connection: explicit, else the default one (the data module's, dataconn).
    void setAttachment(fb::Attachment* att) { m_attachment = att; }
    fb::Attachment& attachment() const;  // throws EDatabaseError when there is none

    // --- fields -------------------------------------------------------------
    // Declared before open. A data field declared with TFieldType::Unknown takes
    // its type from the result column. Without declared data fields, every
    // column of the result becomes a field when the dataset opens.
    TField& addField(const QString& name, TFieldType type = TFieldType::Unknown, int size = 0);
    TField& addCalcField(const QString& name, TFieldType type, int size = 0);
    TField& addLookupField(const QString& name, TFieldType type, int size, const QString& keyField,
                           TClientDataSet* lookupDataSet, const QString& lookupKeyField,
                           const QString& resultField);
    void removeField(const QString& name);

    int fieldCount() const { return int(m_fields.size()); }
    TField& field(int index) const { return *m_fields.at(size_t(index)); }
    TField* findField(const QString& name) const;
    TField& fieldByName(const QString& name) const;  // throws EDatabaseError when absent
    std::vector<TField*> fields() const;
    std::vector<TField*> visibleFields() const;

    // Recomputes the calculated fields of a row (the row is current for the handler).
    void setOnCalcFields(Handler fn) { m_onCalcFields = std::move(fn); }

    // --- events (a handler may throw: the operation stops there) ------------
    void setAfterOpen(Handler fn) { m_afterOpen = std::move(fn); }
    void setAfterScroll(Handler fn) { m_afterScroll = std::move(fn); }
    void setAfterInsert(Handler fn) { m_afterInsert = std::move(fn); }
    void setAfterEdit(Handler fn) { m_afterEdit = std::move(fn); }
    void setBeforePost(Handler fn) { m_beforePost = std::move(fn); }
    void setAfterPost(Handler fn) { m_afterPost = std::move(fn); }
    void setAfterCancel(Handler fn) { m_afterCancel = std::move(fn); }
    void setBeforeDelete(Handler fn) { m_beforeDelete = std::move(fn); }
    void setAfterDelete(Handler fn) { m_afterDelete = std::move(fn); }
    void setOnReconcileError(ReconcileHandler fn) { m_onReconcile = std::move(fn); }

    // --- open and close -----------------------------------------------------
    // Runs the query with the parameters set on it and loads every row; the
    // cursor stands on the first row. Does nothing when already open.
    void open();
    void open(fb::Transaction& tra);  // reads inside the caller's transaction
    void close();                     // drops the rows and the change log
    bool isActive() const { return m_state != TDataSetState::Inactive; }
    // Closes, reopens and returns to the row with the remembered ID.
    void refresh();
    // Reads the current row's columns of the provider's table again by its ID
    // (what the database's triggers made of it); a row with pending changes,
    // or without an ID, is left alone.
    void refreshRecord();

    TDataSetState state() const { return m_state; }
    bool isEditing() const { return m_state == TDataSetState::Edit || m_state == TDataSetState::Insert; }

    // --- navigation ---------------------------------------------------------
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int recordCount() const { return int(m_view.size()); }
    bool isEmpty() const { return m_view.empty(); }
    int recNo() const { return m_cur; }  // 0-based; -1 when there is no current row
    void setRecNo(int row);
    // The first row (in the current order) whose field equals the value exactly.
    bool locate(const QString& fieldName, const fb::Value& value);
    bool locate(const QStringList& fieldNames, const std::vector<fb::Value>& values);
    // The value of `resultField` in the first row whose `keyField` equals `key`
    // (all rows, filter or not); null when none. The cursor does not move.
    fb::Value lookup(const QString& keyField, const fb::Value& key, const QString& resultField) const;

    // --- order --------------------------------------------------------------
    // Field names separated by ';' ("NPP" or "DATEP;NUMBER"); empty: the
    // default order (ORDER BY of the query, or ID). Re-sorts an open dataset.
    void setIndexFieldNames(const QString& names);
    QString indexFieldNames() const { return m_indexFieldNames; }
    QStringList sortFields() const;  // the order in force
    // Moves to the first row whose index fields are equal to or greater than the
    // values (the last row when every row is smaller). Values are converted to
    // the fields' types first (EConvertError).
    void findNearest(const std::vector<fb::Value>& values);

    // --- filter: "FIELD=number" (or FIELD='text') -----------------------------
    void setFilter(const QString& expression);
    QString filter() const { return m_filterText; }
    void setFiltered(bool on);
    bool isFiltered() const { return m_filtered; }

    // --- editing ------------------------------------------------------------
    void append();  // a new row at the end
    void insert();  // a new row at the cursor
    void edit();    // on an empty dataset, appends
    void post();
    void cancel();
    void deleteRecord();
    // Post when something was changed, else cancel (before moving or applying).
    void checkBrowseMode();
    // Asks bound controls to write what they hold into their fields.
    void updateRecord();
    bool isModified() const { return m_modified; }  // the row being edited was changed

    TUpdateStatus updateStatus() const;  // of the current row
    int changeCount() const { return m_log.size(); }
    bool updatesPending() const { return !m_log.isEmpty(); }
    const TChangeLog& changeLog() const { return m_log; }
    // Throws away the whole change log and restores the rows as loaded.
    void cancelUpdates();
    // Undoes one logged change in memory: a new row is removed, an edited row
    // gets its loaded values back, a deleted row comes back. False when no such change.
    bool cancelChange(quint64 rowSerial);
    // cancelChange for the current row.
    bool revertRecord();

    // --- apply --------------------------------------------------------------
    // Sends the change log in one transaction of its own; no error tolerated.
    // A conflict with another workstation's simultaneous save of other rows is
    // retried a few times in a fresh transaction before it counts as a failure.
    // Returns the number of errors (0 or 1). On failure the transaction is
    // rolled back, the reconcile handler (if any) is called, and
    // lastApplyError() tells what happened.
    int applyUpdates();
    // Sends the change log inside the caller's transaction; throws on failure.
    // The log is cleared when that transaction commits and kept when it rolls back.
    void applyUpdates(fb::Transaction& tra);
    QString lastApplyError() const { return m_lastApplyError; }
    std::exception_ptr lastApplyException() const { return m_lastApplyException; }

    // --- reading any row (grids) --------------------------------------------
    fb::Value valueAt(int row, int fieldIndex) const;
    QString displayTextAt(int row, int fieldIndex) const;
    quint64 rowSerialAt(int row) const;

    // Signals to views are held back while disabled (nested); enabling sends one refresh.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return m_disabled > 0; }

    void addDataLink(TDataLink* link);
    void removeDataLink(TDataLink* link);

    // Used by TField.
    fb::Value fieldValue(const TField& f) const;
    void setFieldValue(TField& f, const fb::Value& v);
    void notifyFieldsChanged();

signals:
    void stateChanged();          // open, close, edit, insert, post, cancel
    void dataChanged();           // rows loaded, added, removed, moved, filtered or restored
    void rowChanged(int row);     // values of one row (the one being edited) changed
    void currentChanged();        // the cursor moved to another row
    void fieldsChanged();         // field definitions changed (visibility, labels, widths)
    void changeLogChanged();      // pending changes recorded, applied or cancelled

private:
    struct ReadScope;

    void checkActive() const;
    void checkCanModify() const;
    void load(fb::Transaction& tra);
    void setupFields(const std::vector<fb::Column>& columns, std::vector<int>& columnOfField);
    void reindexFields();
    void resolveSort();
    void rebuildView();
    // Puts the view in order after bulk posts with the controls disabled.
    void orderView() const;
    void calculate(std::vector<fb::Value>& values);
    bool passesFilter(const TDataRow& row) const;
    void moveTo(int row, bool bof, bool eof);
    void placeCursorOn(const TDataRow* row, int fallback);
    void startInsert(bool atEnd);
    TRowPtr takeRow(const TDataRow* row);
    void putRow(const TRowPtr& row);
    double orderBefore(const TDataRow* row);
    const std::vector<fb::Value>* activeBuffer() const;
    fb::Value lookupFieldValue(const TField& f) const;
    void invalidateLookupCache() { m_lookupCache.clear(); }
    void cancelChangeOf(const TChange& change);
    void afterRowsRestored(const TDataRow* keep);

    // apply
    TUpdateResolver resolver() const;
    std::vector<TSentChange> snapshot(const TUpdateResolver& res) const;
    void send(fb::Transaction& tra, const std::vector<TSentChange>& batch, const TUpdateResolver& res,
              int& failed, QString& failedSql);
    void markApplied(const std::vector<TSentChange>& batch);
    void reportApplyFailure(const std::vector<TSentChange>& batch, int failed, const QString& sql,
                            std::exception_ptr error, bool callHandler);

    void emitState();
    void emitData();
    void emitCurrent();
    void emitRow(int row);
    void emitLog();

    TQuery* m_query;
    QString m_tableName;
    bool m_keepServerOrder = false;
    bool m_quoteIdentifiers = false;
    bool m_readOnly = false;
    fb::Attachment* m_attachment = nullptr;

    std::vector<std::unique_ptr<TField>> m_fields;
    QHash<QString, int> m_fieldIndex;

    TDataSetState m_state = TDataSetState::Inactive;
    std::vector<TRowPtr> m_all;      // live rows in load order
    std::vector<TDataRow*> m_view;   // rows shown: filtered and sorted
    bool m_viewUnordered = false;    // rows posted in bulk wait to be put in order
    int m_cur = -1;
    bool m_eof = true;
    bool m_bof = true;
    quint64 m_nextSerial = 1;

    // editing
    std::vector<fb::Value> m_editBuf;
    TRowPtr m_insertRow;  // the new row while inserting (in m_view, not in m_all)
    bool m_modified = false;

    TChangeLog m_log;
    QString m_lastApplyError;
    std::exception_ptr m_lastApplyException;
    bool m_inFlight = false;           // sent in a caller's transaction not yet ended
    quint64 m_generation = 0;          // grows on close: late commit callbacks do nothing
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);

    QString m_indexFieldNames;
    TSortIndex m_sort;
    QString m_filterText;
    bool m_filtered = false;
    QString m_filterFieldName;
    fb::Value m_filterValue;

    mutable const std::vector<fb::Value>* m_readOverride = nullptr;
    std::vector<fb::Value>* m_calcBuf = nullptr;
    std::vector<int> m_fieldColumn;  // result column of each data field, -1 for others
    mutable QHash<QString, QHash<QString, const TDataRow*>> m_lookupCache;

    int m_disabled = 0;
    std::vector<TDataLink*> m_links;

    Handler m_onCalcFields, m_afterOpen, m_afterScroll, m_afterInsert, m_afterEdit, m_beforePost, m_afterPost,
        m_afterCancel, m_beforeDelete, m_afterDelete;
    ReconcileHandler m_onReconcile;
};
