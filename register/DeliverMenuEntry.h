#pragma once

class QMenu;
class TMainForm;

// Puts "Leverera..." in the menu of the save button: the main window's save, then the file
// recorded in the register as delivered.
void AddDeliverCommand(TMainForm& form, QMenu& menu);
