#pragma once
// The compiled help file obrix.chm: page addresses, reading the file and its
// table of contents. No widgets here; the help window builds on it.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct chmFile;

// A page address "ms-its:" + path of the help file + "::/" + page name,
// optionally followed by "#" and an anchor.
struct HelpAddress {
    QString file;      // path of the help file as written in the address
    QString page;      // page inside the file, always starting with "/"
    QString fragment;  // anchor without the "#", empty when there is none
};

// Splits an address; nothing when it is not a page address (another scheme,
// no "::", an empty file path or an empty page name). The scheme is
// recognised in any letter case; "mk:@MSITStore:" is accepted as well.
std::optional<HelpAddress> parseHelpAddress(const QString& address);
// "ms-its:" + file + "::/" + page (a leading "/" of the page is not doubled).
QString makeHelpAddress(const QString& file, const QString& page);
// "/" + page unless it already starts with "/", backslashes made slashes.
QString normalizeHelpPage(const QString& page);

// One entry of the table of contents or of the keyword index.
struct HelpTopic {
    QString name;
    QString local;               // page with optional "#anchor", as written in the file
    QList<HelpTopic> children;
};

// Reads a sitemap (the .hhc contents or the .hhk index): nested <UL> lists of
// <OBJECT type="text/sitemap"> entries with "Name" and "Local" parameters.
// The text is decoded by its own charset declaration (UTF-8 when it has none).
QList<HelpTopic> parseSitemap(const QByteArray& data);

// Resolves character references (&amp;, &#1025;, &#x401;, &laquo; ...).
QString decodeHtmlEntities(const QString& text);
// Decodes an HTML page by its charset declaration, UTF-8 when it has none.
QString decodeHtml(const QByteArray& data);
// The text of <title>, entities resolved, blanks collapsed; empty when none.
QString htmlTitle(const QString& html);

// An open compiled help file.
class ChmFile {
public:
    ChmFile() = default;
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // Opens the file (closing any file open before); false when it cannot
    // be read as a compiled help file.
    bool open(const QString& path);
    void close();
    bool isOpen() const { return handle_ != nullptr; }
    QString path() const { return path_; }

    // Every ordinary file stored, as "/name.htm", in stored order; the
    // internal files of the format (names beginning with "#" or "$", or with
    // "::") are left out.
    QStringList files() const;
    // True when a file of this path is stored ("/" is added when missing).
    bool contains(const QString& path) const;
    // The file's bytes; nothing when it is not stored.
    std::optional<QByteArray> read(const QString& path) const;

    // From the file's system record, filled on opening; empty when absent.
    QString title() const { return title_; }
    QString defaultTopic() const { return defaultTopic_; }  // "/index.htm"
    QString contentsFile() const { return contentsFile_; }  // "/obrix.hhc"
    QString indexFile() const { return indexFile_; }        // "/obrix.hhk"

private:
    void readSystemRecord();

    chmFile* handle_ = nullptr;
    QString path_;
    QString title_;
    QString defaultTopic_;
    QString contentsFile_;
    QString indexFile_;
};
