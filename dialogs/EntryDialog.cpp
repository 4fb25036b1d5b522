#include "dialogs/EntryDialog.h"

#include "app/WidgetPrompt.h"
#include "calendar/BankingDayMarks.h"
#include "dialogs/DatePicker.h"
#include "dialogs/FieldExitWatcher.h"
#include "dialogs/FieldLabel.h"
#include "dialogs/FieldPanel.h"
#include "rules/Check.h"
#include "theme/PaletteFollower.h"
#include "theme/ThemeColours.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// Return on a focused small "?" button presses it, as on any focused button, instead of reaching
// the dialog's default button.
class ReturnPressesButton : public QObject
{
public:
    explicit ReturnPressesButton(QAbstractButton* button) : QObject(button), m_button(button)
    {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                m_button->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QAbstractButton* m_button;
};

} // namespace

EntryDialog::EntryDialog(QWidget* parent, const QString& caption, const QString& picture,
                         Qt::Alignment pictureAlignment)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)
{
    setWindowTitle(caption);
    setModal(true);
    PaletteFollower::follow(this, [this] { setPalette(ThemeColours::dialogPalette(QGuiApplication::palette())); });
    setAutoFillBackground(true);

    m_panel = new FieldPanel(this);
    m_grid = new QGridLayout(m_panel);
    m_grid->setContentsMargins(14, 14, 14, 14);
    m_grid->setHorizontalSpacing(10);
    m_grid->setVerticalSpacing(9);

    auto* upper = new QHBoxLayout;
    upper->addWidget(m_panel, 1);
    const QPixmap pixmap(picture);
    if (!pixmap.isNull()) {
        auto* pictureLabel = new QLabel(this);
        pictureLabel->setObjectName(QStringLiteral("Picture"));
        pictureLabel->setPixmap(pixmap);
        upper->addWidget(pictureLabel, 0, pictureAlignment);
    }

    HelpBtn = new QPushButton(QStringLiteral("Hjälp"), this);
    SaveBtn = new QPushButton(QStringLiteral("OK"), this);
    QuiteBtn = new QPushButton(QStringLiteral("Avbryt"), this);
    SaveBtn->setDefault(true);
    // Return on a focused "Hjälp" or "Avbryt" presses that button; elsewhere it means OK.
    HelpBtn->setAutoDefault(true);
    QuiteBtn->setAutoDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(HelpBtn);
    buttons->addWidget(SaveBtn);
    buttons->addWidget(QuiteBtn);
    connect(HelpBtn, &QPushButton::clicked, this, [this] { HelpBtnClick(); });
    connect(SaveBtn, &QPushButton::clicked, this, [this] { SaveBtnClick(); });
    connect(QuiteBtn, &QPushButton::clicked, this, [this] { QuiteBtnClick(); });

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    outer->setSpacing(12);
    outer->addLayout(upper, 1);
    outer->addLayout(buttons);
}

QColor EntryDialog::backgroundColor()
{
    return ThemeColours::dialogBackground();
}

bool EntryDialog::ShowModal()
{
    return exec() == QDialog::Accepted;
}

QLabel* EntryDialog::addLabel(const QString& text, int row, int column)
{
    auto* label = new FieldLabel(text, m_panel);
    m_grid->addWidget(label, row, column);
    return label;
}

QToolButton* EntryDialog::makeHelpButton(const QString& field, std::function<void()> onClick, bool inTabOrder)
{
    auto* button = new QToolButton(m_panel);
    button->setText(QStringLiteral("?"));
    const QString name = QStringLiteral("Hjälp om %1").arg(field);
    button->setAccessibleName(name);
    button->setToolTip(name);
    button->setFocusPolicy(inTabOrder ? Qt::TabFocus : Qt::NoFocus);
    new ReturnPressesButton(button);
    connect(button, &QToolButton::clicked, this, std::move(onClick));
    return button;
}

QDateEdit* EntryDialog::makeDateEdit(QWidget* parent)
{
    auto* edit = new DatePicker(parent);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    MarkNonBankingDays(edit->calendarWidget());
    // Any date a row can hold, so loading a row never changes its date unseen.
    edit->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    return edit;
}

void EntryDialog::keepPlaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

int EntryDialog::indexIgnoringCase(const QComboBox* combo, const QString& text)
{
    for (int i = 0; i < combo->count(); ++i) {
        if (combo->itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void EntryDialog::watchExit(QWidget* field, std::function<void()> onExit)
{
    new FieldExitWatcher(field, std::move(onExit));
}

void EntryDialog::setTabChain(std::initializer_list<QWidget*> widgets)
{
    QWidget* previous = nullptr;
    for (QWidget* widget : widgets) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

void EntryDialog::finishLayout(const QSize& clientSize)
{
    m_clientSize = clientSize;
    fitToContents();
}

void EntryDialog::fitToContents()
{
    layout()->activate();
    setFixedSize(layout()->totalSizeHint().expandedTo(m_clientSize));
}

bool EntryDialog::passes(const QString& message, QWidget* field)
{
    if (message.isEmpty())
        return true;
    WidgetPrompt(this).showMessage(QString(), message, UserPrompt::Buttons::Ok);
    field->setFocus(Qt::OtherFocusReason);
    // The faulty text is selected, so typing replaces it.
    if (auto* edit = qobject_cast<QLineEdit*>(field))
        edit->selectAll();
    return false;
}

bool EntryDialog::passesFieldChecks(QLineEdit* field, const QString& message)
{
    return passes(CheckWritable(field->text()), field) && passes(message, field);
}

bool EntryDialog::passesPayerChecks(QLineEdit* field, bool privatePayer)
{
    const QString payer = field->text();
    return passesFieldChecks(field, privatePayer ? CheckPayerNumber(payer) : CheckBankgiroNumber(payer));
}

void EntryDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous()) {
        FormShow();
        fitToContents();
        focusFirstField();
    }
    QDialog::showEvent(event);
}

void EntryDialog::focusFirstField()
{
    QWidget* field = m_firstField;
    // Tab into a group of radio buttons lands on the selected one.
    if (auto* radio = qobject_cast<QRadioButton*>(field);
        radio && radio->group() && radio->group()->checkedButton())
        field = radio->group()->checkedButton();
    // A hidden or disabled first field passes the focus on along the tab order.
    for (QWidget* candidate = field; candidate && candidate != this;
         candidate = candidate->nextInFocusChain()) {
        if ((candidate->focusPolicy() & Qt::TabFocus) && candidate->isVisibleTo(this) &&
            candidate->isEnabled()) {
            candidate->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}
