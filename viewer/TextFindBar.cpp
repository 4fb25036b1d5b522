#include "viewer/TextFindBar.h"

#include "theme/PaletteFollower.h"
#include "theme/ThemeColours.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextDocument>

TextFindBar::TextFindBar(QPlainTextEdit& text, QWidget* parent) : QWidget(parent), m_text(text)
{
    setObjectName(QStringLiteral("FindBar"));
    auto* label = new QLabel(QStringLiteral("&Sök:"), this);
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("FindEdit"));
    m_edit->installEventFilter(this);
    label->setBuddy(m_edit);
    auto* previous = new QPushButton(QStringLiteral("&Föregående"), this);
    auto* next = new QPushButton(QStringLiteral("&Nästa"), this);
    auto* close = new QPushButton(QStringLiteral("Stäng"), this);
    m_notice = new QLabel(this);
    m_notice->setObjectName(QStringLiteral("FindNotice"));
    PaletteFollower::follow(m_notice, [notice = m_notice] {
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::WindowText, ThemeColours::warningText(palette));
        notice->setPalette(palette);
    });

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(label);
    layout->addWidget(m_edit, 1);
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(m_notice);
    layout->addWidget(close);

    connect(m_edit, &QLineEdit::returnPressed, this, [this] { findNext(); });
    connect(m_edit, &QLineEdit::textChanged, m_notice, &QLabel::clear);
    connect(next, &QPushButton::clicked, this, [this] { findNext(); });
    connect(previous, &QPushButton::clicked, this, [this] { findNext(true); });
    connect(close, &QPushButton::clicked, this, [this] {
        hide();
        m_text.setFocus();
    });
    hide();
}

void TextFindBar::open()
{
    const QString selected = m_text.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        m_edit->setText(selected);
    show();
    m_edit->setFocus();
    m_edit->selectAll();
}

bool TextFindBar::findNext(bool backwards)
{
    const QString wanted = m_edit->text();
    if (wanted.isEmpty()) {
        open();
        return false;
    }
    const QTextDocument::FindFlags flags =
        backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    // Backwards from the start of the current hit, so that it is not found again.
    QTextCursor from = m_text.textCursor();
    if (backwards)
        from.setPosition(from.selectionStart());
    QTextCursor hit = m_text.document()->find(wanted, from, flags);
    if (hit.isNull()) {
        QTextCursor wrapped(m_text.document());
        wrapped.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
        hit = m_text.document()->find(wanted, wrapped, flags);
    }
    if (hit.isNull()) {
        m_notice->setText(QStringLiteral("Texten finns inte i filen."));
        return false;
    }
    m_notice->clear();
    m_text.setTextCursor(hit);
    m_text.ensureCursorVisible();
    return true;
}

QString TextFindBar::notice() const
{
    return m_notice->text();
}

bool TextFindBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        hide();
        m_text.setFocus();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
