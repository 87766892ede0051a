#pragma once
// One field of a client dataset: a column of the query's result (data), a
// value computed in memory for every row (calculated) or a value taken from
// another client dataset by a key (lookup). A field reads and writes the
// dataset's current row, or the row the dataset is calculating or showing.
#include "fb/Decimal.h"
#include "fb/Value.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

class TClientDataSet;

enum class TFieldKind { Data, Calculated, Lookup };

enum class TFieldType {
    Unknown,   // declared without a type: taken from the query's result column
    Integer,
    SmallInt,
    LargeInt,
    Text,      // size n; fixed-length when it comes from a CHAR column
    Decimal,   // precision 15, scale 2 (money) or 3 (quantity)
    Date,
    DateTime,
    Time,
    Memo,      // text blob
    Other      // anything else the server returns; shown as text, never compared in WHERE
};

class TField {
public:
    using DisplayHandler = std::function<QString(const TField&)>;
    using ChangeHandler = std::function<void(TField&)>;

    struct LookupDef {
        QString keyField;                 // field of the own row
        TClientDataSet* dataSet = nullptr;  // where to look
        QString lookupKeyField;           // key field there
        QString resultField;              // value taken from there
    };

    TField(TClientDataSet& owner, const QString& name, TFieldKind kind, TFieldType type, int size);
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    // --- definition ---------------------------------------------------------
    const QString& name() const { return m_name; }
    TFieldKind kind() const { return m_kind; }
    TFieldType type() const { return m_type; }
    int size() const { return m_size; }
    int scale() const { return m_scale; }
    // Digits in all of a NUMERIC column (15 for the program's money and quantities).
    int precision() const { return m_precision; }
    bool fixedChar() const { return m_fixedChar; }
    bool isRequired() const { return m_required; }
    bool isReadOnly() const { return m_readOnly || m_kind == TFieldKind::Lookup; }
    bool isVisible() const { return m_visible; }
    QString displayLabel() const { return m_label.isEmpty() ? m_name : m_label; }
    bool hasDisplayLabel() const { return !m_label.isEmpty(); }
    int displayWidth() const;
    bool isNumeric() const;
    int index() const { return m_index; }
    TClientDataSet& dataSet() const { return m_owner; }
    const LookupDef& lookup() const { return m_lookup; }
    // The table the column comes from, as the server reported it (empty for expressions).
    const QString& origin() const { return m_origin; }
    // Set when a data field was forced in or out of the statements of apply;
    // otherwise apply sends the columns that come from the provider's table.
    std::optional<bool> inUpdateOverride() const { return m_inUpdate; }
    bool isAutoCreated() const { return m_auto; }

    TField& setType(TFieldType type) { m_type = type; return *this; }
    TField& setSize(int size) { m_size = size; return *this; }
    TField& setScale(int scale) { m_scale = scale; return *this; }
    TField& setPrecision(int digits) { m_precision = digits; return *this; }
    TField& setFixedChar(bool on) { m_fixedChar = on; return *this; }
    TField& setRequired(bool on = true) { m_required = on; return *this; }
    TField& setReadOnly(bool on = true);
    TField& setVisible(bool on = true);
    TField& setDisplayLabel(const QString& label);
    TField& setDisplayWidth(int chars);
    TField& setOnGetText(DisplayHandler fn) { m_onGetText = std::move(fn); return *this; }
    TField& setOnChange(ChangeHandler fn) { m_onChange = std::move(fn); return *this; }
    // Forces a data field in or out of the statements of apply.
    TField& setInUpdate(bool on) { m_inUpdate = on; return *this; }
    TField& setLookup(const LookupDef& def) { m_lookup = def; return *this; }
    const DisplayHandler& onGetText() const { return m_onGetText; }
    const ChangeHandler& onChange() const { return m_onChange; }

    // --- value of the current row ------------------------------------------
    fb::Value value() const;
    bool isNull() const { return value().isNull(); }
    qint64 asLargeInt() const { return value().toInt(); }
    int asInteger() const { return int(value().toInt()); }
    fb::Decimal asDecimal() const { return value().toDecimal(); }
    QDate asDate() const { return value().toDate(); }
    // "T", "t", "Y", "y" at the start of a text, or a non-zero number.
    bool asBoolean() const;
    // The value as text: numbers with the locale's decimal point, dates in the
    // locale's short format, empty for null.
    QString asString() const { return textOf(value()); }
    // What grids and bound controls show: the display handler's text, else asString().
    QString displayText() const;

    void setValue(const fb::Value& v);
    void setAsInteger(qint64 v) { setValue(fb::Value(v)); }
    void setAsDecimal(fb::Decimal v) { setValue(fb::Value(v)); }
    void setAsDate(const QDate& v) { setValue(fb::Value(v)); }
    void setAsString(const QString& text) { setValue(valueFromText(text)); }
    void setAsBoolean(bool v) { setValue(fb::Value(v ? QStringLiteral("T") : QStringLiteral("F"))); }
    void clear() { setValue(fb::Value()); }

    // Converts a value to this field's type; throws EConvertError when it cannot.
    fb::Value convert(const fb::Value& v) const;
    // Text typed by a user (or read from a file) as a value of this type; empty text is null.
    fb::Value valueFromText(const QString& text) const;
    // asString() of an arbitrary value of this field.
    QString textOf(const fb::Value& v) const;

private:
    friend class TClientDataSet;
    TClientDataSet& m_owner;
    QString m_name;
    TFieldKind m_kind;
    TFieldType m_type;
    int m_size = 0;
    int m_scale = 0;
    int m_precision = 15;
    bool m_fixedChar = false;
    bool m_required = false;
    bool m_readOnly = false;
    bool m_visible = true;
    QString m_label;
    int m_width = 0;
    DisplayHandler m_onGetText;
    ChangeHandler m_onChange;
    LookupDef m_lookup;
    QString m_origin;
    std::optional<bool> m_inUpdate;
    bool m_auto = false;
    int m_index = -1;
};

// Typed text of a field type for messages ("целое число", "дата").
QString fieldTypeName(TFieldType type);
