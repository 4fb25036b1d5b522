#pragma once

#include <QString>

// Help: opens a topic ("Betaluppdrag.htm", "Medgivanden.htm#personnummer") of the help file.
void ShowHelpTopic(const QString& topic);
// Prepares the help viewer once at start-up.
void LoadHelpViewer();
// Closes every help window the program opened (at shutdown) and releases the viewer.
void FreeHelpViewer();
