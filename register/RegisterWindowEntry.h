#pragma once

class TMainForm;

// Connects the main window's "Register" command: the register window over the settings' register,
// whose events open their source file in the viewer at their line.
void ConnectRegisterWindow(TMainForm& form);
