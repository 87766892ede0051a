#pragma once
// The flat reference book: a list of records without groups (colours,
// materials, special marks, customers, operators), configured by its table.
#include "books/ui/BookBase.h"
#include "books/core/BookRules.h"

class TfrmBookSimple : public TBookBase {
    Q_OBJECT
public:
    explicit TfrmBookSimple(const books::SimpleBookConfig& config, QWidget* parent = nullptr);
    void FormShow();
    void UpdateStatusBar() override;
    void acExportExecute() override;
    void acImportExecute() override;

protected:
    void showEvent(QShowEvent* e) override;
    void reloadRecords() override;
    bool wholeLineOrderBy() const override { return false; }

private:
    const books::SimpleBookConfig& m_config;
};
