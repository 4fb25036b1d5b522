#pragma once

#include <QString>
#include <QStringList>

// The Swedish names of the states of mandates and payments, as the register stores and shows them.
namespace RegisterStates {

// Mandates.
inline QString mandateSent() { return QStringLiteral("Skickat"); }
inline QString mandateApproved() { return QStringLiteral("Godkänt"); }
inline QString mandateRefused() { return QStringLiteral("Avvisat"); }
inline QString mandateCancelled() { return QStringLiteral("Makulerat"); }
inline QString mandateAwaitingAnswer() { return QStringLiteral("Väntar på ert svar"); }
inline QString mandateUnderEnquiry() { return QStringLiteral("Under förfrågan"); }
inline QString mandateMissingAtBank() { return QStringLiteral("Saknas hos Bankgirot"); }

// Payments.
inline QString paymentSent() { return QStringLiteral("Skickad"); }
inline QString paymentMonitored() { return QStringLiteral("Under bevakning"); }
inline QString paymentDone() { return QStringLiteral("Genomförd"); }
inline QString paymentNotDone() { return QStringLiteral("Ej genomförd"); }
inline QString paymentRetry() { return QStringLiteral("Nytt försök"); }
inline QString paymentRejected() { return QStringLiteral("Avvisad"); }
inline QString paymentCancelled() { return QStringLiteral("Makulerad"); }
inline QString paymentChanged() { return QStringLiteral("Ändrad"); }

// An item of a report that matches no delivered order.
inline QString withoutBasis() { return QStringLiteral("utan underlag"); }

inline QStringList mandateStates()
{
    return {mandateSent(),           mandateApproved(),     mandateRefused(),      mandateCancelled(),
            mandateAwaitingAnswer(), mandateUnderEnquiry(), mandateMissingAtBank()};
}

inline QStringList paymentStates()
{
    return {paymentSent(),     paymentMonitored(), paymentDone(),      paymentNotDone(),
            paymentRetry(),    paymentRejected(),  paymentCancelled(), paymentChanged()};
}

// Payments that the bank may still carry out, move or cancel.
inline QStringList openPaymentStates() { return {paymentSent(), paymentMonitored(), paymentChanged()}; }

} // namespace RegisterStates
