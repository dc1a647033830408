#include "ui/location_sheets.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QTextOption>

#include "model/model_fixture.h"

namespace morvane {
namespace {

constexpr QChar kZeroWidthSpace(0x200B);

// A parent window away from the screen's corner, so that centring is not a coincidence.
struct Parent {
    QWidget window;
    Parent() {
        window.setGeometry(130, 90, 520, 420);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

QString selectNewLocation(AstronomyModel& model, const QString& name) {
    const auto saved = model.saveLocation(name);
    EXPECT_TRUE(std::holds_alternative<QUuid>(saved));
    if (const auto* id = std::get_if<QUuid>(&saved)) model.setSelectedCityID(*id);
    return name;
}

// Lays the label's text out as the label does and checks that every line fits its width and
// that all lines fit its height: nothing is cut at the side, the top or the bottom.
void expectWhollyShown(const QLabel* label, const QString& text) {
    QString shown = label->text();
    EXPECT_EQ(shown.remove(kZeroWidthSpace), text);
    EXPECT_EQ(label->accessibleName(), text);
    const QRect area = label->contentsRect();
    QTextDocument layout;
    layout.setDocumentMargin(0);
    layout.setDefaultFont(label->font());
    QTextOption option(label->alignment());
    option.setWrapMode(QTextOption::WordWrap);
    layout.setDefaultTextOption(option);
    layout.setPlainText(label->text());
    layout.setTextWidth(area.width());
    EXPECT_LE(layout.idealWidth(), area.width());
    EXPECT_LE(layout.size().height(), area.height());
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_GE(label->window()->sizeHint().height(), label->heightForWidth(label->width()));
    EXPECT_TRUE(label->window()->rect().contains(label->geometry()));
}

TEST(DeleteSheet, AVeryLongNameIsShownWholeAndTheSheetGrowsInHeight) {
    testing::ModelFixture fixture;
    auto model = fixture.makeModel();
    const QString name = selectNewLocation(*model, QString(260, QLatin1Char('W')));
    Parent parent;
    DeleteLocationSheet sheet(model.get(), &parent.window);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));

    EXPECT_EQ(sheet.width(), 320);
    expectWhollyShown(sheet.question(), QStringLiteral("Delete location \"%1\"?").arg(name));
    EXPECT_GT(sheet.question()->height(), 4 * sheet.question()->fontMetrics().height());
    EXPECT_TRUE(sheet.rect().contains(sheet.deleteButton()->geometry()));
    EXPECT_GE(sheet.deleteButton()->y(), sheet.question()->geometry().bottom());

    // Ordinary names are left as typed: the break points go only into words too wide to fit.
    EXPECT_EQ(breakableText(QStringLiteral("Delete location \"Old Harbour\"?"),
                            sheet.question()->fontMetrics(), 280),
              QStringLiteral("Delete location \"Old Harbour\"?"));
    EXPECT_EQ(breakableText(QStringLiteral("a\u0301bc"), sheet.question()->fontMetrics(), 1),
              QStringLiteral("a\u0301\u200Bb\u200Bc"));  // the accent stays on its letter
}

TEST(SaveSheet, AnErrorNamingALongLocationIsShownWhole) {
    testing::ModelFixture fixture;
    auto model = fixture.makeModel();
    const QString name = selectNewLocation(*model, QString(200, QLatin1Char('x')));
    Parent parent;
    SaveLocationSheet sheet(model.get(), &parent.window);
    sheet.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
    const int heightBefore = sheet.height();

    sheet.nameField()->setText(name);
    QTest::mouseClick(sheet.saveButton(), Qt::LeftButton);
    ASSERT_TRUE(sheet.isVisible());
    QCoreApplication::processEvents();
    EXPECT_EQ(sheet.width(), 320);
    EXPECT_GT(sheet.height(), heightBefore);
    expectWhollyShown(sheet.errorLabel(), QStringLiteral("\"%1\" already exists.").arg(name));
}

TEST(LocationSheets, OpenCentredOnTheirParentWindow) {
    testing::ModelFixture fixture;
    auto model = fixture.makeModel();
    Parent parent;
    auto* inner = new QWidget(&parent.window);  // the sidebar opens them, not the window itself
    inner->setGeometry(10, 10, 100, 100);
    const QPoint centre = parent.window.frameGeometry().center();

    SaveLocationSheet save(model.get(), inner);
    save.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&save));
    EXPECT_LE((save.frameGeometry().center() - centre).manhattanLength(), 2);

    selectNewLocation(*model, QStringLiteral("Camp"));
    DeleteLocationSheet remove(model.get(), inner);
    remove.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&remove));
    EXPECT_LE((remove.frameGeometry().center() - centre).manhattanLength(), 2);
}

TEST(LocationSheets, EveryControlHasAnAccessibleNameAndDescription) {
    testing::ModelFixture fixture;
    auto model = fixture.makeModel();
    selectNewLocation(*model, QStringLiteral("Camp"));
    SaveLocationSheet save(model.get());
    DeleteLocationSheet remove(model.get());
    for (const QDialog* sheet : {static_cast<QDialog*>(&save), static_cast<QDialog*>(&remove)}) {
        for (const QWidget* control : sheet->findChildren<QWidget*>()) {
            if (control->focusPolicy() == Qt::NoFocus) continue;  // labels and layouts' helpers
            EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
            EXPECT_FALSE(control->accessibleDescription().isEmpty())
                << control->accessibleName().toStdString();
        }
    }
    EXPECT_TRUE(remove.deleteButton()->accessibleDescription().contains("Camp"));
}

}  // namespace
}  // namespace morvane
