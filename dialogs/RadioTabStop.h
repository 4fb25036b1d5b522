#pragma once

class QButtonGroup;

// Makes the Tab key enter a group of radio buttons at its checked button and leave the group
// from there, as in native dialogs; the arrow keys move between the buttons and check them.
// While no button is checked, every button of the group is a tab stop.
void KeepCheckedButtonAsTabStop(QButtonGroup* group);
