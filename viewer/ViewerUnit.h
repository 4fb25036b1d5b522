#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QStatusBar;

// The read-only file viewer: any text file line by line in a fixed-pitch font, with the file name
// and the caret's line and column in the status bar. Created once and reused; the memo keeps the
// last file's lines until the next LoadFile.
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

    QString fileName() const { return m_fileName; }
    QString statusText() const;
    QPlainTextEdit* memo() const { return Memo1; }

public slots:
    // Rebuilds the status text from the file name and the end of the selection.
    void Memo1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void centreOverParent();
    bool readIntoMemo(const QString& path);
    static QFont fixedPitchFont();

    QPlainTextEdit* Memo1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* m_statusLabel = nullptr;
    QString m_fileName;
};
