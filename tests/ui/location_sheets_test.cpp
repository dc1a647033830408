#include "ui/location_sheets.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/readability.h"
#include "ui/ui_window.h"

namespace morvane {
namespace {

using ::testing::HasSubstr;

// Lays the label's text out as the label does and checks that every line fits its width and
// that all lines fit its height: nothing is cut at the side, the top or the bottom. The break
// points in over-long words are for the layout only, not for screen readers.
void expectWhollyShown(const QLabel* label, const QString& text) {
    EXPECT_EQ(QString(label->text()).remove(QChar(0x200B)), text);
    EXPECT_EQ(label->accessibleName(), text);
    const QRect area = label->contentsRect();
    const QRect needed = label->fontMetrics().boundingRect(
        area, int(label->alignment()) | Qt::TextWordWrap, label->text());
    EXPECT_TRUE(area.contains(needed)) << needed.width() << "×" << needed.height() << " in "
                                       << area.width() << "×" << area.height();
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_TRUE(label->window()->rect().contains(label->geometry()));
}

class LocationSheets : public ::testing::Test {
  protected:
    QString selectNewLocation(const QString& name) {
        const auto saved = model->saveLocation(name);
        EXPECT_TRUE(std::holds_alternative<QUuid>(saved));
        if (const auto* id = std::get_if<QUuid>(&saved)) model->setSelectedCityID(*id);
        return name;
    }
    /// Shows a sheet the sidebar opened: centred on the window, named for screen readers.
    void show(QDialog& sheet) {
        sheet.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
        testing::expectCentredOn(sheet, anchor.window);
        testing::expectControlsNamed(sheet);
    }

    testing::ModelFixture fixture;
    std::unique_ptr<AstronomyModel> model = fixture.makeModel();
    testing::Anchor anchor;
    QWidget* sidebar = anchor.inner;
};

TEST_F(LocationSheets, DeleteShowsAVeryLongNameWholeAndGrowsInHeight) {
    const QString name = selectNewLocation(QString(260, QLatin1Char('W')));
    DeleteLocationSheet sheet(model.get(), sidebar);
    show(sheet);
    EXPECT_EQ(sheet.width(), 320);
    expectWhollyShown(sheet.question(), QStringLiteral("Delete location \"%1\"?").arg(name));
    EXPECT_GT(sheet.question()->height(), 4 * sheet.question()->fontMetrics().height());
    EXPECT_TRUE(sheet.rect().contains(sheet.deleteButton()->geometry()));
    EXPECT_GE(sheet.deleteButton()->y(), sheet.question()->geometry().bottom());
    EXPECT_THAT(sheet.deleteButton()->accessibleDescription().toStdString(),
                HasSubstr(name.toStdString()));

    // Ordinary names are left as typed: the break points go only into words too wide to fit.
    const QString ordinary = QStringLiteral("Delete location \"Old Harbour\"?");
    EXPECT_EQ(breakableText(ordinary, sheet.question()->fontMetrics(), 280), ordinary);
    EXPECT_EQ(breakableText(QStringLiteral("a\u0301bc"), sheet.question()->fontMetrics(), 1),
              QStringLiteral("a\u0301\u200Bb\u200Bc"));  // the accent stays on its letter
}

TEST_F(LocationSheets, SaveShowsAnErrorNamingALongLocationWhole) {
    const QString name = selectNewLocation(QString(200, QLatin1Char('x')));
    SaveLocationSheet sheet(model.get(), sidebar);
    show(sheet);
    const int heightBefore = sheet.height();
    sheet.nameField()->setText(name);
    QTest::mouseClick(sheet.saveButton(), Qt::LeftButton);
    ASSERT_TRUE(sheet.isVisible());
    QCoreApplication::processEvents();
    EXPECT_EQ(sheet.width(), 320);
    EXPECT_GT(sheet.height(), heightBefore);
    expectWhollyShown(sheet.errorLabel(), QStringLiteral("\"%1\" already exists.").arg(name));
}

}  // namespace
}  // namespace morvane
