#include "register/ReportRecorder.h"

#include "register/PaymentDays.h"
#include "register/RegisterImporter.h"
#include "register/RegisterStates.h"
#include "register/RegisterStore.h"
#include "register/RegisterText.h"

#include <QSet>

namespace {

// The bank cancels an e-mandate the payee has not answered within this many banking days.
constexpr int EMandateAnswerDays = 18;

QString CodeMeaning(const ReportItem& item, int index)
{
    return index < item.codes.size() ? item.codes[index].meaning : QString();
}

QString CodeText(const ReportItem& item)
{
    QStringList codes;
    for (const ReportCode& code : item.codes)
        codes.append(code.code);
    return codes.join(QLatin1Char('/'));
}

QString MeaningText(const ReportItem& item)
{
    QStringList meanings;
    for (const ReportCode& code : item.codes) {
        if (!code.meaning.isEmpty())
            meanings.append(code.meaning);
    }
    return meanings.isEmpty() ? item.description : meanings.join(QLatin1Char(' '));
}

QString DetailValue(const ReportItem& item, const QString& name)
{
    for (const ReportDetail& detail : item.details) {
        if (detail.name == name)
            return detail.value;
    }
    return QString();
}

// The state a report item gives a payment; empty for a fact that changes none.
QString PaymentState(const Report& report, const ReportItem& item)
{
    switch (report.kind) {
    case ReportKind::PaymentSpecification:
        if (item.outcome == ItemOutcome::Paid)
            return RegisterStates::paymentDone();
        if (item.outcome != ItemOutcome::NotPaid)
            return QString();
        return CodeText(item) == QLatin1String("9") ? RegisterStates::paymentRetry()
                                                   : RegisterStates::paymentNotDone();
    case ReportKind::RejectedPayments:
        return item.outcome == ItemOutcome::Rejected ? RegisterStates::paymentRejected() : QString();
    case ReportKind::MonitoringExtract:
        return RegisterStates::paymentMonitored();
    case ReportKind::CancellationsChanges:
        if (item.outcome == ItemOutcome::Cancelled)
            return RegisterStates::paymentCancelled();
        // The bank reports a moved day with comment 14 or 18.
        if (item.outcome == ItemOutcome::Changed || CodeText(item) == QLatin1String("18"))
            return RegisterStates::paymentChanged();
        return QString();
    default:
        return QString();
    }
}

// Information codes 03 and 05: the payee's own cancellation or change of payer number.
bool IsPayeeRequest(const ReportItem& item)
{
    const QString information = item.codes.isEmpty() ? QString() : item.codes.first().code;
    return information == QLatin1String("03") || information == QLatin1String("05");
}

QString MandateState(const ReportItem& item)
{
    // The bank refusing a cancellation or a new payer number leaves the mandate as it was: only the
    // request failed, and a refused mandate would stop payments the bank still takes.
    if (item.outcome == ItemOutcome::Rejected && IsPayeeRequest(item))
        return QString();
    switch (item.outcome) {
    case ItemOutcome::Approved:
        return RegisterStates::mandateApproved();
    case ItemOutcome::Rejected:
        return RegisterStates::mandateRefused();
    case ItemOutcome::Cancelled:
        return RegisterStates::mandateCancelled();
    default:
        return QString();
    }
}

bool IsPaymentRecord(const QString& record)
{
    return record == QLatin1String("82") || record == QLatin1String("32") || record == QLatin1String("77");
}

// Records the items of one report.
class ReportRecorder
{
public:
    ReportRecorder(RegisterStore& store, const Report& report, const QStringList& lines, qint64 fileId,
                   const QDate& today, ImportSummary& summary)
        : m_store(store), m_report(report), m_lines(lines), m_fileId(fileId), m_today(today), m_summary(summary)
    {
    }

    void record()
    {
        switch (m_report.kind) {
        case ReportKind::MandateAdvice:
            forEachItem([this](const ReportItem& item) { mandateAdvice(item); });
            break;
        case ReportKind::InternetMandates:
            forEachItem([this](const ReportItem& item) { internetMandate(item); });
            break;
        case ReportKind::MandateRegisterExtract:
            registerExtract();
            break;
        case ReportKind::CancellationsChanges:
            forEachItem([this](const ReportItem& item) { change(item); });
            break;
        default:
            preload();
            forEachItem([this](const ReportItem& item) {
                if (IsPaymentRecord(item.record))
                    payment(item);
            });
            break;
        }
    }

private:
    // The delivered payments on the report's days are read at once when they are not too many.
    void preload()
    {
        QDate first, last;
        for (const ReportItem& item : m_report.items) {
            const QDate day = RegisterText::fromDateText(item.date);
            if (!day.isValid())
                continue;
            first = first.isValid() ? qMin(first, day) : day;
            last = last.isValid() ? qMax(last, day) : day;
        }
        if (first.isValid())
            m_store.preloadPayments(first, last, 4 * m_report.items.size() + 1000);
    }

    template <typename F> void forEachItem(F f)
    {
        for (const ReportItem& item : m_report.items)
            f(item);
    }

    QString bankDate(const ReportItem& item) const
    {
        if (!m_report.date.isEmpty())
            return m_report.date;
        return RegisterText::fromDateText(item.date).isValid() ? item.date : RegisterText::dateText(m_today);
    }

    RegisterEvent event(const ReportItem& item, const QString& state) const
    {
        RegisterEvent e;
        e.fileId = m_fileId;
        e.line = item.line;
        e.payer = item.payerNumber;
        e.bankDate = bankDate(item);
        e.state = state;
        e.code = CodeText(item);
        e.meaning = MeaningText(item);
        return e;
    }

    void count(const QString& state)
    {
        if (!state.isEmpty())
            m_summary.states[state] += 1;
    }

    void unplaced(const ReportItem& item)
    {
        m_summary.withoutBasis.append({item.line, item.payerNumber, item.description});
    }

    void mandateEvent(const RegisterEvent& e)
    {
        m_store.apply(e);
        count(e.state);
    }

    // The payer's row; one the register did not know is kept, marked as without basis.
    void payerOf(const ReportItem& item)
    {
        if (m_store.mandateState(item.payerNumber).isEmpty()) {
            m_store.ensurePayer(item.payerNumber, true);
            unplaced(item);
        }
    }

    void mandateAdvice(const ReportItem& item)
    {
        payerOf(item);
        m_store.setPayerDetails(item.payerNumber,
                                RegisterText::digits(DetailValue(item, QStringLiteral("Clearing- och kontonummer"))),
                                DetailValue(item, QStringLiteral("Person- eller organisationsnummer")));
        mandateEvent(event(item, MandateState(item)));
    }

    void internetMandate(const ReportItem& item)
    {
        m_store.ensurePayer(item.payerNumber, false);
        m_store.setPayerDetails(item.payerNumber,
                                RegisterText::digits(DetailValue(item, QStringLiteral("Clearing- och kontonummer"))),
                                DetailValue(item, QStringLiteral("Person- eller organisationsnummer")));
        const QDate received = RegisterText::fromDateText(bankDate(item));
        const QString answerBy = RegisterText::dateText(PaymentDays::addBankingDays(received, EMandateAnswerDays));
        m_store.setAnswerBy(item.payerNumber, answerBy);
        RegisterEvent e = event(item, RegisterStates::mandateAwaitingAnswer());
        e.code = item.record;
        e.meaning = QStringLiteral("Nytt e-medgivande; svara senast %1").arg(answerBy);
        mandateEvent(e);
    }

    // Status of a register entry: position 58 in the new layout, 57 in the old.
    QString extractStatus(const ReportItem& item) const
    {
        const int position = m_report.layout == ReportLayout::New ? 58 : 57;
        const QString line = item.line - 1 < m_lines.size() ? m_lines[item.line - 1] : QString();
        return RegisterText::field(line, position, position).toString();
    }

    void registerExtract()
    {
        QSet<QString> listed;
        for (const ReportItem& item : m_report.items) {
            listed.insert(item.payerNumber);
            payerOf(item);
            const bool enquiry = extractStatus(item) == QLatin1String("2");
            RegisterEvent e = event(item, enquiry ? RegisterStates::mandateUnderEnquiry()
                                                  : RegisterStates::mandateApproved());
            e.bankDate = RegisterText::dateText(m_today);
            e.code = extractStatus(item);
            e.meaning = enquiry ? QStringLiteral("Under förfrågan") : QStringLiteral("Godkänt för Autogiro");
            mandateEvent(e);
        }
        for (const QString& payer : m_store.standingMandatesExcept(listed)) {
            RegisterEvent e;
            e.fileId = m_fileId;
            e.payer = payer;
            e.bankDate = RegisterText::dateText(m_today);
            e.state = RegisterStates::mandateMissingAtBank();
            e.meaning = QStringLiteral("Medgivandet saknas i utdraget ur Bankgirots medgivanderegister");
            mandateEvent(e);
        }
    }

    QString typeOf(const ReportItem& item) const
    {
        if (item.record == QLatin1String("77"))
            return QStringLiteral("82");
        if (item.record == QLatin1String("82") || item.record == QLatin1String("32"))
            return item.record;
        const QString type = DetailValue(item, QStringLiteral("Typ"));
        return type == QLatin1String("Kreditering") ? QStringLiteral("32") : QStringLiteral("82");
    }

    void applyToPayments(const QList<qint64>& payments, const RegisterEvent& e)
    {
        for (const qint64 id : payments) {
            RegisterEvent forPayment = e;
            forPayment.paymentId = id;
            m_store.apply(forPayment);
            count(e.state);
        }
    }

    // An item that matches nothing is kept as a payment of its own, marked as without basis.
    void keepUnplaced(const ReportItem& item, const RegisterEvent& e)
    {
        m_store.ensurePayer(item.payerNumber.isEmpty() ? QStringLiteral("0") : item.payerNumber, true);
        NewPayment payment;
        payment.fileId = m_fileId;
        payment.line = item.line;
        payment.payer = item.payerNumber;
        payment.type = typeOf(item);
        payment.amount = item.amount.value_or(0);
        payment.reference = item.reference;
        payment.date = RegisterText::fromDateText(item.date);
        payment.withoutBasis = true;
        applyToPayments({m_store.addPayment(payment)}, e);
        unplaced(item);
    }

    void payment(const ReportItem& item)
    {
        RegisterEvent e = event(item, PaymentState(m_report, item));
        if (item.record == QLatin1String("77"))
            e.meaning = QStringLiteral("Återbetald: %1").arg(CodeMeaning(item, 0));
        const QList<qint64> found = m_store.matchPayment(item.payerNumber, typeOf(item), item.amount.value_or(0),
                                                         item.reference, RegisterText::fromDateText(item.date));
        if (found.isEmpty())
            keepUnplaced(item, e);
        else
            applyToPayments({found.first()}, e);
    }

    // A cancellation or change names one payment (with an amount), a payer's payments on a day or
    // all of them, or all payments on a day or at all.
    void change(const ReportItem& item)
    {
        RegisterEvent e = event(item, PaymentState(m_report, item));
        e.code = item.record + QLatin1Char('/') + CodeText(item);
        e.meaning = item.description + QStringLiteral(": ") + MeaningText(item);
        if (e.state == RegisterStates::paymentChanged())
            e.newDate = DetailValue(item, QStringLiteral("Nytt betalningsdatum"));
        const QDate day = RegisterText::fromDateText(item.date);
        QList<qint64> found;
        if (item.amount.value_or(0) > 0) {
            found = m_store.matchPayment(item.payerNumber, typeOf(item), *item.amount, item.reference, day);
            found = found.mid(0, 1);
        } else {
            found = m_store.openPayments(item.payerNumber, day);
        }
        if (found.isEmpty())
            keepUnplaced(item, e);
        else
            applyToPayments(found, e);
    }

    RegisterStore& m_store;
    const Report& m_report;
    const QStringList& m_lines;
    qint64 m_fileId;
    QDate m_today;
    ImportSummary& m_summary;
};

} // namespace

void RecordReport(RegisterStore& store, const Report& report, const QStringList& lines, qint64 fileId,
                  const QDate& today, ImportSummary& summary)
{
    ReportRecorder(store, report, lines, fileId, today, summary).record();
}
