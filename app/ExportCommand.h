#pragma once

#include "app/ListSelection.h"

#include <optional>

class OrderDocument;
class QWidget;
class UserPrompt;

// "Exportera...": the list shown in the main window as a CSV file for spreadsheets. With more
// than one list shown, the one with the keyboard focus; otherwise the first shown from the top.
class ExportCommand
{
public:
    ExportCommand(const OrderDocument& document, const ListSelection& lists, UserPrompt& prompt,
                  QWidget* window);

    // True when a file was written. Failures are shown to the user, never thrown.
    bool ExportBtnClick();
    // The list that would be exported, or nullopt when no list has rows.
    std::optional<ListId> shownList() const;

private:
    const OrderDocument& m_document;
    const ListSelection& m_lists;
    UserPrompt& m_prompt;
    QWidget* m_window;
};
