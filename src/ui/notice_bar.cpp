#include "ui/notice_bar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace morvane {

NoticeBar::NoticeBar(QWidget* parent)
    : QFrame(parent),
      label_(new QLabel(this)),
      action_(new QPushButton(this)),
      close_(new QToolButton(this)) {
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 6, 6, 6);
    label_->setTextFormat(Qt::PlainText);  // paths and names are shown as they are
    label_->setWordWrap(true);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(label_, 1);
    layout->addWidget(action_);
    close_->setText(QStringLiteral("✕"));
    close_->setAutoRaise(true);
    close_->setToolTip(QStringLiteral("Dismiss"));
    close_->setAccessibleName(QStringLiteral("Dismiss message"));
    layout->addWidget(close_);
    action_->hide();
    hide();
    connect(action_, &QPushButton::clicked, this, &NoticeBar::actionTriggered);
    connect(close_, &QToolButton::clicked, this, &QWidget::hide);
    // Roles rather than colours: the palette's own pair stays readable in light and dark themes.
    setBackgroundRole(QPalette::AlternateBase);
    label_->setForegroundRole(QPalette::Text);
}

void NoticeBar::showMessage(const QString& text, const QString& actionLabel) {
    label_->setText(text);
    setAccessibleName(text);
    action_->setText(actionLabel);
    action_->setVisible(!actionLabel.isEmpty());
    show();
}

QString NoticeBar::text() const { return label_->text(); }

}  // namespace morvane
