#pragma once

#include <QDialog>
#include <QString>

#include <functional>
#include <initializer_list>

class FieldPanel;
class QComboBox;
class QDateEdit;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

// The look and the common behaviour of the entry dialogs: a fixed border, centred on the main
// window, the fields on a rounded panel beside a decorative picture, and the buttons "Hjälp",
// "OK" and "Avbryt" at the bottom right. OK (the default button) runs SaveBtnClick, which closes
// the dialog only when every check passes; "Avbryt", Escape and the close box cancel.
class EntryDialog : public QDialog
{
    Q_OBJECT

public:
    static QColor backgroundColor();

    QPushButton* HelpBtn = nullptr;
    QPushButton* SaveBtn = nullptr;
    QPushButton* QuiteBtn = nullptr;

    // Shows the dialog modally; true when it was closed with OK.
    bool ShowModal();

    virtual void FormShow() {}
    virtual void SaveBtnClick() = 0;
    virtual void HelpBtnClick() = 0;
    void QuiteBtnClick() { reject(); }

protected:
    EntryDialog(QWidget* parent, const QString& caption, const QString& picture,
                Qt::Alignment pictureAlignment);

    QGridLayout* fieldGrid() const { return m_grid; }
    FieldPanel* panel() const { return m_panel; }
    QLabel* addLabel(const QString& text, int row, int column = 0);
    // A small "?" button beside a field, named "Hjälp om <field>" for a screen reader and in its
    // tooltip. It follows the dialog's buttons in the tab order, or is skipped by the Tab key when
    // inTabOrder is false.
    QToolButton* makeHelpButton(const QString& field, std::function<void()> onClick, bool inTabOrder = true);
    static QDateEdit* makeDateEdit(QWidget* parent);
    static void keepPlaceWhenHidden(QWidget* widget);
    // The position of the item whose text is the given one, letters compared without regard to
    // case; -1 when there is none.
    static int indexIgnoringCase(const QComboBox* combo, const QString& text);
    // Runs onExit whenever the focus leaves the field.
    static void watchExit(QWidget* field, std::function<void()> onExit);
    // Makes the Tab key go from each widget to the next one in the list.
    static void setTabChain(std::initializer_list<QWidget*> widgets);
    // The control that has the focus whenever the dialog is shown: the first in the tab order.
    void setFirstField(QWidget* field) { m_firstField = field; }
    // Fixes the window size once every control is in place: at least the given client size. The
    // size is fitted again each time the dialog is shown, after its captions are set for the
    // showing, so a caption or a font that grew since is not cut.
    void finishLayout(const QSize& clientSize);

    // Shows the message of a failed check (empty title, OK) and puts the focus into the field.
    // Returns true when there was no message.
    bool passes(const QString& message, QWidget* field);
    // The checks of a text field: first that the order file can hold every character, then the
    // given message of the field's own check. Returns true when both pass.
    bool passesFieldChecks(QLineEdit* field, const QString& message);
    // A payer field holds a payer number for private payers and a bankgiro number otherwise.
    bool passesPayerChecks(QLineEdit* field, bool privatePayer);

    void showEvent(QShowEvent* event) override;

private:
    void focusFirstField();
    void fitToContents();

    FieldPanel* m_panel = nullptr;
    QWidget* m_firstField = nullptr;
    QGridLayout* m_grid = nullptr;
    QSize m_clientSize;
};
