#pragma once
// The settings window: where the database is (a local file or a file on a
// server). It reads the settings file when it is created and again at every
// showing; OK writes the [Database] keys. The new location is used at the
// next start: nothing reconnects.
#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class TfrmOptions : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOptions(QWidget* parent = nullptr);

    // Reads the file into the controls and AppOptions. MS_ShowHintMes is
    // taken only when `withHintFlag` (at creation): a later showing keeps the
    // hint-panel choice made during the run.
    void ReadSettings(bool withHintFlag);
    // Copies the controls into AppOptions (ConnectKind keeps its value when
    // no radio button is checked).
    void ControlsToOptions();
    // The fields of the kind not chosen are disabled.
    void UpdateConnectKindControls();

public slots:
    void btnOkClick();
    void btnSelectDBClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QTabWidget* PageControl1;
    QRadioButton* rbLocalConnect;
    QRadioButton* rbRemoteLANConnect;
    QLineEdit* edLocalDBName;
    QLineEdit* edRemoteLANServer;
    QLineEdit* edRemoteLANFilename;
    QPushButton* btnSelectDB;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QPushButton* BitBtn1;
};
