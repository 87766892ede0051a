#pragma once
// The print forms the program uses: the built-in list (an XML document in
// Windows-1251, root PrintForms with the groups Documents and Reports), the
// dates of their files' last change, and replacing a form by a file or saving
// a copy of it. No widgets: the window TfrmSelectRep shows and drives this.
#include <QByteArray>
#include <QString>
#include <stdexcept>
#include <vector>

// One entry of the list.
struct tXmlData {
    QString Caption;   // "Документ - квитанция-договор (обувь)"
    QString Filename;  // "Reports\Rep_Kvit_obuv.frf", relative to the program's folder
    QString Date;      // last change of the file, short date format; empty when it does not exist
};
using tXmlDataArray = std::vector<tXmlData>;

// The two lists, documents and reports, kept for the program's lifetime.
extern tXmlDataArray XmlDocs;
extern tXmlDataArray XmlReports;

// A print-form operation that did not happen; message() is Russian, names the
// file and the reason, and says that the form was left as it was.
class EPrintFormError : public std::runtime_error {
public:
    explicit EPrintFormError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }
private:
    QString m_message;
};

// The built-in list as the bytes of its XML document (Windows-1251).
QByteArray PrintFormsXml();

// Parses a list document into the two arrays (both emptied first): every
// PrintForm child of Documents, then of Reports, in document order.
// EPrintFormError when the document is broken.
void ParsePrintForms(const QByteArray& xml, tXmlDataArray& docs, tXmlDataArray& reports);

// The program's folder followed by the entry's file name, "\" read as "/".
QString PrintFormPath(const QString& programFolder, const QString& filename);

// The date of the file's last change in the short date format; empty when there is no such file.
QString FileDateText(const QString& path);

// Sets Date of every entry from its file under the program's folder.
void FillDates(tXmlDataArray& entries, const QString& programFolder);

// Replaces the form's file `formPath` by a copy of `source`. The source must
// be a template the report engine loads; the copy is written beside the form
// and takes its place at once, so a failure leaves the old form whole.
// `caption` names the form in the messages. EPrintFormError on any refusal.
void ReplacePrintForm(const QString& source, const QString& formPath, const QString& caption);

// Writes a copy of the form's file to `target`, replacing it, the same way.
// EPrintFormError on failure (the target is left as it was).
void SavePrintFormCopy(const QString& formPath, const QString& target);

// `path` with ".frf" added when it has no extension.
QString WithFrfExtension(const QString& path);

// What the management window asks and says, the file names in the system's notation.
// "Заменить печатную форму "<caption>" на новую?"
QString ReplaceFormQuestion(const QString& caption);
// The form was replaced by the file `source`.
QString FormReplacedMessage(const QString& caption, const QString& source);
// "Файл <target> существует. Перезаписать?"
QString OverwriteFileQuestion(const QString& target);
// The form's file is missing: it is to be loaded from a file first.
QString MissingFormMessage(const QString& formPath);
