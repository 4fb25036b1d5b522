#pragma once

#include "app/ListSelection.h"

#include <QList>
#include <QUndoStack>

class ConversionError;
class DocumentView;
class ListRow;
class RowChange;
class OrderDocument;
class TBtuForm;
class TMakForm;
class TMdgCompForm;
class TMdgForm;
class UserPrompt;

// The main window's commands that add, edit and delete rows of the document through the entry
// dialogs. The window tells which row is selected and which list has the focus; every change
// sets DocModified and ends with UpdateView. Every change goes onto an undo stack, so it can be
// undone and redone; DocModified follows the stack back to the state last saved or opened.
class ListCommands
{
public:
    struct Dialogs
    {
        TBtuForm& btu;
        TMdgForm& mdg;
        TMdgCompForm& mdgComp;
        TMakForm& mak;
    };

    ListCommands(OrderDocument& document, DocumentView& view, ListSelection& selection, Dialogs dialogs,
                 UserPrompt& prompt);

    void BtuBtnClick();
    void MdgBtnClick();
    void MakBtnClick();
    void BtuListDblClick();
    void MdgListDblClick();
    void MdgListCompDblClick();
    void MakListDblClick();
    void ChangeBtnClick();
    void DelBtnClick();

    QUndoStack& undoStack() { return m_undo; }
    // The document as it is now is the one in the file (saved or just opened).
    void markSaved();
    // The document was replaced (new file, file opened): nothing before it can be undone.
    void forgetHistory();
    // Rows changed past the stack (an import): the state the stack calls clean is gone.
    void changedOutsideHistory();

private:
    void editRow(ListId list);
    // Puts the row into its dialog; false (after telling the user) when the row cannot be read.
    bool loadRow(ListId list, int index);
    bool showDialog(ListId list);
    void addRow(ListId list);
    void push(RowChange* change);
    void applied(ListId list, const QList<int>& rows, bool firstRow);
    ListRow dialogRow(ListId list) const;
    QString dialogCode(ListId list) const;
    int rowCount(ListId list) const;
    QString unreadableRowMessage(ListId list, int index, const ConversionError& error) const;

    OrderDocument& m_document;
    DocumentView& m_view;
    ListSelection& m_selection;
    Dialogs m_dialogs;
    UserPrompt& m_prompt;
    QUndoStack m_undo;
};
