#pragma once
// The designer's property table: shows the sections and rows the engine gives
// for the document's selection (frPropertySections), each row with the editor
// of its kind, and hands every finished edit back as one change of the
// document; a value the document refuses is refused with a message and the
// table shows the old one.
#include "reports/engine/DesignProperties.h"

#include <QPointer>
#include <QTableWidget>
#include <memory>
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
    void row(const TfrPropertyRow& property);
    QWidget* editor(const TfrPropertyRow& property);
    // Puts the value in; a refusal is shown and the table shows the document again.
    void apply(const TfrPropertyRow& property, const QVariant& value);
    // An editor's finished edit goes in when it differs from `last`, which then follows it.
    void finish(const TfrPropertyRow& property, QVariant& last, const QVariant& typed);
    static std::shared_ptr<QVariant> lastValue(const TfrPropertyRow& property);

    TfrDesignDocument* m_doc;
    bool m_pending = false;
    std::vector<QPointer<QObject>> m_watches;  // focus watchers of the text editors
};
