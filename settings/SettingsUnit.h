#pragma once

#include <QDialog>
#include <QPixmap>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class RegisterFileField;

// The settings dialog: the customer number at Bankgirot, the payee's bankgiro number and the
// service type. It only edits and validates its fields; SettingsCommand fills them and stores them.
class TSettingsForm : public QDialog
{
    Q_OBJECT

public:
    explicit TSettingsForm(QWidget* parent = nullptr);

    QLineEdit* KundNrEdit = nullptr;
    QLineEdit* BgNrEdit = nullptr;
    QRadioButton* ChkPrivat = nullptr;
    QRadioButton* ChkComp = nullptr;
    // Förändringsskydd: the seal key (shown as dots), its check value and the sealing switch.
    QCheckBox* SealChk = nullptr;
    QLineEdit* SealKeyEdit = nullptr;
    QLabel* KvvLabel = nullptr;
    QLabel* KeyringLabel = nullptr;
    // Opens the keyring's own technical reason beside the plain note.
    QPushButton* KeyringDetailsBtn = nullptr;
    QString KeyringDetails;
    QString LoadedSealKey; // the key as the dialog was filled, so an unchanged key is not rewritten
    // The register's file; empty for the default one.
    RegisterFileField* RegisterField = nullptr;
    QPushButton* SaveBtn = nullptr;
    QPushButton* QuiteBtn = nullptr;

    // Brings the bankgiro field into its display form (123-4567, 1234-5678 or the digits alone).
    void BgNrEditExit();
    // Validates the fields; closes with OK when they pass, otherwise tells why and stays open.
    void SaveBtnClick();
    void QuiteBtnClick();
    // Shows the check value of the key typed so far.
    void SealKeyEditChange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    QWidget* buildSealPart();
    QWidget* buildRegisterPart();
    QString sealKeyProblem() const;
    // Shows a failed check's message and puts the focus into the field at fault.
    bool refuse(const QString& message, QLineEdit* field);
    void centreOnParent();

    QWidget* m_panel = nullptr;
    QLabel* m_picture = nullptr;
};
