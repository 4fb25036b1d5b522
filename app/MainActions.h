#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>

class QAction;
class QUndoStack;
class QWidget;

// The main window's commands, one QAction each: the caption with its Alt letter, the shortcut,
// the icon, the tool tip and whether the command can run now. The toolbar, the window's
// shortcuts and the lists' context menu show these same objects, so enabling or disabling a
// command changes every place at once. What a command does is connected by the window.
class MainActions : public QObject
{
    Q_OBJECT

public:
    // The actions that carry a shortcut are added to the window, so the shortcut works there.
    explicit MainActions(QWidget* window);

    // The toolbar's commands, in the order of its buttons; nullptr stands for a separator.
    QList<QAction*> toolbar() const;

    // The undo commands name the step they take back or repeat, and are enabled while there is one.
    void follow(const QUndoStack& undo);

    QAction* Open = nullptr;
    QAction* New = nullptr;
    QAction* Spara = nullptr;
    QAction* Visa = nullptr;
    QAction* Import = nullptr;
    QAction* Export = nullptr;
    QAction* Mdg = nullptr;
    QAction* Btu = nullptr;
    QAction* Mak = nullptr;
    QAction* Change = nullptr;
    QAction* Del = nullptr;
    QAction* Register = nullptr;
    QAction* Settings = nullptr;
    QAction* Help = nullptr;

    // Commands of the window that have no button of their own.
    QAction* SaveAs = nullptr;
    QAction* Undo = nullptr;
    QAction* Redo = nullptr;
    QAction* Find = nullptr;

private:
    QAction* addCommand(const QString& name, const QString& caption, const QString& toolTip);
    QAction* addWindowCommand(const QString& text, const QList<QKeySequence>& keys);

    QWidget* m_window;
    QList<QAction*> m_toolbar;
};
