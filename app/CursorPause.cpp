#include "app/CursorPause.h"

#include <QGuiApplication>

CursorPause::CursorPause()
{
    while (const QCursor* cursor = QGuiApplication::overrideCursor()) {
        m_lifted.append(*cursor);
        QGuiApplication::restoreOverrideCursor();
    }
}

CursorPause::~CursorPause()
{
    for (auto cursor = m_lifted.crbegin(); cursor != m_lifted.crend(); ++cursor)
        QGuiApplication::setOverrideCursor(*cursor);
}
