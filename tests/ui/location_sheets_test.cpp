#include "ui/location_sheets.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "model/model_fixture.h"

namespace morvane {
namespace {

// Lays the label's text out as the label does and checks that every line fits its width and
// that all lines fit its height: nothing is cut at the side, the top or the bottom. The break
// points in over-long words are for the layout only, not for screen readers.
void expectWhollyShown(const QLabel* label, const QString& text) {
    EXPECT_EQ(QString(label->text()).remove(QChar(0x200B)), text);
    EXPECT_EQ(label->accessibleName(), text);
    const QRect area = label->contentsRect();
    const QRect needed = label->fontMetrics().boundingRect(
        area, int(label->alignment()) | Qt::TextWordWrap, label->text());
    EXPECT_LE(needed.width(), area.width());
    EXPECT_LE(needed.height(), area.height());
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    EXPECT_TRUE(label->window()->rect().contains(label->geometry()));
}

// Screen readers can name and explain every control that takes the focus.
void expectControlsNamedAndDescribed(const QDialog& sheet) {
    for (const QWidget* control : sheet.findChildren<QWidget*>()) {
        if (control->focusPolicy() == Qt::NoFocus) continue;  // labels and layouts' helpers
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->metaObject()->className();
        EXPECT_FALSE(control->accessibleDescription().isEmpty())
            << control->accessibleName().toStdString();
    }
}

class LocationSheets : public ::testing::Test {
  protected:
    LocationSheets() {
        // Away from the screen's corner, so that centring is not a coincidence.
        window.setGeometry(130, 90, 520, 420);
        sidebar->setGeometry(10, 10, 100, 100);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QString selectNewLocation(const QString& name) {
        const auto saved = model->saveLocation(name);
        EXPECT_TRUE(std::holds_alternative<QUuid>(saved));
        if (const auto* id = std::get_if<QUuid>(&saved)) model->setSelectedCityID(*id);
        return name;
    }
    /// Shows a sheet the sidebar opened: centred on the window all the same.
    void showCentred(QDialog& sheet) {
        sheet.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sheet));
        const auto offCentre = [&] {
            return (sheet.frameGeometry().center() - window.frameGeometry().center())
                .manhattanLength();
        };
        // A window manager may still move a grown sheet after it is exposed.
        (void)QTest::qWaitFor([&] { return offCentre() <= 2; }, 2000);
        EXPECT_LE(offCentre(), 2);
    }

    testing::ModelFixture fixture;
    std::unique_ptr<AstronomyModel> model = fixture.makeModel();
    QWidget window;
    QWidget* sidebar = new QWidget(&window);
};

TEST_F(LocationSheets, DeleteShowsAVeryLongNameWholeAndGrowsInHeight) {
    const QString name = selectNewLocation(QString(260, QLatin1Char('W')));
    DeleteLocationSheet sheet(model.get(), sidebar);
    showCentred(sheet);
    EXPECT_EQ(sheet.width(), 320);
    expectWhollyShown(sheet.question(), QStringLiteral("Delete location \"%1\"?").arg(name));
    EXPECT_GT(sheet.question()->height(), 4 * sheet.question()->fontMetrics().height());
    EXPECT_TRUE(sheet.rect().contains(sheet.deleteButton()->geometry()));
    EXPECT_GE(sheet.deleteButton()->y(), sheet.question()->geometry().bottom());
    expectControlsNamedAndDescribed(sheet);
    EXPECT_TRUE(sheet.deleteButton()->accessibleDescription().contains(name));

    // Ordinary names are left as typed: the break points go only into words too wide to fit.
    EXPECT_EQ(breakableText(QStringLiteral("Delete location \"Old Harbour\"?"),
                            sheet.question()->fontMetrics(), 280),
              QStringLiteral("Delete location \"Old Harbour\"?"));
    EXPECT_EQ(breakableText(QStringLiteral("a\u0301bc"), sheet.question()->fontMetrics(), 1),
              QStringLiteral("a\u0301\u200Bb\u200Bc"));  // the accent stays on its letter
}

TEST_F(LocationSheets, SaveShowsAnErrorNamingALongLocationWhole) {
    const QString name = selectNewLocation(QString(200, QLatin1Char('x')));
    SaveLocationSheet sheet(model.get(), sidebar);
    showCentred(sheet);
    expectControlsNamedAndDescribed(sheet);
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
