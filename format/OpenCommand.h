#pragma once

#include "format/ReadVerdict.h"

#include <QString>

class DocumentView;
class FileShower;
class OrderDocument;
class QFile;
class QIODevice;
class UserPrompt;

// "Öppna &fil": replaces the document by the contents of an order file the user picks. A file that
// cannot be edited (a report, incoming electronic mandates, unknown records, another payee's
// numbers declined, a line that cannot be converted) is not loaded: the document is emptied and the
// file is shown read-only through the show-file command instead. Mandates of the other service type
// lead to the question whether to switch the service; a file read as UTF-8 is announced once.
class OpenCommand
{
public:
    OpenCommand(OrderDocument& document, DocumentView& view, UserPrompt& prompt, FileShower& shower);

    void OpenBtnClick();
    // Opens the named file as if it had just been chosen in the dialog: the program's start with a
    // file argument. A relative path is taken relative to the working folder. Asks nothing about
    // unsaved changes; the caller decides whether the document may be replaced.
    void openPath(const QString& path);

    static QString unsavedChangesQuestion();
    // The first sentence of the message for a file that cannot be opened; the file and the reason
    // follow it.
    static QString cannotOpenMessage();
    // A path that names something other than a regular file: a folder, a device, a FIFO.
    static QString notAFileMessage(const QString& path, const QString& kind);
    static QString switchServiceQuestion(const QString& mismatch, bool neededPrivateService);
    static QString mixedServicesMessage();
    // What the progress of reading a file says.
    static QString readingLabel(const QString& path);

private:
    bool confirmDiscardChanges();
    QString askFileName();
    void rememberFolder(const QString& path);
    void readFile(const QString& path);
    ReadVerdict readFrom(QIODevice& records, OrderDocument& into);
    ReadVerdict recogniseReport(QIODevice& records, ReadVerdict verdict);
    ReadVerdict offerServiceSwitch(QIODevice& records, ReadVerdict verdict, OrderDocument& read);
    void finishLoaded();
    void showInstead(const ReadVerdict& verdict);
    void tellAbout(const ReadVerdict& verdict);
    void showError(const QString& text);

    OrderDocument& m_document;
    DocumentView& m_view;
    UserPrompt& m_prompt;
    FileShower& m_shower;
    QString m_lastFileName; // the dialog comes up with the previous choice filled in
};
