#include "settings/RegisterFileField.h"

#include "app/WidgetPrompt.h"
#include "register/RegisterDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

RegisterFileField::RegisterFileField(QWidget* parent) : QWidget(parent)
{
    const QString defaultFile = QDir::toNativeSeparators(RegisterDatabase::defaultPath());
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("RegisterEdit"));
    m_edit->setPlaceholderText(defaultFile);
    m_edit->setMinimumWidth(m_edit->fontMetrics().averageCharWidth() * 32);
    m_edit->setAccessibleName(QStringLiteral("Registerfil"));
    m_edit->setAccessibleDescription(
        QStringLiteral("Databasen där levererade filer och Bankgirots rapporter förs in. Tom betyder %1")
            .arg(defaultFile));
    m_edit->setToolTip(m_edit->accessibleDescription());
    m_browse = new QPushButton(QStringLiteral("Bläddra..."), this);
    m_browse->setObjectName(QStringLiteral("RegisterBrowseBtn"));
    m_browse->setAccessibleName(QStringLiteral("Bläddra efter registerfil"));
    m_browse->setAutoDefault(false);
    connect(m_browse, &QPushButton::clicked, this, [this] { browse(); });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_browse);
}

QString RegisterFileField::path() const
{
    return m_edit->text().trimmed();
}

void RegisterFileField::setPath(const QString& path)
{
    m_edit->setText(path.isEmpty() ? QString() : QDir::toNativeSeparators(path));
}

// A save dialog, so that a new register file can be named as well as an existing one chosen.
void RegisterFileField::browse()
{
    UserPrompt::FileDialogOptions options;
    const QString current = path().isEmpty() ? RegisterDatabase::defaultPath() : path();
    options.initialFolder = QFileInfo(current).absolutePath();
    options.initialFileName = QFileInfo(current).fileName();
    options.defaultSuffix = QStringLiteral("sqlite");
    options.filters = {QStringLiteral("Register (*.sqlite)"), QStringLiteral("Alla filer (*)")};
    options.confirmOverwrite = false;
    const QString chosen = WidgetPrompt(window()).askSaveFileName(options);
    if (!chosen.isEmpty())
        setPath(chosen);
}
