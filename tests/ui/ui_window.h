#pragma once

// The main window on a model of its own (recording settings, a fresh locations folder), with a
// save dialog that a test answers, as the UI tests drive it; and where other windows open.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTest>
#include <algorithm>
#include <map>
#include <memory>
#include <optional>

#include "export/export_controller.h"
#include "model/event_list.h"
#include "model/light_settings.h"
#include "model/model_fixture.h"
#include "support/qt_wait.h"
#include "ui/auto_recalculator.h"
#include "ui/main_view.h"
#include "ui/sidebar_view.h"

namespace morvane::testing {

/// Long enough for the automatic calculation's pause to end.
inline constexpr int kAutoPauseMs = AutoRecalculator::kPauseMs + 100;

/// Answers every save dialog with `answer`: by default "cancel", so that no file is written.
class CancellingChooser final : public FileChooser {
  public:
    int asked = 0;
    std::optional<QString> answer;
    void chooseSaveLocation(Kind, const QString&, const QString&,
                            std::function<void(std::optional<QString>)> done) override {
        ++asked;
        done(answer);
    }
};

struct Window {
    ModelFixture fixture;
    std::unique_ptr<AstronomyModel> model;
    CancellingChooser* chooser = nullptr;
    std::unique_ptr<ExportController> exporter;
    std::unique_ptr<MainView> view;
    QDialog* lastSheet = nullptr;

    RecordingStore* viewSettings = nullptr;  // owned by the view

    explicit Window(std::map<QString, QVariant> stored = {},
                    std::map<QString, QVariant> viewState = {}) {
        model = fixture.makeModel(std::move(stored));
        // The views would otherwise keep these choices in the user's own settings file.
        EventList::attach(*model, std::make_unique<RecordingStore>());
        LightSettings::attach(*model, std::make_unique<RecordingStore>());
        auto cancelling = std::make_unique<CancellingChooser>();
        chooser = cancelling.get();
        exporter = std::make_unique<ExportController>(std::move(cancelling));
        auto viewStore = std::make_unique<RecordingStore>();
        viewStore->values = std::move(viewState);
        viewSettings = viewStore.get();
        view = std::make_unique<MainView>(model.get(), exporter.get(), std::move(viewStore));
        QObject::connect(view->sidebar(), &SidebarView::sheetOpened, view.get(),
                         [this](QDialog* sheet) { lastSheet = sheet; });
    }
    SidebarView* sidebar() const { return view->sidebar(); }
    void showAndCalculate() {
        view->show();
        ASSERT_TRUE(
            waitUntil([this] { return !model->dateLabel().isEmpty() && !model->isCalculating(); }));
        QCoreApplication::processEvents();
    }
    /// Shown, calculated and the active window, so that keys reach the focus and shortcuts fire.
    void activate() {
        showAndCalculate();
        QApplication::setActiveWindow(view.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    }
    void selectCity(const QString& name) {
        for (const CityPreset& city : model->cities()) {
            if (city.name == name) model->setSelectedCityID(city.id);
        }
    }
};

// A window away from the screen's corner, so that centring on it is not a coincidence.
struct Anchor {
    QWidget window;
    QWidget* inner = new QWidget(&window);
    Anchor() {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        window.setGeometry(screen.x() + 150, screen.y() + 110, 360, 300);
        inner->setGeometry(20, 20, 60, 40);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
};

/// The frame of `window` is centred on `anchor`'s but shifted, if need be, into the screen.
inline void expectCentredOn(const QWidget& window, const QWidget& anchor) {
    const QRect screen = anchor.screen()->availableGeometry();
    const auto expected = [&] {
        QRect frame(QPoint(), window.frameGeometry().size());
        frame.moveCenter(anchor.frameGeometry().center());
        frame.moveLeft(std::clamp(frame.left(), screen.left(), screen.right() + 1 - frame.width()));
        frame.moveTop(std::clamp(frame.top(), screen.top(), screen.bottom() + 1 - frame.height()));
        return frame.topLeft();
    };
    const auto offBy = [&] {
        return (window.frameGeometry().topLeft() - expected()).manhattanLength();
    };
    // A window manager reports the frame, or moves a grown window, a little after it is mapped.
    (void)QTest::qWaitFor([&] { return offBy() <= 2; }, 2000);
    EXPECT_LE(offBy(), 2) << window.frameGeometry().x() << "," << window.frameGeometry().y()
                          << " instead of " << expected().x() << "," << expected().y();
}

}  // namespace morvane::testing
