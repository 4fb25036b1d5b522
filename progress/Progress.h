#pragma once

#include <QtGlobal>

#include <functional>
#include <memory>

class QString;

// A long piece of work tells how far it has come and learns whether the user wants it stopped.
// The work calls step() now and then (every few thousand rows is enough) and asks cancelled()
// right after; once it is true the work puts back what it changed and ends. Nothing is shown for
// work that ends quickly.
class Progress
{
public:
    virtual ~Progress() = default;
    // `done` of the total units given when the work began are done.
    virtual void step(qint64 done) = 0;
    // The user asked to stop the work.
    virtual bool cancelled() const = 0;

    // step() and then cancelled(): true while the work may go on.
    bool carryOn(qint64 done)
    {
        step(done);
        return !cancelled();
    }
};

// The progress of work that nobody watches: it never stops.
class NoProgress : public Progress
{
public:
    void step(qint64) override {}
    bool cancelled() const override { return false; }
};

// Starts the progress of one piece of work: what it does, in a few words, and its total units.
using ProgressStarter = std::function<std::unique_ptr<Progress>(const QString& label, qint64 total)>;

// A starter whose progress never stops the work.
ProgressStarter NoProgressStarter();
