#pragma once

#include "app/ListRow.h"
#include "cli/DocumentJson.h"

#include <rapidjson/reader.h>

#include <QLocale>
#include <QSet>
#include <QStringDecoder>
#include <QStringList>
#include <QVector>

class JsonInputStream;
class RowList;

// Takes the events of RapidJSON's reader and fills the document as they come: each row is made
// as its array closes, so nothing of the document is kept but the rows. Every value that is not
// in the form of the document is refused (DocumentJsonError) where it begins.
class DocumentJsonHandler : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, DocumentJsonHandler>
{
public:
    DocumentJsonHandler(JsonInputStream& in, OrderDocument& document, JsonRowPlaces& places);

    bool Null() { return scalar(QStringLiteral("null")); }
    bool Bool(bool) { return scalar(QStringLiteral("ett sanningsvärde")); }
    bool Int(int) { return number(); }
    bool Uint(unsigned) { return number(); }
    bool Int64(int64_t) { return number(); }
    bool Uint64(uint64_t) { return number(); }
    bool Double(double) { return number(); }
    bool RawNumber(const char*, rapidjson::SizeType, bool) { return number(); }
    bool String(const char* text, rapidjson::SizeType length, bool);
    bool StartObject();
    bool Key(const char* text, rapidjson::SizeType length, bool);
    bool EndObject(rapidjson::SizeType);
    bool StartArray();
    bool EndArray(rapidjson::SizeType);

    // Whether the last value was a number: a fault right after one is a fault of the number.
    bool lastWasNumber() const { return m_lastWasNumber; }
    // After the whole document: the checks of the members together, and the change list made.
    QString finish();
    [[noreturn]] void failAt(size_t offset, const QString& what) const;

private:
    enum class State
    {
        BeforeRoot,
        Members,     // in the root object, between its members
        MemberValue, // after a member's name
        List,        // in the array of a list, between rows
        Row,         // in a row
        Codes,       // in MakCodes
        Skipped,     // in a value that is not read
        AfterRoot
    };
    enum class Member
    {
        Service,
        Btu,
        Mdg,
        MdgComp,
        Mak,
        Codes,
        Other
    };

    bool number();
    bool scalar(const QString& kind);
    [[noreturn]] void refuseValue(const QString& kind) const;
    QString rowName() const;
    void decodeInto(QString& target, const char* text, rapidjson::SizeType length);
    void refuseInvalidUtf8() const;
    void startList();
    void reserveRows();
    void startRow();
    void finishRow();
    void appendRow();
    void refuseLongRow();
    void openSkipped();
    void closeSkipped();
    void checkSkippedDepth();

    JsonInputStream& m_in;
    size_t m_listStart = 0; // where the current list begins in the document
    const QLocale m_locale; // the user's, for the amounts of the rows
    OrderDocument& m_document;
    JsonRowPlaces& m_places;
    QStringDecoder m_decoder{QStringDecoder::Utf8, QStringDecoder::Flag::Stateless};

    State m_state = State::BeforeRoot;
    Member m_member = Member::Other;
    QString m_key;
    QSet<QString> m_seen;
    QString m_service;

    // The list being read and its row at hand: the cells are reused from row to row.
    RowList* m_list = nullptr;
    QVector<int>* m_lines = nullptr;
    int m_columns = 0;
    int m_amountColumn = -1;
    int m_rowIndex = 0;
    int m_rowLine = 0;
    int m_cellCount = 0;
    QString m_caption;
    QStringList m_cells;
    QVector<ListRow> m_makRows;
    QStringList m_makCodes;

    int m_skippedDepth = 0;
    bool m_tooDeep = false; // a container opened past the bound, allowed only when empty
    size_t m_tooDeepAt = 0;
    bool m_lastWasNumber = false;
};
