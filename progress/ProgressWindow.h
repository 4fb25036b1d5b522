#pragma once

#include "progress/Progress.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

// The window's Progress: a progress dialog with "Avbryt" over the main window, shown only once the
// work has run for half a second, so quick work shows nothing. While it is shown, the events are
// handled every few hundredths of a second, so that it paints and its button answers; the main
// window and the others take no input meanwhile. Escape and the close box cancel as "Avbryt" does.
class ProgressWindow : public Progress
{
public:
    static constexpr int ShowAfterMilliseconds = 500;
    static constexpr int UpdateEveryMilliseconds = 40;
    // The dialog counts in these steps, whatever the total.
    static constexpr int Steps = 1000;

    ProgressWindow(QWidget* parent, const QString& label, qint64 total);
    ~ProgressWindow() override;

    void step(qint64 done) override;
    bool cancelled() const override;

    // The dialog, once shown; nullptr before.
    QProgressDialog* dialog() const { return m_dialog.get(); }

private:
    void showDialog();
    int stepsOf(qint64 done) const;

    QPointer<QWidget> m_parent;
    QString m_label;
    qint64 m_total;
    QElapsedTimer m_running;
    QElapsedTimer m_sinceUpdate;
    std::unique_ptr<QProgressDialog> m_dialog;
};
