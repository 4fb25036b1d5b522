#include "app/ListCommands.h"

#include "app/DocumentView.h"
#include "app/MessageBox.h"
#include "app/OrderDocument.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "rules/ValmoError.h"

#include <array>

namespace {

const std::array<ListId, 4> ListsInFocusOrder = {ListId::Btu, ListId::Mdg, ListId::MdgComp, ListId::Mak};

} // namespace

ListCommands::ListCommands(OrderDocument& document, DocumentView& view, ListSelection& selection,
                           Dialogs dialogs, QWidget* messageParent)
    : m_document(document), m_view(view), m_selection(selection), m_dialogs(dialogs),
      m_messageParent(messageParent)
{
}

void ListCommands::FillBtuRow(int index)
{
    m_document.BtuList.replace(index, m_dialogs.btu.Row());
    m_document.DocModified = true;
}

void ListCommands::FillMdgRow(int index)
{
    m_document.MdgList.replace(index, m_dialogs.mdg.Row());
    m_document.DocModified = true;
}

void ListCommands::FillMdgCompRow(int index)
{
    m_document.MdgListComp.replace(index, m_dialogs.mdgComp.Row());
    m_document.DocModified = true;
}

void ListCommands::FillMakRow(int index)
{
    TMakForm& dialog = m_dialogs.mak;
    m_document.MakList.replace(index, dialog.CodeText(), dialog.Row(m_document.MakTexts));
    m_document.DocModified = true;
}

void ListCommands::fillRow(ListId list, int index)
{
    switch (list) {
    case ListId::Btu:
        FillBtuRow(index);
        break;
    case ListId::Mdg:
        FillMdgRow(index);
        break;
    case ListId::MdgComp:
        FillMdgCompRow(index);
        break;
    case ListId::Mak:
        FillMakRow(index);
        break;
    }
}

int ListCommands::rowCount(ListId list) const
{
    switch (list) {
    case ListId::Btu:
        return m_document.BtuList.count();
    case ListId::Mdg:
        return m_document.MdgList.count();
    case ListId::MdgComp:
        return m_document.MdgListComp.count();
    case ListId::Mak:
        return m_document.MakList.count();
    }
    return 0;
}

bool ListCommands::showDialog(ListId list)
{
    switch (list) {
    case ListId::Btu:
        m_dialogs.btu.PrivatePayer = m_document.PrivateService;
        return m_dialogs.btu.ShowModal();
    case ListId::Mdg:
        return m_dialogs.mdg.ShowModal();
    case ListId::MdgComp:
        return m_dialogs.mdgComp.ShowModal();
    case ListId::Mak:
        m_dialogs.mak.PrivatePayer = m_document.PrivateService;
        return m_dialogs.mak.ShowModal();
    }
    return false;
}

void ListCommands::finishChange(ListId list, int index, bool resizePanels)
{
    m_document.DocModified = true;
    m_selection.selectRow(list, index);
    m_view.UpdateView(resizePanels);
}

void ListCommands::BtuBtnClick()
{
    if (!showDialog(ListId::Btu))
        return;
    const int index = m_document.BtuList.append(m_dialogs.btu.Row());
    finishChange(ListId::Btu, index, m_document.BtuList.count() == 1);
}

void ListCommands::MdgBtnClick()
{
    const ListId list = m_document.PrivateService ? ListId::Mdg : ListId::MdgComp;
    if (!showDialog(list))
        return;
    const int index = list == ListId::Mdg ? m_document.MdgList.append(m_dialogs.mdg.Row())
                                          : m_document.MdgListComp.append(m_dialogs.mdgComp.Row());
    // Both mandate lists count, whichever received the row.
    const bool first = m_document.MdgList.count() == 1 || m_document.MdgListComp.count() == 1;
    finishChange(list, index, first);
}

void ListCommands::MakBtnClick()
{
    if (!showDialog(ListId::Mak))
        return;
    TMakForm& dialog = m_dialogs.mak;
    const int index = m_document.MakList.append(dialog.CodeText(), dialog.Row(m_document.MakTexts));
    finishChange(ListId::Mak, index, m_document.MakList.count() == 1);
}

bool ListCommands::loadRow(ListId list, int index)
{
    try {
        switch (list) {
        case ListId::Btu:
            m_dialogs.btu.LoadRow(m_document.BtuList.row(index), m_document.PrivateService);
            break;
        case ListId::Mdg:
            m_dialogs.mdg.LoadRow(m_document.MdgList.row(index));
            break;
        case ListId::MdgComp:
            m_dialogs.mdgComp.LoadRow(m_document.MdgListComp.row(index));
            break;
        case ListId::Mak:
            m_dialogs.mak.LoadRow(m_document.MakList.row(index), m_document.MakList.code(index),
                                  m_document.PrivateService);
            break;
        }
    } catch (const ConversionError& error) {
        MessageBox::show(m_messageParent, ApplicationTitle(), error.text(), MessageBox::Buttons::Ok,
                         MessageBox::Icon::Error);
        return false;
    }
    return true;
}

void ListCommands::editRow(ListId list)
{
    const int index = m_selection.selectedRow(list);
    if (index < 0 || index >= rowCount(list))
        return;
    if (!loadRow(list, index))
        return;
    if (!showDialog(list))
        return;
    fillRow(list, index);
    finishChange(list, index, false);
}

void ListCommands::BtuListDblClick()
{
    editRow(ListId::Btu);
}

void ListCommands::MdgListDblClick()
{
    editRow(ListId::Mdg);
}

void ListCommands::MdgListCompDblClick()
{
    editRow(ListId::MdgComp);
}

void ListCommands::MakListDblClick()
{
    editRow(ListId::Mak);
}

void ListCommands::ChangeBtnClick()
{
    for (ListId list : ListsInFocusOrder) {
        if (m_selection.hasFocus(list)) {
            editRow(list);
            return;
        }
    }
}

void ListCommands::removeRow(ListId list, int index)
{
    switch (list) {
    case ListId::Btu:
        m_document.BtuList.remove(index);
        break;
    case ListId::Mdg:
        m_document.MdgList.remove(index);
        break;
    case ListId::MdgComp:
        m_document.MdgListComp.remove(index);
        break;
    case ListId::Mak:
        m_document.MakList.remove(index); // the code goes with its row
        break;
    }
}

void ListCommands::DelBtnClick()
{
    // Removing a list's last row hides the list and the focus moves on to another list, so the
    // focused list is the one found before anything is removed: one command removes one row.
    for (ListId list : ListsInFocusOrder) {
        if (!m_selection.hasFocus(list))
            continue;
        const int index = m_selection.selectedRow(list);
        if (index >= 0 && index < rowCount(list)) {
            m_document.DocModified = true;
            removeRow(list, index);
            const int left = rowCount(list);
            m_selection.selectRow(list, index < left - 1 ? index : -1);
        }
        break;
    }
    m_view.UpdateView(false);
}
