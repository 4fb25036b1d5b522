#include "register/RegisterImporter.h"

#include "app/Clock.h"
#include "format/ReportCodes.h"
#include "format/ReportParser.h"
#include "register/DeliveredFile.h"
#include "register/PaymentDays.h"
#include "register/RegisterError.h"
#include "register/RegisterStates.h"
#include "register/RegisterStore.h"
#include "register/RegisterText.h"
#include "register/ReportRecorder.h"
#include "rules/Win1252.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace {

QByteArray ReadWhole(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RegisterError(RegisterError::Kind::UnreadableFile,
                            QStringLiteral("Filen %1 kunde inte öppnas: %2").arg(path, file.errorString()));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw RegisterError(RegisterError::Kind::UnreadableFile,
                            QStringLiteral("Filen %1 kunde inte läsas: %2").arg(path, file.errorString()));
    return bytes;
}

QString PayeeText(const RegisterPayee& payee)
{
    QString text = QStringLiteral("bankgironummer %1").arg(payee.bankgiro);
    if (!payee.customerNumber.isEmpty())
        text += QStringLiteral(" och kundnummer %1").arg(payee.customerNumber);
    return text;
}

RegisterPayee ReportPayee(const Report& report)
{
    return {RegisterText::digits(report.bankgiro), RegisterText::digits(report.customerNumber)};
}

} // namespace

RegisterImporter::RegisterImporter(RegisterDatabase& database, const Clock& clock)
    : m_database(database), m_clock(clock)
{
}

QDate RegisterImporter::today() const
{
    return m_time.isValid() ? m_time.date() : m_clock.today();
}

ImportSummary RegisterImporter::deliver(const QString& path)
{
    return deliver(ReadWhole(path), QFileInfo(path).fileName());
}

ImportSummary RegisterImporter::import(const QString& path, bool force)
{
    return import(ReadWhole(path), QFileInfo(path).fileName(), force);
}

ImportSummary RegisterImporter::deliver(const QByteArray& bytes, const QString& name)
{
    const ReportFile parsed = ReportParser::parse(bytes);
    if (parsed.type == ReportFile::Type::Reports)
        throw RegisterError(RegisterError::Kind::ReportGiven,
                            QStringLiteral("Filen %1 är en rapport från Bankgirot, ingen orderfil. Läs in den "
                                           "med \"register import\".")
                                .arg(name));
    if (parsed.type != ReportFile::Type::OrderFile)
        throw RegisterError(RegisterError::Kind::UnreadableFile,
                            QStringLiteral("Filen %1 är varken en orderfil eller en rapport från Bankgirot.").arg(name));
    DeliveredFile file;
    try {
        file = ReadDeliveredFile(bytes, today());
    } catch (const RegisterError& error) {
        throw RegisterError(error.kind(), QStringLiteral("Filen %1: %2").arg(name, error.message()));
    }
    ImportSummary summary;
    summary.file = name;
    summary.kind = QStringLiteral("Orderfil");
    return inTransaction(summary, bytes, file.payee, [&](RegisterStore& store, ImportSummary& s) {
        recordDelivery(store, file, s);
    });
}

ImportSummary RegisterImporter::import(const QByteArray& bytes, const QString& name, bool force)
{
    const ReportFile parsed = ReportParser::parse(bytes);
    if (parsed.type == ReportFile::Type::OrderFile)
        throw RegisterError(RegisterError::Kind::UnreadableFile,
                            QStringLiteral("Filen %1 är en orderfil. Registrera den som levererad med "
                                           "\"register deliver\".")
                                .arg(name));
    if (parsed.type != ReportFile::Type::Reports || parsed.reports.isEmpty())
        throw RegisterError(RegisterError::Kind::UnreadableFile,
                            QStringLiteral("Filen %1 är varken en orderfil eller en rapport från Bankgirot.").arg(name));
    ImportSummary summary;
    summary.file = name;
    summary.kind = ReportCodes::kindName(parsed.reports.first().kind);
    for (const Report& report : parsed.reports) {
        if (report.totals && !report.totals->agree())
            summary.disagreements += report.totals->disagreements;
        // A report without its totals record may have lost items on the way.
        if (!report.totals && report.kind != ReportKind::MandateRegisterExtract)
            summary.disagreements += QStringLiteral("Slutposten saknas: rapporten kan vara ofullständig.");
    }
    if (!summary.disagreements.isEmpty() && !force) {
        summary.totalsDisagree = true;
        return summary;
    }
    const RegisterPayee payee = ReportPayee(parsed.reports.first());
    for (const Report& report : parsed.reports) {
        const RegisterPayee other = ReportPayee(report);
        if (other.bankgiro != payee.bankgiro)
            throw RegisterError(RegisterError::Kind::OtherPayee,
                                QStringLiteral("Filen %1 har rapporter för flera betalningsmottagare.").arg(name));
    }
    // The extract's status field is read from the line itself; other reports need no lines.
    QStringList lines;
    for (const Report& report : parsed.reports) {
        if (report.kind == ReportKind::MandateRegisterExtract && lines.isEmpty())
            lines = RegisterText::lines(DecodeWin1252(bytes));
    }
    return inTransaction(summary, bytes, payee, [&](RegisterStore& store, ImportSummary& s) {
        for (const Report& report : parsed.reports)
            recordReport(store, report, lines, s);
    });
}

template <typename Work>
ImportSummary RegisterImporter::inTransaction(ImportSummary summary, const QByteArray& bytes,
                                              const RegisterPayee& payee, Work work)
{
    const QString sha = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
    m_database.beginWrite();
    try {
        RegisterStore store(m_database);
        checkPayee(payee, summary.file);
        if (store.fileKnown(sha)) {
            m_database.rollback();
            summary.alreadyImported = true;
            return summary;
        }
        const QDateTime time = m_time.isValid() ? m_time : m_clock.now();
        m_fileId = store.addFile(summary.file, sha, summary.kind, time.toString(Qt::ISODate));
        work(store, summary);
        store.saveSums();
        m_database.commit();
    } catch (...) {
        m_database.rollback();
        throw;
    }
    return summary;
}

void RegisterImporter::checkPayee(const RegisterPayee& filePayee, const QString& name)
{
    std::optional<RegisterPayee> registerPayee = m_database.payee();
    if (!registerPayee) {
        registerPayee = m_defaultPayee && !m_defaultPayee->bankgiro.isEmpty() ? *m_defaultPayee : filePayee;
        m_database.setPayee(*registerPayee);
    }
    const bool sameBankgiro = filePayee.bankgiro == registerPayee->bankgiro;
    const bool sameCustomer = filePayee.customerNumber.isEmpty() || registerPayee->customerNumber.isEmpty() ||
                              filePayee.customerNumber == registerPayee->customerNumber;
    if (!sameBankgiro || !sameCustomer)
        throw RegisterError(RegisterError::Kind::OtherPayee,
                            QStringLiteral("Filen %1 hör till betalningsmottagaren med %2, men registret hör "
                                           "till betalningsmottagaren med %3.")
                                .arg(name, PayeeText(filePayee), PayeeText(*registerPayee)));
}

void RegisterImporter::recordDelivery(RegisterStore& store, const DeliveredFile& file, ImportSummary& summary)
{
    // The facts of a delivery date from the day the file was written, so that a file recorded as
    // delivered after the bank's reports on it were read still comes before them.
    const QDate written = file.written.isValid() && file.written < today() ? file.written : today();
    const QString deliveryDay = RegisterText::dateText(written);
    const auto apply = [&](RegisterEvent e) {
        e.fileId = m_fileId;
        e.bankDate = deliveryDay;
        store.apply(e);
        if (!e.state.isEmpty())
            summary.states[e.state] += 1;
    };
    for (const DeliveredMandate& mandate : file.mandates) {
        const bool answer = store.mandateState(mandate.payer) == RegisterStates::mandateAwaitingAnswer();
        store.ensurePayer(mandate.payer, false);
        store.setPayerDetails(mandate.payer, mandate.account, mandate.identity);
        RegisterEvent e;
        e.line = mandate.line;
        e.payer = mandate.payer;
        if (mandate.cancel) {
            e.state = RegisterStates::mandateCancelled();
            e.code = QStringLiteral("03");
            e.meaning = QStringLiteral("Makulering skickad av betalningsmottagaren");
        } else if (mandate.refuse) {
            e.state = RegisterStates::mandateRefused();
            e.code = QStringLiteral("AV");
            e.meaning = QStringLiteral("E-medgivandet avvisat av betalningsmottagaren");
        } else {
            e.state = RegisterStates::mandateSent();
            e.code = QStringLiteral("04");
            e.meaning = answer ? QStringLiteral("E-medgivandet godkänt av betalningsmottagaren")
                               : QStringLiteral("Nytt medgivande skickat");
        }
        apply(e);
    }
    for (const DeliveredPayerNumberChange& change : file.payerNumberChanges) {
        store.ensurePayer(change.payer, false);
        RegisterEvent e;
        e.line = change.line;
        e.payer = change.payer;
        e.code = QStringLiteral("05");
        e.meaning = QStringLiteral("Byte till betalarnummer %1 skickat").arg(change.newPayer);
        apply(e);
    }
    for (const DeliveredPayment& order : file.payments) {
        store.ensurePayer(order.payer, false);
        NewPayment payment;
        payment.fileId = m_fileId;
        payment.line = order.line;
        payment.payer = order.payer;
        payment.type = order.type;
        payment.amount = order.amount;
        payment.reference = order.reference;
        payment.period = order.period;
        RegisterEvent e;
        e.line = order.line;
        e.payer = order.payer;
        e.state = RegisterStates::paymentSent();
        e.code = order.type;
        e.meaning = order.type == QLatin1String("32") ? QStringLiteral("Kreditering skickad")
                                                      : QStringLiteral("Debitering skickad");
        for (const QDate& day : PaymentDays::scheduled(order.date, order.period, order.count)) {
            payment.date = day;
            e.paymentId = store.addPayment(payment);
            apply(e);
        }
    }
    for (const DeliveredChange& change : file.changes) {
        RegisterEvent e;
        e.line = change.line;
        e.payer = change.payer;
        e.code = change.code;
        e.meaning = QStringLiteral("Skickad: %1").arg(ReportCodes::changeRecord(change.code));
        e.newDate = RegisterText::dateText(change.newDate);
        const QList<qint64> found =
            change.amount > 0
                ? store.matchPayment(change.payer, change.type, change.amount, change.reference, change.date).mid(0, 1)
                : store.openPayments(change.payer, change.date);
        for (const qint64 id : found) {
            e.paymentId = id;
            apply(e);
        }
        if (found.isEmpty()) {
            e.paymentId = 0;
            apply(e);
        }
    }
}

void RegisterImporter::recordReport(RegisterStore& store, const Report& report, const QStringList& lines,
                                    ImportSummary& summary)
{
    RecordReport(store, report, lines, m_fileId, today(), summary);
}
