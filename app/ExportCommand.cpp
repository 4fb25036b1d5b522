#include "app/ExportCommand.h"

#include "app/OrderDocument.h"
#include "app/WaitCursor.h"
#include "format/ListExport.h"
#include "format/UserPrompt.h"
#include "rules/ValmoError.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString proposedName(ListId list)
{
    switch (list) {
    case ListId::Btu:
        return QStringLiteral("Betaluppdrag.csv");
    case ListId::Mdg:
    case ListId::MdgComp:
        return QStringLiteral("Medgivanden.csv");
    case ListId::Mak:
        return QStringLiteral("Makuleringar och ändringar.csv");
    }
    return QString();
}

int rowCount(const OrderDocument& document, ListId list)
{
    switch (list) {
    case ListId::Btu:
        return document.BtuList.count();
    case ListId::Mdg:
        return document.MdgList.count();
    case ListId::MdgComp:
        return document.MdgListComp.count();
    case ListId::Mak:
        return document.MakList.count();
    }
    return 0;
}

} // namespace

ExportCommand::ExportCommand(const OrderDocument& document, const ListSelection& lists, UserPrompt& prompt,
                             QWidget* window)
    : m_document(document), m_lists(lists), m_prompt(prompt), m_window(window)
{
}

std::optional<ListId> ExportCommand::shownList() const
{
    const ListId mandates = m_document.PrivateService ? ListId::Mdg : ListId::MdgComp;
    const ListId shown[] = {ListId::Btu, mandates, ListId::Mak};
    for (ListId list : shown) {
        if (m_lists.hasFocus(list) && rowCount(m_document, list) > 0)
            return list;
    }
    for (ListId list : shown) {
        if (rowCount(m_document, list) > 0)
            return list;
    }
    return std::nullopt;
}

bool ExportCommand::ExportBtnClick()
{
    const std::optional<ListId> list = shownList();
    if (!list) {
        m_prompt.showMessage(QString(), QStringLiteral("Det finns ingen lista med rader att exportera."),
                             UserPrompt::Buttons::Ok);
        return false;
    }
    QString folder;
    try {
        folder = SettingsStore::lastImportFolder();
    } catch (const SettingsError&) {
        folder = QDir::homePath();
    }
    if (folder.isEmpty())
        folder = QDir::homePath();
    const QString path = m_prompt.askSaveFileName(
        UserPrompt::FileDialogOptions::csvFile(folder, QDir(folder).filePath(proposedName(*list))));
    if (path.isEmpty())
        return false;
    try {
        WaitCursorScope wait(m_window);
        ExportListFile(path, m_document, *list);
    } catch (const ValmoError& error) {
        m_prompt.showMessage(ApplicationTitle(), error.text(), UserPrompt::Buttons::Ok,
                             UserPrompt::Icon::Error);
        return false;
    }
    return true;
}
