#pragma once
// The quick-find strip of the reference books: up to four search fields, one
// chosen by its radio button; Enter or "Найти" moves the book's cursor to the
// nearest row in the order of the chosen field.
#include <QFrame>
#include <array>

class QLineEdit;
class QPushButton;
class QRadioButton;

class TFrameFastFind : public QFrame {
    Q_OBJECT
public:
    explicit TFrameFastFind(QWidget* parent = nullptr);

    std::array<QString, 4> Captions;

    QPushButton* btnSearch;
    std::array<QRadioButton*, 4> rbField;
    std::array<QLineEdit*, 4> edField;

    // Captions to the radios, edits emptied, unused fields hidden.
    void Reset();
    // The position (0..3) of the checked radio; -1 when none.
    int checkedField() const;
    void checkField(int index);

signals:
    // A radio was chosen (by the user or by checkField).
    void fieldChosen(int index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rbField1Click(int index);
};
