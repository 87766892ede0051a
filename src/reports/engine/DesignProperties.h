#pragma once
// The designer's properties of what is selected, without widgets: for one
// selected object its name, geometry in mm, text or expression, font,
// alignment, frame, word wrap, stretch, line width or bar-code type; with
// nothing selected the current band (name, type, height, dataset, group
// condition) and the page (paper, orientation, margins). Each row says how it
// is edited and with what limits; an edited value goes back through
// frApplyProperty as one change of the document, or is refused with the
// message the document gives and nothing changes.
#include "reports/engine/DesignDocument.h"

#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

enum class TfrPropertyKind {
    Number,          // double within [min, max]
    Text,            // one line
    Multiline,       // text of several lines
    Check,           // bool
    Choice,          // int: the index in `items`
    EditableChoice,  // QString: one of `items` or any other text
    FontFamily,      // QString: the name of a font family
};

struct TfrPropertyRow {
    QString caption;  // "Ширина, мм"
    TfrPropertyKind kind = TfrPropertyKind::Text;
    QVariant value;   // double, QString, bool or int as `kind` says
    double min = 0, max = 0;
    QStringList items;
    // Makes the edit on the document as it is then; EfrTemplateError when refused.
    // Called through frApplyProperty.
    std::function<void(TfrDesignDocument&, const QVariant&)> change;
};

struct TfrPropertySection {
    QString title;  // "Объект: Текст", "Полоса", "Страница", "Выбрано объектов: 3"
    std::vector<TfrPropertyRow> rows;
};

// The sections and rows for the document's selection, current band and page.
std::vector<TfrPropertySection> frPropertySections(const TfrDesignDocument& doc);

// Puts an edited value of `row` into the document (one step of the undo
// history); the refusal's message when the document does not take it.
std::optional<QString> frApplyProperty(TfrDesignDocument& doc, const TfrPropertyRow& row, const QVariant& value);

// What an editor of `row` finishing with `typed` puts in, `last` being what
// it last put in (the row's value at first): nothing when that is the same
// (numbers within a billionth, an editable choice's text trimmed), else the
// value. A check box's every toggle goes in.
std::optional<QVariant> frEditedValue(const TfrPropertyRow& row, const QVariant& last, const QVariant& typed);

// The captions of the band types shown to the user ("Данные", "Заголовок отчета", ...).
QString frBandTypeCaption(TfrBandType type);
