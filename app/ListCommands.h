#pragma once

#include "app/ListSelection.h"

class DocumentView;
class OrderDocument;
class QWidget;
class TBtuForm;
class TMakForm;
class TMdgCompForm;
class TMdgForm;

// The main window's commands that add, edit and delete rows of the document through the entry
// dialogs. The window tells which row is selected and which list has the focus; every change
// sets DocModified and ends with UpdateView.
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
                 QWidget* messageParent = nullptr);

    void BtuBtnClick();
    void MdgBtnClick();
    void MakBtnClick();
    void BtuListDblClick();
    void MdgListDblClick();
    void MdgListCompDblClick();
    void MakListDblClick();
    void ChangeBtnClick();
    void DelBtnClick();

    // Write the fields of a dialog just closed with OK into a row (and its code).
    void FillBtuRow(int index);
    void FillMdgRow(int index);
    void FillMdgCompRow(int index);
    void FillMakRow(int index);

private:
    void editRow(ListId list);
    // Puts the row into its dialog; false (after telling the user) when the row cannot be read.
    bool loadRow(ListId list, int index);
    bool showDialog(ListId list);
    void fillRow(ListId list, int index);
    void finishChange(ListId list, int index, bool resizePanels);
    int rowCount(ListId list) const;
    void removeRow(ListId list, int index);

    OrderDocument& m_document;
    DocumentView& m_view;
    ListSelection& m_selection;
    Dialogs m_dialogs;
    QWidget* m_messageParent;
};
