#include "dialogs/ImportErrorsDialog.h"

#include "app/WidgetPrompt.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QTreeWidget>
#include <QVBoxLayout>

ImportErrorsDialog::ImportErrorsDialog(const QString& path, const QList<ImportFinding>& findings,
                                       QWidget* parent)
    : QDialog(parent), m_path(path), m_findings(findings)
{
    setWindowTitle(QStringLiteral("Importen gick inte igenom"));
    auto* layout = new QVBoxLayout(this);
    const QString count =
        findings.size() == 1 ? QStringLiteral("Ett fält") : QStringLiteral("%1 fält").arg(findings.size());
    auto* intro =
        new QLabel(QStringLiteral("Inget importerades från %1. %2 klarar inte kontrollerna; rätta filen "
                                  "och importera den igen.")
                       .arg(QFileInfo(path).fileName(), count),
                   this);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    m_list = new QTreeWidget(this);
    m_list->setAccessibleName(QStringLiteral("Fel i filen"));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setHeaderLabels({QStringLiteral("Rad"), QStringLiteral("Kolumn"), QStringLiteral("Fel")});
    QList<QTreeWidgetItem*> items;
    items.reserve(findings.size());
    for (const ImportFinding& finding : findings)
        items.append(new QTreeWidgetItem({QString::number(finding.line), finding.column, finding.message}));
    m_list->addTopLevelItems(items);
    m_list->header()->resizeSection(0, 60);
    m_list->header()->resizeSection(1, 140);
    layout->addWidget(m_list, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy = buttons->addButton(QStringLiteral("&Kopiera"), QDialogButtonBox::ActionRole);
    QPushButton* save = buttons->addButton(QStringLiteral("&Spara..."), QDialogButtonBox::ActionRole);
    QPushButton* close = buttons->addButton(QStringLiteral("Stäng"), QDialogButtonBox::RejectRole);
    close->setDefault(true);
    connect(copy, &QPushButton::clicked, this, &ImportErrorsDialog::copyToClipboard);
    connect(save, &QPushButton::clicked, this, [this] { saveToFile(); });
    connect(buttons, &QDialogButtonBox::rejected, this, &ImportErrorsDialog::reject);
    layout->addWidget(buttons);
    resize(640, 360);
}

QString ImportErrorsDialog::text() const
{
    const QString name = QFileInfo(m_path).fileName();
    QString text;
    for (const ImportFinding& finding : m_findings)
        text += QStringLiteral("%1:%2: %3: %4\n")
                    .arg(name)
                    .arg(finding.line)
                    .arg(finding.column, finding.message);
    return text;
}

void ImportErrorsDialog::copyToClipboard()
{
    QApplication::clipboard()->setText(text());
}

bool ImportErrorsDialog::saveToFile()
{
    UserPrompt::FileDialogOptions options;
    options.initialFolder = QFileInfo(m_path).absolutePath();
    options.initialFileName = QFileInfo(m_path).completeBaseName() + QStringLiteral(" - fel.txt");
    options.defaultSuffix = QStringLiteral("txt");
    options.filters = {QStringLiteral("Textfil (*.txt)"), QStringLiteral("Alla filer (*)")};
    options.confirmOverwrite = true;
    const QString target = WidgetPrompt(this).askSaveFileName(options);
    if (target.isEmpty())
        return false;
    QSaveFile file(target);
    const QByteArray bytes = text().toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        WidgetPrompt(this).showMessage(
            QString(), QStringLiteral("Filen %1 kunde inte skrivas: %2").arg(target, file.errorString()),
            UserPrompt::Buttons::Ok, UserPrompt::Icon::Error);
        return false;
    }
    return true;
}
