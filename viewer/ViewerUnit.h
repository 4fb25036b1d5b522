#pragma once

#include <QDialog>
#include <QHash>
#include <QString>

#include <functional>

class ElidingLabel;
class QLabel;
class QPlainTextEdit;
class QStatusBar;
class QTabWidget;
class ReportView;
class TextFindBar;
struct ReportFile;

// The read-only file viewer: any text file line by line in a fixed-pitch font, with the file name
// and the caret's line and column in the status bar. A report file from the bank is also shown
// structured, in a first tab before the text; the text tab has find (Ctrl+F, F3, Shift+F3).
// Created once and reused; the memo keeps the last file's lines until the next LoadFile.
class TViewer : public QDialog
{
    Q_OBJECT

public:
    explicit TViewer(QWidget* parent = nullptr);

    // Reads the file into the memo. False (after telling the user) when it cannot be read; the
    // memo then keeps what it held. An empty path only clears the file name.
    bool LoadFile(const QString& path);
    // Centres the viewer over its parent and shows it modally; returns when the user closes it.
    int ShowModal();
    // Gives the viewer the size and place the user last left it at; the first time, a size that
    // shows every column of the report or the whole width of the text, up to the screen's size,
    // centred over the main window.
    void placeForShowing();

    QString fileName() const { return m_fileName; }
    QString statusText() const;
    QPlainTextEdit* memo() const
    {
        ensureText();
        return Memo1;
    }
    QTabWidget* tabs() const { return m_tabs; }
    ReportView* reportView() const { return m_reportView; }
    TextFindBar* findBar() const { return m_findBar; }
    // The structured report is the tab on view.
    bool showsReport() const;
    // The sentence above the text (a file of another bank service); empty when there is none.
    QString textNotice() const;
    // Asked with the path of each report file shown; the line it returns stands above the report.
    void setReportOpened(std::function<QString(const QString&)> opened) { m_reportOpened = std::move(opened); }
    QString registerLine() const;
    // Asked after reportOpened with the same path: the delivered order of each item by its line.
    void setItemSources(std::function<QHash<int, QString>(const QString&)> sources)
    {
        m_itemSources = std::move(sources);
    }

    enum Tab
    {
        ReportTab,
        TextTab
    };

public slots:
    // Rebuilds the status text from the file name and the end of the selection.
    void Memo1Click();
    // The text tab with the caret at the start of the line (counted from 1).
    void showLine(int line);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void createControls();
    QWidget* createTextPage();
    void createShortcuts();
    void findInText(bool backwards);
    void present(const ReportFile& file, const QString& path);
    // Lays the file's text out in the memo if that has waited for its tab.
    void ensureText() const;
    void centreOverParent();
    QSize fittingSize() const;
    int contentWidth() const;
    bool readIntoMemo(const QString& path);
    static QFont fixedPitchFont();

    QPlainTextEdit* Memo1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    ElidingLabel* m_fileLabel = nullptr;
    QLabel* m_positionLabel = nullptr;
    QTabWidget* m_tabs = nullptr;
    ReportView* m_reportView = nullptr;
    TextFindBar* m_findBar = nullptr;
    QLabel* m_textNotice = nullptr;
    QString m_fileName;
    QString m_readError; // the system's reason when the last file could not be read
    std::function<QString(const QString&)> m_reportOpened;
    QLabel* m_registerLine = nullptr;
    std::function<QHash<int, QString>(const QString&)> m_itemSources;
    mutable QString m_pendingText;
    mutable bool m_textPending = false;
};
