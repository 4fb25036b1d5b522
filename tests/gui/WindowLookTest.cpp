#include "app/MainForm.h"
#include "app/RowListModel.h"
#include "dialogs/BtuUnit.h"
#include "dialogs/ColumnMappingDialog.h"
#include "dialogs/EntryDialog.h"
#include "dialogs/FieldPanel.h"
#include "dialogs/ImportErrorsDialog.h"
#include "dialogs/MakUnit.h"
#include "dialogs/MdgCompUnit.h"
#include "dialogs/MdgUnit.h"
#include "format/CsvReader.h"
#include "register/RegisterWindow.h"
#include "settings/SettingsUnit.h"
#include "support/FakePrompt.h"
#include "support/TestSupport.h"
#include "theme/ThemeColours.h"
#include "viewer/TextFindBar.h"
#include "viewer/ViewerUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

// The same tests run once more under QT_SCALE_FACTOR=2 (see tests/CMakeLists.txt).
namespace {

void settle()
{
    for (int round = 0; round < 3; ++round) {
        QApplication::sendPostedEvents();
        QApplication::processEvents();
    }
}

QString nameOf(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    return widget->objectName();
}

bool isText(const QWidget* widget)
{
    if (widget->objectName().startsWith(QLatin1String("qt_")))
        return false;
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return !label->text().isEmpty() && label->pixmap().isNull();
    return qobject_cast<const QPushButton*>(widget) || qobject_cast<const QCheckBox*>(widget) ||
           qobject_cast<const QRadioButton*>(widget);
}

// How wide a one-line label's text comes out when drawn at the window's own pixel ratio, unclipped.
// The layout measures text in logical pixels, but at a scale factor the glyphs are placed at device
// pixels and may end further right than measured.
qreal inkWidth(const QLabel* label)
{
    const qreal ratio = label->devicePixelRatioF();
    const QSize room(label->width() * 2 + 100, label->height());
    QImage image(room * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setFont(label->font());
        painter.setPen(Qt::black);
        painter.drawText(QRect(QPoint(label->contentsRect().left(), 0), room),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, label->text());
    }
    for (int x = image.width() - 1; x >= 0; --x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qAlpha(image.pixel(x, y)) > 0)
                return (x + 1) / ratio;
        }
    }
    return 0;
}

// Every label and button of the shown window that is narrower or lower than its text needs, or
// that a neighbour covers or the window's edge cuts.
QStringList cutTexts(QWidget& window, int& checked)
{
    QStringList cut;
    checked = 0;
    const QRect windowRect = window.rect();
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        if (!widget->isVisible() || !isText(widget))
            continue;
        ++checked;
        const auto* label = qobject_cast<const QLabel*>(widget);
        const QSize needed = label && label->wordWrap()
                                 ? QSize(0, label->heightForWidth(label->width()))
                                 : widget->minimumSizeHint();
        QStringList faults;
        if (label && !label->wordWrap() && inkWidth(label) > label->width())
            faults << QStringLiteral("text drawn %1 wide in %2").arg(inkWidth(label)).arg(label->width());
        if (widget->width() < needed.width() || widget->height() < needed.height())
            faults << QStringLiteral("%1x%2 < %3x%4")
                          .arg(widget->width())
                          .arg(widget->height())
                          .arg(needed.width())
                          .arg(needed.height());
        const QRect inWindow(widget->mapTo(&window, QPoint(0, 0)), widget->size());
        if (!windowRect.contains(inWindow))
            faults << QStringLiteral("outside the window");
        for (QWidget* sibling : widget->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (sibling != widget && sibling->isVisible() && sibling->focusPolicy() != Qt::NoFocus &&
                sibling->geometry().intersects(widget->geometry()))
                faults << QStringLiteral("covered by ") + QString::fromLatin1(sibling->metaObject()->className());
        }
        if (!faults.isEmpty())
            cut << nameOf(widget) + QStringLiteral(": ") + faults.join(QStringLiteral(", "));
    }
    return cut;
}

struct FontCase
{
    const char* name;
    double letterSpacing; // per cent of the normal spacing
};

class WindowLook : public ::testing::TestWithParam<FontCase>
{
protected:
    void SetUp() override
    {
        m_font = QApplication::font();
        QFont font = m_font;
        font.setLetterSpacing(QFont::PercentageSpacing, GetParam().letterSpacing);
        QApplication::setFont(font);
        m_mainForm = std::make_unique<TMainForm>();
        m_mainForm->createWindows();
    }
    void TearDown() override
    {
        m_mainForm.reset();
        QApplication::setFont(m_font);
    }

    TestEnvironment m_environment;
    QFont m_font;
    std::unique_ptr<TMainForm> m_mainForm;
};

TEST_P(WindowLook, NoLabelOrButtonTextIsCut)
{
    TMainForm& form = *m_mainForm;
    const CsvTable table = ParseCsv(QStringLiteral("Kund;Summa;Förfaller\n4711;10,00;2027-01-25\n"));
    ColumnMappingDialog mapping(table, ColumnMapping(), true, &form);
    QTemporaryDir folder;
    FakePrompt prompt;
    RegisterWindow registerWindow(prompt, [](const QString&, int) {});
    ASSERT_TRUE(registerWindow.openRegister(folder.filePath(QStringLiteral("register.sqlite"))));
    ImportErrorsDialog errors(QStringLiteral("betalare.csv"),
                              {{2, QStringLiteral("Belopp"), QStringLiteral("Beloppet är inte numeriskt")}}, &form);
    const std::pair<const char*, QWidget*> windows[] = {
        {"payment order", form.BtuForm},   {"mandate", form.MdgForm},     {"company mandate", form.MdgCompForm},
        {"cancellation", form.MakForm},    {"settings", form.SettingsForm}, {"column mapping", &mapping},
        {"import errors", &errors}, {"register", &registerWindow},
    };
    for (const bool privatePayer : {true, false}) {
        form.BtuForm->PrivatePayer = privatePayer;
        form.MakForm->PrivatePayer = privatePayer;
        for (const auto& [name, window] : windows) {
            window->show();
            settle();
            int checked = 0;
            const QStringList cut = cutTexts(*window, checked);
            EXPECT_EQ(cut.join(QStringLiteral("; ")).toStdString(), "")
                << name << (privatePayer ? " (private)" : " (company)");
            EXPECT_GE(checked, 3) << name;
            window->hide();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, WindowLook,
                         ::testing::Values(FontCase{"desktop font", 100}, FontCase{"long words", 135}),
                         [](const auto& info) { return std::string(info.param.letterSpacing > 100 ? "LongWords" : "Desktop"); });

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(30, 30, 32));
    dark.setColor(QPalette::AlternateBase, QColor(40, 40, 44));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, QColor(55, 55, 60));
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    return dark;
}

// Lightness apart: the text must stand out from what it is drawn on.
int contrast(const QColor& text, const QColor& background)
{
    return qAbs(text.lightness() - background.lightness());
}

TEST(ThemeColoursTest, LightPaletteKeepsTheFixedLookAndDarkOneIsDerived)
{
    const QPalette light(QColor(239, 239, 239), QColor(239, 239, 239));
    EXPECT_FALSE(ThemeColours::isDark(light));
    EXPECT_EQ(ThemeColours::dialogBackground(light), QColor(236, 236, 255));
    EXPECT_EQ(ThemeColours::panelFill(light), QColor(218, 218, 255));
    EXPECT_EQ(ThemeColours::evenStripe(light), QColor(218, 218, 255));
    EXPECT_EQ(ThemeColours::oddStripe(light), QColor(236, 236, 255));
    EXPECT_EQ(ThemeColours::stripeText(light), QColor(Qt::black));
    EXPECT_EQ(ThemeColours::warningText(light), QColor(160, 0, 0));

    const QPalette dark = darkPalette();
    ASSERT_TRUE(ThemeColours::isDark(dark));
    const QColor text = dark.color(QPalette::Text);
    for (const QColor& background :
         {ThemeColours::dialogBackground(dark), ThemeColours::panelFill(dark), ThemeColours::evenStripe(dark),
          ThemeColours::oddStripe(dark), ThemeColours::unfocusedSelection(dark)}) {
        EXPECT_GE(contrast(text, background), 100) << background.name().toStdString();
        EXPECT_EQ(ThemeColours::stripeText(dark), text);
    }
    EXPECT_GE(contrast(ThemeColours::heading(dark), dark.color(QPalette::Window)), 100);
    EXPECT_NE(ThemeColours::evenStripe(dark), ThemeColours::oddStripe(dark));
    const QColor warning = ThemeColours::warningText(dark);
    EXPECT_GE(contrast(warning, dark.color(QPalette::Window)), 100);
    EXPECT_GT(warning.red(), warning.green() + 60) << "still reads as red";
}

// A palette switched while the windows are open reaches at once what the editor colours itself.
TEST(ThemeColoursTest, PaletteSwitchedAtRunTimeReachesOpenWindows)
{
    const QPalette original = QApplication::palette();
    TestEnvironment environment;
    TMainForm form;
    form.createWindows();
    QPlainTextEdit text;
    TextFindBar findBar(text);
    const auto* notice = findBar.findChild<QLabel*>(QStringLiteral("FindNotice"));
    ASSERT_NE(notice, nullptr);
    for (const QPalette& palette : {darkPalette(), original}) {
        QApplication::setPalette(palette);
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
            EXPECT_EQ(form.BtuList->palette().color(group, QPalette::Highlight),
                      ThemeColours::unfocusedSelection(palette));
        EXPECT_EQ(notice->palette().color(QPalette::WindowText), ThemeColours::warningText(palette));
    }
}

TEST(ThemeColoursTest, WindowsUnderADarkPaletteUseTheDerivedColours)
{
    const QPalette original = QApplication::palette();
    QApplication::setPalette(darkPalette());
    {
        TestEnvironment environment;
        TMainForm form;
        form.createWindows();
        const QColor text = QApplication::palette().color(QPalette::Text);
        for (EntryDialog* dialog : std::initializer_list<EntryDialog*>{form.BtuForm, form.MdgForm, form.MakForm,
                                                                       form.MdgCompForm}) {
            EXPECT_EQ(dialog->palette().color(QPalette::Window), ThemeColours::dialogBackground());
            EXPECT_TRUE(ThemeColours::isDark(dialog->palette()));
        }
        form.document().BtuList.append(QStringLiteral("Debitering"),
                                       {QStringLiteral("Engångsbetalning"), QStringLiteral("2024-03-05"),
                                        QStringLiteral("100,00"), QStringLiteral("1"), QStringLiteral("1234"),
                                        QStringLiteral("ref")});
        form.UpdateView(true);
        const QModelIndex first = form.BtuList->model()->index(0, 0);
        const QColor stripe = form.BtuList->model()->data(first, Qt::BackgroundRole).value<QBrush>().color();
        const QColor rowText = form.BtuList->model()->data(first, Qt::ForegroundRole).value<QBrush>().color();
        EXPECT_EQ(rowText, text);
        EXPECT_GE(contrast(rowText, stripe), 100);
    }
    // Back to a light desktop: the fixed light look again, in the same windows.
    QApplication::setPalette(original);
    EXPECT_EQ(RowListModel::evenRowColor(), QColor(218, 218, 255));
    EXPECT_EQ(FieldPanel::fillColor(), QColor(218, 218, 255));
}

TEST(ViewerPlacement, OpensWideEnoughForEveryColumnAndRemembersItsPlace)
{
    TestEnvironment environment;
    const QString report =
        QStringLiteral(VALMO_TEST_DATA "/bank/autogiro_exempelfil_betalningar-och-tackningskontroll_sv.txt");
    const QRect available = QApplication::primaryScreen()->availableGeometry();
    {
        TViewer viewer;
        ASSERT_TRUE(viewer.LoadFile(report));
        viewer.placeForShowing();
        viewer.show();
        settle();
        EXPECT_LE(viewer.width(), available.width());
        QTableView* table = viewer.findChild<QTableView*>();
        ASSERT_NE(table, nullptr);
        // Every column in view, unless the screen itself is too narrow.
        if (viewer.width() < available.width() - 32)
            EXPECT_EQ(table->horizontalScrollBar()->maximum(), 0);
        // Wider than its first size, or as wide as the screen allows.
        EXPECT_GE(viewer.width(), qMin(668, available.width() - 16));
        viewer.setGeometry(QRect(available.topLeft() + QPoint(20, 30), QSize(500, 400)));
        viewer.hide();
    }
    TViewer again;
    ASSERT_TRUE(again.LoadFile(report));
    again.placeForShowing();
    EXPECT_EQ(again.size(), QSize(500, 400));
    EXPECT_EQ(again.pos(), available.topLeft() + QPoint(20, 30));
}

} // namespace
