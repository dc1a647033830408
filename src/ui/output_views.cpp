#include "ui/output_views.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHelpEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QStyle>
#include <QTableWidget>
#include <QTextBlock>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QXmlStreamReader>
#include <cmath>
#include <numbers>

#include "model/moment.h"
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

// The degree format of the tables rounds the minutes by the seconds and carries nothing into
// the degrees.
const QString kMinuteSixty = QStringLiteral(
    "Minutes are rounded to the nearest whole minute without carrying into the degrees, so "
    "012:60 reads as 13°00′.");

QString angleInWords(double radians) {
    long long minutes = std::llround(std::fabs(radians) * 180.0 / std::numbers::pi * 60.0);
    return QStringLiteral("%1%2°%3′")
        .arg(radians < 0.0 && minutes > 0 ? QStringLiteral("minus ") : QString())
        .arg(minutes / 60)
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
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

QString positionsDescription(const std::vector<BodyPosition>& positions) {
    QStringList lines;
    for (const BodyPosition& p : positions) {
        lines << QStringLiteral("%1 (%2): azimuth %3, altitude %4%5, sign %6")
                     .arg(QString::fromStdString(p.name), QString::fromStdString(p.bodyType),
                          angleInWords(p.azimuthRadians), angleInWords(p.altitudeRadians),
                          p.altitudeRadians < 0.0 ? QStringLiteral(", below the horizon")
                                                  : QString(),
                          QString::fromStdString(p.sign).trimmed());
    }
    return lines.join(QLatin1Char('\n'));
}

QString chartLegendText(const QString& svg) {
    QXmlStreamReader reader(svg);
    QString ink;
    QStringList lines;
    QString baseline;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.name() != u"text")
            continue;
        const QXmlStreamAttributes attributes = reader.attributes();
        const QString fill = attributes.value(QLatin1StringView("fill")).toString();
        const QString y = attributes.value(QLatin1StringView("y")).toString();
        // Includes the text of nested elements; decodes the entities.
        const QString text =
            reader.readElementText(QXmlStreamReader::IncludeChildElements).simplified();
        if (ink.isNull()) ink = fill;
        if (fill != ink || text.isEmpty()) continue;
        if (!lines.isEmpty() && !y.isEmpty() && y == baseline) {
            lines.last() += QStringLiteral(", ") + text;
        } else {
            lines << text;
        }
        baseline = y;
    }
    return lines.join(QLatin1Char('\n'));
}

QColor chartPageColor() { return Qt::white; }

SVGView::SVGView(QWidget* parent) : QWidget(parent), view_(new QWebEngineView(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    view_->page()->setBackgroundColor(Qt::transparent);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    connect(view_, &QWebEngineView::loadFinished, this, [this](bool ok) {
        ready_ = ok;
        if (!ok) loaded_ = false;  // the next document loads the page again
        emit pageLoaded(ok);
        if (ready_ && waiting_) replaceDocument();
    });
}

SVGView::~SVGView() {
    // The page answers scripts still on their way while it is destroyed with the view.
    *alive_ = false;
}

void SVGView::setSvg(const QString& svg) {
    QString page = svgViewPage(svg);
    if (loaded_ && page == page_) return;  // nothing new to show
    page_ = std::move(page);
    if (!loaded_) {
        loaded_ = true;
        view_->setHtml(page_, QUrl());  // no base address: the page reaches nothing else
        return;
    }
    waiting_ = svg;
    if (ready_ && !replacing_) replaceDocument();
}

namespace {

// Shows a document in the loaded page as an image, decoded before it replaces the one shown,
// so a frame never shows a half-drawn chart; one that arrives while another is decoded waits,
// and only the newest does. An image is drawn several times faster than the same markup put
// into the page's document (a thousand elements laid out anew), which is what keeps a held
// step key animating the horoscope.
const QString kShowScript = QStringLiteral(R"(
if (!window.showChart) {
    let waiting = null, decoding = false;
    const next = () => {
        const image = new Image();
        image.alt = '';
        image.style.cssText = 'display: block; width: 100%; height: 100%;';
        image.src = 'data:image/svg+xml;charset=utf-8,' + encodeURIComponent(waiting);
        waiting = null;
        decoding = true;
        image.decode().catch(() => {}).then(() => {
            document.body.replaceChildren(image);
            decoding = false;
            if (waiting !== null) next();
        });
    };
    window.showChart = (svg) => { waiting = svg; if (!decoding) next(); };
}
showChart(%1[0]);
0;
)");

}  // namespace

void SVGView::replaceDocument() {
    // A JSON string is a JavaScript string literal: the markup goes in as data, never as code.
    const QByteArray literal = QJsonDocument(QJsonArray{*waiting_}).toJson(QJsonDocument::Compact);
    waiting_.reset();
    replacing_ = true;
    view_->page()->runJavaScript(kShowScript.arg(QString::fromUtf8(literal)),
                                 [this, alive = alive_](const QVariant&) {
                                     if (!*alive) return;
                                     replacing_ = false;
                                     ++replacements_;
                                     emit pageLoaded(true);
                                     if (waiting_) replaceDocument();
                                 });
}

ChartView::ChartView(QWidget* parent) : QWidget(parent), svgView_(new SVGView(this)) {
    // A colour of its own stays when the application's palette changes.
    QPalette page = palette();
    page.setColor(QPalette::Window, chartPageColor());
    setPalette(page);
    setBackgroundRole(QPalette::Window);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(svgView_);
}

void ChartView::setTextAlternative(const QString& name, const QString& description) {
    for (QWidget* widget :
         {static_cast<QWidget*>(this), static_cast<QWidget*>(svgView_->webView())}) {
        widget->setAccessibleName(name);
        widget->setAccessibleDescription(description);
    }
}

MonospacedTextView::MonospacedTextView(QString placeholder, QWidget* parent)
    : QWidget(parent),
      stack_(new QStackedWidget(this)),
      placeholder_(new SecondaryLabel(placeholder, this)),
      text_(new QPlainTextEdit(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(stack_);
    placeholder_->setTextFormat(Qt::PlainText);
    placeholder_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeholder_->setMargin(11);
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setWordWrapMode(QTextOption::NoWrap);
    text_->setFont(monospacedFont());
    text_->document()->setDocumentMargin(8);
    text_->setFrameShape(QFrame::NoFrame);
    stack_->addWidget(placeholder_);
    stack_->addWidget(text_);
    text_->viewport()->installEventFilter(this);
    text_->installEventFilter(this);
}

void MonospacedTextView::setColumnHelp(std::vector<ColumnHelp> help) {
    help_ = std::move(help);
    QStringList all;
    for (const ColumnHelp& column : help_) all << column.text;
    all.removeDuplicates();
    text_->setAccessibleDescription(all.join(QLatin1Char(' ')));
}

QString MonospacedTextView::columnHelpAt(int line, int column) const {
    const auto covers = [column](const ColumnHelp& help) {
        return column >= help.first && (help.last < 0 || column <= help.last);
    };
    for (const ColumnHelp& help : help_) {
        if (help.line == line && covers(help)) return help.text;
    }
    for (const ColumnHelp& help : help_) {
        if (help.line < 0 && covers(help)) return help.text;
    }
    return {};
}

bool MonospacedTextView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            const QTextCursor cursor = text_->textCursor();
            emit activated(cursor.blockNumber(), cursor.positionInBlock());
            return true;
        }
    }
    if (watched == text_->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        const QTextCursor cursor =
            text_->cursorForPosition(static_cast<QMouseEvent*>(event)->position().toPoint());
        emit activated(cursor.blockNumber(), cursor.positionInBlock());
        // The text edit still selects the word under the pointer.
    }
    if (watched != text_->viewport() || event->type() != QEvent::ToolTip) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    QTextCursor cursor = text_->cursorForPosition(help->pos());
    // The cursor lands on the nearer edge of a character: step back when the pointer is left
    // of it, and give nothing past the end of the line.
    int column = cursor.positionInBlock();
    const QRect edge = text_->cursorRect(cursor);
    if (help->pos().x() < edge.x() && column > 0) --column;
    const bool pastEnd = column >= cursor.block().length() - 1 && help->pos().x() >= edge.x();
    const QString text = pastEnd ? QString() : columnHelpAt(cursor.blockNumber(), column);
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(help->globalPos(), text, text_->viewport());
    }
    return true;
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

bool MonospacedTextView::showsPlaceholder() const {
    return stack_->currentWidget() == placeholder_;
}

PlanetsView::PlanetsView(QWidget* parent)
    : QWidget(parent), stack_(new QStackedWidget(this)), table_(new QTableWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(stack_);

    auto* empty = new QWidget(this);
    auto* emptyLayout = new QVBoxLayout(empty);
    auto* title = new SecondaryLabel(QStringLiteral("No Positions"), empty);
    title->setTextFormat(Qt::PlainText);
    QFont font = title->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    title->setFont(font);
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
    table_->setAccessibleName(QStringLiteral("Positions of the sun, the moon and the planets"));
    const QString headHelp[] = {
        {},
        {},
        QStringLiteral("Azimuth: the direction along the horizon, in degrees:minutes, counted from "
                       "the south through the west.\n") +
            kMinuteSixty,
        QStringLiteral("Altitude: the height above the horizon, in degrees:minutes; below the "
                       "horizon it is negative.\n") +
            kMinuteSixty,
        QStringLiteral("Ec. Longitude: ecliptic longitude, the place along the ecliptic (the path "
                       "of Nolomar, the sun), in degrees:minutes.\n") +
            kMinuteSixty,
        QStringLiteral("Sign: the zodiac sign of the ecliptic longitude; the world's signs have "
                       "unequal widths."),
    };
    for (int column = 0; column < 6; ++column) {
        if (!headHelp[column].isEmpty())
            table_->horizontalHeaderItem(column)->setToolTip(headHelp[column]);
    }
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
        const QString texts[] = {
            QString::fromStdString(p.name),    QString::fromStdString(p.bodyType),
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

// The style's room between two labels side by side. A nested layout would take the spacing of
// the column it sits in, which is none.
int labelSpacing(const QWidget* widget) {
    const QStyle* style = widget->style();
    int spacing = style->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, widget);
    if (spacing < 0) {
        spacing = style->layoutSpacing(QSizePolicy::Label, QSizePolicy::Label, Qt::Horizontal,
                                       nullptr, widget);
    }
    return spacing > 0 ? spacing : widget->fontMetrics().horizontalAdvance(QLatin1Char(' '));
}

// A row of the table chosen with a double-click or Return goes to its moment; a heading does
// nothing.
template <typename View>
void connectMomentChoice(MonospacedTextView* text, View* view, void (View::*chosen)(double)) {
    QObject::connect(
        text, &MonospacedTextView::activated, view, [text, view, chosen](int line, int column) {
            const QString row = text->textEdit()->document()->findBlockByNumber(line).text();
            if (const auto t = tableMomentAt(row, column)) emit(view->*chosen)(*t);
        });
}

// "Next full moon:" and its label, or an em dash while there is none.
QLabel* moonRow(QVBoxLayout* layout, const QString& caption, QWidget* parent) {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(8, 8, 8, 0);
    row->setSpacing(labelSpacing(parent));
    auto* label = new SecondaryLabel(caption, parent);
    auto* value = new QLabel(QStringLiteral("—"), parent);
    value->setAccessibleName(caption.chopped(1));  // without the colon
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
    choice_->setAccessibleNames(QStringLiteral("Hourly table"), QStringLiteral("Monthly table"),
                                QStringLiteral("Which sun and moon table to show"));
    const QString angle = QStringLiteral(" In degrees with two decimals.");
    text_->setColumnHelp({
        {0, 20,
         QStringLiteral("YR MO DAY TIME: year-month-day hour:minute on the world's "
                        "reference clock (OST).")},
        {21, 29,
         QStringLiteral("Y-RA: right ascension of Yael, the moon, along the celestial "
                        "equator.") +
             angle},
        {30, 38,
         QStringLiteral("Y-DEC: declination of Yael, the moon, north of the celestial "
                        "equator (negative: south).") +
             angle},
        {39, 47,
         QStringLiteral("Ec-Lat: ecliptic latitude of Yael, the moon, north of the "
                        "path of Nolomar (negative: south).") +
             angle},
        {48, 56,
         QStringLiteral("Ec-Long: ecliptic longitude of Yael, the moon, along the path "
                        "of Nolomar.") +
             angle},
        {57, 65,
         QStringLiteral("N-RA: right ascension of Nolomar, the sun, along the celestial "
                        "equator.") +
             angle},
        {66, 74,
         QStringLiteral("N-DEC: declination of Nolomar, the sun, north of the celestial "
                        "equator (negative: south).") +
             angle},
        {75, 83, QStringLiteral("N-Long: ecliptic longitude of Nolomar, the sun.") + angle},
        {84, 91,
         QStringLiteral("Phase: 0.00 when Yael and Nolomar stand at the same ecliptic "
                        "longitude (new moon), 1.00 when opposite (full moon).")},
        {92, -1,
         QStringLiteral("Events of the day from this row's moment, OST: MR@ and MS@ Yael "
                        "rises and sets, SR@ and SS@ Nolomar rises and sets. TS and PS: "
                        "total and partial eclipse of Nolomar; FUL, FPL and PPL: eclipse "
                        "of Yael, deepest to slightest, with the moment and the "
                        "elongation in degrees:minutes:seconds (seconds are rounded and "
                        "not carried, so a seconds value of 60 reads as the next whole "
                        "minute).")},
    });
    connect(choice_, &SegmentedChoice::chosen, this, &TablesView::refresh);
    connectMomentChoice(text_, this, &TablesView::momentChosen);
}

void TablesView::setTables(const QString& hourly, const QString& monthly,
                           const QString& nextFullMoon, const QString& nextNewMoon) {
    hourly_ = hourly;
    monthly_ = monthly;
    full_->setText(nextFullMoon.isEmpty() ? QStringLiteral("—") : nextFullMoon);
    new_->setText(nextNewMoon.isEmpty() ? QStringLiteral("—") : nextNewMoon);
    refresh();
}

void TablesView::refresh() {
    text_->setText(choice_->isFirst() ? hourly_ : monthly_);
    text_->textEdit()->setAccessibleName(choice_->isFirst()
                                             ? QStringLiteral("Sun and moon table, hourly")
                                             : QStringLiteral("Sun and moon table, monthly"));
}

PositionsView::PositionsView(QWidget* parent)
    : QWidget(parent),
      choice_(new SegmentedChoice(QStringLiteral("Daily"), QStringLiteral("Yearly"), this)),
      text_(new MonospacedTextView(QStringLiteral("No conjunction data"), this)) {
    QVBoxLayout* layout = columnUnderChoice(this, choice_);
    layout->addWidget(text_, 1);
    choice_->setAccessibleNames(QStringLiteral("Daily table"), QStringLiteral("Yearly table"),
                                QStringLiteral("Which conjunction table to show"));
    const QString angle = QStringLiteral(" In degrees:minutes. ") + kMinuteSixty;
    const QString rightAscension =
        QStringLiteral("right ascension, along the celestial equator.") + angle;
    const QString longitude =
        QStringLiteral(
            "ecliptic longitude, along the path of Nolomar; west of 0° it keeps its minus sign, so "
            "-034:19 is 325°41′.") +
        angle;
    const char* bodies[] = {"Yael, the moon", "Nolomar, the sun", "Epeon", "Alaran", "Kenor",
                            "Mergus"};
    std::vector<ColumnHelp> help = {
        {21, 76, QStringLiteral("Equatorial coordinates: the right ascension of each body."), 0},
        {77, 130, QStringLiteral("Ecliptic coordinates: the ecliptic longitude of each body."), 0},
        {131, -1,
         QStringLiteral("Conjunctions: pairs of planets less than 2° apart in ecliptic "
                        "longitude (each within 1° of their middle)."),
         0},
        {0, 20,
         QStringLiteral("YR MO DAY TIME: year-month-day hour:minute on the world's "
                        "reference clock (OST).")},
    };
    for (int i = 0; i < 6; ++i) {
        const QString body = QString::fromUtf8(bodies[i]);
        // Columns of seven characters, nine apart; the ecliptic group starts 56 further on.
        help.push_back(
            {21 + 9 * i, i == 5 ? 76 : 29 + 9 * i, body + QStringLiteral(": ") + rightAscension});
        help.push_back(
            {77 + 9 * i, i == 5 ? 130 : 85 + 9 * i, body + QStringLiteral(": ") + longitude});
    }
    help.push_back({131, -1,
                    QStringLiteral("Conjunctions: pairs of planets less than 2° apart "
                                   "in ecliptic longitude, EP Epeon, AL Alaran, KE "
                                   "Kenor, ME Mergus.")});
    text_->setColumnHelp(std::move(help));
    connect(choice_, &SegmentedChoice::chosen, this, &PositionsView::refresh);
    connectMomentChoice(text_, this, &PositionsView::momentChosen);
}

void PositionsView::setTables(const QString& daily, const QString& yearly) {
    daily_ = daily;
    yearly_ = yearly;
    refresh();
}

void PositionsView::refresh() {
    text_->setText(choice_->isFirst() ? daily_ : yearly_);
    text_->textEdit()->setAccessibleName(choice_->isFirst()
                                             ? QStringLiteral("Conjunction table, daily")
                                             : QStringLiteral("Conjunction table, yearly"));
}

}  // namespace morvane
