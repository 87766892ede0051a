#pragma once
// A template open in the report designer: the template, the file it came
// from, what is selected, and every change as an undoable command on a
// QUndoStack. No widgets: the designer window shows it and calls it, tests
// drive it directly. Saving writes back to the same file atomically.
#include "reports/engine/DesignCommands.h"
#include "reports/engine/ReportXml.h"

#include <QByteArray>
#include <QObject>
#include <QPointF>
#include <QUndoStack>

class TfrDesignDocument : public QObject {
    Q_OBJECT
public:
    explicit TfrDesignDocument(QObject* parent = nullptr);

    // Reads the template; EfrFileError / EfrTemplateError as the engine's loading.
    // The undo history starts empty and the document is unmodified.
    void load(const QString& path);
    const TfrTemplate& templ() const { return m_templ; }
    const QString& filePath() const { return m_path; }
    QUndoStack* undoStack() { return &m_undo; }
    const QUndoStack* undoStack() const { return &m_undo; }
    bool isModified() const { return !m_undo.isClean(); }

    // Writes the template to the file it was loaded from (a temporary file
    // replaces it only when written whole). An unchanged template is written
    // with the very bytes it was read from. EfrFileError naming the file and
    // the system's reason; EfrTemplateError when the template could not be
    // read back (a group without its condition), the file left as it was.
    void save();
    // The bytes save() would write.
    QByteArray bytesToSave() const;

    // What is selected: objects of the current page, in the order they were picked.
    const TfrObjRefs& selection() const { return m_sel; }
    void setSelection(TfrObjRefs refs);
    // The page shown and the band new objects go to (-1: none).
    int currentPage() const { return m_page; }
    void setCurrentPage(int page);
    int currentBand() const { return m_band; }
    void setCurrentBand(int band);
    const TfrPage* page() const;
    const TfrBand* band() const;

    // --- edits; each one is one step of the undo history -----------------
    // `merge` joins consecutive steps of the same kind on the same objects
    // (arrow keys held down) into one.
    void moveSelection(double dx, double dy, bool merge = false);
    void resizeSelection(double dw, double dh, bool merge = false);
    void snapSelection(double step);
    void alignSelection(TfrAlignKind kind);
    void placeObjects(const std::vector<TfrObjPlacement>& moves);
    void deleteSelection();

    // Property changes are checked as the engine would read them; a value it
    // would refuse is refused here with EfrTemplateError and nothing changes.
    void changeObject(const TfrObjRef& ref, const TfrObject& value);
    // The band's own properties (name, type, height, dataset, ...); its objects stay.
    void changeBand(int page, int band, const TfrBand& value);
    // The paper and the margins; the bands stay.
    void changePage(int page, const TfrPage& value);

    // A new object of `kind` with the designer's default size at `at` (mm on
    // the current band), selected afterwards.
    TfrObjRef insertObject(TfrObjectKind kind, QPointF at = {});
    // A text object showing "[expression]", sized to its text.
    TfrObjRef insertExpression(const QString& expression, QPointF at = {});
    // A picture read from an image file, stored inside the template;
    // EfrFileError naming the file when it is not an image that can be read.
    TfrObjRef insertPicture(const QString& imageFile, QPointF at = {});
    // Inserts a ready object on the current band (a fresh name when its name is taken).
    TfrObjRef insertReady(TfrObject o);

    // Adds a band of `type` after the current band (at the end when none) and
    // makes it current; returns its index.
    int addBand(TfrBandType type);
    void removeBand(int band);
    // Moves the band one place up (-1) or down (+1); false at the edge.
    bool moveBand(int band, int delta);

    // The clipboard: the selected objects as template XML, pasted onto the
    // current band at their places (fresh names where names are taken).
    static QString clipboardMimeType();
    QByteArray copySelection() const;
    void cutSelection();
    // False (and nothing changes) when `data` holds no objects.
    bool paste(const QByteArray& data);

    // Called by the undo commands.
    void restore(const TfrTemplate& t, const TfrObjRefs& sel);

signals:
    // The template changed: views rebuild.
    void changed();
    void selectionChanged();
    void modifiedChanged(bool modified);

private:
    void push(const QString& text, TfrTemplate after, TfrObjRefs selAfter, int mergeId = -1);
    void check(const TfrTemplate& t) const;
    TfrObjRefs validSelection(const TfrTemplate& t, const TfrObjRefs& sel) const;

    TfrTemplate m_templ;
    QString m_path;
    QByteArray m_loadedBytes;  // the file as read or last saved
    QUndoStack m_undo;
    TfrObjRefs m_sel;
    int m_page = 0;
    int m_band = -1;
};
