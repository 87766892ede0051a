#include "orders/ui/SelectRep.h"

#include "ui/Application.h"
#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "reports/ui/Designer.h"
#include "reports/engine/ReportShared.h"
#include "ui/Help.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>


namespace {

const QString kFilter = QStringLiteral("frf (*.frf)");

QTreeWidget* formList(QWidget* parent, const char* name) {
    auto* lw = new QTreeWidget(parent);
    lw->setObjectName(QString::fromLatin1(name));
    lw->setColumnCount(2);
    lw->setHeaderLabels({QStringLiteral("Печатная форма"), QStringLiteral("Посл.изменение")});
    lw->setRootIsDecorated(false);
    lw->setUniformRowHeights(true);
    lw->setSelectionBehavior(QAbstractItemView::SelectRows);
    lw->setSelectionMode(QAbstractItemView::SingleSelection);
    lw->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lw->setColumnWidth(0, 340);
    lw->header()->setStretchLastSection(true);
    lw->setMinimumSize(460, 300);
    // The selected row stays as visible when the focus goes to a button.
    QPalette pal = lw->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
    lw->setPalette(pal);
    return lw;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

void fillList(QTreeWidget* lw, const tXmlDataArray& entries) {
    lw->clear();
    for (const tXmlData& e : entries) new QTreeWidgetItem(lw, {e.Caption, e.Date});
    if (lw->topLevelItemCount() > 0) lw->setCurrentItem(lw->topLevelItem(0));
}

}  // namespace

TfrmSelectRep::TfrmSelectRep(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSelectRep"));
    setWindowTitle(QStringLiteral("Управление печатными формами"));
    setModal(true);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    const auto page = [this](const char* name, QTreeWidget*& list, const char* listName, const QString& title) {
        auto* tab = new QWidget(PageControl1);
        tab->setObjectName(QString::fromLatin1(name));
        auto* l = new QVBoxLayout(tab);
        list = formList(tab, listName);
        l->addWidget(list);
        PageControl1->addTab(tab, title);
        return tab;
    };
    tshDocs = page("tshDocs", lwDocs, "lwDocs", QStringLiteral("Документы"));
    tshReports = page("tshReports", lwReports, "lwReports", QStringLiteral("Отчеты"));

    MemoInfo = new QPlainTextEdit(this);
    MemoInfo->setObjectName(QStringLiteral("MemoInfo"));
    MemoInfo->setReadOnly(true);
    MemoInfo->setPlainText(QStringLiteral(
        "Примечание по работе в дизайнере:\n"
        "\n"
        "Чтобы сохранить произведенные в Дизайнере изменения нажмите на панели инструментов Дизайнера\n"
        "кнопку Сохранить (с изображением дискеты), а затем кнопку Закрыть (с изображением крестика).\n"
        "Чтобы отказаться от изменений, нажмите только кнопку Закрыть."));
    // The note is shown whole: its lines as written, no scrolling.
    MemoInfo->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoInfo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    MemoInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    int noteWidth = 0;
    for (const QString& line : MemoInfo->toPlainText().split(QLatin1Char('\n')))
        noteWidth = std::max(noteWidth, MemoInfo->fontMetrics().horizontalAdvance(line));
    const int frame = 2 * (MemoInfo->frameWidth() + int(MemoInfo->document()->documentMargin())) + 4;
    MemoInfo->setMinimumWidth(noteWidth + frame);
    MemoInfo->setFixedHeight(MemoInfo->fontMetrics().lineSpacing() * 5 + frame);

    btnLoad = button(this, "btnLoad", QStringLiteral("Загрузить из файла..."));
    btnSave = button(this, "btnSave", QStringLiteral("Сохранить в файл..."));
    btnOpen = button(this, "btnOpen", QStringLiteral("Открыть в дизайнере"));
    btnClose = button(this, "btnClose", QStringLiteral("Закрыть"));
    BitBtn1 = button(this, "BitBtn1", QString());
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogHelpButton));
    BitBtn1->setToolTip(QStringLiteral("Справка"));

    auto* side = new QVBoxLayout;
    side->addWidget(btnLoad);
    side->addWidget(btnSave);
    side->addWidget(btnOpen);
    side->addStretch(1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BitBtn1);
    bottom->addWidget(btnClose, 1);
    side->addLayout(bottom);

    auto* top = new QHBoxLayout;
    top->addWidget(PageControl1, 1);
    top->addLayout(side);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(MemoInfo);
    lay->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnLoad, &QPushButton::clicked, this, &TfrmSelectRep::btnLoadClick);
    connect(btnSave, &QPushButton::clicked, this, &TfrmSelectRep::btnSaveClick);
    connect(btnOpen, &QPushButton::clicked, this, &TfrmSelectRep::btnOpenClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmSelectRep::BitBtn1Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &TfrmSelectRep::BitBtn1Click);

    FormCreate();
}

void TfrmSelectRep::FormCreate() {
    ParsePrintForms(PrintFormsXml(), XmlDocs, XmlReports);
    refresh();
}

void TfrmSelectRep::setProgramFolder(const QString& folder) {
    m_programFolder = folder;
    refresh();
}

QString TfrmSelectRep::programFolder() const {
    return m_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : m_programFolder;
}

void TfrmSelectRep::FillDates() {
    ::FillDates(XmlDocs, programFolder());
    ::FillDates(XmlReports, programFolder());
}

void TfrmSelectRep::FillLists() {
    fillList(lwDocs, XmlDocs);
    fillList(lwReports, XmlReports);
}

void TfrmSelectRep::refresh() {
    FillDates();
    FillLists();
}

void TfrmSelectRep::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    (PageControl1->currentWidget() == tshReports ? lwReports : lwDocs)->setFocus();
}

const tXmlData* TfrmSelectRep::selectedEntry() const {
    const bool docs = PageControl1->currentWidget() != tshReports;
    QTreeWidget* lw = docs ? lwDocs : lwReports;
    const tXmlDataArray& entries = docs ? XmlDocs : XmlReports;
    const QList<QTreeWidgetItem*> sel = lw->selectedItems();
    if (sel.isEmpty()) return nullptr;
    const int row = lw->indexOfTopLevelItem(sel.first());
    if (row < 0 || row >= int(entries.size())) return nullptr;
    return &entries[size_t(row)];
}

QString TfrmSelectRep::fullPath(const tXmlData& entry) const { return PrintFormPath(programFolder(), entry.Filename); }

void TfrmSelectRep::btnLoadClick() {
    const tXmlData* entry = selectedEntry();
    if (!entry) return;
    const QString form = fullPath(*entry);
    const QString caption = entry->Caption;
    const QString source = ModalSeam::getOpenFileName(this, QString(), QFileInfo(form).absolutePath(), kFilter);
    if (source.isEmpty()) return;
    if (TitledMessageBox(ReplaceFormQuestion(caption), 4) != idYes) return;
    try {
        ReplacePrintForm(source, form, caption);
        TitledMessageBox(FormReplacedMessage(caption, source), 0);
    } catch (const EPrintFormError& e) {
        TitledMessageBox(e.message(), mbStopOk);
    }
    refresh();
}

void TfrmSelectRep::btnSaveClick() {
    const tXmlData* entry = selectedEntry();
    if (!entry) return;
    const QString form = fullPath(*entry);
    QString target = ModalSeam::getSaveFileName(this, QString(), QFileInfo(form).fileName(), kFilter,
                                                    /*askOverwrite=*/false);
    if (target.isEmpty()) return;
    target = WithFrfExtension(target);
    if (QFileInfo::exists(target) &&
        ModalSeam::message(MessageRequest{QStringLiteral("Предупреждение"), OverwriteFileQuestion(target), 4}) != idYes)
        return;
    try {
        SavePrintFormCopy(form, target);
    } catch (const EPrintFormError& e) {
        TitledMessageBox(e.message(), mbStopOk);
    }
}

void TfrmSelectRep::btnOpenClick() {
    const tXmlData* entry = selectedEntry();
    if (!entry) return;
    const QString form = fullPath(*entry);
    if (!QFileInfo(form).isFile()) {
        TitledMessageBox(MissingFormMessage(form), mbStopOk);
        return;
    }
    try {
        frCreateReportObjects();
        frReport().loadFromFile(form);
    } catch (const EfrTemplateError& e) {
        TitledMessageBox(e.message(), mbStopOk);
        return;
    } catch (const EfrFileError& e) {
        TitledMessageBox(e.message(), mbStopOk);
        return;
    }
    try {
        DesignReport(this, form);
    } catch (...) {
        TApplication::handleException(std::current_exception());
    }
    refresh();
}

void TfrmSelectRep::BitBtn1Click() { HelpContext(this, QStringLiteral("_rep_designer.htm")); }
