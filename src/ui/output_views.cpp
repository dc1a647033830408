#include "ui/output_views.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include "ui/widgets.h"

namespace morvane {

namespace {

const QString kSvgViewPrefix = QStringLiteral(
    "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<style>\n"
    "    html, body {\n        margin: 0;\n        padding: 0;\n        width: 100%;\n"
    "        height: 100%;\n        background: transparent;\n    }\n"
    "    svg {\n        display: block;\n        width: 100%;\n        height: 100%;\n    }\n"
    "</style>\n</head>\n<body>\n");

QFrame* divider(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QColor secondaryColor(const QWidget* widget) {
    return widget->palette().color(QPalette::PlaceholderText);
}

QIcon dot(const QColor& color) {
    QPixmap pixmap(10, 10);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(color == Qt::white ? QColor(0, 0, 0, 80) : Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(QRectF(0.5, 0.5, 9, 9));
    return QIcon(pixmap);
}

// A column without spacing: the segmented choice with 8 points around it, then a divider.
QVBoxLayout* columnUnderChoice(QWidget* view, SegmentedChoice* choice) {
    auto* layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* choiceRow = new QHBoxLayout;
    choiceRow->setContentsMargins(8, 8, 8, 8);
    choiceRow->addWidget(choice);
    layout->addLayout(choiceRow);
    layout->addWidget(divider(view));
    return layout;
}

}  // namespace

QString svgViewPage(const QString& svg) {
    return kSvgViewPrefix + svg + QStringLiteral("\n</body>\n</html>");
}

QColor bodyColor(const std::string& name) {
    if (name == "yellow") return QColor(0xff, 0xcc, 0x00);
    if (name == "white") return Qt::white;
    if (name == "blue") return QColor(0x00, 0x7a, 0xff);
    if (name == "red") return QColor(0xff, 0x3b, 0x30);
    if (name == "orange") return QColor(0xff, 0x95, 0x00);
    if (name == "purple") return QColor(0xaf, 0x52, 0xde);
    return Qt::gray;
}

SVGView::SVGView(QWidget* parent) : QWidget(parent), view_(new QWebEngineView(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    view_->page()->setBackgroundColor(Qt::transparent);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    connect(view_, &QWebEngineView::loadFinished, this, &SVGView::pageLoaded);
}

void SVGView::setSvg(const QString& svg) {
    QString page = svgViewPage(svg);
    if (loaded_ && page == page_) return;  // nothing new to show
    loaded_ = true;
    page_ = std::move(page);
    view_->setHtml(page_, QUrl());  // no base address: the page reaches nothing else
}

ChartView::ChartView(QWidget* parent) : QWidget(parent), svgView_(new SVGView(this)) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(svgView_);
}

MonospacedTextView::MonospacedTextView(QString placeholder, QWidget* parent)
    : QWidget(parent),
      stack_(new QStackedWidget(this)),
      placeholder_(new QLabel(std::move(placeholder), this)),
      text_(new QPlainTextEdit(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(stack_);
    placeholder_->setTextFormat(Qt::PlainText);
    placeholder_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeholder_->setMargin(11);
    QPalette palette = placeholder_->palette();
    palette.setColor(QPalette::WindowText, secondaryColor(this));
    placeholder_->setPalette(palette);
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setWordWrapMode(QTextOption::NoWrap);
    text_->setFont(monospacedFont());
    text_->document()->setDocumentMargin(8);
    text_->setFrameShape(QFrame::NoFrame);
    stack_->addWidget(placeholder_);
    stack_->addWidget(text_);
}

void MonospacedTextView::setText(const QString& text) {
    if (text.isEmpty()) {
        stack_->setCurrentWidget(placeholder_);
        text_->clear();
        return;
    }
    if (text_->toPlainText() != text) text_->setPlainText(text);
    stack_->setCurrentWidget(text_);
}

bool MonospacedTextView::showsPlaceholder() const { return stack_->currentWidget() == placeholder_; }

PlanetsView::PlanetsView(QWidget* parent)
    : QWidget(parent), stack_(new QStackedWidget(this)), table_(new QTableWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(stack_);

    auto* empty = new QWidget(this);
    auto* emptyLayout = new QVBoxLayout(empty);
    auto* title = new QLabel(QStringLiteral("No Positions"), empty);
    title->setTextFormat(Qt::PlainText);
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    title->setFont(font);
    QPalette palette = title->palette();
    palette.setColor(QPalette::WindowText, secondaryColor(this));
    title->setPalette(palette);
    title->setAlignment(Qt::AlignCenter);
    title->setObjectName(QStringLiteral("emptyStateTitle"));
    emptyLayout->addStretch();
    emptyLayout->addWidget(title);
    emptyLayout->addStretch();
    stack_->addWidget(empty);

    table_->setColumnCount(6);
    table_->setHorizontalHeaderLabels({QStringLiteral("Body"), QStringLiteral("Type"),
                                       QStringLiteral("Azimuth"), QStringLiteral("Altitude"),
                                       QStringLiteral("Ec. Longitude"), QStringLiteral("Sign")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setShowGrid(false);
    table_->setAlternatingRowColors(true);
    stack_->addWidget(table_);
}

void PlanetsView::setPositions(const std::vector<BodyPosition>& positions) {
    if (positions.empty()) {
        stack_->setCurrentIndex(0);
        table_->setRowCount(0);
        return;
    }
    table_->setRowCount(static_cast<int>(positions.size()));
    const QFont mono = monospacedFont();
    for (int row = 0; row < static_cast<int>(positions.size()); ++row) {
        const BodyPosition& p = positions[static_cast<std::size_t>(row)];
        const QString texts[] = {QString::fromStdString(p.name),   QString::fromStdString(p.bodyType),
                                 QString::fromStdString(p.azimuth), QString::fromStdString(p.altitude),
                                 QString::fromStdString(p.ecLong),  QString::fromStdString(p.sign)};
        for (int column = 0; column < 6; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            if (column >= 2) item->setFont(mono);
            if (column == 0) item->setIcon(dot(bodyColor(p.color)));
            table_->setItem(row, column, item);
        }
    }
    table_->resizeColumnsToContents();
    stack_->setCurrentWidget(table_);
}

bool PlanetsView::showsEmptyState() const { return stack_->currentIndex() == 0; }

namespace {

// "Next full moon:" and its label, or an em dash while there is none.
QLabel* moonRow(QVBoxLayout* layout, const QString& caption, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 8, 8, 0);
    auto* label = new QLabel(caption, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, secondaryColor(parent));
    label->setPalette(palette);
    auto* value = new QLabel(QStringLiteral("—"), parent);
    value->setTextFormat(Qt::PlainText);
    value->setFont(monospacedFont());
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    row->addWidget(label);
    row->addWidget(value);
    row->addStretch();
    layout->addLayout(row);
    return value;
}

}  // namespace

TablesView::TablesView(QWidget* parent)
    : QWidget(parent),
      choice_(new SegmentedChoice(QStringLiteral("Hourly"), QStringLiteral("Monthly"), this)) {
    QVBoxLayout* layout = columnUnderChoice(this, choice_);
    full_ = moonRow(layout, QStringLiteral("Next full moon:"), this);
    new_ = moonRow(layout, QStringLiteral("Next new moon:"), this);
    text_ = new MonospacedTextView(QStringLiteral("No table data"), this);
    layout->addWidget(text_, 1);
    connect(choice_, &SegmentedChoice::chosen, this, &TablesView::refresh);
}

void TablesView::setTables(const QString& hourly, const QString& monthly, const QString& nextFullMoon,
                           const QString& nextNewMoon) {
    hourly_ = hourly;
    monthly_ = monthly;
    full_->setText(nextFullMoon.isEmpty() ? QStringLiteral("—") : nextFullMoon);
    new_->setText(nextNewMoon.isEmpty() ? QStringLiteral("—") : nextNewMoon);
    refresh();
}

void TablesView::refresh() { text_->setText(choice_->isFirst() ? hourly_ : monthly_); }

PositionsView::PositionsView(QWidget* parent)
    : QWidget(parent),
      choice_(new SegmentedChoice(QStringLiteral("Daily"), QStringLiteral("Yearly"), this)),
      text_(new MonospacedTextView(QStringLiteral("No conjunction data"), this)) {
    QVBoxLayout* layout = columnUnderChoice(this, choice_);
    layout->addWidget(text_, 1);
    connect(choice_, &SegmentedChoice::chosen, this, &PositionsView::refresh);
}

void PositionsView::setTables(const QString& daily, const QString& yearly) {
    daily_ = daily;
    yearly_ = yearly;
    refresh();
}

void PositionsView::refresh() { text_->setText(choice_->isFirst() ? daily_ : yearly_); }

}  // namespace morvane
