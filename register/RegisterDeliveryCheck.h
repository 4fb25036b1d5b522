#pragma once

#include "calendar/DeliveryFinding.h"

#include <QDateTime>
#include <QList>
#include <QString>

class OrderDocument;
class RegisterDatabase;

// What the register knows about a document before delivery, as warnings: payment orders to payers
// whose mandate is not approved (named with its state and since when), new mandates for payers
// already approved, and cancellations of payments the register says were made.
QList<DeliveryFinding> CheckAgainstRegister(const OrderDocument& document, const RegisterDatabase& database);

// The check before delivery with the register's warnings among its findings, in list and row order.
// Without a register at registerPath, or with one that cannot be read, only the calendar's check.
QList<DeliveryFinding> CheckDeliveryWithRegister(const OrderDocument& document, const QDateTime& now,
                                                 const QString& registerPath);
