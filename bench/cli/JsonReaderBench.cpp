// Times the JSON document reader on objects of many members, each of a name of its own, so that
// the check for a member given twice shows whether it grows linearly with the member count.

#include "app/OrderDocument.h"
#include "cli/DocumentJson.h"

#include <QElapsedTimer>

#include <cstdio>

namespace {

QByteArray documentWithMembers(int members)
{
    QByteArray json = R"({"BtuList": [], "MdgList": [], "MdgListComp": [], "MakList": [], "MakCodes": [])";
    json.reserve(json.size() + qsizetype(members) * 24);
    for (int i = 0; i < members; ++i)
        json += ", \"member" + QByteArray::number(i) + "\": " + QByteArray::number(i);
    return json + "}";
}

} // namespace

int main()
{
    std::printf("%-10s %12s %16s\n", "members", "seconds", "members/s");
    for (const int members : {1000, 10000, 100000, 1000000}) {
        const QByteArray json = documentWithMembers(members);
        OrderDocument document;
        QElapsedTimer timer;
        timer.start();
        DocumentFromJson(json, document);
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("%-10d %12.4f %16.0f\n", members, seconds, members / seconds);
    }
    return 0;
}
