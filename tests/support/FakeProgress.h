#pragma once

#include "progress/Progress.h"

#include <QString>

// Progress for tests: counts the steps and cancels at a chosen one, as a user pressing "Avbryt"
// part way through would.
class FakeProgress : public Progress
{
public:
    // cancelAtStep 1 cancels at the first step; 0 or less never cancels.
    explicit FakeProgress(int cancelAtStep = 0) : m_cancelAtStep(cancelAtStep) {}

    void step(qint64 done) override
    {
        ++m_steps;
        m_lastDone = done;
        if (m_cancelAtStep > 0 && m_steps >= m_cancelAtStep)
            m_cancelled = true;
    }
    bool cancelled() const override { return m_cancelled; }

    int steps() const { return m_steps; }
    qint64 lastDone() const { return m_lastDone; }

private:
    int m_cancelAtStep;
    int m_steps = 0;
    qint64 m_lastDone = 0;
    bool m_cancelled = false;
};
