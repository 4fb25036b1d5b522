#pragma once

#include "app/ListSelection.h"
#include "rules/ValmoError.h"
#include "settings/SettingsStore.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

class Clock;
class ListRow;
class OrderDocument;
class Progress;
class QIODevice;

// Reads KundNr and BgNr once, with the defaults "KUNDNR" and "BANKGIRONR".
PayeeNumbers ReadPayeeNumbers();

// The order file could not be created or written. text() is the whole message for the user;
// reason() is the system's own description of the failure.
class OrderFileError : public ValmoError
{
public:
    enum class Stage
    {
        Create,
        Write
    };

    OrderFileError(Stage stage, QString text, QString reason)
        : ValmoError(std::move(text)), m_stage(stage), m_reason(std::move(reason))
    {
    }
    Stage stage() const { return m_stage; }
    const QString& reason() const { return m_reason; }

private:
    Stage m_stage;
    QString m_reason;
};

// A row that cannot be written: its list, its row counted from 1 in the list's own order, the
// caption of the field whose text failed (empty when no single field holds it) and the conversion's
// own words. text() puts them together for the user.
class RowWriteError : public ConversionError
{
public:
    RowWriteError(ListId list, int row, QString field, const ConversionError& cause);
    ListId list() const { return m_list; }
    int row() const { return m_row; }
    const QString& field() const { return m_field; }
    const QString& reason() const { return m_reason; }

private:
    ListId m_list;
    int m_row;
    QString m_field;
    QString m_reason;
};

// The user stopped the writing of a file through its progress; the old file is left as it was.
class WriteCancelled
{
};

// Streams the whole document to out: the mandate section, the payment section, the change section.
// Throws RowWriteError for the first row that cannot be written and OrderFileError when a write
// fails; what was written before the failure stays in out. With a progress, its units are the
// document's rows, and a stop throws WriteCancelled.
void WriteOrderFile(QIODevice& out, const OrderDocument& doc, const PayeeNumbers& payee, const Clock& clock,
                    Progress* progress = nullptr);

// Writes the document to path atomically: the records go into a temporary file beside the target,
// which replaces the target only after every record has been written and flushed. On any failure
// the file at path is left exactly as it was. Throws as WriteOrderFile; OrderFileError names the
// file.
void SaveOrderFile(const QString& path, const OrderDocument& doc, const PayeeNumbers& payee,
                   const Clock& clock, Progress* progress = nullptr);
// SaveOrderFile that asks mayReplace() once every record is written, before the new file takes the
// target's place: when it says no, the new file is dropped, the target stays as it was and false
// comes back. Work that decides whether the file may be saved can so run while it is written.
bool SaveOrderFileIf(const QString& path, const OrderDocument& doc, const PayeeNumbers& payee,
                     const Clock& clock, const std::function<bool()>& mayReplace,
                     Progress* progress = nullptr);

// The fields of an order-file record. Each writes exactly width bytes at dest.
namespace OrderFields {
// Only the digits of source, zero-filled on the left; surplus digits on the left are dropped.
void DigitField(char* dest, QStringView source, int width);
// source unchanged after leading zeros, keeping the last width characters.
// Throws ConversionError for a character that an order file cannot hold.
void ZeroFilledTextField(char* dest, QStringView source, int width);
// source left-aligned, blank-filled, cut after width characters.
// Throws ConversionError for a character that an order file cannot hold.
void TextField(char* dest, QStringView source, int width);
// A row date "yyyy-mm-dd" as "yyyymmdd" (8 bytes). Throws ConversionError for a text that is
// not a date.
void DateField(char* dest, QStringView source);
void BlankField(char* dest, int width);
// The byte that stands for c in an order file, or -1: characters outside Windows-1252 and
// control characters, which would break the record layout.
int OrderFileByte(char16_t c);
} // namespace OrderFields

// Writes the sections of one order file. Records are collected in a small buffer and passed on
// to the device as it fills, so memory does not grow with the file.
class OrderFileWriter
{
public:
    static constexpr int RecordLength = 80;

    OrderFileWriter(QIODevice& out, const PayeeNumbers& payee, const Clock& clock);
    // The writer keeps the clock: a temporary one would be gone before the first record.
    OrderFileWriter(QIODevice& out, const PayeeNumbers& payee, const Clock&& clock) = delete;

    void WriteOpeningRecord();
    // Private mandates and the mandate cancellations; writes only in the private service.
    void WriteMandateRecords(const OrderDocument& doc);
    // Company mandates and the mandate cancellations; writes only in the company service.
    void WriteCompanyMandateRecords(const OrderDocument& doc);
    void WritePaymentRecords(const OrderDocument& doc);
    void WriteChangeRecords(const OrderDocument& doc);

    // Passes the buffered records to the device. Throws OrderFileError when the device refuses.
    void flush();

    // Told of every row written; a stop throws WriteCancelled.
    void setProgress(Progress* progress) { m_progress = progress; }

    // The conversion failure of the row being written, with its list, row and field; nothing when
    // no row of doc was being written.
    std::optional<RowWriteError> locate(const OrderDocument& doc, const ConversionError& error) const;

private:
    char* beginRecord();
    void endRecord();
    void writeMandateCancellations(const OrderDocument& doc);
    void writePaymentRecord(const ListRow& row);
    void writePrivateMandateRecord(const ListRow& row);
    void writeCompanyMandateRecord(const ListRow& row);
    void writeMandateCancellationRecord(const ListRow& row);
    void writeChangeRecord(const QString& code, const ListRow& row);

    QIODevice& m_out;
    const Clock& m_clock;
    const ListRow* m_row = nullptr; // the row being written, for the report of a failure
    char m_customerField[6];
    char m_bankgiroField[10];
    QByteArray m_buffer;
    qsizetype m_used = 0;
    Progress* m_progress = nullptr;
    qint64 m_records = 0;
};
