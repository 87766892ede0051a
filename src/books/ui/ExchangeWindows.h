#pragma once
// The windows of the CSV exchange, created once and shared by every book: the
// export and import dialogs of a flat book, the two-file dialog of a tree
// book, the column chooser and the progress window; and the exchange commands
// of both kinds of book, which drive the sessions of books/core/CsvSession.h.
#include <QDialog>
#include <QElapsedTimer>
#include <QList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QToolButton;
class TClientDataSet;
namespace books {
struct TreeBookConfig;
}

class TfrmSelFields : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelFields(QWidget* parent = nullptr);
    // Edits the selection of `ds`'s columns; true when changed with "Ok".
    bool Run(const TClientDataSet& ds, QList<int>& selection);

    QListWidget *lbAv, *lbSel;
    QToolButton *sbRight, *sbLeft, *sbRR, *sbLL, *sbUp, *sbDown;
    QPushButton *btnOk, *btnCancel;

private:
    void move(QListWidget* from, QListWidget* to, bool all);
    void shift(int by);
};

class TfrmProgress : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProgress(QWidget* parent = nullptr);
    void start(int maximum);
    // Moves the bar; lets the window repaint and move every few hundredths of a second.
    void setPosition(int position);
    // The last step, storing the rows: the full bar with its caption and the wait cursor.
    void storing();
    void finish();
    QProgressBar* PB;

private:
    QElapsedTimer m_clock;
    bool m_waitCursor = false;
};

// What the export, import and two-file dialogs share: the separator, the
// column selections and their memos, the help button.
class TExchangeDialog : public QDialog {
    Q_OBJECT
public:
    explicit TExchangeDialog(QWidget* parent = nullptr);
    QLineEdit* edSeparator;
    QPushButton *btnOk, *btnCancel, *BitBtn1;

protected:
    QLineEdit* fileEdit(const char* name);
    QPushButton* selButton(const char* name, QLineEdit* edit, bool save);
    QPlainTextEdit* memo(const char* name);
    // The files typed and the separator may be used: true; otherwise the
    // warning shown, or an overwrite refused, and false.
    bool filesGiven(const QStringList& names, bool import);
};

class TfrmExport : public TExchangeDialog {
    Q_OBJECT
public:
    explicit TfrmExport(QWidget* parent = nullptr);
    QLineEdit* edFilename;
    QPushButton *btnSel, *btnSelFields;
    QPlainTextEdit* MemoSF;
    TClientDataSet* DataSet = nullptr;
    QList<int> Selection;
    void showSelection();
    void btnOkClick();

protected:
    TfrmExport(QWidget* parent, bool import);
    const bool m_import;
};

class TfrmImport : public TfrmExport {
    Q_OBJECT
public:
    explicit TfrmImport(QWidget* parent = nullptr);
};

class TfrmEximTT : public TExchangeDialog {
    Q_OBJECT
public:
    explicit TfrmEximTT(QWidget* parent = nullptr);
    void setImportMode(bool import);
    bool ImportMode = false;
    QLabel *Label1, *Label4;
    QLineEdit *edFilenameGroups, *edFilenameRecords;
    QPushButton *btnSelGroups, *btnSelRecords, *btnSelFieldsGroups, *btnSelFieldsRecords;
    QPlainTextEdit *MemoSFDocs, *MemoSFMoves;
    TClientDataSet* Groups = nullptr;
    TClientDataSet* Records = nullptr;
    QList<int> GroupSelection, RecordSelection;
    void showSelections();
    void btnOkClick();
};

// The exchange commands. `book` owns the dialogs shown; the flat book passes
// the query of its records and its default file name.
void ExportFlatBook(QWidget* book, const QString& sql, const QString& fileName);
// True when rows were added (the book then re-reads its records).
bool ImportFlatBook(QWidget* book, const QString& sql);
void ExportTreeBook(QWidget* book, const books::TreeBookConfig& config);
// True when the database was changed.
bool ImportTreeBook(QWidget* book, const books::TreeBookConfig& config);
