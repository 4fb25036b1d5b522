#pragma once

#include "app/ListSelection.h"

#include <QString>

// How the bank treats what a finding points at.
enum class FindingLevel
{
    Error,  // "fel": the bank rejects it
    Warning // "varning": the bank carries it out otherwise than written, or advises against it
};

// "fel" or "varning".
QString FindingLevelText(FindingLevel level);

// One finding of the check before delivery: where it is, how grave it is, and what the bank will do.
struct DeliveryFinding
{
    ListId list = ListId::Btu;
    int row = 0;    // counted from 0, in the document's order
    int column = 0; // 0 is the caption
    QString columnTitle;
    FindingLevel level = FindingLevel::Warning;
    QString message;
};
