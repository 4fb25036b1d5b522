#include "app/MainActions.h"

#include <QAction>
#include <QFile>
#include <QIcon>
#include <QUndoStack>
#include <QWidget>

namespace {

QIcon toolbarIcon(const QString& name)
{
    const QString resource = QStringLiteral(":/icons/toolbar/%1.png").arg(name);
    return QFile::exists(resource) ? QIcon(resource) : QIcon();
}

} // namespace

MainActions::MainActions(QWidget* window) : QObject(window), m_window(window)
{
    Open = addCommand(QStringLiteral("open"), QStringLiteral("Öppna &fil"),
                      QStringLiteral("Öppna en sparad orderfil (Alt+F). Pilen visar de senaste filerna."));
    New = addCommand(QStringLiteral("new"), QStringLiteral("&Ny fil"),
                     QStringLiteral("Töm listorna och börja på en ny fil (Alt+N)"));
    Spara = addCommand(
        QStringLiteral("save"), QStringLiteral("&Spara fil"),
        QStringLiteral("Spara i den nuvarande filen (Alt+S, Ctrl+S). Pilen ger Spara som (Ctrl+Skift+S)."));
    Visa = addCommand(QStringLiteral("show"), QStringLiteral("&Visa fil"),
                      QStringLiteral("Visa den nuvarande filen som text (Alt+V)"));
    Import = addCommand(QStringLiteral("import"), QStringLiteral("Im&portera..."),
                        QStringLiteral("Läs in betaluppdrag eller medgivanden från en CSV-fil (Alt+P)"));
    Export = addCommand(QStringLiteral("export"), QStringLiteral("E&xportera..."),
                        QStringLiteral("Spara den lista du står i som en CSV-fil (Alt+X)"));
    m_toolbar.append(nullptr);
    Mdg = addCommand(QStringLiteral("mandate"), QStringLiteral("&Medgivande"),
                     QStringLiteral("Lägg till ett medgivande (Alt+M)"));
    Btu = addCommand(QStringLiteral("payment"), QStringLiteral("&Betaluppdrag"),
                     QStringLiteral("Lägg till ett betaluppdrag (Alt+B)"));
    Mak = addCommand(QStringLiteral("cancel"), QStringLiteral("Ma&kulering"),
                     QStringLiteral("Lägg till en makulering eller ändring (Alt+K)"));
    m_toolbar.append(nullptr);
    Change = addCommand(QStringLiteral("edit"), QStringLiteral("&Redigera"),
                        QStringLiteral("Redigera den markerade raden (Alt+R, Enter)"));
    Del = addCommand(QStringLiteral("delete"), QStringLiteral("&Ta bort"),
                     QStringLiteral("Ta bort de markerade raderna (Alt+T, Delete). Ctrl+Z ångrar."));
    m_toolbar.append(nullptr);
    Register = addCommand(QStringLiteral("register"), QStringLiteral("Re&gister"),
                          QStringLiteral("Betalare, medgivanden och betalningar i registret (Alt+G)"));
    Settings = addCommand(QStringLiteral("settings"), QStringLiteral("&Inställningar"),
                          QStringLiteral("Kundnummer, bankgironummer och tjänst (Alt+I)"));
    Help = addCommand(QStringLiteral("help"), QStringLiteral("&Hjälp"),
                      QStringLiteral("Öppna hjälpen (Alt+H, F1)"));

    // A menu shows the whole text with the key that does the same in a list; the button shows
    // the caption. Enter and Delete stay with the lists, where they act on the selected rows.
    Change->setText(QStringLiteral("&Redigera...\tEnter"));
    Del->setText(QStringLiteral("&Ta bort\tDelete"));
    // Ctrl+S and Ctrl+O belong to the buttons' commands, so they run only when the button could.
    Spara->setShortcut(QKeySequence::Save);
    Open->setShortcut(QKeySequence::Open);
    for (QAction* action : {Spara, Open}) {
        action->setShortcutContext(Qt::WindowShortcut);
        m_window->addAction(action);
    }

    SaveAs = addWindowCommand(QStringLiteral("Spara s&om..."), {QKeySequence::SaveAs});
    Undo = addWindowCommand(QStringLiteral("Å&ngra"), {QKeySequence::Undo});
    Redo = addWindowCommand(QStringLiteral("&Gör om"), {QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    Find = addWindowCommand(QStringLiteral("Sök"), {QKeySequence::Find});

    // At start the document is empty: nothing to start anew, save, show, export, edit, delete
    // or undo.
    for (QAction* action : {New, Spara, Visa, Export, Change, Del, SaveAs, Undo, Redo})
        action->setEnabled(false);
}

QAction* MainActions::addCommand(const QString& name, const QString& caption, const QString& toolTip)
{
    auto* action = new QAction(toolbarIcon(name), caption, this);
    action->setObjectName(name);
    // A button shows the icon text; given explicitly it keeps its "&", which is the button's
    // Alt accelerator.
    action->setIconText(caption);
    action->setToolTip(toolTip);
    m_toolbar.append(action);
    return action;
}

QAction* MainActions::addWindowCommand(const QString& text, const QList<QKeySequence>& keys)
{
    auto* action = new QAction(text, this);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    m_window->addAction(action);
    return action;
}

QList<QAction*> MainActions::toolbar() const
{
    return m_toolbar;
}

void MainActions::follow(const QUndoStack& undo)
{
    connect(&undo, &QUndoStack::canUndoChanged, Undo, &QAction::setEnabled);
    connect(&undo, &QUndoStack::canRedoChanged, Redo, &QAction::setEnabled);
    connect(&undo, &QUndoStack::undoTextChanged, Undo, [this](const QString& text) {
        Undo->setText(text.isEmpty() ? QStringLiteral("Å&ngra") : QStringLiteral("Å&ngra %1").arg(text));
    });
    connect(&undo, &QUndoStack::redoTextChanged, Redo, [this](const QString& text) {
        Redo->setText(text.isEmpty() ? QStringLiteral("&Gör om") : QStringLiteral("&Gör om %1").arg(text));
    });
}
