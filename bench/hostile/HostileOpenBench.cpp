// The editor's open command on a file of one enormous line, with the file then shown in the viewer
// as the user would see it after the message. Prints the time and the peak memory against the
// bound of 4 bytes per input byte plus 64 MB. Runs without a display (offscreen).
#include "BenchSupport.h"
#include "app/DocumentView.h"
#include "app/OrderDocument.h"
#include "format/FileShower.h"
#include "format/OpenCommand.h"
#include "format/UserPrompt.h"
#include "viewer/ViewerUnit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Answers every message with OK, as a user who reads it and goes on.
class AnsweringPrompt : public UserPrompt
{
public:
    Answer showMessage(const QString&, const QString&, Buttons, Icon) override { return Answer::Ok; }
    QString askSaveFileName(const FileDialogOptions&) override { return QString(); }
    QString askOpenFileName(const FileDialogOptions&) override { return QString(); }
};

class NoView : public DocumentView
{
public:
    void UpdateView(bool) override {}
};

// Shows the file in the viewer, as the show-file command does without an external program.
class ViewerShower : public FileShower
{
public:
    ViewerShower(TViewer& viewer, const OrderDocument& document) : m_viewer(viewer), m_document(document) {}
    void VisaBtnClick() override { m_viewer.LoadFile(m_document.CurrentFile); }

private:
    TViewer& m_viewer;
    const OrderDocument& m_document;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("one-line.ag"));
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 200;
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        const QByteArray chunk(1024 * 1024, 'A');
        for (qint64 i = 0; i < megabytes; ++i)
            file.write(chunk);
    }
    TViewer viewer;
    OrderDocument document;
    document.FillMakTexts();
    AnsweringPrompt prompt;
    NoView view;
    ViewerShower shower(viewer, document);
    OpenCommand command(document, view, prompt, shower);

    ResetPeakResident();
    const std::size_t before = CurrentResidentBytes();
    QElapsedTimer timer;
    timer.start();
    command.openPath(path);
    const double peak = double(PeakResidentBytes()) / (1024.0 * 1024.0);
    std::printf(
        "open and show a %lld MB file of one line: %lld ms, peak %.0f MB (%.0f MB before), bound %lld MB\n",
        static_cast<long long>(megabytes), static_cast<long long>(timer.elapsed()), peak,
        double(before) / (1024.0 * 1024.0), static_cast<long long>(4 * megabytes + 64));
    return 0;
}
