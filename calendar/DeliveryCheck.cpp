#include "calendar/DeliveryCheck.h"

#include "app/OrderDocument.h"
#include "calendar/BankCalendar.h"
#include "calendar/CalendarTexts.h"
#include "rules/Extra.h"
#include "rules/ValmoError.h"

#include <QTime>

#include <algorithm>
#include <tuple>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

using CalendarTexts::IsoDate;

// The bank takes payment dates up to the end of the current year and two more, counted from the
// day the file reaches it: a file sent in the last days of December arrives in the new year.
constexpr int YearsAhead = 2;
// A payment date passed by more banking days than this is rejected.
constexpr int LargestPassedBankingDays = 5;
// A new mandate must be at the bank this many banking days before its first payment.
constexpr int MandateBankingDays = 6;
const QTime DailyCutOff(19, 0);

namespace BtuColumn {
constexpr int Typ = 0;
constexpr int Period = 1;
constexpr int Date = 2;
constexpr int Amount = 3;
constexpr int Payer = 5;
} // namespace BtuColumn

namespace MakColumn {
constexpr int Description = 0;
constexpr int Payer = 1;
constexpr int Date = 2;
constexpr int NewDate = 3;
} // namespace MakColumn

int digitAt(QStringView text, int index)
{
    const char16_t c = text[index].unicode();
    return c >= u'0' && c <= u'9' ? c - u'0' : -1;
}

// A row date "yyyy-mm-dd"; an invalid date for anything else, which the row checks report.
QDate rowDate(QStringView text)
{
    if (text.size() == 10 && text[4] == u'-' && text[7] == u'-') {
        int values[3] = {0, 0, 0};
        const int starts[3] = {0, 5, 8};
        const int lengths[3] = {4, 2, 2};
        for (int part = 0; part < 3; ++part) {
            for (int i = starts[part]; i < starts[part] + lengths[part]; ++i) {
                const int digit = digitAt(text, i);
                if (digit < 0)
                    return QDate();
                values[part] = values[part] * 10 + digit;
            }
        }
        return QDate(values[0], values[1], values[2]);
    }
    if (text.size() < 2)
        return QDate();
    try {
        return ParseDateText(text.toString());
    } catch (const ValmoError&) {
        return QDate();
    }
}

// The digits of a field as one number: 0000004711, 4711 and 47-11 are one payer, 1 250,00 and
// 1250,00 one amount. 0 for a field without digits or with more than a number holds; the row
// checks report those.
quint64 digitsValue(QStringView text)
{
    constexpr int LargestDigitCount = 19;
    quint64 value = 0;
    int digits = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            continue;
        if (++digits > LargestDigitCount)
            return 0;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// What makes two payment orders the same debit.
struct PaymentKey
{
    quint64 payer;
    quint64 amount;
    qint64 day; // the Julian day, or 0 for "GENAST"
    int type;
    int row;

    auto fields() const { return std::tie(payer, amount, day, type); }
};

bool isZeroAmount(QStringView amount)
{
    bool anyDigit = false;
    for (const QChar c : amount) {
        if (c >= u'1' && c <= u'9')
            return false;
        anyDigit = anyDigit || c == u'0';
    }
    return anyDigit;
}

bool fallsOnLastBankingDay(QStringView period)
{
    return period.startsWith(u"Sista bankdagen");
}

// Why a day is no banking day, for the messages: its holiday or its weekday.
QString nonBankingReason(const QDate& date)
{
    const QString holiday = BankCalendar::HolidayName(date);
    return holiday.isEmpty() ? CalendarTexts::SwedishWeekday(date) : holiday;
}

// What the rules on dates say of one payment date: at most one finding, and the day the bank
// would debit on (invalid when it rejects the date).
struct DateVerdict
{
    FindingLevel level;
    QString message; // empty when the date is as the bank wants it
    QDate bankDay;
};

class DeliveryChecker
{
public:
    DeliveryChecker(const OrderDocument& document, const QDateTime& now)
        : m_document(document), m_arrival(ArrivalBankingDay(now)), m_firstProcessing(FirstProcessingDay(now)),
          m_lastAccepted(m_arrival.year() + YearsAhead, 12, 31)
    {
    }

    QList<DeliveryFinding> run()
    {
        collectNewMandates();
        collectChangedPayers();
        findDoubles();
        checkPaymentOrders();
        checkCancellationsAndChanges();
        return m_findings;
    }

private:
    void add(ListId list, int row, int column, const QString& title, FindingLevel level,
             const QString& message)
    {
        m_findings.append({list, row, column, title, level, message});
    }

    void collectNewMandates()
    {
        if (m_document.PrivateService) {
            for (const ListRow& mandate : m_document.MdgList) {
                if (!mandate.textView(0).startsWith(RowTexts::rejectedPrefix()))
                    m_newMandatePayers.insert(digitsValue(mandate.textView(1)));
            }
        } else {
            for (const ListRow& mandate : m_document.MdgListComp)
                m_newMandatePayers.insert(digitsValue(mandate.textView(0)));
        }
        m_newMandatePayers.erase(0);
    }

    // The payers of the cancellations and changes, whose first payment order is looked for.
    void collectChangedPayers()
    {
        const MakRowList& changes = m_document.MakList;
        for (int row = 0; row < changes.count(); ++row) {
            if (!concernsEveryPayer(row))
                m_changedPayers.insert(digitsValue(changes[row].textView(MakColumn::Payer)));
        }
        m_changedPayers.erase(0);
    }

    bool concernsEveryPayer(int changeRow) const
    {
        const QString& code = m_document.MakList.code(changeRow);
        return code == QLatin1String("26") || code == QLatin1String("27");
    }

    // For each payment order that repeats an earlier one, the earlier one's row. Sorting the keys
    // keeps this to one allocation for a million rows.
    void findDoubles()
    {
        const RowList& orders = m_document.BtuList;
        std::vector<PaymentKey> keys;
        keys.reserve(std::size_t(orders.count()));
        for (int row = 0; row < orders.count(); ++row) {
            const ListRow& order = orders[row];
            const QStringView dateText = order.textView(BtuColumn::Date);
            const bool immediate = dateText == RowTexts::immediatePayment();
            const QDate date = immediate ? QDate() : rowDate(dateText);
            const quint64 payer = digitsValue(order.textView(BtuColumn::Payer));
            if ((!immediate && !date.isValid()) || payer == 0)
                continue;
            const QStringView type = order.textView(BtuColumn::Typ);
            keys.push_back({payer, digitsValue(order.textView(BtuColumn::Amount)),
                            immediate ? 0 : date.toJulianDay(),
                            type == RowTexts::debit()    ? 1
                            : type == RowTexts::credit() ? 2
                                                         : 0,
                            row});
        }
        std::sort(keys.begin(), keys.end(), [](const PaymentKey& a, const PaymentKey& b) {
            return std::tie(a.payer, a.amount, a.day, a.type, a.row) <
                   std::tie(b.payer, b.amount, b.day, b.type, b.row);
        });
        m_earlierSame.assign(std::size_t(orders.count()), -1);
        for (std::size_t i = 1; i < keys.size(); ++i) {
            if (keys[i].fields() == keys[i - 1].fields()) {
                const int first = m_earlierSame[std::size_t(keys[i - 1].row)];
                m_earlierSame[std::size_t(keys[i].row)] = first < 0 ? keys[i - 1].row : first;
            }
        }
    }

    void checkPaymentOrders()
    {
        const RowList& orders = m_document.BtuList;
        for (int row = 0; row < orders.count(); ++row) {
            const ListRow& order = orders[row];
            const QStringView dateText = order.textView(BtuColumn::Date);
            const bool immediate = dateText == RowTexts::immediatePayment();
            const QDate date = immediate ? m_firstProcessing : rowDate(dateText);
            QDate bankDay = date;
            if (date.isValid() && !immediate) {
                bankDay = checkPaymentDate(ListId::Btu, row, BtuColumn::Date, QStringLiteral("Betalningsdag"),
                                           date, fallsOnLastBankingDay(order.textView(BtuColumn::Period)));
            }
            if (bankDay.isValid())
                checkNewMandate(row, order, bankDay);
            checkAmount(row, order, dateText);
        }
    }

    // The rules on one payment date, the gravest first and one finding at most. Returns the day
    // the bank would debit on, or an invalid date when the bank rejects the date.
    QDate checkPaymentDate(ListId list, int row, int column, const QString& title, const QDate& date,
                           bool lastBankingDay)
    {
        const DateVerdict& verdict = verdictOn(date, lastBankingDay);
        if (!verdict.message.isEmpty())
            add(list, row, column, title, verdict.level, verdict.message);
        return verdict.bankDay;
    }

    // Every row with the same date gets the same verdict, so it is worked out once a date and its
    // message is shared: an old file whose every date has passed costs one text, not one a row.
    const DateVerdict& verdictOn(const QDate& date, bool lastBankingDay)
    {
        const qint64 key = date.toJulianDay() * 2 + (lastBankingDay ? 1 : 0);
        const auto known = m_verdicts.find(key);
        if (known != m_verdicts.end())
            return known->second;
        return m_verdicts.emplace(key, judge(date, lastBankingDay)).first->second;
    }

    DateVerdict judge(const QDate& date, bool lastBankingDay) const
    {
        if (date > m_lastAccepted) {
            return {FindingLevel::Error,
                    QStringLiteral(
                        "Betalningsdagen %1 ligger efter %2. Banken tar bara emot betalningsdagar till och "
                        "med utgången av nästnästa år och avvisar betalningen.")
                        .arg(IsoDate(date), IsoDate(m_lastAccepted)),
                    QDate()};
        }
        const QDate bankDay = lastBankingDay ? BankCalendar::BankingDayOnOrBefore(date)
                                             : BankCalendar::BankingDayOnOrAfter(date);
        if (bankDay < m_arrival) {
            const int passedBy = BankCalendar::BankingDaysBetween(bankDay, m_arrival);
            if (passedBy > LargestPassedBankingDays) {
                return {FindingLevel::Error,
                        QStringLiteral(
                            "Betalningsdagen %1 har passerat med %2 bankdagar när filen når banken %3. "
                            "Banken avvisar betalningar som passerat med mer än fem bankdagar.")
                            .arg(IsoDate(date))
                            .arg(passedBy)
                            .arg(IsoDate(m_arrival)),
                        QDate()};
            }
            return {FindingLevel::Warning,
                    QStringLiteral(
                        "Betalningsdagen %1 har passerat när filen når banken %2. Banken drar betalningen "
                        "%3 i stället.")
                        .arg(IsoDate(date), IsoDate(m_arrival), IsoDate(m_firstProcessing)),
                    m_firstProcessing};
        }
        if (deadlinePassed(bankDay)) {
            return {FindingLevel::Warning,
                    QStringLiteral(
                        "Filen skulle ha nått banken senast %1 kl. 19.00 för betalningsdagen %2. Banken "
                        "behandlar betalningen först %3.")
                        .arg(IsoDate(BankCalendar::PreviousBankingDay(bankDay)), IsoDate(date),
                             IsoDate(m_firstProcessing)),
                    m_firstProcessing};
        }
        if (bankDay != date) {
            return {FindingLevel::Warning,
                    QStringLiteral("Betalningsdagen %1 är ingen bankdag (%2). Banken använder %3.")
                        .arg(IsoDate(date), nonBankingReason(date), IsoDate(bankDay)),
                    bankDay};
        }
        return {FindingLevel::Warning, QString(), bankDay};
    }

    // 19.00 on the banking day before has passed exactly when the file arrives on that day or later.
    // Worked out from dates alone: comparing local date-times costs a time-zone lookup per row.
    bool deadlinePassed(const QDate& bankDay) const { return bankDay <= m_arrival; }

    void checkNewMandate(int row, const ListRow& order, const QDate& bankDay)
    {
        if (m_newMandatePayers.empty() ||
            m_newMandatePayers.count(digitsValue(order.textView(BtuColumn::Payer))) == 0)
            return;
        const QDate earliest = BankCalendar::AddBankingDays(m_arrival, MandateBankingDays);
        if (bankDay >= earliest)
            return;
        add(ListId::Btu, row, BtuColumn::Date, QStringLiteral("Betalningsdag"), FindingLevel::Warning,
            QStringLiteral(
                "Det nya medgivandet för %1 når banken %2 men ska vara där sex bankdagar före första "
                "betalningen. Betalningsdagen %3 är för tidig; den första möjliga är %4.")
                .arg(order.text(BtuColumn::Payer), IsoDate(m_arrival), IsoDate(bankDay), IsoDate(earliest)));
    }

    void checkAmount(int row, const ListRow& order, QStringView dateText)
    {
        const QStringView amount = order.textView(BtuColumn::Amount);
        if (isZeroAmount(amount)) {
            add(ListId::Btu, row, BtuColumn::Amount, QStringLiteral("Belopp"), FindingLevel::Warning,
                QStringLiteral("Beloppet är %1 för betalningsdagen %2. Kontrollera beloppet.")
                    .arg(amount, dateText));
        }
        const int earlier = m_earlierSame[std::size_t(row)];
        if (earlier >= 0) {
            add(ListId::Btu, row, BtuColumn::Amount, QStringLiteral("Belopp"), FindingLevel::Warning,
                QStringLiteral("Betaluppdrag %1 har samma betalare, typ, betalningsdag %2 och belopp %3. "
                               "Troligen dras betalningen två gånger.")
                    .arg(earlier + 1)
                    .arg(dateText, amount));
        }
        if (!m_changedPayers.empty()) {
            const quint64 payer = digitsValue(order.textView(BtuColumn::Payer));
            if (m_changedPayers.count(payer) != 0)
                m_firstOrderOf.emplace(payer, row);
        }
    }

    void checkCancellationsAndChanges()
    {
        const MakRowList& changes = m_document.MakList;
        for (int row = 0; row < changes.count(); ++row) {
            const ListRow& change = changes[row];
            checkChangeDates(row, change);
            checkOrderInSameFile(row, change);
        }
    }

    void checkChangeDates(int row, const ListRow& change)
    {
        const QDate newDate = rowDate(change.textView(MakColumn::NewDate));
        if (newDate.isValid())
            checkPaymentDate(ListId::Mak, row, MakColumn::NewDate, QStringLiteral("Ny betaldag"), newDate,
                             false);
        const QDate date = rowDate(change.textView(MakColumn::Date));
        if (!date.isValid())
            return;
        const QDate bankDay = BankCalendar::BankingDayOnOrAfter(date);
        if (!deadlinePassed(bankDay))
            return;
        add(ListId::Mak, row, MakColumn::Date, QStringLiteral("Betalningsdag"), FindingLevel::Warning,
            QStringLiteral("Makuleringen eller ändringen skulle ha nått banken senast %1 kl. 19.00 för "
                           "betalningsdagen %2. Betalningen kan redan vara dragen.")
                .arg(IsoDate(BankCalendar::PreviousBankingDay(bankDay)), IsoDate(date)));
    }

    // The bank advises against sending, on one day, payment orders and the cancellations or
    // changes that concern them. The changes of all transactions concern every payer.
    void checkOrderInSameFile(int row, const ListRow& change)
    {
        if (m_document.BtuList.isEmpty())
            return;
        const bool everyPayer = concernsEveryPayer(row);
        int orderRow = 0;
        if (!everyPayer) {
            const auto found = m_firstOrderOf.find(digitsValue(change.textView(MakColumn::Payer)));
            if (found == m_firstOrderOf.end())
                return;
            orderRow = found->second;
        }
        const ListRow& order = m_document.BtuList[orderRow];
        const int column = everyPayer ? MakColumn::Description : MakColumn::Payer;
        const QString title = everyPayer                  ? QStringLiteral("Beskrivning")
                              : m_document.PrivateService ? QStringLiteral("Betalarnummer")
                                                          : QStringLiteral("Bankgironummer");
        add(ListId::Mak, row, column, title, FindingLevel::Warning,
            QStringLiteral(
                "Filen har också ett betaluppdrag till %1 med betalningsdagen %2. Banken avråder från "
                "att skicka betaluppdrag och makuleringar eller ändringar av dem samma dag.")
                .arg(order.text(BtuColumn::Payer), order.text(BtuColumn::Date)));
    }

    const OrderDocument& m_document;
    const QDate m_arrival;
    const QDate m_firstProcessing;
    const QDate m_lastAccepted;
    std::unordered_set<quint64> m_newMandatePayers;
    std::unordered_set<quint64> m_changedPayers;
    std::unordered_map<quint64, int> m_firstOrderOf; // the first payment order of a changed payer
    std::unordered_map<qint64, DateVerdict> m_verdicts; // by day and whether it is the last banking day
    std::vector<int> m_earlierSame;                  // per payment order: an earlier equal one, or -1
    QList<DeliveryFinding> m_findings;
};

} // namespace

QString FindingLevelText(FindingLevel level)
{
    return level == FindingLevel::Error ? QStringLiteral("fel") : QStringLiteral("varning");
}

QDate ArrivalBankingDay(const QDateTime& now)
{
    const QDate today = now.date();
    if (BankCalendar::IsBankingDay(today) && now.time() < DailyCutOff)
        return today;
    return BankCalendar::NextBankingDay(today);
}

QDate FirstProcessingDay(const QDateTime& now)
{
    return BankCalendar::NextBankingDay(ArrivalBankingDay(now));
}

bool HasDeliveryError(const QList<DeliveryFinding>& findings)
{
    for (const DeliveryFinding& finding : findings) {
        if (finding.level == FindingLevel::Error)
            return true;
    }
    return false;
}

QList<DeliveryFinding> CheckDelivery(const OrderDocument& document, const QDateTime& now)
{
    if (!now.isValid())
        return {};
    return DeliveryChecker(document, now).run();
}

QDateTime EarliestDeliveryDeadline(const OrderDocument& document)
{
    QDate earliest;
    QStringView previousText;
    bool previousOnLastDay = false;
    for (const ListRow& order : document.BtuList) {
        const QStringView text = order.textView(BtuColumn::Date);
        const bool onLastDay = fallsOnLastBankingDay(order.textView(BtuColumn::Period));
        // Orders next to each other mostly share their date and rule: worked out once for the run.
        if (!previousText.isNull() && onLastDay == previousOnLastDay && text == previousText)
            continue;
        previousText = text.isNull() ? QStringView(u"") : text;
        previousOnLastDay = onLastDay;
        const QDate date = rowDate(text);
        if (!date.isValid())
            continue;
        const QDate bankDay =
            onLastDay ? BankCalendar::BankingDayOnOrBefore(date) : BankCalendar::BankingDayOnOrAfter(date);
        if (!earliest.isValid() || bankDay < earliest)
            earliest = bankDay;
    }
    return earliest.isValid() ? BankCalendar::DeliveryDeadline(earliest) : QDateTime();
}
