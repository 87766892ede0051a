// Page addresses, sitemaps, and the help file as the build makes it.
#include "base/HelpFile.h"
#include "base/HelpSearch.h"
#include "test_help_pages.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string s(const QString& text) { return text.toStdString(); }

// ---------------------------------------------------------------------------
// Addresses

TEST(HelpAddress, GoodAddressesSplitIntoFilePageAndAnchor) {
    struct Case { QString address, file, page, fragment; };
    const Case cases[] = {
        {"ms-its:/opt/obrix/obrix.chm::/_docum_edit.htm", "/opt/obrix/obrix.chm", "/_docum_edit.htm", ""},
        {"ms-its:C:\\Program\\obrix.chm::/_docum_edit.htm", "C:\\Program\\obrix.chm", "/_docum_edit.htm", ""},
        {"MS-ITS:/a/obrix.chm::/_rep_kvit.htm#top", "/a/obrix.chm", "/_rep_kvit.htm", "top"},
        {"mk:@MSITStore:/a/obrix.chm::/index.htm", "/a/obrix.chm", "/index.htm", ""},
        {"ms-its:/a/obrix.chm::_books_.htm", "/a/obrix.chm", "/_books_.htm", ""},
        {"  ms-its:/my docs/obrix.chm::/_keys.htm  ", "/my docs/obrix.chm", "/_keys.htm", ""},
        {"ms-its:/a/obrix.chm::\\sub\\page.htm", "/a/obrix.chm", "/sub/page.htm", ""},
    };
    for (const Case& c : cases) {
        const auto parsed = parseHelpAddress(c.address);
        ASSERT_TRUE(parsed.has_value()) << s(c.address);
        EXPECT_EQ(parsed->file, c.file) << s(c.address);
        EXPECT_EQ(parsed->page, c.page) << s(c.address);
        EXPECT_EQ(parsed->fragment, c.fragment) << s(c.address);
    }
}

TEST(HelpAddress, BadAddressesAreRefused) {
    const QString bad[] = {
        "",
        "/opt/obrix/obrix.chm",
        "_docum_edit.htm",
        "http://example.org/_docum_edit.htm",
        "its:/a/obrix.chm::/x.htm",
        "ms-its:",
        "ms-its:/a/obrix.chm",
        "ms-its:::/_docum_edit.htm",
        "ms-its:   ::/_docum_edit.htm",
        "ms-its:/a/obrix.chm::",
        "ms-its:/a/obrix.chm::/",
        "ms-its:/a/obrix.chm::/#anchor",
    };
    for (const QString& address : bad) EXPECT_FALSE(parseHelpAddress(address).has_value()) << s(address);
}

TEST(HelpAddress, MadeAddressesHaveTheProgramsFormAndParseBack) {
    EXPECT_EQ(makeHelpAddress("/opt/obrix/obrix.chm", "_docum_edit.htm"),
              QStringLiteral("ms-its:/opt/obrix/obrix.chm::/_docum_edit.htm"));
    EXPECT_EQ(makeHelpAddress("C:\\Program\\obrix.chm", "/_rep_kvit.htm"),
              QStringLiteral("ms-its:C:\\Program\\obrix.chm::/_rep_kvit.htm"));
    for (const QString& page : contextHelpPages()) {
        const auto parsed = parseHelpAddress(makeHelpAddress("/opt/obrix/obrix.chm", page));
        ASSERT_TRUE(parsed.has_value()) << s(page);
        EXPECT_EQ(parsed->file, QStringLiteral("/opt/obrix/obrix.chm"));
        EXPECT_EQ(parsed->page, "/" + page);
    }
}

// ---------------------------------------------------------------------------
// HTML and sitemaps

TEST(HelpSitemap, NestedListsBecomeATree) {
    const QByteArray hhc =
        "<HTML><HEAD><meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"
        "<!-- <UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"hidden\"></OBJECT></UL> -->"
        "</HEAD><BODY>"
        "<OBJECT type=\"text/site properties\"><param name=\"ImageType\" value=\"Folder\"></OBJECT>\n"
        "<UL>\n"
        "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Начало\">"
        "<param name=\"Local\" value=\"index.htm\"></OBJECT>\n"
        "<LI><object type='text/sitemap'><param name='Name' value='Раздел &laquo;Документы&raquo; &amp; прочее'></object>\n"
        "  <ul>\n"
        "  <li><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Заказ\">"
        "<param name=\"Local\" value=\"_docum_edit.htm#docu\"><param name=\"Local\" value=\"second.htm\"></OBJECT>\n"
        "    <UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Строки\">"
        "<param name=\"Local\" value=\"_docum_pos_edit.htm\"></OBJECT></UL>\n"
        "  <li><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Склад\">"
        "<param name=\"Local\" value=\"_docum_edit.htm#docs\"></OBJECT>\n"
        "  </ul>\n"
        "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"Клавиши\">"
        "<param name=\"Local\" value=\"_keys.htm\"></OBJECT>\n"
        "</UL></BODY></HTML>";
    const QList<HelpTopic> top = parseSitemap(hhc);
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0].name, QStringLiteral("Начало"));
    EXPECT_EQ(top[0].local, QStringLiteral("index.htm"));
    EXPECT_TRUE(top[0].children.isEmpty());
    EXPECT_EQ(top[1].name, QStringLiteral("Раздел «Документы» & прочее"));
    EXPECT_TRUE(top[1].local.isEmpty());
    ASSERT_EQ(top[1].children.size(), 2);
    EXPECT_EQ(top[1].children[0].local, QStringLiteral("_docum_edit.htm#docu"));  // the first Local counts
    ASSERT_EQ(top[1].children[0].children.size(), 1);
    EXPECT_EQ(top[1].children[0].children[0].name, QStringLiteral("Строки"));
    EXPECT_EQ(top[1].children[1].name, QStringLiteral("Склад"));
    EXPECT_EQ(top[2].name, QStringLiteral("Клавиши"));
    EXPECT_TRUE(top[2].children.isEmpty());
}

TEST(HelpSitemap, EmptyOrBrokenTextGivesNothing) {
    EXPECT_TRUE(parseSitemap(QByteArray()).isEmpty());
    EXPECT_TRUE(parseSitemap("<html><body><p>no list</p></body></html>").isEmpty());
    // Unbalanced lists still give the entries read.
    const auto topics = parseSitemap("</UL></UL><UL><LI><OBJECT type=\"text/sitemap\">"
                                     "<param name=\"Local\" value=\"a.htm\"></OBJECT>");
    ASSERT_EQ(topics.size(), 1);
    EXPECT_EQ(topics[0].local, QStringLiteral("a.htm"));
}

TEST(HelpHtml, TitlesEntitiesAndCharsets) {
    EXPECT_EQ(htmlTitle("<html><head><TITLE>\n Заказ &amp; квитанция\n</TITLE></head></html>"),
              QStringLiteral("Заказ & квитанция"));
    EXPECT_EQ(htmlTitle("<html><body>no title</body></html>"), QString());
    EXPECT_EQ(decodeHtmlEntities("&#1025;&#x451; &lt;a&gt; &quot;x&quot; &unknown; &"),
              QStringLiteral("Ёё <a> \"x\" &unknown; &"));
    EXPECT_EQ(decodeHtml("<html><body>Привет</body></html>"), QStringLiteral("<html><body>Привет</body></html>"));

    QStringEncoder cp1251("windows-1251");
    if (!cp1251.isValid()) GTEST_SKIP() << "no windows-1251 codec";
    const QString page = QStringLiteral("<html><head><meta http-equiv=\"Content-Type\" "
                                        "content=\"text/html; charset=windows-1251\"></head><body>Привет</body></html>");
    EXPECT_EQ(decodeHtml(cp1251.encode(page)), page);
}

TEST(HelpHtml, PlainTextDropsMarkupScriptsAndTitle) {
    EXPECT_EQ(htmlPlainText("<html><head><title>T</title><style>p{color:red}</style></head>"
                            "<body><!-- note --><p>Заказ&nbsp;№&nbsp;1</p><script>var x;</script>"
                            "<p>  и   <b>долг</b></p></body></html>"),
              QStringLiteral("Заказ № 1 и долг"));
}

// ---------------------------------------------------------------------------
// ChmFile

TEST(ChmFile, MissingOrForeignFilesDoNotOpen) {
    ChmFile chm;
    EXPECT_FALSE(chm.open(QString()));
    EXPECT_FALSE(chm.open("/nonexistent/folder/obrix.chm"));
    EXPECT_FALSE(chm.isOpen());
    EXPECT_FALSE(chm.read("/index.htm").has_value());
    EXPECT_FALSE(chm.contains("/index.htm"));
    EXPECT_TRUE(chm.files().isEmpty());

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fake = dir.filePath("obrix.chm");
    QFile f(fake);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("this is not a compiled help file, just text long enough to be read as a header");
    f.close();
    EXPECT_FALSE(chm.open(fake));
    EXPECT_FALSE(chm.isOpen());
}

class BuiltHelp : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(chm.open(builtHelpFile())) << s(builtHelpFile()); }

    // The text of a page of the file.
    QString page(const QString& path) {
        const auto data = chm.read(path);
        return data ? decodeHtml(*data) : QString();
    }

    ChmFile chm;
};

TEST_F(BuiltHelp, HoldsEveryPageTheWindowsOpenEachWithATitle) {
    for (const QString& name : contextHelpPages()) {
        EXPECT_TRUE(chm.contains(name)) << s(name);
        EXPECT_TRUE(chm.contains("/" + name)) << s(name);
        const QString html = page("/" + name);
        EXPECT_FALSE(html.isEmpty()) << s(name);
        EXPECT_FALSE(htmlTitle(html).isEmpty()) << s(name);
    }
    const QStringList files = chm.files();
    for (const char* extra : {"/index.htm", "/_main.htm", "/_login.htm", "/obrix.css"})
        EXPECT_TRUE(files.contains(QString::fromLatin1(extra))) << extra;
    EXPECT_EQ(files.size(), QSet<QString>(files.cbegin(), files.cend()).size());
}

TEST_F(BuiltHelp, SystemRecordNamesStartPageContentsAndIndex) {
    EXPECT_EQ(chm.defaultTopic(), QStringLiteral("/index.htm"));
    EXPECT_EQ(chm.contentsFile(), QStringLiteral("/obrix.hhc"));
    EXPECT_EQ(chm.indexFile(), QStringLiteral("/obrix.hhk"));
    EXPECT_EQ(chm.title(), QStringLiteral("Справка программы «Обрикс»"));
    EXPECT_TRUE(chm.contains(chm.contentsFile()));
    EXPECT_TRUE(chm.contains(chm.indexFile()));
}

TEST_F(BuiltHelp, PagesAreValidUtf8AndDeclareIt) {
    for (const QString& path : chm.files()) {
        if (!path.endsWith(".htm")) continue;
        const auto data = chm.read(path);
        ASSERT_TRUE(data.has_value()) << s(path);
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString text = utf8.decode(*data);
        EXPECT_FALSE(utf8.hasError()) << s(path);
        EXPECT_TRUE(text.contains("charset=\"utf-8\"") || text.contains("charset=utf-8")) << s(path);
    }
}

// A link target "page.htm#anchor" exists: the page is in the file and holds
// <a name="anchor">. An empty page part names the page the link is on.
void expectTargetExists(const ChmFile& chm, const QString& from, const QString& target) {
    QString path = target.section('#', 0, 0);
    const QString anchor = target.section('#', 1);
    path = normalizeHelpPage(path.isEmpty() ? from : path);
    ASSERT_TRUE(chm.contains(path)) << s(from) << " -> " << s(target);
    if (anchor.isEmpty()) return;
    const QString html = decodeHtml(*chm.read(path));
    EXPECT_TRUE(html.contains("name=\"" + anchor + "\"")) << s(from) << " -> " << s(target);
}

TEST_F(BuiltHelp, EveryLinkOfEveryPageLeadsToAPageOfTheFile) {
    static const QRegularExpression href(QStringLiteral("(?:href|src)\\s*=\\s*\"([^\"]+)\""),
                                         QRegularExpression::CaseInsensitiveOption);
    int links = 0;
    for (const QString& path : chm.files()) {
        if (!path.endsWith(".htm")) continue;
        auto it = href.globalMatch(page(path));
        while (it.hasNext()) {
            const QString target = it.next().captured(1);
            if (target.contains(':')) continue;  // mailto:, http: - none expected, none checked
            expectTargetExists(chm, path, target);
            ++links;
        }
    }
    EXPECT_GT(links, 100);
}

void collectLocals(const QList<HelpTopic>& topics, QStringList& locals) {
    for (const HelpTopic& t : topics) {
        if (!t.local.isEmpty()) locals.append(t.local);
        collectLocals(t.children, locals);
    }
}

TEST_F(BuiltHelp, ContentsAndIndexLeadToPagesAndCoverEveryPage) {
    QStringList contents;
    collectLocals(parseSitemap(*chm.read(chm.contentsFile())), contents);
    QStringList index;
    collectLocals(parseSitemap(*chm.read(chm.indexFile())), index);
    EXPECT_GT(index.size(), 40);

    for (const QString& local : contents + index) expectTargetExists(chm, "/index.htm", local);

    // Every page of the file can be reached from the contents.
    QSet<QString> inContents;
    for (const QString& local : contents) inContents.insert(normalizeHelpPage(local.section('#', 0, 0)));
    for (const QString& path : chm.files())
        if (path.endsWith(".htm")) { EXPECT_TRUE(inContents.contains(path)) << s(path); }
}

// ---------------------------------------------------------------------------
// Search

TEST_F(BuiltHelp, SearchFindsPagesHoldingEveryWord) {
    const auto pagesOf = [this](const QString& query) {
        QStringList pages;
        for (const auto& hit : searchHelp(chm, query)) pages.append(hit.page);
        return pages;
    };
    const QStringList customer = pagesOf("заказчик");
    ASSERT_FALSE(customer.isEmpty());
    EXPECT_EQ(customer.first(), QStringLiteral("/_books_zakazch.htm"));
    EXPECT_TRUE(pagesOf("Закрыть ПЕРИОД").contains("/_rabper_uprav.htm"));
    EXPECT_TRUE(pagesOf("сопутствующие списание").contains("/_options_param.htm"));
    EXPECT_FALSE(pagesOf("сопутствующие списание").contains("/_books_color.htm"));
    // "ё" and "е" are one letter for the search.
    EXPECT_TRUE(pagesOf("чёрный").contains("/_books_color.htm"));
    EXPECT_TRUE(pagesOf("абракадабра").isEmpty());
    EXPECT_TRUE(pagesOf("   ").isEmpty());

    const auto hits = searchHelp(chm, "клавиши");
    ASSERT_FALSE(hits.isEmpty());
    for (int i = 1; i < hits.size(); ++i) EXPECT_GE(hits[i - 1].score, hits[i].score);
    EXPECT_EQ(hits.first().title, QStringLiteral("Клавиши"));
}

TEST(HelpSearch, ClosedFileFindsNothing) {
    ChmFile chm;
    EXPECT_TRUE(searchHelp(chm, "заказ").isEmpty());
}

}  // namespace
