#include "progress/ProgressWindow.h"

#include "format/UserPrompt.h"

#include <QApplication>
#include <QProgressDialog>

ProgressWindow::ProgressWindow(QWidget* parent, const QString& label, qint64 total)
    : m_parent(parent), m_label(label), m_total(qMax<qint64>(total, 1))
{
    m_running.start();
}

ProgressWindow::~ProgressWindow()
{
    if (!m_dialog)
        return;
    m_dialog->hide();
    QApplication::restoreOverrideCursor();
}

int ProgressWindow::stepsOf(qint64 done) const
{
    return int(qBound<qint64>(0, done, m_total) * Steps / m_total);
}

void ProgressWindow::step(qint64 done)
{
    if (!m_dialog) {
        if (m_running.elapsed() < ShowAfterMilliseconds)
            return;
        showDialog();
    } else if (m_sinceUpdate.elapsed() < UpdateEveryMilliseconds) {
        return;
    }
    m_dialog->setValue(stepsOf(done));
    QCoreApplication::processEvents();
    m_sinceUpdate.restart();
}

bool ProgressWindow::cancelled() const
{
    return m_dialog && m_dialog->wasCanceled();
}

void ProgressWindow::showDialog()
{
    m_dialog = std::make_unique<QProgressDialog>(m_label, QStringLiteral("Avbryt"), 0, Steps, m_parent);
    m_dialog->setWindowTitle(ApplicationTitle());
    // No other window takes input meanwhile: the work reads rows that must stay as they are.
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    // Over the wait cursor of the work, the pointer shows that "Avbryt" can be pressed.
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    m_dialog->show();
    QCoreApplication::processEvents();
    m_sinceUpdate.start();
}
