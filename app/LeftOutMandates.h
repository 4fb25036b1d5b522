#pragma once

#include <QString>

class OrderDocument;

// The file holds the mandates of one service type only: the private list under Autogiro Privat,
// the company list under Autogiro Företag. Rows of the other list stay in the document but are
// not written, so the user is told before that happens.

// The number of mandates that a save with the current service type leaves out of the file.
int MandatesLeftOut(const OrderDocument& document);
// Asked before a save that leaves MandatesLeftOut(document) > 0 rows out.
QString SaveLeftOutQuestion(const OrderDocument& document);
// Asked before a switch of the service type that would leave `count` mandates out.
QString ServiceSwitchQuestion(int count, bool toPrivateService);
