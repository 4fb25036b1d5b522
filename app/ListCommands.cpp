#include "app/ListCommands.h"

#include "app/DocumentView.h"
#include "app/OrderDocument.h"
#include "app/RowChange.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "format/ListExport.h"
#include "format/UserPrompt.h"
#include "rules/ValmoError.h"

#include <algorithm>
#include <array>

namespace {

const std::array<ListId, 4> ListsInFocusOrder = {ListId::Btu, ListId::Mdg, ListId::MdgComp, ListId::Mak};

} // namespace

// The conversion's own words, then where the text stands: the column whose text it is (when one
// is) and the row, counted from 1 as the user sees the list.
QString ListCommands::unreadableRowMessage(ListId list, int index, const ConversionError& error) const
{
    const ListRow row = [&] {
        switch (list) {
        case ListId::Btu:
            return m_document.BtuList.row(index);
        case ListId::Mdg:
            return m_document.MdgList.row(index);
        case ListId::MdgComp:
            return m_document.MdgListComp.row(index);
        case ListId::Mak:
            return m_document.MakList.row(index);
        }
        return ListRow();
    }();
    const QStringList captions = ListCaptions(list, m_document.PrivateService);
    QString field;
    for (int column = 0; column < row.columnCount() && column < captions.size(); ++column) {
        if (!row.text(column).isEmpty() && row.text(column) == error.value()) {
            field = captions[column];
            break;
        }
    }
    if (field.isEmpty() && list == ListId::Mak && error.value() == m_document.MakList.code(index))
        field = QStringLiteral("koden");
    const QString where =
        field.isEmpty()
            ? QStringLiteral("Rad %1 i %2 kan inte redigeras.").arg(index + 1).arg(ListName(list))
            : QStringLiteral("Fältet %1 på rad %2 i %3 kan inte läsas, så raden kan inte redigeras.")
                  .arg(field)
                  .arg(index + 1)
                  .arg(ListName(list));
    return error.text() + QLatin1Char('\n') + where;
}

ListCommands::ListCommands(OrderDocument& document, DocumentView& view, ListSelection& selection,
                           Dialogs dialogs, UserPrompt& prompt)
    : m_document(document), m_view(view), m_selection(selection), m_dialogs(dialogs), m_prompt(prompt)
{
    // Back at the state last saved or opened, the document counts as unchanged again.
    QObject::connect(&m_undo, &QUndoStack::indexChanged, [this] {
        if (m_undo.isClean())
            m_document.DocModified = false;
    });
}

void ListCommands::markSaved()
{
    m_undo.setClean();
}

void ListCommands::forgetHistory()
{
    m_undo.clear();
}

void ListCommands::changedOutsideHistory()
{
    m_undo.resetClean();
}

void ListCommands::push(RowChange* change)
{
    // Changes that did not come through the stack have made the state it calls clean a state
    // that was never saved.
    if (m_undo.isClean() && m_document.DocModified)
        m_undo.resetClean();
    m_undo.push(change);
}

void ListCommands::applied(ListId list, const QList<int>& rows, bool firstRow)
{
    m_document.DocModified = true;
    m_selection.selectRows(list, rows);
    m_view.UpdateView(firstRow);
}

ListRow ListCommands::dialogRow(ListId list) const
{
    switch (list) {
    case ListId::Btu:
        return m_dialogs.btu.Row();
    case ListId::Mdg:
        return m_dialogs.mdg.Row();
    case ListId::MdgComp:
        return m_dialogs.mdgComp.Row();
    case ListId::Mak:
        return m_dialogs.mak.Row(m_document.MakTexts);
    }
    return ListRow();
}

QString ListCommands::dialogCode(ListId list) const
{
    return list == ListId::Mak ? m_dialogs.mak.CodeText() : QString();
}

int ListCommands::rowCount(ListId list) const
{
    return ListRows(m_document, list).count();
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

void ListCommands::BtuBtnClick()
{
    if (!showDialog(ListId::Btu))
        return;
    addRow(ListId::Btu);
}

void ListCommands::MdgBtnClick()
{
    const ListId list = m_document.PrivateService ? ListId::Mdg : ListId::MdgComp;
    if (!showDialog(list))
        return;
    addRow(list);
}

void ListCommands::MakBtnClick()
{
    if (!showDialog(ListId::Mak))
        return;
    addRow(ListId::Mak);
}

void ListCommands::addRow(ListId list)
{
    push(RowChange::add(m_document, list, dialogRow(list), dialogCode(list),
                        [this](ListId changed, const QList<int>& rows, bool firstRow) {
                            // Both mandate lists count, whichever received the row.
                            const bool mandate = changed == ListId::Mdg || changed == ListId::MdgComp;
                            const bool resize = mandate
                                                    ? !rows.isEmpty() && (m_document.MdgList.count() == 1 ||
                                                                          m_document.MdgListComp.count() == 1)
                                                    : firstRow;
                            applied(changed, rows, resize);
                        }));
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
        m_prompt.showMessage(ApplicationTitle(), unreadableRowMessage(list, index, error),
                             UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
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
    push(RowChange::edit(
        m_document, list, index, dialogRow(list), dialogCode(list),
        [this](ListId changed, const QList<int>& rows, bool) { applied(changed, rows, false); }));
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

void ListCommands::DelBtnClick()
{
    // Removing a list's last rows hides the list and the focus moves on to another list, so the
    // focused list is the one found before anything is removed: one command removes the selected
    // rows of one list.
    for (ListId list : ListsInFocusOrder) {
        if (!m_selection.hasFocus(list))
            continue;
        QList<int> rows;
        for (const int row : m_selection.selectedRows(list)) {
            if (row >= 0 && row < rowCount(list))
                rows.append(row);
        }
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        if (!rows.isEmpty()) {
            push(RowChange::remove(m_document, list, rows,
                                   [this](ListId changed, const QList<int>& selected, bool firstRow) {
                                       applied(changed, selected, firstRow);
                                   }));
        }
        break;
    }
    m_view.UpdateView(false);
}
