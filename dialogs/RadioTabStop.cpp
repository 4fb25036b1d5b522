#include "dialogs/RadioTabStop.h"

#include <QAbstractButton>
#include <QButtonGroup>

namespace {

void updateTabStops(const QButtonGroup* group)
{
    const bool noneChecked = group->checkedButton() == nullptr;
    for (QAbstractButton* button : group->buttons())
        button->setFocusPolicy(noneChecked || button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

} // namespace

void KeepCheckedButtonAsTabStop(QButtonGroup* group)
{
    updateTabStops(group);
    QObject::connect(group, &QButtonGroup::buttonToggled, group, [group] { updateTabStops(group); });
}
