#include "books/ui/ExchangeWindows.h"

#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "books/core/BookRules.h"
#include "books/core/CsvExchange.h"
#include "books/core/CsvQuestions.h"
#include "books/core/CsvSession.h"
#include "books/core/CsvSteps.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "ui/AppErrorHandler.h"
#include "ui/Help.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

using namespace books::csv;

namespace {

const QString kFilter = QStringLiteral("csv (*.csv);;txt (*.txt)");
const QString kHelpPage = QStringLiteral("_books_export_import.htm");

QToolButton* toolButton(QWidget* parent, const char* name, const QString& hint, QStyle::StandardPixmap icon) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(parent->style()->standardIcon(icon));
    return b;
}

QPushButton* pushButton(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

template <class T>
T* shared(const char* name, QWidget* parent) {
    if (T* w = Window<T>(QString::fromLatin1(name))) return w;
    static QPointer<T> own;  // outside a full start-up (tests of the core windows)
    if (!own) {
        own = new T(parent);
        own->setObjectName(QString::fromLatin1(name));
    }
    return own;
}

TfrmProgress* progressWindow(QWidget* owner) { return shared<TfrmProgress>("frmProgress", owner); }

// The progress window following a session's passes.
CsvProgress progressShown(QWidget* owner) {
    TfrmProgress* w = progressWindow(owner);
    return {[w](int count) { w->start(count); }, [w](int done) { w->setPosition(done); }, [w] { w->storing(); },
            [w] { w->finish(); }};
}

SeparatorQuestion separatorQuestion() {
    return [](int ordinal, const QString& value) {
        return VendorMessageBox(SeparatorQuestionText(ordinal, value), mbQuestionYesNo) == idYes;
    };
}

void reportError(std::exception_ptr e) {
    try {
        std::rethrow_exception(e);
    } catch (const ECsvError& x) {
        VendorMessageBox(x.message(), mbStopOk);
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
}

void showBox(OutcomeBox box, const QString& message) {
    if (box != OutcomeBox::None) VendorMessageBox(message, box == OutcomeBox::Stop ? mbStopOk : mbInfoOk);
}

void showExportOutcome(const CsvOutcome& out) { showBox(ExportOutcomeBox(out), out.message); }

// True when the rows are stored.
bool showImportOutcome(const CsvOutcome& out) {
    if (out.kind == CsvOutcome::NotStored) ShowApplicationError(out.error);
    showBox(ImportOutcomeBox(out), out.message);
    return out.kind == CsvOutcome::Done;
}

// The steps of a command: the questions asked by message boxes, the dialog, the progress window.
ExchangeSteps stepsShown(QWidget* book, std::function<bool(CsvSession&)> choose) {
    return {[] { return VendorMessageBox(NotEmptyQuestion(), mbWarningYesNo) == idYes; }, std::move(choose),
            separatorQuestion(), progressShown(book)};
}

// The dialog of a flat book's single file; true when accepted, with its choice put into the session.
bool chooseFlatFile(TfrmExport* dlg, CsvSession& session, bool import) {
    CsvFile& f = session.records();
    dlg->DataSet = f.rows.get();
    dlg->Selection = f.columns;
    dlg->showSelection();
    dlg->setWindowTitle(ExchangeCaption(import));
    const int r = execModal(dlg);
    dlg->DataSet = nullptr;
    if (r != QDialog::Accepted) return false;
    session.choose(dlg->edSeparator->text(), {dlg->edFilename->text()}, {dlg->Selection});
    return true;
}

// The two-file dialog over a tree book's session; true when accepted, with the
// files, columns and separator chosen put into the session.
bool chooseTreeFiles(TfrmEximTT* dlg, CsvSession& session) {
    CsvFile& g = session.groups();
    CsvFile& r = session.records();
    dlg->Groups = g.rows.get();
    dlg->Records = r.rows.get();
    dlg->GroupSelection = g.columns;
    dlg->RecordSelection = r.columns;
    dlg->showSelections();
    const int res = execModal(dlg);
    dlg->Groups = dlg->Records = nullptr;
    if (res != QDialog::Accepted) return false;
    session.choose(dlg->edSeparator->text(), {dlg->edFilenameGroups->text(), dlg->edFilenameRecords->text()},
                   {dlg->GroupSelection, dlg->RecordSelection});
    return true;
}

}  // namespace

// --- column chooser ---------------------------------------------------------

TfrmSelFields::TfrmSelFields(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Выберите поля"));
    auto* grid = new QGridLayout(this);
    lbAv = new QListWidget(this);
    lbAv->setObjectName(QStringLiteral("lbAv"));
    lbSel = new QListWidget(this);
    lbSel->setObjectName(QStringLiteral("lbSel"));
    sbRight = toolButton(this, "sbRight", QStringLiteral("Выбрать поле"), QStyle::SP_ArrowRight);
    sbLeft = toolButton(this, "sbLeft", QStringLiteral("Убрать поле"), QStyle::SP_ArrowLeft);
    sbRR = toolButton(this, "sbRR", QStringLiteral("Выбрать все поля"), QStyle::SP_MediaSeekForward);
    sbLL = toolButton(this, "sbLL", QStringLiteral("Убрать все поля"), QStyle::SP_MediaSeekBackward);
    sbUp = toolButton(this, "sbUp", QStringLiteral("Переместить выбранное поле выше"), QStyle::SP_ArrowUp);
    sbDown = toolButton(this, "sbDown", QStringLiteral("Переместить выбранное поле ниже"), QStyle::SP_ArrowDown);
    btnOk = pushButton(this, "btnOk", QStringLiteral("Ok"));
    btnCancel = pushButton(this, "btnCancel", QStringLiteral("Отмена"));
    auto* mid = new QVBoxLayout;
    for (QToolButton* b : {sbRight, sbLeft, sbRR, sbLL}) mid->addWidget(b);
    mid->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(sbUp);
    right->addWidget(sbDown);
    right->addStretch();
    grid->addWidget(new QLabel(QStringLiteral("Доступные поля"), this), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Выбранные поля"), this), 0, 2);
    grid->addWidget(lbAv, 1, 0);
    grid->addLayout(mid, 1, 1);
    grid->addWidget(lbSel, 1, 2);
    grid->addLayout(right, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 2, 0, 1, 4);
    connect(sbRight, &QToolButton::clicked, this, [this] { move(lbAv, lbSel, false); });
    connect(sbLeft, &QToolButton::clicked, this, [this] { move(lbSel, lbAv, false); });
    connect(sbRR, &QToolButton::clicked, this, [this] { move(lbAv, lbSel, true); });
    connect(sbLL, &QToolButton::clicked, this, [this] { move(lbSel, lbAv, true); });
    connect(sbUp, &QToolButton::clicked, this, [this] { shift(-1); });
    connect(sbDown, &QToolButton::clicked, this, [this] { shift(1); });
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmSelFields::move(QListWidget* from, QListWidget* to, bool all) {
    if (all) {
        while (from->count() > 0) to->addItem(from->takeItem(0));
        return;
    }
    const int r = from->currentRow();
    if (r < 0) return;
    to->addItem(from->takeItem(r));
}

void TfrmSelFields::shift(int by) {
    const int r = lbSel->currentRow();
    const int to = r + by;
    if (r < 0 || to < 0 || to >= lbSel->count()) return;
    QListWidgetItem* item = lbSel->takeItem(r);
    lbSel->insertItem(to, item);
    lbSel->setCurrentRow(to);
}

bool TfrmSelFields::Run(const TClientDataSet& ds, QList<int>& selection) {
    lbAv->clear();
    lbSel->clear();
    const auto item = [&ds](int col) {
        auto* it = new QListWidgetItem(ds.field(col).name());
        it->setData(Qt::UserRole, col);
        return it;
    };
    for (int col : AvailableColumns(ds, selection)) lbAv->addItem(item(col));
    for (int col : selection) lbSel->addItem(item(col));
    if (execModal(this) != QDialog::Accepted) return false;
    selection.clear();
    for (int i = 0; i < lbSel->count(); ++i) selection << lbSel->item(i)->data(Qt::UserRole).toInt();
    return true;
}

// --- progress ---------------------------------------------------------------

TfrmProgress::TfrmProgress(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    auto* l = new QVBoxLayout(this);
    PB = new QProgressBar(this);
    PB->setObjectName(QStringLiteral("PB"));
    PB->setMinimumWidth(360);
    l->addWidget(PB);
}

void TfrmProgress::start(int maximum) {
    PB->setRange(0, std::max(maximum, 1));
    PB->setValue(0);
    adjustSize();
    if (QScreen* s = QGuiApplication::primaryScreen()) move(s->availableGeometry().center() - rect().center());
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_clock.start();
}

void TfrmProgress::setPosition(int position) {
    if (m_clock.elapsed() < 40) return;
    PB->setValue(std::min(position, PB->maximum()));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    m_clock.restart();
}

void TfrmProgress::storing() {
    // The rows go to the database in one step that reports no progress: the
    // full bar says what is happening, and the wait cursor that it takes a moment.
    PB->setValue(PB->maximum());
    PB->setFormat(QStringLiteral("Сохранение в базе данных…"));
    if (!m_waitCursor) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    m_waitCursor = true;
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TfrmProgress::finish() {
    if (m_waitCursor) QGuiApplication::restoreOverrideCursor();
    m_waitCursor = false;
    PB->resetFormat();
    hide();
}

// --- the dialogs --------------------------------------------------------------

TExchangeDialog::TExchangeDialog(QWidget* parent) : QDialog(parent) {
    edSeparator = new QLineEdit(QStringLiteral(";"), this);
    edSeparator->setObjectName(QStringLiteral("edSeparator"));
    btnOk = pushButton(this, "btnOk", QString());
    btnCancel = pushButton(this, "btnCancel", QStringLiteral("Отмена"));
    BitBtn1 = pushButton(this, "BitBtn1", QString());
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    BitBtn1->setToolTip(QStringLiteral("Справка"));
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { HelpContext(this, kHelpPage); });
}

QLineEdit* TExchangeDialog::fileEdit(const char* name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    e->setMinimumWidth(360);
    return e;
}

QPushButton* TExchangeDialog::selButton(const char* name, QLineEdit* edit, bool save) {
    auto* b = pushButton(this, name, QStringLiteral("..."));
    connect(b, &QPushButton::clicked, this, [this, edit, save] {
        const QString p = save ? ModalSeam::getSaveFileName(this, QString(), edit->text(), kFilter)
                               : ModalSeam::getOpenFileName(this, QString(), edit->text(), kFilter);
        if (!p.isEmpty()) edit->setText(QDir::toNativeSeparators(p));
    });
    return b;
}

QPlainTextEdit* TExchangeDialog::memo(const char* name) {
    auto* m = new QPlainTextEdit(this);
    m->setObjectName(QString::fromLatin1(name));
    m->setReadOnly(true);
    m->setMaximumHeight(60);
    QPalette p = m->palette();
    p.setColor(QPalette::Base, palette().color(QPalette::Window));
    m->setPalette(p);
    return m;
}

bool TExchangeDialog::filesGiven(const QStringList& names, bool import) {
    const FilesCheck check = CheckFiles(names, edSeparator->text(), import);
    if (!check.warning.isEmpty()) {
        VendorMessageBox(check.warning, mbWarningOk);
        if (check.separatorMissing) edSeparator->setFocus();
        return false;
    }
    for (const QString& question : check.overwriteQuestions)
        if (VendorMessageBox(question, mbQuestionYesNo) != idYes) return false;
    return true;
}

TfrmExport::TfrmExport(QWidget* parent) : TfrmExport(parent, false) {}

TfrmExport::TfrmExport(QWidget* parent, bool import) : TExchangeDialog(parent), m_import(import) {
    setWindowTitle(ExchangeCaption(import));
    edFilename = fileEdit("edFilename");
    btnSel = selButton("btnSel", edFilename, !import);
    btnSelFields = pushButton(this, "btnSelFields", QStringLiteral("Выбрать поля..."));
    MemoSF = memo("MemoSF");
    if (!import) edSeparator->setMaxLength(1);
    btnOk->setText(ExchangeButton(import));
    auto* g = new QGridLayout(this);
    g->addWidget(new QLabel(FileLabel(import), this), 0, 0);
    g->addWidget(edFilename, 0, 1);
    g->addWidget(btnSel, 0, 2);
    g->addWidget(new QLabel(QStringLiteral("Разделитель"), this), 1, 0);
    g->addWidget(edSeparator, 1, 1);
    g->addWidget(btnSelFields, 2, 0);
    g->addWidget(MemoSF, 2, 1, 1, 2);
    auto* b = new QHBoxLayout;
    b->addWidget(BitBtn1);
    b->addStretch();
    b->addWidget(btnOk);
    b->addWidget(btnCancel);
    g->addLayout(b, 3, 0, 1, 3);
    connect(btnOk, &QPushButton::clicked, this, &TfrmExport::btnOkClick);
    connect(btnSelFields, &QPushButton::clicked, this, [this] {
        if (DataSet && shared<TfrmSelFields>("frmSelFields", this)->Run(*DataSet, Selection)) showSelection();
    });
}

void TfrmExport::showSelection() { MemoSF->setPlainText(DataSet ? SelectionText(*DataSet, Selection) : QString()); }

void TfrmExport::btnOkClick() {
    if (filesGiven({edFilename->text().trimmed()}, m_import)) accept();
}

TfrmImport::TfrmImport(QWidget* parent) : TfrmExport(parent, true) {}

TfrmEximTT::TfrmEximTT(QWidget* parent) : TExchangeDialog(parent) {
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    edFilenameGroups = fileEdit("edFilenameGroups");
    edFilenameRecords = fileEdit("edFilenameRecords");
    btnSelGroups = pushButton(this, "btnSelGroups", QStringLiteral("..."));
    btnSelRecords = pushButton(this, "btnSelRecords", QStringLiteral("..."));
    for (auto [b, e] : {std::pair{btnSelGroups, edFilenameGroups}, std::pair{btnSelRecords, edFilenameRecords}})
        connect(b, &QPushButton::clicked, this, [this, e = e] {
            const QString p = ImportMode ? ModalSeam::getOpenFileName(this, QString(), e->text(), kFilter)
                                         : ModalSeam::getSaveFileName(this, QString(), e->text(), kFilter);
            if (!p.isEmpty()) e->setText(QDir::toNativeSeparators(p));
        });
    edSeparator->setMaxLength(1);
    btnSelFieldsGroups = pushButton(this, "btnSelFieldsGroups", QStringLiteral("Выбрать поля..."));
    btnSelFieldsRecords = pushButton(this, "btnSelFieldsRecords", QStringLiteral("Выбрать поля..."));
    MemoSFDocs = memo("MemoSFDocs");
    MemoSFMoves = memo("MemoSFMoves");
    auto* g = new QGridLayout(this);
    g->addWidget(Label1, 0, 0);
    g->addWidget(edFilenameGroups, 0, 1);
    g->addWidget(btnSelGroups, 0, 2);
    g->addWidget(Label4, 1, 0);
    g->addWidget(edFilenameRecords, 1, 1);
    g->addWidget(btnSelRecords, 1, 2);
    g->addWidget(new QLabel(QStringLiteral("Разделитель"), this), 2, 0);
    g->addWidget(edSeparator, 2, 1);
    g->addWidget(btnSelFieldsGroups, 3, 0);
    g->addWidget(MemoSFDocs, 3, 1, 1, 2);
    g->addWidget(btnSelFieldsRecords, 4, 0);
    g->addWidget(MemoSFMoves, 4, 1, 1, 2);
    auto* b = new QHBoxLayout;
    b->addWidget(BitBtn1);
    b->addStretch();
    b->addWidget(btnOk);
    b->addWidget(btnCancel);
    g->addLayout(b, 5, 0, 1, 3);
    connect(btnOk, &QPushButton::clicked, this, &TfrmEximTT::btnOkClick);
    connect(btnSelFieldsGroups, &QPushButton::clicked, this, [this] {
        if (Groups && shared<TfrmSelFields>("frmSelFields", this)->Run(*Groups, GroupSelection)) showSelections();
    });
    connect(btnSelFieldsRecords, &QPushButton::clicked, this, [this] {
        if (Records && shared<TfrmSelFields>("frmSelFields", this)->Run(*Records, RecordSelection)) showSelections();
    });
    setImportMode(false);
}

void TfrmEximTT::setImportMode(bool import) {
    ImportMode = import;
    setWindowTitle(ExchangeCaption(import));
    Label1->setText(FileLabel(import, QStringLiteral("группы")));
    Label4->setText(FileLabel(import, QStringLiteral("записи")));
    btnOk->setText(ExchangeButton(import));
}

void TfrmEximTT::showSelections() {
    MemoSFDocs->setPlainText(Groups ? SelectionText(*Groups, GroupSelection) : QString());
    MemoSFMoves->setPlainText(Records ? SelectionText(*Records, RecordSelection) : QString());
}

void TfrmEximTT::btnOkClick() {
    if (filesGiven({edFilenameGroups->text().trimmed(), edFilenameRecords->text().trimmed()}, ImportMode)) accept();
}

// --- the commands -------------------------------------------------------------

void ExportFlatBook(QWidget* book, const QString& sql, const QString& fileName) {
    auto* dlg = shared<TfrmExport>("frmExport", book);
    try {
        CsvExportSession session(DM().connection(), sql);
        dlg->edFilename->setText(ProposedExportPath(fileName));
        const auto choose = [dlg](CsvSession& s) { return chooseFlatFile(dlg, s, false); };
        if (const std::optional<CsvOutcome> out = RunExport(session, stepsShown(book, choose))) showExportOutcome(*out);
    } catch (...) {
        dlg->DataSet = nullptr;
        reportError(std::current_exception());
    }
}

bool ImportFlatBook(QWidget* book, const QString& sql) {
    auto* dlg = shared<TfrmImport>("frmImport", book);
    try {
        CsvImportSession session(DM().connection(), sql);
        const auto choose = [dlg](CsvSession& s) {
            dlg->edFilename->clear();
            return chooseFlatFile(dlg, s, true);
        };
        const std::optional<CsvOutcome> out = RunImport(session, stepsShown(book, choose));
        return out && showImportOutcome(*out);
    } catch (...) {
        dlg->DataSet = nullptr;
        reportError(std::current_exception());
        return false;
    }
}

void ExportTreeBook(QWidget* book, const books::TreeBookConfig& c) {
    auto* dlg = shared<TfrmEximTT>("frmEximTT", book);
    try {
        CsvExportSession session(DM().connection(), c);
        dlg->setImportMode(false);
        dlg->edFilenameGroups->setText(ProposedExportPath(c.groupsFileName));
        dlg->edFilenameRecords->setText(ProposedExportPath(c.recordsFileName));
        const auto choose = [dlg](CsvSession& s) { return chooseTreeFiles(dlg, s); };
        if (const std::optional<CsvOutcome> out = RunExport(session, stepsShown(book, choose))) showExportOutcome(*out);
    } catch (...) {
        dlg->Groups = dlg->Records = nullptr;
        reportError(std::current_exception());
    }
}

bool ImportTreeBook(QWidget* book, const books::TreeBookConfig& c) {
    auto* dlg = shared<TfrmEximTT>("frmEximTT", book);
    try {
        CsvImportSession session(DM().connection(), c);
        const auto choose = [dlg](CsvSession& s) {
            dlg->setImportMode(true);
            dlg->edFilenameGroups->clear();
            dlg->edFilenameRecords->clear();
            return chooseTreeFiles(dlg, s);
        };
        const std::optional<CsvOutcome> out = RunImport(session, stepsShown(book, choose));
        if (!out) return false;
        showImportOutcome(*out);
        return TreeBookRereads(*out);
    } catch (...) {
        dlg->Groups = dlg->Records = nullptr;
        reportError(std::current_exception());
        return true;  // the generators may have moved; the book reads its rows again either way
    }
}
