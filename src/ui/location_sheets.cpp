#include "ui/location_sheets.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBoundaryFinder>
#include <QVBoxLayout>

#include "model/astronomy_model.h"
#include "ui/widgets.h"
#include "ui/window_placement.h"

namespace morvane {

namespace {

constexpr int kSheetWidth = 320;
constexpr int kPadding = 20;
constexpr int kTextWidth = kSheetWidth - 2 * kPadding;
constexpr QChar kZeroWidthSpace(0x200B);

QLabel* headline(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);  // a location's name is shown as typed
    label->setWordWrap(true);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.15);
    label->setFont(font);
    return label;
}

// Shows `text` whole in a wrapping label of the sheet's text width. A window's minimum size does
// not follow its layout's height for width, so without a minimum height of its own the label is
// squeezed and its lines are cut at the top and bottom.
void showWhole(QLabel* label, const QString& text) {
    label->setText(breakableText(text, label->fontMetrics(), kTextWidth));
    label->setAccessibleName(text);
    label->setMinimumHeight(label->heightForWidth(kTextWidth));
}

// The selected entry of the model's list, or the manual entry when none has the id.
const CityPreset& selectedEntry(const AstronomyModel& model) {
    for (const CityPreset& city : model.cities()) {
        if (city.id == model.selectedCityID()) return city;
    }
    return CityPreset::manual();
}

void frame(QDialog* dialog, const QString& title) {
    dialog->setWindowTitle(title);
    dialog->setModal(true);
    dialog->setFixedWidth(kSheetWidth);
}

QPushButton* button(const QString& text, const QString& description, QWidget* parent) {
    auto* result = new QPushButton(text, parent);
    result->setAccessibleName(text);
    result->setAccessibleDescription(description);
    return result;
}

}  // namespace

QString breakableText(const QString& text, const QFontMetrics& metrics, int width) {
    QString result;
    result.reserve(text.size());
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        const bool blank = text.at(start).isSpace();
        while (end < text.size() && text.at(end).isSpace() == blank) ++end;
        const QString run = text.mid(start, end - start);
        if (blank || metrics.horizontalAdvance(run) <= width) {
            result += run;
        } else {
            // Between grapheme clusters, so that no accent or surrogate pair is split.
            QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, run);
            qsizetype from = 0;
            for (qsizetype to = graphemes.toNextBoundary(); to > 0;
                 to = graphemes.toNextBoundary()) {
                if (from > 0) result += kZeroWidthSpace;
                result += QStringView(run).mid(from, to - from);
                from = to;
            }
        }
        start = end;
    }
    return result;
}

SaveLocationSheet::SaveLocationSheet(AstronomyModel* model, QWidget* parent)
    : QDialog(parent), model_(model) {
    frame(this, QStringLiteral("Save Location"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layout->addWidget(headline(QStringLiteral("Save Location"), this));
    name_ = new QLineEdit(this);
    name_->setPlaceholderText(QStringLiteral("Name"));
    name_->setAccessibleName(QStringLiteral("Name"));
    name_->setAccessibleDescription(
        QStringLiteral("The name the typed-in location is saved under"));
    layout->addWidget(name_);
    error_ = new ErrorLabel(QString(), this);
    error_->setTextFormat(Qt::PlainText);
    error_->setWordWrap(true);
    QFont small = error_->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    error_->setFont(small);
    error_->hide();
    layout->addWidget(error_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_ =
        button(QStringLiteral("Cancel"), QStringLiteral("Closes the sheet without saving"), this);
    save_ =
        button(QStringLiteral("Save"), QStringLiteral("Saves the location under the name"), this);
    cancel_->setAutoDefault(false);
    save_->setDefault(true);
    save_->setEnabled(false);
    buttons->addWidget(cancel_);
    buttons->addWidget(save_);
    layout->addLayout(buttons);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(save_, &QPushButton::clicked, this, &SaveLocationSheet::save);
    connect(name_, &QLineEdit::textChanged, this,
            [this](const QString& text) { save_->setEnabled(!text.trimmed().isEmpty()); });
}

void SaveLocationSheet::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        save();  // also for a blank name: the model answers what is wrong
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SaveLocationSheet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) centreOn(this, parentWidget());
}

void SaveLocationSheet::save() {
    const auto result = model_->saveLocation(name_->text());
    if (const auto* id = std::get_if<QUuid>(&result)) {
        model_->setSelectedCityID(*id);
        accept();
        return;
    }
    showWhole(error_, std::get<LocationError>(result).message());
    error_->show();
    adjustSize();  // grow with the message, which may name a long location
}

DeleteLocationSheet::DeleteLocationSheet(AstronomyModel* model, QWidget* parent)
    : QDialog(parent), model_(model) {
    frame(this, QStringLiteral("Delete Location"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    const QString name = selectedEntry(*model).name;
    question_ = headline(QString(), this);
    showWhole(question_, QStringLiteral("Delete location \"%1\"?").arg(name));
    layout->addWidget(question_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_ = button(QStringLiteral("Cancel"),
                     QStringLiteral("Closes the sheet and keeps the location"), this);
    delete_ = button(QStringLiteral("Delete"),
                     QStringLiteral("Deletes the saved location \"%1\"").arg(name), this);
    cancel_->setAutoDefault(false);
    delete_->setDefault(true);
    buttons->addWidget(cancel_);
    buttons->addWidget(delete_);
    layout->addLayout(buttons);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(delete_, &QPushButton::clicked, this, [this] {
        model_->deleteLocation(selectedEntry(*model_).id);
        accept();
    });
}

void DeleteLocationSheet::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) centreOn(this, parentWidget());
}

}  // namespace morvane
