#pragma once

#include <QWidget>

class QLineEdit;
class QPushButton;

// The settings dialog's choice of the register file: a path, typed or picked with "Bläddra...".
// Empty means the default register in the user's application data folder, shown greyed as the
// placeholder.
class RegisterFileField : public QWidget
{
public:
    explicit RegisterFileField(QWidget* parent = nullptr);

    QString path() const;
    void setPath(const QString& path);

    QLineEdit* edit() const { return m_edit; }
    QPushButton* browseButton() const { return m_browse; }

private:
    void browse();

    QLineEdit* m_edit = nullptr;
    QPushButton* m_browse = nullptr;
};
