#pragma once

#include <QStringList>

// `valmo-cli calendar YEAR`: the weekdays of the year that are no banking days, one a line, as
// "2026-04-03 långfredagen". Exit status 0, or 2 for a wrong command line.
int RunCalendarCommand(const QStringList& arguments);
