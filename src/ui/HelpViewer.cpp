#include "ui/HelpViewer.h"

#include "base/HelpSearch.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kScheme = QStringLiteral("chm");
constexpr int kLocalRole = Qt::UserRole;

// Shown in place of a page that the file does not hold.
QString missingPageHtml(const QString& page) {
    return QStringLiteral("<html><head><title>Страница не найдена</title></head><body>"
                          "<h1>Страница не найдена</h1><p>В файле справки нет страницы «%1».</p>"
                          "</body></html>")
        .arg(page.mid(1).toHtmlEscaped());
}

// Page and anchor of an entry of the contents or the index.
std::pair<QString, QString> splitLocal(const QString& local) {
    QString page = local;
    QString fragment;
    const qsizetype hash = page.indexOf(u'#');
    if (hash >= 0) {
        fragment = page.mid(hash + 1);
        page.truncate(hash);
    }
    return {page, fragment};
}

QString pageKey(const QString& page) { return normalizeHelpPage(page).toLower(); }

}  // namespace

// ---------------------------------------------------------------------------
// THelpBrowser

THelpBrowser::THelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setObjectName(QStringLiteral("browser"));
    setOpenLinks(false);
    setOpenExternalLinks(false);
}

QUrl THelpBrowser::pageUrl(const QString& page, const QString& fragment) {
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(normalizeHelpPage(page));
    if (!fragment.isEmpty()) url.setFragment(fragment);
    return url;
}

bool THelpBrowser::isHelpUrl(const QUrl& url) { return url.scheme() == kScheme; }

QVariant THelpBrowser::loadResource(int type, const QUrl& name) {
    QUrl url = name;
    if (url.isRelative()) url = source().resolved(name);
    if (!isHelpUrl(url)) return QTextBrowser::loadResource(type, name);

    const QString path = url.path();
    const auto data = file_ ? file_->read(path) : std::nullopt;
    if (type == QTextDocument::HtmlResource) return data ? decodeHtml(*data) : missingPageHtml(path);
    if (!data) return {};
    if (type == QTextDocument::StyleSheetResource) return QString::fromUtf8(*data);
    return *data;
}

// ---------------------------------------------------------------------------
// TfrmHelp

TfrmHelp::TfrmHelp(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Справка"));
    // Closing the main window ends the program even while help is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    buildUi();
    browser_->setFocus();
}

void TfrmHelp::buildUi() {
    auto* toolBar = addToolBar(QStringLiteral("Справка"));
    toolBar->setObjectName(QStringLiteral("tbHelp"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    acBack_ = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Назад"));
    acBack_->setObjectName(QStringLiteral("acHelpBack"));
    acBack_->setShortcut(QKeySequence::Back);
    acBack_->setToolTip(QStringLiteral("Назад (Alt+Влево)"));
    acBack_->setEnabled(false);

    acForward_ = toolBar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Вперед"));
    acForward_->setObjectName(QStringLiteral("acHelpForward"));
    acForward_->setShortcut(QKeySequence::Forward);
    acForward_->setToolTip(QStringLiteral("Вперед (Alt+Вправо)"));
    acForward_->setEnabled(false);

    acHome_ = toolBar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Начало"));
    acHome_->setObjectName(QStringLiteral("acHelpHome"));
    acHome_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    acHome_->setToolTip(QStringLiteral("Начальная страница справки (Alt+Home)"));

    toolBar->addSeparator();
    auto* acZoomIn = toolBar->addAction(QStringLiteral("Крупнее"));
    acZoomIn->setObjectName(QStringLiteral("acHelpZoomIn"));
    acZoomIn->setShortcut(QKeySequence::ZoomIn);
    acZoomIn->setToolTip(QStringLiteral("Увеличить шрифт (Ctrl++)"));
    auto* acZoomOut = toolBar->addAction(QStringLiteral("Мельче"));
    acZoomOut->setObjectName(QStringLiteral("acHelpZoomOut"));
    acZoomOut->setShortcut(QKeySequence::ZoomOut);
    acZoomOut->setToolTip(QStringLiteral("Уменьшить шрифт (Ctrl+-)"));

    auto* acClose = new QAction(QStringLiteral("Закрыть"), this);
    acClose->setObjectName(QStringLiteral("acHelpClose"));
    acClose->setShortcut(QKeySequence(Qt::Key_Escape));
    addAction(acClose);

    browser_ = new THelpBrowser;
    browser_->setHelpFile(&file_);

    // Left side: contents, index, search.
    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("tabsHelp"));

    tvContents_ = new QTreeWidget;
    tvContents_->setObjectName(QStringLiteral("tvContents"));
    tvContents_->setHeaderHidden(true);
    tvContents_->setColumnCount(1);
    tabs_->addTab(tvContents_, QStringLiteral("Содержание"));

    auto* indexPage = new QWidget;
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->setContentsMargins(4, 4, 4, 4);
    indexLayout->addWidget(new QLabel(QStringLiteral("Введите начало слова:")));
    edIndex_ = new QLineEdit;
    edIndex_->setObjectName(QStringLiteral("edIndex"));
    indexLayout->addWidget(edIndex_);
    lbIndex_ = new QListWidget;
    lbIndex_->setObjectName(QStringLiteral("lbIndex"));
    indexLayout->addWidget(lbIndex_);
    tabs_->addTab(indexPage, QStringLiteral("Указатель"));

    auto* searchPage = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->setContentsMargins(4, 4, 4, 4);
    searchLayout->addWidget(new QLabel(QStringLiteral("Слова для поиска:")));
    auto* searchRow = new QHBoxLayout;
    edSearch_ = new QLineEdit;
    edSearch_->setObjectName(QStringLiteral("edSearch"));
    btnSearch_ = new QPushButton(QStringLiteral("Найти"));
    btnSearch_->setObjectName(QStringLiteral("btnSearch"));
    searchRow->addWidget(edSearch_);
    searchRow->addWidget(btnSearch_);
    searchLayout->addLayout(searchRow);
    lbSearch_ = new QListWidget;
    lbSearch_->setObjectName(QStringLiteral("lbSearch"));
    searchLayout->addWidget(lbSearch_);
    tabs_->addTab(searchPage, QStringLiteral("Поиск"));

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->addWidget(tabs_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 640});
    setCentralWidget(splitter);

    connect(acBack_, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(acForward_, &QAction::triggered, browser_, &QTextBrowser::forward);
    connect(acHome_, &QAction::triggered, this, &TfrmHelp::showStartPage);
    connect(acZoomIn, &QAction::triggered, browser_, [this] { browser_->zoomIn(1); });
    connect(acZoomOut, &QAction::triggered, browser_, [this] { browser_->zoomOut(1); });
    connect(acClose, &QAction::triggered, this, &QWidget::close);
    connect(browser_, &QTextBrowser::backwardAvailable, acBack_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, acForward_, &QAction::setEnabled);
    connect(browser_, &QTextBrowser::anchorClicked, this, &TfrmHelp::followLink);
    connect(browser_, &QTextBrowser::sourceChanged, this, &TfrmHelp::onSourceChanged);
    connect(tvContents_, &QTreeWidget::itemClicked, this, &TfrmHelp::onContentsItem);
    connect(tvContents_, &QTreeWidget::itemActivated, this, &TfrmHelp::onContentsItem);
    connect(edIndex_, &QLineEdit::textEdited, this, &TfrmHelp::onIndexTextEdited);
    connect(edIndex_, &QLineEdit::returnPressed, this, [this] { onIndexItem(lbIndex_->currentItem()); });
    connect(lbIndex_, &QListWidget::itemActivated, this, &TfrmHelp::onIndexItem);
    connect(lbIndex_, &QListWidget::itemClicked, this, &TfrmHelp::onIndexItem);
    connect(edSearch_, &QLineEdit::returnPressed, this, &TfrmHelp::runSearch);
    connect(btnSearch_, &QPushButton::clicked, this, &TfrmHelp::runSearch);
    connect(lbSearch_, &QListWidget::itemActivated, this, &TfrmHelp::onSearchItem);
    connect(lbSearch_, &QListWidget::itemClicked, this, &TfrmHelp::onSearchItem);
    // A tab with a box to type in puts the cursor there.
    connect(tabs_, &QTabWidget::currentChanged, this, [this, indexPage, searchPage](int index) {
        QWidget* page = tabs_->widget(index);
        if (page == searchPage) edSearch_->setFocus();
        else if (page == indexPage) edIndex_->setFocus();
    });
}

bool TfrmHelp::openFile(const QString& path) {
    const QFileInfo info(path);
    if (file_.isOpen() && file_.path() == path && info.lastModified() == fileTime_ && info.size() == fileSize_)
        return true;
    if (!file_.open(path)) {
        fillContents();
        fillIndex();
        return false;
    }
    fileTime_ = info.lastModified();
    fileSize_ = info.size();
    browser_->clearHistory();
    fillContents();
    fillIndex();
    lbSearch_->clear();
    return true;
}

bool TfrmHelp::showAddress(const QString& address) {
    const auto parsed = parseHelpAddress(address);
    if (!parsed || !openFile(parsed->file)) return false;
    showPage(parsed->page, parsed->fragment);
    return true;
}

void TfrmHelp::showPage(const QString& page, const QString& fragment) {
    browser_->setSource(THelpBrowser::pageUrl(page, fragment), QTextDocument::HtmlResource);
}

void TfrmHelp::showStartPage() {
    QString start = file_.defaultTopic();
    if (start.isEmpty() || !file_.contains(start)) start = QStringLiteral("/index.htm");
    if (!file_.contains(start)) {
        const QStringList files = file_.files();
        const auto page = std::find_if(files.cbegin(), files.cend(), [](const QString& f) {
            return f.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive) ||
                   f.endsWith(QStringLiteral(".html"), Qt::CaseInsensitive);
        });
        if (page != files.cend()) start = *page;
    }
    showPage(start);
}

QString TfrmHelp::currentPage() const {
    const QUrl url = browser_->source();
    return THelpBrowser::isHelpUrl(url) ? url.path() : QString();
}

QString TfrmHelp::pageTitle() const { return browser_->documentTitle(); }

void TfrmHelp::present(QWidget* caller) {
    // While a modal dialog runs, every other window is blocked; a window of
    // that dialog is not. Otherwise the help window stands on its own, so
    // that it can go behind the main window.
    QWidget* host = QApplication::activeModalWidget();
    if (host && host->window() == this) host = parentWidget();
    if (host != parentWidget()) {
        const QRect placed = geometry();
        setParent(host, Qt::Window);
        setAttribute(Qt::WA_QuitOnClose, false);
        if (placed_) setGeometry(placed);
    }
    if (!placed_) {
        resize(900, 650);
        const QWidget* near = host ? host : (caller ? caller->window() : nullptr);
        const QScreen* screen = near ? near->screen() : QApplication::primaryScreen();
        if (screen) move(screen->availableGeometry().center() - rect().center());
        placed_ = true;
    }
    if (isMinimized()) showNormal();
    else show();
    raise();
    activateWindow();
}

void TfrmHelp::followLink(const QUrl& url) {
    const QUrl target = url.isRelative() ? browser_->source().resolved(url) : url;
    if (THelpBrowser::isHelpUrl(target)) {
        browser_->setSource(target, QTextDocument::HtmlResource);
        return;
    }
    if (parseHelpAddress(target.toString())) {
        showAddress(target.toString());
        return;
    }
    QDesktopServices::openUrl(target);
}

void TfrmHelp::runSearch() {
    lbSearch_->clear();
    const QString query = edSearch_->text().simplified();
    searchWord_ = query.section(u' ', 0, 0);
    if (query.isEmpty()) return;
    const auto hits = searchHelp(file_, query);
    for (const auto& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, lbSearch_);
        item->setData(kLocalRole, hit.page);
    }
    if (hits.isEmpty()) {
        auto* item = new QListWidgetItem(QStringLiteral("Ничего не найдено"), lbSearch_);
        item->setFlags(Qt::NoItemFlags);
    } else {
        lbSearch_->setCurrentRow(0);
    }
}

void TfrmHelp::onSourceChanged(const QUrl& url) {
    // The browser tells before its history has the new page, so the page is
    // taken from the signal, not from source().
    const QString title = pageTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Справка") : QStringLiteral("Справка — ") + title);
    selectContentsItemFor(THelpBrowser::isHelpUrl(url) ? url.path() : QString());
}

void TfrmHelp::onContentsItem(QTreeWidgetItem* item) {
    if (!item || syncing_) return;
    const QString local = item->data(0, kLocalRole).toString();
    if (!local.isEmpty()) showLocal(local);
}

void TfrmHelp::onIndexTextEdited(const QString& text) {
    const QString wanted = text.trimmed();
    if (wanted.isEmpty()) return;
    for (int row = 0; row < lbIndex_->count(); ++row) {
        QListWidgetItem* item = lbIndex_->item(row);
        if (item->text().trimmed().startsWith(wanted, Qt::CaseInsensitive)) {
            lbIndex_->setCurrentItem(item);
            lbIndex_->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
}

void TfrmHelp::onIndexItem(QListWidgetItem* item) {
    if (!item) return;
    const QString local = item->data(kLocalRole).toString();
    if (!local.isEmpty()) showLocal(local);
}

void TfrmHelp::onSearchItem(QListWidgetItem* item) {
    if (!item) return;
    const QString page = item->data(kLocalRole).toString();
    if (page.isEmpty()) return;
    showPage(page);
    if (!searchWord_.isEmpty()) browser_->find(searchWord_);
}

void TfrmHelp::showLocal(const QString& local) {
    const auto [page, fragment] = splitLocal(local);
    if (page.isEmpty()) return;
    showPage(page, fragment);
}

namespace {

void addTopics(QTreeWidgetItem* parent, QTreeWidget* tree, const QList<HelpTopic>& topics,
               QHash<QString, QTreeWidgetItem*>& byPage) {
    for (const HelpTopic& topic : topics) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree);
        item->setText(0, topic.name.isEmpty() ? topic.local : topic.name);
        item->setData(0, kLocalRole, topic.local);
        const QString page = splitLocal(topic.local).first;
        if (!page.isEmpty() && !byPage.contains(pageKey(page))) byPage.insert(pageKey(page), item);
        addTopics(item, tree, topic.children, byPage);
    }
}

void addIndexEntries(QListWidget* list, const QList<HelpTopic>& topics, const QString& indent) {
    for (const HelpTopic& topic : topics) {
        auto* item = new QListWidgetItem(indent + topic.name, list);
        item->setData(kLocalRole, topic.local);
        addIndexEntries(list, topic.children, indent + QStringLiteral("    "));
    }
}

}  // namespace

void TfrmHelp::fillContents() {
    tvContents_->clear();
    contentsByPage_.clear();
    if (!file_.isOpen() || file_.contentsFile().isEmpty()) return;
    const auto data = file_.read(file_.contentsFile());
    if (!data) return;
    addTopics(nullptr, tvContents_, parseSitemap(*data), contentsByPage_);
    tvContents_->expandAll();
}

void TfrmHelp::fillIndex() {
    lbIndex_->clear();
    if (!file_.isOpen() || file_.indexFile().isEmpty()) return;
    const auto data = file_.read(file_.indexFile());
    if (!data) return;
    QList<HelpTopic> entries = parseSitemap(*data);
    std::stable_sort(entries.begin(), entries.end(), [](const HelpTopic& a, const HelpTopic& b) {
        return a.name.localeAwareCompare(b.name) < 0;
    });
    addIndexEntries(lbIndex_, entries, QString());
}

void TfrmHelp::selectContentsItemFor(const QString& page) {
    QTreeWidgetItem* item = page.isEmpty() ? nullptr : contentsByPage_.value(pageKey(page));
    syncing_ = true;
    if (item) {
        tvContents_->setCurrentItem(item);
        tvContents_->scrollToItem(item);
    } else {
        tvContents_->clearSelection();
    }
    syncing_ = false;
}
