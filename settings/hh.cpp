#include "settings/hh.h"

// Placeholder until the help viewer lands.
void ShowHelpTopic(const QString&) {}
void LoadHelpViewer() {}
void FreeHelpViewer() {}
