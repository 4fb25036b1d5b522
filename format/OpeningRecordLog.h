#pragma once

#include "format/OpeningRecordPolicy.h"

#include <QVector>

// Accepts every opening record and keeps them in file order, for reading without questions.
class OpeningRecordLog : public OpeningRecordPolicy
{
public:
    bool acceptOpeningRecord(const OpeningRecord& record) override
    {
        records.append(record);
        return true;
    }

    QVector<OpeningRecord> records;
};
