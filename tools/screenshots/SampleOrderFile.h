#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

// A realistic order file with all three sections (mandates, payment orders, cancellations and
// changes) for a payee with the numbers below, as the editor itself writes it.
namespace SampleOrderFile {
QString customerNumber();
QString bankgiroNumber(); // digits only, as the settings hold it
QByteArray bytes(const QDate& today);
} // namespace SampleOrderFile
