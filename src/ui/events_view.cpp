#include "ui/events_view.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "engine/calendar.h"
#include "events/event_table.h"
#include "model/calculation.h"
#include "model/event_list.h"
#include "ui/widgets.h"

namespace morvane {

namespace {

enum Column { dateColumn, localColumn, kindColumn, bodiesColumn, detailsColumn };
constexpr std::size_t kColumns = 5;

const std::array<const char*, kColumns> kHeadings = {"Date", "Local Time", "Kind", "Bodies",
                                                     "Details"};

const std::array<const char*, kColumns> kHeadingHelp = {
    "The moment on the world's reference clock (OST), to the minute.",
    "The local solar time at the place.",
    "What happens.",
    "The bodies taking part, as the positions list names them.",
    "Eclipses: the class, and whether the eclipsed body stands above the horizon here. Sign "
    "ingresses: the sign entered. Conjunctions: the pair. Equinoxes and solstices: which one. "
    "Noon and midnight: the altitude of Nolomar in degrees:minutes.",
};

// A menu that stays open while its checkable entries are clicked, so several kinds can be
// switched in one visit.
class StayingMenu final : public QMenu {
  public:
    using QMenu::QMenu;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QAction* action = actionAt(event->position().toPoint());
        if (action != nullptr && action->isCheckable() && action->isEnabled()) {
            action->trigger();
            return;
        }
        QMenu::mouseReleaseEvent(event);
    }
};

QFrame* divider(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Widths for every text the columns can hold, worked out once: measuring thousands of rows at
// each change would cost more than finding the events.
void fitColumns(QTableView* table) {
    QFont bold = table->font();
    bold.setBold(true);  // eclipses
    const QFontMetrics plain(table->font());
    const QFontMetrics heavy(bold);
    const QFontMetrics mono(monospacedFont());
    const QFontMetrics header(table->horizontalHeader()->font());
    const auto widest = [&](const QFontMetrics& metrics, const QStringList& texts) {
        int width = 0;
        for (const QString& text : texts) width = std::max(width, metrics.horizontalAdvance(text));
        return width;
    };
    QStringList kinds;
    for (const EventKind kind : kAllEventKinds) kinds << kindTitle(kind);
    QStringList bodies;
    constexpr std::array<SkyBody, 6> kBodies = {SkyBody::nolomar, SkyBody::yael,  SkyBody::epeon,
                                                SkyBody::alaran,  SkyBody::kenor, SkyBody::mergus};
    for (const SkyBody first : kBodies) {
        bodies << fromStd(std::string(bodyName(first)));
        for (const SkyBody second : kBodies) {
            bodies << fromStd(std::string(bodyName(first)) + ", " + std::string(bodyName(second)));
        }
    }
    const int widths[] = {
        widest(mono, {QStringLiteral("0000-00-00 00:00 OST")}),
        widest(mono, {QStringLiteral("00:00")}),
        std::max(widest(plain, kinds), widest(heavy, kinds)),
        std::max(widest(plain, bodies), widest(heavy, bodies)),
    };
    const int gap = plain.horizontalAdvance(QStringLiteral("MMM"));
    for (int column = 0; column < 4; ++column) {
        const int heading =
            header.horizontalAdvance(QString::fromUtf8(kHeadings.at(std::size_t(column))));
        table->setColumnWidth(column, std::max(widths[column], heading) + gap);
    }
}

}  // namespace

/// The events as rows of text, formatted once per list.
class EventTableModel final : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setEvents(const std::vector<SkyEvent>& events, double longitude) {
        beginResetModel();
        rows_.clear();
        rows_.reserve(events.size());
        for (const SkyEvent& event : events) {
            rows_.push_back(
                {{fromStd(dateLabel(event.t)), fromStd(localTimeLabel(event.t, longitude)),
                  kindTitle(event.kind), fromStd(eventBodies(event)), fromStd(eventDetails(event))},
                 event.t,
                 isEclipseKind(event.kind)});
        }
        endResetModel();
    }

    [[nodiscard]] double moment(int row) const { return rows_.at(std::size_t(row)).t; }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(kColumns);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid()) return {};
        const Row& row = rows_.at(std::size_t(index.row()));
        switch (role) {
            case Qt::DisplayRole:
                return row.cells.at(std::size_t(index.column()));
            case Qt::FontRole: {
                if (index.column() <= localColumn) return monospacedFont();
                if (!row.eclipse) return {};
                QFont bold;
                bold.setBold(true);
                return bold;
            }
            default:
                return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= int(kColumns)) return {};
        if (role == Qt::DisplayRole) return QString::fromUtf8(kHeadings.at(std::size_t(section)));
        if (role == Qt::ToolTipRole)
            return QString::fromUtf8(kHeadingHelp.at(std::size_t(section)));
        return {};
    }

  private:
    struct Row {
        std::array<QString, kColumns> cells;
        double t;
        bool eclipse;
    };
    std::vector<Row> rows_;
};

EventTableView::EventTableView(QWidget* parent) : QTableView(parent) {
    connect(this, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowChosen(index.row()); });
}

void EventTableView::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        currentIndex().isValid()) {
        emit rowChosen(currentIndex().row());
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

EventsView::EventsView(EventList* list, QWidget* parent)
    : QWidget(parent),
      list_(list),
      span_(new QComboBox(this)),
      kinds_(new QPushButton(this)),
      kindsMenu_(new StayingMenu(this)),
      summary_(new SecondaryLabel(QString(), this)),
      stack_(new QStackedWidget(this)),
      placeholder_(new SecondaryLabel(QString(), this)),
      table_(new EventTableView(this)),
      rows_(new EventTableModel(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* controls = new QHBoxLayout;
    controls->setContentsMargins(8, 8, 8, 4);
    auto* spanCaption = new QLabel(QStringLiteral("Span:"), this);
    spanCaption->setBuddy(span_);
    for (const EventSpan span : kAllEventSpans) span_->addItem(spanTitle(span));
    span_->setAccessibleName(QStringLiteral("Span"));
    span_->setAccessibleDescription(
        QStringLiteral("How far the list looks ahead of the calculated moment"));
    span_->setToolTip(span_->accessibleDescription());
    kinds_->setMenu(kindsMenu_);
    kinds_->setAccessibleName(QStringLiteral("Kinds of event shown"));
    kinds_->setToolTip(QStringLiteral("Choose the kinds of event the list shows"));
    for (const EventGroup group : kAllEventGroups) {
        QAction* action = kindsMenu_->addAction(groupTitle(group));
        action->setCheckable(true);
        groupActions_.append(action);
        connect(action, &QAction::triggered, this, [this, group](bool shown) {
            EventFilter filter = list_->query().options.filter;
            filter.setShown(group, shown);
            list_->setFilter(filter);
        });
    }
    kindsMenu_->addSeparator();
    showAll_ = kindsMenu_->addAction(QStringLiteral("Show All"));
    hideAll_ = kindsMenu_->addAction(QStringLiteral("Hide All"));
    connect(showAll_, &QAction::triggered, this, [this] { list_->setFilter(EventFilter::all()); });
    connect(hideAll_, &QAction::triggered, this, [this] { list_->setFilter(EventFilter()); });
    controls->addWidget(spanCaption);
    controls->addWidget(span_);
    controls->addSpacing(12);
    controls->addWidget(kinds_);
    controls->addStretch();
    layout->addLayout(controls);

    summary_->setTextFormat(Qt::PlainText);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setAccessibleDescription(
        QStringLiteral("The place, the span and the number of events listed"));
    summary_->setContentsMargins(8, 0, 8, 8);
    layout->addWidget(summary_);
    layout->addWidget(divider(this));

    placeholder_->setTextFormat(Qt::PlainText);
    placeholder_->setWordWrap(true);
    placeholder_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeholder_->setMargin(11);
    table_->setModel(rows_);
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setTabKeyNavigation(false);  // Tab leaves the table, as everywhere else
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setShowGrid(false);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->setFrameShape(QFrame::NoFrame);
    // Rows as close as in the other tables: the style's default leaves room for icons.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    fitColumns(table_);
    table_->setAccessibleName(QStringLiteral("Events"));
    table_->setAccessibleDescription(
        QStringLiteral("Return or a double click moves the sky to the event's moment"));
    table_->setToolTip(table_->accessibleDescription());
    stack_->addWidget(placeholder_);
    stack_->addWidget(table_);
    layout->addWidget(stack_, 1);

    connect(span_, &QComboBox::activated, this,
            [this](int index) { list_->setSpan(kAllEventSpans.at(std::size_t(index))); });
    connect(table_, &EventTableView::rowChosen, this,
            [this](int row) { emit momentChosen(rows_->moment(row)); });
    connect(list_, &EventList::changed, this, &EventsView::refresh);
    refresh();
}

bool EventsView::showsPlaceholder() const { return stack_->currentWidget() == placeholder_; }

void EventsView::refresh() {
    const EventQuery& query = list_->query();
    const EventFilter& filter = query.options.filter;
    span_->setCurrentIndex(static_cast<int>(query.options.span));
    int shown = 0;
    for (const EventGroup group : kAllEventGroups) {
        QAction* action = groupActions_.at(qsizetype(group));
        action->setChecked(filter.shows(group));
        if (filter.shows(group)) {
            ++shown;
            kinds_->setText(QStringLiteral("Kinds: ") + groupTitle(group));
        }
    }
    if (shown == 0 || shown == int(kAllEventGroups.size())) {
        kinds_->setText(shown == 0 ? QStringLiteral("Kinds: None") : QStringLiteral("Kinds: All"));
    } else if (shown > 1) {
        kinds_->setText(QStringLiteral("Kinds: %1 of %2").arg(shown).arg(kAllEventGroups.size()));
    }
    kinds_->setAccessibleDescription(QStringLiteral("Shown: ") + filter.text());

    const std::vector<SkyEvent>& events = list_->events();
    const bool hadFocus = table_->hasFocus();
    rows_->setEvents(events, query.longitude);
    // The first row is where Return and the arrow keys start, without being marked chosen.
    if (!events.empty())
        table_->selectionModel()->setCurrentIndex(rows_->index(0, 0),
                                                  QItemSelectionModel::NoUpdate);
    if (!query.t) {
        summary_->setText(QString());
        summary_->hide();
    } else {
        const QString count = events.size() == 1 ? QStringLiteral("1 event")
                                                 : QStringLiteral("%1 events").arg(events.size());
        summary_->setText(query.placeLabel + QStringLiteral("  ·  ") + query.spanText() +
                          QStringLiteral("  ·  ") + count);
        summary_->show();
    }
    QString why;
    if (!query.t) {
        why = QStringLiteral("No events yet: they are listed once the sky is calculated.");
    } else if (filter.showsNone()) {
        why = QStringLiteral("No kinds of event are chosen. Choose some under Kinds.");
    } else if (events.empty()) {
        why = QStringLiteral(
            "No events of the chosen kinds in this span. A longer span or more kinds may show "
            "some.");
    }
    placeholder_->setText(why);
    stack_->setCurrentWidget(why.isEmpty() ? static_cast<QWidget*>(table_) : placeholder_);
    if (hadFocus && why.isEmpty()) table_->setFocus();
}

}  // namespace morvane
