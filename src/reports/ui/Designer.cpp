#include "reports/ui/Designer.h"

#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "reports/engine/DesignActions.h"
#include "reports/engine/DesignToolbar.h"
#include "reports/engine/DesignSample.h"
#include "reports/ui/DesignerProperties.h"
#include "reports/ui/DesignerScene.h"
#include "forms/FormFieldTree.h"
#include "reports/ui/Preview.h"
#include "reports/engine/ReportShared.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFocusEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kQuestionYesNoCancel = 35;  // question icon, "Yes"/"No"/"Cancel"

// Small pictures of the alignment commands: the reference edge and two boxes.
QIcon alignIcon(TfrAlignKind kind) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(90, 140, 220));
    switch (kind) {
    case TfrAlignKind::Left:
        p.drawLine(1, 0, 1, 15);
        p.drawRect(3, 2, 10, 4);
        p.drawRect(3, 9, 6, 4);
        break;
    case TfrAlignKind::Right:
        p.drawLine(14, 0, 14, 15);
        p.drawRect(2, 2, 10, 4);
        p.drawRect(6, 9, 6, 4);
        break;
    case TfrAlignKind::Top:
        p.drawLine(0, 1, 15, 1);
        p.drawRect(2, 3, 4, 10);
        p.drawRect(9, 3, 4, 6);
        break;
    case TfrAlignKind::Bottom:
        p.drawLine(0, 14, 15, 14);
        p.drawRect(2, 2, 4, 10);
        p.drawRect(9, 6, 4, 6);
        break;
    case TfrAlignKind::SameWidth:
        p.drawRect(2, 2, 11, 4);
        p.drawRect(2, 9, 11, 4);
        break;
    case TfrAlignKind::SameHeight:
        p.drawRect(2, 2, 4, 11);
        p.drawRect(9, 2, 4, 11);
        break;
    }
    return QIcon(pm);
}

constexpr int kExprRole = Qt::UserRole + 1;

}  // namespace

TfrmDesigner::TfrmDesigner(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDesigner"));
    setWindowTitle(QStringLiteral("Дизайнер печатной формы"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(1200, 760);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);

    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setIconSize(QSize(16, 16));
    auto* tbInsert = new QToolBar(this);
    tbInsert->setObjectName(QStringLiteral("tbInsert"));
    lay->addWidget(ToolBar);
    lay->addWidget(tbInsert);

    QStyle* st = style();
    const auto picture = [st](TfrDesignPicture p) {
        switch (p) {
        case TfrDesignPicture::None: return QIcon();
        case TfrDesignPicture::Save: return st->standardIcon(QStyle::SP_DialogSaveButton);
        case TfrDesignPicture::Close: return st->standardIcon(QStyle::SP_TitleBarCloseButton);
        case TfrDesignPicture::Back: return st->standardIcon(QStyle::SP_ArrowBack);
        case TfrDesignPicture::Forward: return st->standardIcon(QStyle::SP_ArrowForward);
        case TfrDesignPicture::Trash: return st->standardIcon(QStyle::SP_TrashIcon);
        case TfrDesignPicture::Up: return st->standardIcon(QStyle::SP_ArrowUp);
        case TfrDesignPicture::Down: return st->standardIcon(QStyle::SP_ArrowDown);
        case TfrDesignPicture::Preview: return st->standardIcon(QStyle::SP_FileDialogContentsView);
        default: return alignIcon(TfrAlignKind(int(p) - int(TfrDesignPicture::AlignLeft)));
        }
    };
    QAction* acAlignToGrid = nullptr;
    QAction** members[] = {&acDesignSave,  &acDesignClose,  &acUndo,          &acRedo,        &acCut,
                           &acCopy,        &acPaste,        &acDelete,        &acAlignLeft,   &acAlignRight,
                           &acAlignTop,    &acAlignBottom,  &acSameWidth,     &acSameHeight,  &acSnapToGrid,
                           &acAlignToGrid, &acInsertMemo,   &acInsertLine,    &acInsertRect,  &acInsertPicture,
                           &acInsertBarcode, &acInsertField, &acBandAdd,      &acBandDelete,  &acBandUp,
                           &acBandDown,    &acPreview};  // in the table's order
    for (size_t i = 0; i < frDesignCommands().size(); ++i) {
        const TfrDesignCommand& c = frDesignCommands()[i];
        QToolBar* bar = c.bar == TfrDesignBar::Main ? ToolBar : tbInsert;
        if (c.separatorBefore) bar->addSeparator();
        auto* a = new QAction(picture(c.picture), QString::fromUtf8(c.text), this);
        a->setObjectName(QLatin1String(c.name));
        a->setToolTip(QString::fromUtf8(c.tip));
        if (!c.keys.isEmpty()) a->setShortcuts(c.keys);
        a->setCheckable(c.checkable);
        a->setChecked(c.checkable);
        bar->addAction(a);
        addAction(a);
        *members[i] = a;
    }
    cbGrid = new QComboBox(ToolBar);
    cbGrid->setObjectName(QStringLiteral("cbGrid"));
    cbGrid->setToolTip(QStringLiteral("Шаг сетки"));
    for (double g : kfrDesignGrids) cbGrid->addItem(QStringLiteral("%1 мм").arg(QLocale().toString(g)));
    ToolBar->addWidget(cbGrid);

    pmBandTypes = new QMenu(this);
    pmBandTypes->setObjectName(QStringLiteral("pmBandTypes"));
    for (int i = 0; i <= int(TfrBandType::GroupFooter); ++i) {
        QAction* a = pmBandTypes->addAction(frBandTypeCaption(TfrBandType(i)));
        a->setData(i);
        connect(a, &QAction::triggered, this, [this, i] { edit([&] { m_doc.addBand(TfrBandType(i)); }); });
    }
    acBandAdd->setMenu(pmBandTypes);
    if (auto* b = qobject_cast<QToolButton*>(tbInsert->widgetForAction(acBandAdd)))
        b->setPopupMode(QToolButton::InstantPopup);
    cbPage = new QComboBox(tbInsert);
    cbPage->setObjectName(QStringLiteral("cbPage"));
    cbPage->setToolTip(QStringLiteral("Страница шаблона"));
    m_pageAction = tbInsert->addWidget(cbPage);
    cbZoom = new QComboBox(tbInsert);
    cbZoom->setObjectName(QStringLiteral("cbZoom"));
    cbZoom->setToolTip(QStringLiteral("Масштаб"));
    for (double z : kfrDesignZooms) cbZoom->addItem(QStringLiteral("%1%").arg(z));
    tbInsert->addWidget(cbZoom);
    for (QToolBar* bar : {ToolBar, tbInsert}) bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // the alignment commands are known by their pictures (their names are in the tips)
    for (QAction* a : {acAlignLeft, acAlignRight, acAlignTop, acAlignBottom, acSameWidth, acSameHeight})
        if (auto* b = qobject_cast<QToolButton*>(ToolBar->widgetForAction(a))) b->setToolButtonStyle(Qt::ToolButtonIconOnly);

    m_scene = new TfrDesignScene(&m_doc, this);
    gvDesign = new TfrDesignView(m_scene, this);
    tblProperties = new TfrPropertyEditor(&m_doc, this);
    tvFields = new QTreeWidget(this);
    tvFields->setObjectName(QStringLiteral("tvFields"));
    tvFields->setHeaderLabel(QStringLiteral("Переменные и поля (двойной щелчок — вставить)"));
    auto* right = new QSplitter(Qt::Vertical, this);
    right->addWidget(tblProperties);
    right->addWidget(tvFields);
    right->setStretchFactor(0, 3);
    right->setStretchFactor(1, 2);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(gvDesign);
    split->addWidget(right);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    split->setSizes({860, 340});
    lay->addWidget(split, 1);
    lbStatus = new QLabel(this);
    lbStatus->setObjectName(QStringLiteral("lbStatus"));
    lbStatus->setContentsMargins(6, 2, 6, 2);
    lay->addWidget(lbStatus);

    cbZoom->setCurrentIndex(2);
    cbGrid->setCurrentIndex(0);
    connect(cbZoom, &QComboBox::currentIndexChanged, this, [this](int i) { gvDesign->setZoom(kfrDesignZooms[i]); });
    connect(cbPage, &QComboBox::activated, this, [this](int i) { m_doc.setCurrentPage(i); });
    connect(cbGrid, &QComboBox::currentIndexChanged, this, [this](int i) { m_scene->setGridStep(kfrDesignGrids[i]); });
    connect(acSnapToGrid, &QAction::toggled, m_scene, &TfrDesignScene::setSnapToGrid);
    connect(acAlignToGrid, &QAction::triggered, this, [this] { edit([&] { m_doc.snapSelection(m_scene->grid().step); }); });

    connect(acDesignSave, &QAction::triggered, this, &TfrmDesigner::acDesignSaveExecute);
    connect(acDesignClose, &QAction::triggered, this, &TfrmDesigner::reject);
    connect(acUndo, &QAction::triggered, this, [this] {
        commitEditors();
        m_doc.undoStack()->undo();
    });
    connect(acRedo, &QAction::triggered, this, [this] { m_doc.undoStack()->redo(); });
    connect(acCopy, &QAction::triggered, this, [this] {
        auto* mime = new QMimeData;
        mime->setData(TfrDesignDocument::clipboardMimeType(), m_doc.copySelection());
        QGuiApplication::clipboard()->setMimeData(mime);
    });
    connect(acCut, &QAction::triggered, this, [this] {
        acCopy->trigger();
        m_doc.cutSelection();
    });
    connect(acPaste, &QAction::triggered, this, &TfrmDesigner::acPasteExecute);
    connect(acDelete, &QAction::triggered, this, [this] { m_doc.deleteSelection(); });
    const std::pair<QAction*, TfrAlignKind> aligns[] = {
        {acAlignLeft, TfrAlignKind::Left},       {acAlignRight, TfrAlignKind::Right},
        {acAlignTop, TfrAlignKind::Top},         {acAlignBottom, TfrAlignKind::Bottom},
        {acSameWidth, TfrAlignKind::SameWidth},  {acSameHeight, TfrAlignKind::SameHeight}};
    for (auto [a, kind] : aligns) connect(a, &QAction::triggered, this, [this, kind] { m_doc.alignSelection(kind); });
    const std::pair<QAction*, TfrObjectKind> inserts[] = {{acInsertMemo, TfrObjectKind::Memo},
                                                          {acInsertLine, TfrObjectKind::Line},
                                                          {acInsertRect, TfrObjectKind::Rect},
                                                          {acInsertBarcode, TfrObjectKind::Barcode}};
    for (auto [a, kind] : inserts)
        connect(a, &QAction::triggered, this, [this, kind] { edit([&] { m_doc.insertObject(kind, m_scene->insertPoint()); }); });
    connect(acInsertPicture, &QAction::triggered, this, &TfrmDesigner::acInsertPictureExecute);
    connect(acInsertField, &QAction::triggered, this, &TfrmDesigner::acInsertFieldExecute);
    connect(tvFields, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* it) {
        if (!it->data(0, kExprRole).toString().isEmpty()) acInsertFieldExecute();
    });
    connect(acBandAdd, &QAction::triggered, this, [this] { edit([&] { m_doc.addBand(TfrBandType::MasterData); }); });
    connect(acBandDelete, &QAction::triggered, this, [this] {
        const TfrBand* b = m_doc.band();
        if (!b) return;
        const QString question = frBandRemovalQuestion(*b);
        if (!question.isEmpty() && TitledMessageBox(question, mbQuestionYesNo | mbDefaultNo) != idYes) return;
        m_doc.removeBand(m_doc.currentBand());
    });
    connect(acBandUp, &QAction::triggered, this, [this] { m_doc.moveBand(m_doc.currentBand(), -1); });
    connect(acBandDown, &QAction::triggered, this, [this] { m_doc.moveBand(m_doc.currentBand(), +1); });
    connect(acPreview, &QAction::triggered, this, &TfrmDesigner::acPreviewExecute);

    connect(&m_doc, &TfrDesignDocument::selectionChanged, this, &TfrmDesigner::updateActions);
    connect(&m_doc, &TfrDesignDocument::changed, this, &TfrmDesigner::updateActions);
    connect(&m_doc, &TfrDesignDocument::modifiedChanged, this, &TfrmDesigner::updateTitle);
    connect(m_doc.undoStack(), &QUndoStack::canUndoChanged, acUndo, &QAction::setEnabled);
    connect(m_doc.undoStack(), &QUndoStack::canRedoChanged, acRedo, &QAction::setEnabled);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &TfrmDesigner::updateActions);
    updateActions();
}

TfrmDesigner::~TfrmDesigner() {
    // what shows the document goes before the document itself
    delete gvDesign;
    delete m_scene;
    delete tblProperties;
}

void TfrmDesigner::loadFromFile(const QString& path) {
    m_doc.load(path);
    m_saved = false;
    m_closing = false;
    cbPage->clear();
    for (int i = 0; i < int(m_doc.templ().pages.size()); ++i) cbPage->addItem(QStringLiteral("Страница %1").arg(i + 1));
    m_pageAction->setVisible(m_doc.templ().pages.size() > 1);
    fillFields();
    updateTitle();
    updateActions();
    lbStatus->setText(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
    gvDesign->setFocus();
}

void TfrmDesigner::fillFields() {
    tvFields->clear();
    for (const TfrFieldTreeNode& node : frFormFieldTree(m_doc.filePath())) {
        auto* g = new QTreeWidgetItem(tvFields, {node.caption});
        g->setExpanded(!node.children.empty());
        for (const TfrFieldTreeNode& leaf : node.children) {
            auto* it = new QTreeWidgetItem(g, {leaf.caption});
            it->setData(0, kExprRole, leaf.expression);
            it->setToolTip(0, QStringLiteral("[%1]").arg(leaf.expression));
        }
    }
}

void TfrmDesigner::updateTitle() {
    setWindowTitle(frDesignerTitle(m_doc));
}

void TfrmDesigner::updateActions() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    const TfrDesignActions on = frDesignActions(m_doc, mime && mime->hasFormat(TfrDesignDocument::clipboardMimeType()));
    acUndo->setEnabled(on.undo);
    acRedo->setEnabled(on.redo);
    for (QAction* a : {acCut, acCopy, acDelete}) a->setEnabled(on.cutCopyDelete);
    acPaste->setEnabled(on.paste);
    for (QAction* a : {acAlignLeft, acAlignRight, acAlignTop, acAlignBottom, acSameWidth, acSameHeight}) a->setEnabled(on.align);
    for (QAction* a : {acInsertMemo, acInsertLine, acInsertRect, acInsertPicture, acInsertBarcode, acInsertField})
        a->setEnabled(on.insert);
    acBandDelete->setEnabled(on.bandDelete);
    acBandUp->setEnabled(on.bandUp);
    acBandDown->setEnabled(on.bandDown);
}

void TfrmDesigner::commitEditors() {
    // An editor of the property table commits when it loses the focus. It is
    // told so directly: while this window is not the active one, moving the
    // focus sends it nothing and what was typed would miss the save.
    QWidget* f = focusWidget();
    if (!f || !tblProperties->isAncestorOf(f)) return;
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(f, &out);
    gvDesign->setFocus();
}

void TfrmDesigner::edit(const std::function<void()>& change) {
    try {
        change();
    } catch (const EfrTemplateError& e) {
        TitledMessageBox(e.message(), mbWarningOk);
    } catch (const EfrFileError& e) {
        TitledMessageBox(e.message(), mbStopOk);
    }
}

bool TfrmDesigner::acDesignSaveExecute() {
    commitEditors();
    try {
        m_doc.save();
    } catch (const EfrFileError& e) {
        TitledMessageBox(e.message(), mbStopOk);
        return false;
    } catch (const EfrTemplateError& e) {
        TitledMessageBox(e.message(), mbStopOk);
        return false;
    }
    m_saved = true;
    return true;
}

void TfrmDesigner::acPreviewExecute() {
    commitEditors();
    auto sample = frSampleReport(m_doc.templ(), m_doc.filePath());
    ShowReport(sample->report, this);
}

void TfrmDesigner::acInsertFieldExecute() {
    QTreeWidgetItem* it = tvFields->currentItem();
    const QString expr = it ? it->data(0, kExprRole).toString() : QString();
    if (expr.isEmpty()) {
        TitledMessageBox(QStringLiteral("Выберите в списке переменную или поле."), mbInfoOk);
        return;
    }
    edit([&] { m_doc.insertExpression(expr, m_scene->insertPoint()); });
}

void TfrmDesigner::acInsertPictureExecute() {
    if (!m_doc.band()) return;
    const QString file = ModalSeam::getOpenFileName(this, QStringLiteral("Рисунок"), QString(),
                                                    QStringLiteral("Рисунки (*.png *.jpg *.jpeg *.bmp *.gif)"));
    if (file.isEmpty()) return;
    edit([&] { m_doc.insertPicture(file, m_scene->insertPoint()); });
}

void TfrmDesigner::acPasteExecute() {
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime || !mime->hasFormat(TfrDesignDocument::clipboardMimeType())) return;
    m_doc.paste(mime->data(TfrDesignDocument::clipboardMimeType()));
}

bool TfrmDesigner::confirmClose() {
    commitEditors();
    if (!m_doc.isModified()) return true;
    switch (TitledMessageBox(QStringLiteral("Сохранить изменения в печатной форме?"), kQuestionYesNoCancel)) {
    case idYes: return acDesignSaveExecute();
    case idNo: return true;
    default: return false;
    }
}

void TfrmDesigner::reject() {
    if (!m_closing && !confirmClose()) return;
    m_closing = true;
    QDialog::reject();
}

void TfrmDesigner::closeEvent(QCloseEvent* e) {
    if (!m_closing && !confirmClose()) {
        e->ignore();
        return;
    }
    m_closing = true;
    QDialog::closeEvent(e);
}

bool DesignReport(QWidget* parent, const QString& templatePath) {
    TfrmDesigner dlg(parent);
    try {
        dlg.loadFromFile(templatePath);
    } catch (const EfrTemplateError& e) {
        TitledMessageBox(e.message(), mbStopOk);
        return false;
    } catch (const EfrFileError& e) {
        TitledMessageBox(e.message(), mbStopOk);
        return false;
    }
    execModal(&dlg);
    if (dlg.savedAny()) frReloadSharedReport(templatePath);
    return dlg.savedAny();
}
