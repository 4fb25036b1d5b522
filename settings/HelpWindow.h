#pragma once

#include <QPointer>
#include <QWidget>

class QListWidget;
class QPushButton;
class QTextBrowser;
class QUrl;

// The help window: the contents of the help beside the page, with back and forward. One window
// serves every help request; it belongs to no dialog, so it stays open when the dialog that asked
// closes, and it stays usable while that dialog is open.
class HelpWindow : public QWidget
{
    Q_OBJECT

public:
    // The open help window, or nullptr.
    static HelpWindow* instance();
    // The help window, created on first use. The help file must be loaded.
    static HelpWindow* open();
    // Closes and destroys every help window (at the end of the program).
    static void closeAll();

    // Opens the page of a topic ("Medgivanden.htm#kontonummer") scrolled to its anchor, then
    // shows the window and brings it to the front.
    void showTopic(const QString& topic);

    QTextBrowser* browser() const { return m_browser; }
    QListWidget* contentsList() const { return m_contents; }
    // The page shown, e.g. "Betaluppdrag.htm".
    QString currentPage() const;

private:
    explicit HelpWindow(QWidget* parent = nullptr);
    void buildControls();
    void fillContents();
    void pageChanged(const QUrl& url);
    void contentsChosen();
    void updateButtons();
    // Keeps the window usable while a modal dialog runs.
    void followModalDialog();

    QListWidget* m_contents = nullptr;
    QTextBrowser* m_browser = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_forward = nullptr;
    QPushButton* m_home = nullptr;
    static QPointer<HelpWindow> s_instance;
};
