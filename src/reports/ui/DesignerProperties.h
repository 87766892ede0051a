#pragma once
// The designer's property table: for one selected object its name, geometry
// in mm, text or expression, font, alignment, frame, word wrap, stretch, line
// width or bar-code type; with nothing selected the current band (name, type,
// height, dataset, group condition) and the page (paper, orientation,
// margins). Every finished edit is one change of the document; a value the
// engine would refuse is refused with a message and the table shows the old one.
#include "reports/engine/DesignDocument.h"

#include <QPointer>
#include <QTableWidget>
#include <functional>
#include <vector>

class TfrPropertyEditor : public QTableWidget {
    Q_OBJECT
public:
    explicit TfrPropertyEditor(TfrDesignDocument* doc, QWidget* parent = nullptr);
    ~TfrPropertyEditor() override;

    // The editor widget of a property by its caption ("Ширина, мм"), for tests.
    QWidget* editorFor(const QString& caption) const;

public slots:
    // Rebuilds the rows from the document (after the events in hand).
    void scheduleRefresh();
    void refresh();

private:
    void section(const QString& title);
    void row(const QString& caption, QWidget* editor);
    void number(const QString& caption, double value, double min, double max, std::function<void(double)> set);
    void text(const QString& caption, const QString& value, std::function<void(const QString&)> set);
    void multiline(const QString& caption, const QString& value, std::function<void(const QString&)> set);
    void check(const QString& caption, bool value, std::function<void(bool)> set);
    void choice(const QString& caption, const QStringList& items, int index, std::function<void(int)> set);
    void editable(const QString& caption, const QStringList& items, const QString& value,
                  std::function<void(const QString&)> set);

    void showObject(const TfrObjRef& ref);
    void showBand(int band);
    void showPage();
    // Runs a change; a refusal is shown and the table shows the document again.
    void apply(const std::function<void()>& change);

    TfrDesignDocument* m_doc;
    bool m_pending = false;
    std::vector<QPointer<QObject>> m_watches;  // focus watchers of the text editors
};
