// The help window and the routines every window calls: one reused,
// non-modal window showing pages of the built help file.
#include "session/Global.h"
#include "ui/MessageBoxes.h"
#include "ui/ModalScript.h"
#include "ui/Help.h"
#include "ui/HelpViewer.h"
#include "test_help_pages.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTabWidget>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>

namespace {

std::string s(const QString& text) { return text.toStdString(); }

class HelpWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedHelpFile_ = GL.HelpFile;
        GL.HelpFile = builtHelpFile();
        script_ = std::make_unique<ModalScript>();
    }
    void TearDown() override {
        if (TfrmHelp* w = ExistingHelpWindow()) w->close();
        script_.reset();
        GL.HelpFile = savedHelpFile_;
    }

    // <title> of a page as the built file holds it.
    static QString titleInFile(const QString& page) {
        ChmFile chm;
        if (!chm.open(builtHelpFile())) return {};
        const auto data = chm.read(page);
        return data ? htmlTitle(decodeHtml(*data)) : QString();
    }

    std::unique_ptr<ModalScript> script_;
    QString savedHelpFile_;
};

TEST_F(HelpWindowTest, EveryContextPageOpensWithItsTitle) {
    for (const QString& page : contextHelpPages()) {
        HelpContext(nullptr, page);
        TfrmHelp* w = ExistingHelpWindow();
        ASSERT_NE(w, nullptr) << s(page);
        EXPECT_EQ(w->objectName(), QStringLiteral("frmHelp"));
        EXPECT_TRUE(w->isVisible()) << s(page);
        EXPECT_FALSE(w->isModal());
        EXPECT_FALSE(w->testAttribute(Qt::WA_QuitOnClose));
        EXPECT_EQ(w->currentPage(), "/" + page);
        const QString title = titleInFile("/" + page);
        ASSERT_FALSE(title.isEmpty()) << s(page);
        EXPECT_EQ(w->pageTitle(), title) << s(page);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Справка — ") + title);
    }
    EXPECT_TRUE(script_->messages().isEmpty());
}

TEST_F(HelpWindowTest, PageAddressIsBuiltFromTheHelpFilePath) {
    GL.HelpFile = QStringLiteral("C:\\Program\\obrix.chm");
    EXPECT_EQ(HelpPageAddress("_docum_edit.htm"), QStringLiteral("ms-its:C:\\Program\\obrix.chm::/_docum_edit.htm"));
    GL.HelpFile = builtHelpFile();
    EXPECT_EQ(HelpPageAddress("_rep_kvit.htm"), "ms-its:" + builtHelpFile() + "::/_rep_kvit.htm");
    EXPECT_TRUE(HelpFileBesideExecutable().endsWith(QStringLiteral("/obrix.chm")));
}

TEST_F(HelpWindowTest, AnAddressOpensItsPageAndAnchor) {
    ASSERT_TRUE(OpenHelpAddress(nullptr, "ms-its:" + builtHelpFile() + "::/_docum_edit.htm#docs"));
    TfrmHelp* w = ExistingHelpWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->currentPage(), QStringLiteral("/_docum_edit.htm"));
    EXPECT_EQ(w->browser()->source().fragment(), QStringLiteral("docs"));
    EXPECT_EQ(w->pageTitle(), QStringLiteral("Редактирование документа"));

    EXPECT_FALSE(OpenHelpAddress(nullptr, QStringLiteral("http://example.org/")));
    ASSERT_EQ(script_->messages().size(), 1);
    EXPECT_EQ(script_->messages()[0].flags, mbStopOk);
}

TEST_F(HelpWindowTest, OneWindowIsReusedAndKeepsItsHistory) {
    HelpContext(nullptr, "_books_color.htm");
    TfrmHelp* first = ExistingHelpWindow();
    ASSERT_NE(first, nullptr);
    auto* back = first->findChild<QAction*>("acHelpBack");
    ASSERT_NE(back, nullptr);

    HelpContext(nullptr, "_books_zakazch.htm");
    EXPECT_EQ(ExistingHelpWindow(), first);
    EXPECT_EQ(QApplication::topLevelWidgets().count(first), 1);
    EXPECT_EQ(first->currentPage(), QStringLiteral("/_books_zakazch.htm"));
    EXPECT_TRUE(back->isEnabled());
    back->trigger();
    EXPECT_EQ(first->currentPage(), QStringLiteral("/_books_color.htm"));

    // Closed, then asked again: the same window comes back.
    first->close();
    EXPECT_FALSE(first->isVisible());
    HelpContext(nullptr, "_keys.htm");
    EXPECT_EQ(ExistingHelpWindow(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->currentPage(), QStringLiteral("/_keys.htm"));
}

TEST_F(HelpWindowTest, WholeFileOpensOnTheStartPageWithContentsAndIndex) {
    OpenHelpFile();
    TfrmHelp* w = ExistingHelpWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->currentPage(), QStringLiteral("/index.htm"));
    EXPECT_EQ(w->pageTitle(), QStringLiteral("Справка программы «Обрикс»"));

    auto* contents = w->findChild<QTreeWidget*>("tvContents");
    ASSERT_NE(contents, nullptr);
    EXPECT_GE(contents->topLevelItemCount(), 5);
    auto* index = w->findChild<QListWidget*>("lbIndex");
    ASSERT_NE(index, nullptr);
    EXPECT_GT(index->count(), 40);
    EXPECT_TRUE(script_->messages().isEmpty());
}

TEST_F(HelpWindowTest, LinksContentsIndexAndSearchNavigate) {
    OpenHelpFile();
    TfrmHelp* w = ExistingHelpWindow();
    ASSERT_NE(w, nullptr);

    // A relative link of a page.
    w->followLink(QUrl("_books_color.htm"));
    EXPECT_EQ(w->currentPage(), QStringLiteral("/_books_color.htm"));
    EXPECT_EQ(w->pageTitle(), QStringLiteral("Справочник цветов"));
    w->followLink(QUrl("_docum_pos_edit.htm#usluga"));
    EXPECT_EQ(w->currentPage(), QStringLiteral("/_docum_pos_edit.htm"));
    EXPECT_EQ(w->browser()->source().fragment(), QStringLiteral("usluga"));

    // The contents follow the page shown, and a click opens a page.
    auto* contents = w->findChild<QTreeWidget*>("tvContents");
    ASSERT_NE(contents, nullptr);
    ASSERT_NE(contents->currentItem(), nullptr);
    EXPECT_EQ(contents->currentItem()->text(0), QStringLiteral("Строки документа"));
    const auto keys = contents->findItems(QStringLiteral("Клавиши"), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(keys.size(), 1);
    emit contents->itemClicked(keys.first(), 0);
    EXPECT_EQ(w->currentPage(), QStringLiteral("/_keys.htm"));

    // Typing in the index selects the first matching entry; Enter opens it.
    auto* edIndex = w->findChild<QLineEdit*>("edIndex");
    auto* lbIndex = w->findChild<QListWidget*>("lbIndex");
    ASSERT_NE(edIndex, nullptr);
    ASSERT_NE(lbIndex, nullptr);
    edIndex->setText(QStringLiteral("карточ"));
    emit edIndex->textEdited(edIndex->text());
    ASSERT_NE(lbIndex->currentItem(), nullptr);
    EXPECT_EQ(lbIndex->currentItem()->text(), QStringLiteral("карточка заказчика"));
    emit edIndex->returnPressed();
    EXPECT_EQ(w->currentPage(), QStringLiteral("/_rep_prihod.htm"));
    EXPECT_EQ(w->browser()->source().fragment(), QStringLiteral("kartazak"));

    // Search lists the pages holding the words; a click opens the page.
    auto* edSearch = w->findChild<QLineEdit*>("edSearch");
    auto* lbSearch = w->findChild<QListWidget*>("lbSearch");
    ASSERT_NE(edSearch, nullptr);
    ASSERT_NE(lbSearch, nullptr);
    // Choosing the search tab puts the cursor in its box.
    auto* tabs = w->findChild<QTabWidget*>("tabsHelp");
    ASSERT_NE(tabs, nullptr);
    tabs->setCurrentIndex(2);
    EXPECT_EQ(w->focusWidget(), edSearch);
    edSearch->setText(QStringLiteral("закрыть период"));
    w->runSearch();
    ASSERT_GT(lbSearch->count(), 0);
    const auto found = lbSearch->findItems(QStringLiteral("Управление рабочими периодами"), Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    emit lbSearch->itemClicked(found.first());
    EXPECT_EQ(w->currentPage(), QStringLiteral("/_rabper_uprav.htm"));
    EXPECT_TRUE(w->browser()->textCursor().hasSelection());

    edSearch->setText(QStringLiteral("абракадабра"));
    w->runSearch();
    ASSERT_EQ(lbSearch->count(), 1);
    EXPECT_EQ(lbSearch->item(0)->text(), QStringLiteral("Ничего не найдено"));
}

TEST_F(HelpWindowTest, ResourcesComeFromTheFile) {
    OpenHelpFile();
    TfrmHelp* w = ExistingHelpWindow();
    ASSERT_NE(w, nullptr);
    THelpBrowser* browser = w->browser();

    const QVariant css = browser->loadResource(QTextDocument::StyleSheetResource, QUrl("obrix.css"));
    EXPECT_TRUE(css.toString().contains(QStringLiteral("body"))) << s(css.toString());
    EXPECT_FALSE(browser->loadResource(QTextDocument::ImageResource, QUrl("no-such-picture.png")).isValid());

    w->showPage("_no_such_page.htm");
    EXPECT_EQ(w->pageTitle(), QStringLiteral("Страница не найдена"));
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("_no_such_page.htm")));
}

TEST_F(HelpWindowTest, WhileADialogIsModalTheWindowBelongsToIt) {
    {
        QDialog dialog;
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        ASSERT_EQ(QApplication::activeModalWidget(), &dialog);

        HelpContext(&dialog, "_options_db.htm");
        TfrmHelp* w = ExistingHelpWindow();
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), &dialog);
        EXPECT_TRUE(w->isWindow());
        EXPECT_TRUE(w->isVisible());
        EXPECT_FALSE(w->isModal());
        EXPECT_FALSE(w->testAttribute(Qt::WA_QuitOnClose));
        EXPECT_EQ(w->currentPage(), QStringLiteral("/_options_db.htm"));
        // Closing the dialog leaves the help open for reading.
        dialog.hide();
        EXPECT_TRUE(w->isVisible());
    }
    // The dialog is gone and took its window along: the next request makes a
    // new one, standing on its own.
    EXPECT_EQ(ExistingHelpWindow(), nullptr);
    HelpContext(nullptr, "_options_param.htm");
    TfrmHelp* w = ExistingHelpWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->parentWidget(), nullptr);
    EXPECT_EQ(w->currentPage(), QStringLiteral("/_options_param.htm"));
}

TEST_F(HelpWindowTest, MissingHelpFileSaysSoAndNothingElse) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString missing = dir.filePath("obrix.chm");
    GL.HelpFile = missing;
    const bool windowBefore = ExistingHelpWindow() && ExistingHelpWindow()->isVisible();

    HelpContext(nullptr, "_docum_edit.htm");
    OpenHelpFile();
    GL.HelpFile = dir.path();  // a folder is not a help file either
    HelpContext(nullptr, "_rep_kvit.htm");

    const QStringList expected = {QStringLiteral("Не найден файл справки ") + missing,
                                  QStringLiteral("Не найден файл справки ") + missing,
                                  QStringLiteral("Не найден файл справки ") + dir.path()};
    EXPECT_EQ(script_->messageTexts(), expected);
    for (const MessageRequest& m : script_->messages()) {
        EXPECT_EQ(m.flags, mbStopOk);
        EXPECT_EQ(m.caption, QStringLiteral("Обрикс "));
    }
    EXPECT_FALSE(windowBefore);
    EXPECT_FALSE(ExistingHelpWindow() && ExistingHelpWindow()->isVisible());
}

TEST_F(HelpWindowTest, AFileThatIsNotAHelpFileIsReported) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fake = dir.filePath("obrix.chm");
    QFile f(fake);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a help file at all, only some text to fill the header of the file");
    f.close();
    GL.HelpFile = fake;

    HelpContext(nullptr, "_docum_edit.htm");
    ASSERT_EQ(script_->messages().size(), 1);
    EXPECT_TRUE(script_->messages()[0].text.startsWith(QStringLiteral("Не удалось открыть файл справки ") + fake));
    EXPECT_EQ(script_->messages()[0].flags, mbStopOk);
    EXPECT_FALSE(ExistingHelpWindow() && ExistingHelpWindow()->isVisible());
}

}  // namespace
