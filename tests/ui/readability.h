#pragma once

// Checks that text stays readable: every visible text under a widget reaches a contrast of
// 4.5:1 against what is drawn behind it, in whatever palette the application has. And that
// assistive technology can read every control.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>
#include <functional>
#include <utility>

#include "ui/widgets.h"

namespace morvane::testing {

/// A dark palette as dark desktop themes set it: light text on dark grey.
inline QPalette darkPalette() {
    QPalette palette = QApplication::style()->standardPalette();
    palette.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    palette.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
    palette.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    palette.setColor(QPalette::AlternateBase, QColor(0x26, 0x26, 0x26));
    palette.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
    palette.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    palette.setColor(QPalette::ButtonText, QColor(0xe6, 0xe6, 0xe6));
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
    palette.setColor(QPalette::HighlightedText, QColor(0xff, 0xff, 0xff));
    palette.setColor(QPalette::ToolTipBase, QColor(0x31, 0x36, 0x3b));
    palette.setColor(QPalette::ToolTipText, QColor(0xe6, 0xe6, 0xe6));
    palette.setColor(QPalette::PlaceholderText, QColor(0xe6, 0xe6, 0xe6, 128));
    palette.setColor(QPalette::Light, QColor(0x4a, 0x4a, 0x4a));
    palette.setColor(QPalette::Midlight, QColor(0x40, 0x40, 0x40));
    palette.setColor(QPalette::Mid, QColor(0x24, 0x24, 0x24));
    palette.setColor(QPalette::Dark, QColor(0x1a, 0x1a, 0x1a));
    palette.setColor(QPalette::Shadow, QColor(0x10, 0x10, 0x10));
    palette.setColor(QPalette::Link, QColor(0x8a, 0xb4, 0xf8));
    return palette;
}

/// The style's own light palette.
inline QPalette lightPalette() { return QApplication::style()->standardPalette(); }

/// Sets the application's palette for one scope and restores the previous one after.
class ApplicationPalette {
  public:
    explicit ApplicationPalette(const QPalette& palette) : previous_(QApplication::palette()) {
        QApplication::setPalette(palette);
        QCoreApplication::processEvents();  // the widgets learn of it through the event loop
    }
    ~ApplicationPalette() {
        QApplication::setPalette(previous_);
        QCoreApplication::processEvents();
    }
    ApplicationPalette(const ApplicationPalette&) = delete;
    ApplicationPalette& operator=(const ApplicationPalette&) = delete;

  private:
    QPalette previous_;
};

/// Whether a widget paints its own backdrop in its background role rather than showing the
/// widget behind it.
inline bool fillsOwnBackground(const QWidget* widget) {
    if (widget->autoFillBackground() || widget->isWindow()) return true;
    if (const auto* tool = qobject_cast<const QToolButton*>(widget)) return !tool->autoRaise();
    if (const auto* push = qobject_cast<const QPushButton*>(widget)) return !push->isFlat();
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QComboBox*>(widget) != nullptr ||
           qobject_cast<const QAbstractScrollArea*>(widget) != nullptr;
}

/// The colour drawn behind `widget`: its own background if it fills one, else that of the
/// nearest ancestor that does.
inline QColor colourBehind(const QWidget* widget, QPalette::ColorGroup group) {
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (fillsOwnBackground(w)) return w->palette().color(group, w->backgroundRole());
    }
    return QApplication::palette().color(group, QPalette::Window);
}

inline QString describe(const QWidget* widget, const QString& text) {
    return QStringLiteral("%1 \"%2\" (%3)")
        .arg(QString::fromLatin1(widget->metaObject()->className()), widget->objectName(),
             text.left(60));
}

// The colours of one text in a colour group: the text's and the backdrop's.
using ColoursIn = std::function<std::pair<QColor, QColor>(QPalette::ColorGroup)>;

/// Every visible, enabled text under `root` (labels, buttons, fields, combo boxes, text views,
/// table cells and headers) reaches 4.5:1 against its backdrop, in the active and the inactive
/// colours. Disabled controls are left out, as the contrast rules leave them out. Fails when
/// there is no text to check at all (say, a view not shown yet).
inline void expectReadable(QWidget* root) {
    int checked = 0;
    // At most one failure per text: the first colour group that falls short.
    const auto expectContrast = [&checked](const QString& what, const ColoursIn& colours) {
        ++checked;
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            const auto [text, behind] = colours(group);
            const double ratio = contrastRatio(text, behind);
            EXPECT_GE(ratio, 4.5) << what.toStdString() << ": "
                                  << text.name(QColor::HexArgb).toStdString() << " on "
                                  << behind.name().toStdString() << " is " << ratio << ":1";
            if (ratio < 4.5) return;
        }
    };
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (!widget->isVisibleTo(root) || !widget->isEnabled()) continue;
        const QPalette& palette = widget->palette();
        const auto roles = [&palette](QPalette::ColorRole text, QPalette::ColorRole behind) {
            return [&palette, text, behind](QPalette::ColorGroup group) {
                return std::pair(palette.color(group, text), palette.color(group, behind));
            };
        };
        const ColoursIn own = [&](QPalette::ColorGroup group) {
            return std::pair(palette.color(group, widget->foregroundRole()),
                             colourBehind(widget, group));
        };
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (!label->text().isEmpty()) expectContrast(describe(widget, label->text()), own);
        } else if (auto* header = qobject_cast<QHeaderView*>(widget)) {
            for (int section = 0; section < header->count(); ++section) {  // drawn as buttons
                const QVariant text = header->model()->headerData(section, header->orientation());
                expectContrast(describe(widget, text.toString()),
                               roles(QPalette::ButtonText, QPalette::Button));
            }
        } else if (auto* table = qobject_cast<QTableWidget*>(widget)) {
            for (int row = 0; row < table->rowCount(); ++row) {
                const bool alternate = table->alternatingRowColors() && row % 2 == 1;
                const auto base = alternate ? QPalette::AlternateBase : QPalette::Base;
                for (int column = 0; column < table->columnCount(); ++column) {
                    const QTableWidgetItem* item = table->item(row, column);
                    if (item == nullptr || item->text().isEmpty()) continue;
                    const QBrush ink = item->foreground();  // an item's own colours win
                    const QBrush fill = item->background();
                    expectContrast(describe(widget, item->text()), [&](QPalette::ColorGroup group) {
                        const auto [text, behind] = roles(QPalette::Text, base)(group);
                        return std::pair(ink.style() == Qt::NoBrush ? text : ink.color(),
                                         fill.style() == Qt::NoBrush ? behind : fill.color());
                    });
                }
            }
        } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
            const QPalette& viewport = edit->viewport()->palette();
            expectContrast(describe(widget, edit->toPlainText()), [&](QPalette::ColorGroup group) {
                return std::pair(palette.color(group, QPalette::Text),
                                 viewport.color(group, QPalette::Base));
            });
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            if (!button->text().isEmpty()) expectContrast(describe(widget, button->text()), own);
        } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
            expectContrast(describe(widget, line->text()), own);
        } else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && !combo->isEditable()) {
            // Drawn on a button face in the text colour; an editable one has its line edit.
            expectContrast(describe(widget, combo->currentText()),
                           roles(QPalette::Text, QPalette::Button));
        }
    }
    EXPECT_GT(checked, 0) << "no visible text under " << describe(root, {}).toStdString();
}

/// What assistive technology reads of a widget.
inline QString accessibleText(QObject* object, QAccessible::Text kind) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(object);
    return node != nullptr ? node->text(kind) : QString();
}

/// Assistive technology can name, and when `described` also explain, every shown control
/// under `root` that takes the focus. A spin box's own line edit is read as the spin box.
inline void expectControlsNamed(QWidget& root, bool described = true) {
    for (QWidget* control : root.findChildren<QWidget*>()) {
        if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(&root)) continue;
        if (qobject_cast<QAbstractSpinBox*>(control->parentWidget()) != nullptr) continue;
        const QString name = accessibleText(control, QAccessible::Name);
        EXPECT_FALSE(name.isEmpty()) << control->metaObject()->className() << " in "
                                     << control->parentWidget()->metaObject()->className();
        if (described) {
            EXPECT_FALSE(accessibleText(control, QAccessible::Description).isEmpty())
                << control->metaObject()->className() << " " << name.toStdString();
        }
    }
}

}  // namespace morvane::testing
