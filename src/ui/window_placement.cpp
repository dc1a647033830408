#include "ui/window_placement.h"

#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace morvane {

namespace {

QMargins frameMargins(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

}  // namespace

void centreOn(QWidget* window, const QWidget* anchor) {
    if (window == nullptr) return;
    window = window->window();
    const QWidget* anchorWindow = anchor != nullptr ? anchor->window() : nullptr;
    if (anchorWindow == window) anchorWindow = nullptr;

    if (!window->isVisible()) {
        // Before the first show the layout has not settled the size yet.
        window->ensurePolished();
        if (window->layout() != nullptr) window->layout()->activate();
        if (!window->testAttribute(Qt::WA_Resized)) window->adjustSize();
    }

    // The window manager adds its frame only once the window is mapped; until then assume the
    // same decorations as the anchor's, which is what they will be on the same desktop.
    QMargins margins = frameMargins(window);
    if (margins.isNull() && anchorWindow != nullptr) {
        margins = frameMargins(anchorWindow);
    }
    const QSize frameSize = window->size().grownBy(margins);

    QScreen* screen = anchorWindow != nullptr ? anchorWindow->screen() : window->screen();
    const QRect available = screen != nullptr ? screen->availableGeometry() : QRect();
    const QPoint centre = anchorWindow != nullptr && anchorWindow->isVisible()
                              ? anchorWindow->frameGeometry().center()
                              : available.center();

    QPoint topLeft(centre.x() - frameSize.width() / 2, centre.y() - frameSize.height() / 2);
    if (available.isValid()) {
        topLeft.setX(std::max(available.left(),
                              std::min(topLeft.x(), available.right() + 1 - frameSize.width())));
        topLeft.setY(std::max(available.top(),
                              std::min(topLeft.y(), available.bottom() + 1 - frameSize.height())));
    }
    // Placed by its client area: before the frame is known, platforms differ in what a frame
    // position means, while the client geometry means the same everywhere.
    window->setGeometry(QRect(topLeft + QPoint(margins.left(), margins.top()), window->size()));
}

}  // namespace morvane
