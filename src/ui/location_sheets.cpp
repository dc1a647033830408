#include "ui/location_sheets.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/astronomy_model.h"

namespace morvane {

namespace {

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
    dialog->setFixedWidth(320);
}

}  // namespace

SaveLocationSheet::SaveLocationSheet(AstronomyModel* model, QWidget* parent)
    : QDialog(parent), model_(model) {
    frame(this, QStringLiteral("Save Location"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->addWidget(headline(QStringLiteral("Save Location"), this));
    name_ = new QLineEdit(this);
    name_->setPlaceholderText(QStringLiteral("Name"));
    layout->addWidget(name_);
    error_ = new QLabel(this);
    error_->setTextFormat(Qt::PlainText);
    error_->setWordWrap(true);
    QPalette palette = error_->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    error_->setPalette(palette);
    QFont small = error_->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    error_->setFont(small);
    error_->hide();
    layout->addWidget(error_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    save_ = new QPushButton(QStringLiteral("Save"), this);
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

void SaveLocationSheet::save() {
    const auto result = model_->saveLocation(name_->text());
    if (const auto* id = std::get_if<QUuid>(&result)) {
        model_->setSelectedCityID(*id);
        accept();
        return;
    }
    error_->setText(std::get<LocationError>(result).message());
    error_->show();
}

DeleteLocationSheet::DeleteLocationSheet(AstronomyModel* model, QWidget* parent)
    : QDialog(parent), model_(model) {
    frame(this, QStringLiteral("Delete Location"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    question_ = headline(QStringLiteral("Delete location \"%1\"?").arg(selectedEntry(*model).name), this);
    layout->addWidget(question_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    delete_ = new QPushButton(QStringLiteral("Delete"), this);
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

}  // namespace morvane
