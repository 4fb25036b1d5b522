#include "progress/Progress.h"

ProgressStarter NoProgressStarter()
{
    return [](const QString&, qint64) { return std::make_unique<NoProgress>(); };
}
