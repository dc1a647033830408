#include "ui/almanac_dialog.h"

#include <fmt/format.h>

#include <QAbstractTableModel>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QTemporaryFile>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <ostream>
#include <streambuf>

#include "engine/calendar.h"
#include "engine/constants.h"
#include "events/event_table.h"
#include "export/almanac_pdf.h"
#include "export/export_controller.h"
#include "model/astronomy_model.h"
#include "model/calculation.h"
#include "model/event_list.h"
#include "model/settings_store.h"
#include "ui/widgets.h"

namespace morvane {

namespace {

const QString kGroupsKey = QStringLiteral("Almanac/groups");
const QString kPlaceKey = QStringLiteral("Almanac/place");
const QString kCurrentPlace = QStringLiteral("current");

constexpr int kLargestYear = 1'000'000;
// Laying out a PDF's pages takes about as long as finding its events.
constexpr double kPdfSearchShare = 0.5;
constexpr int kProgressSteps = 1000;

// How the settings name the groups; the order is kAllAlmanacGroups'.
constexpr std::array<const char*, kAllAlmanacGroups.size()> kGroupKeys = {
    "moon-phases", "eclipses", "conjunctions", "ingresses", "seasons", "sunrise-sunset"};

struct FileInfo {
    const char* extension;
    const char* mimeType;
    const char* title;
};
constexpr std::array<FileInfo, kAllAlmanacFiles.size()> kFiles = {{
    {"txt", "text/plain", "TXT"},
    {"pdf", "application/pdf", "PDF"},
    {"csv", "text/csv", "CSV"},
    {"json", "application/json", "JSON"},
}};

const FileInfo& infoOf(AlmanacFile file) { return kFiles.at(std::size_t(file)); }

std::string dateText(const AlmanacDate& date) {
    return fmt::format("{:03d}-{:02d}-{:02d}", date.year, date.month, date.day);
}

// 1234567 as "1,234,567", as the rest of the dialog's English writes numbers.
QString grouped(std::int64_t number) {
    std::string digits = std::to_string(number < 0 ? -number : number);
    for (auto at = std::ptrdiff_t(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(std::size_t(at), 1, ',');
    return fromStd((number < 0 ? "-" : "") + digits);
}

QString countText(std::int64_t count, const char* one, const char* many) {
    return grouped(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

std::string degreesText(double latitude, double longitude) {
    const double lat = radiansToDegrees(latitude);
    const double lon = radiansToDegrees(longitude);
    return fmt::format("{:.2f}°{} {:.2f}°{}", std::fabs(lat), lat < 0.0 ? "S" : "N", std::fabs(lon),
                       lon < 0.0 ? "W" : "E");
}

// The search's own way out: the sink of the event search throws it when the work was called
// off, and the search leaves through it between two events.
struct Stopped {};

// An output stream's bytes handed to a Qt device as they come, so that the almanac writer can
// stream into a QSaveFile or a temporary file. A short write fails the stream.
class DeviceBuffer final : public std::streambuf {
  public:
    explicit DeviceBuffer(QIODevice& device) : device_(device) {}

  protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        return device_.write(bytes, count) == count ? count : 0;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        return device_.write(&byte, 1) == 1 ? c : traits_type::eof();
    }

  private:
    QIODevice& device_;
};

double spanFraction(const AlmanacSpan& span, double t) {
    return std::clamp((t - span.from) / (span.to - span.from), 0.0, 1.0);
}

}  // namespace

/// What a worker and the dialog share: the dialog calls the work off, the worker says how far
/// it got.
struct AlmanacDialog::Job {
    std::atomic<bool> cancelled{false};
    std::atomic<double> progress{0.0};
    std::atomic<bool> layingOut{false};  ///< a PDF's pages, after its events
};

namespace {

using Preview = AlmanacPreview;

std::shared_ptr<Preview> searchPreview(const AlmanacRequest& request, std::size_t limit,
                                       std::atomic<bool>& cancelled,
                                       std::atomic<double>& progress) {
    auto preview = std::make_shared<Preview>();
    preview->request = request;
    const AlmanacSpan span = request.span();
    try {
        const EventFinder finder(request.place.latitude, request.place.longitude);
        finder.between(request.kinds(), span.from, span.to, [&](const SkyEvent& event) {
            if (cancelled.load(std::memory_order_relaxed)) throw Stopped{};
            preview->counts.add(event);
            if (preview->events.size() < limit) preview->events.push_back(event);
            progress.store(spanFraction(span, event.t), std::memory_order_relaxed);
        });
    } catch (const Stopped&) {
        return nullptr;
    }
    return preview;
}

struct ExportOutcome {
    bool cancelled = false;
    WriteError error;
};

AlmanacFormat formatOf(AlmanacFile file) {
    switch (file) {
        case AlmanacFile::csv:
            return AlmanacFormat::csv;
        case AlmanacFile::json:
            return AlmanacFormat::json;
        case AlmanacFile::text:
        case AlmanacFile::pdf:
            break;
    }
    return AlmanacFormat::text;
}

// The lines above the text almanac's table, as the command line writes them, with the place's
// degrees beside its name.
std::vector<std::string> headingOf(const AlmanacRequest& request) {
    const std::string degrees = degreesText(request.place.latitude, request.place.longitude);
    const std::string name = request.place.name.toStdString();
    return almanacHeading(name == degrees ? degrees : name + " (" + degrees + ")", request.first,
                          request.last, request.kinds());
}

QString pdfHeading(const AlmanacRequest& request) {
    return QStringLiteral("Almanac: ") + request.place.name + QStringLiteral(", ") +
           request.spanText();
}

// The whole almanac into a file beside `path` that replaces it only once complete: a stopped
// or failed export leaves no file and an earlier one as it was.
ExportOutcome writeAlmanacFile(const AlmanacRequest& request, AlmanacFile file, const QString& path,
                               std::atomic<bool>& cancelled, std::atomic<double>& progress,
                               std::atomic<bool>& layingOut) {
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return {false, out.errorString()};
    const bool pdf = file == AlmanacFile::pdf;
    const double searchShare = pdf ? kPdfSearchShare : 1.0;
    QTemporaryFile pageText;  // a PDF's text, laid out once all of it is known
    if (pdf && !pageText.open()) {
        out.cancelWriting();
        return {false,
                QStringLiteral("No temporary file for the pages: ") + pageText.errorString()};
    }
    QIODevice& target = pdf ? static_cast<QIODevice&>(pageText) : out;
    const AlmanacSpan span = request.span();
    std::vector<std::string> heading;
    if (file == AlmanacFile::text || pdf) heading = headingOf(request);
    const std::vector<EventKind> kinds = request.kinds();
    try {
        DeviceBuffer buffer(target);
        std::ostream stream(&buffer);
        stream.exceptions(std::ios_base::badbit | std::ios_base::failbit);
        AlmanacWriter writer(stream, formatOf(file), request.place.longitude, heading, kinds);
        const EventFinder finder(request.place.latitude, request.place.longitude);
        finder.between(kinds, span.from, span.to, [&](const SkyEvent& event) {
            if (cancelled.load(std::memory_order_relaxed)) throw Stopped{};
            writer.add(event);
            progress.store(searchShare * spanFraction(span, event.t), std::memory_order_relaxed);
        });
        writer.finish();
        stream.flush();
    } catch (const Stopped&) {
        out.cancelWriting();
        return {true, std::nullopt};
    } catch (const std::ios_base::failure&) {
        const QString cause = target.errorString();
        out.cancelWriting();
        return {false, cause.isEmpty() ? QStringLiteral("The disk did not take the text.") : cause};
    }
    if (pdf) {
        layingOut = true;
        QString columns = fromStd(eventTableHeader());
        columns.chop(1);  // its line feed
        const AlmanacPdfResult pages =
            writeAlmanacPdf(pageText, out, {pdfHeading(request), columns}, [&](double fraction) {
                progress.store(searchShare + (1.0 - searchShare) * fraction,
                               std::memory_order_relaxed);
                return !cancelled.load(std::memory_order_relaxed);
            });
        if (pages.cancelled || pages.error) {
            out.cancelWriting();
            return {pages.cancelled, pages.error};
        }
    }
    if (cancelled) {
        out.cancelWriting();
        return {true, std::nullopt};
    }
    if (!out.commit()) return {false, out.errorString()};
    return {};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Requests, names and headings

QString AlmanacRequest::spanText() const {
    return fromStd(dateText(first) + " to " + dateText(last));
}

QString almanacFileName(const AlmanacRequest& request, AlmanacFile file) {
    QString place = request.place.name;
    place.replace(QLatin1Char('/'), QLatin1Char('-'));  // a name must not open a folder
    place.replace(QLatin1Char('\\'), QLatin1Char('-'));
    const QString head = QStringLiteral("Almanac - ");
    const QString tail = QStringLiteral(" - ") + request.spanText() + QLatin1Char('.') +
                         QLatin1String(infoOf(file).extension);
    // A file name has at most 255 bytes: a very long location name is cut to fit.
    constexpr qsizetype kMaxBytes = 255;
    if ((head + place + tail).toUtf8().size() <= kMaxBytes) return head + place + tail;
    const QString more = QStringLiteral("…");
    const qsizetype room = kMaxBytes - (head + tail + more).toUtf8().size();
    QString cut;
    for (const QChar c : place) {
        if ((cut + c).toUtf8().size() > room) break;
        cut += c;
    }
    if (!cut.isEmpty() && cut.back().isHighSurrogate()) cut.chop(1);
    return head + cut + more + tail;
}

// ---------------------------------------------------------------------------------------------
// The preview's two tables

/// The events of the preview as rows of text, each formatted when it is drawn: a list of
/// 200,000 rows made at once would hold the window for seconds.
class AlmanacEventRows final : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setPreview(std::shared_ptr<const Preview> preview) {
        beginResetModel();
        preview_ = std::move(preview);
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || !preview_ ? 0 : int(preview_->events.size());
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : int(kHeadings.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !preview_) return {};
        const SkyEvent& event = preview_->events.at(std::size_t(index.row()));
        if (role == Qt::FontRole) {
            if (index.column() <= 1) return monospacedFont();
            if (!isEclipseKind(event.kind)) return {};
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        if (role != Qt::DisplayRole) return {};
        switch (index.column()) {
            case 0:
                return fromStd(dateLabel(event.t));
            case 1:
                return fromStd(localTimeLabel(event.t, preview_->request.place.longitude));
            case 2:
                return kindTitle(event.kind);
            case 3:
                return fromStd(eventBodies(event));
            default:
                return fromStd(eventDetails(event));
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= int(kHeadings.size()))
            return {};
        if (role == Qt::DisplayRole) return QString::fromUtf8(kHeadings.at(std::size_t(section)));
        return {};
    }

    static constexpr std::array<const char*, 5> kHeadings = {"Date (OST)", "Local", "Kind",
                                                             "Bodies", "Details"};

  private:
    std::shared_ptr<const Preview> preview_;
};

/// The counts of the preview: a row a year of the span and a last row of totals, a column a
/// chosen kind and a last column of all kinds.
class AlmanacCountRows final : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    void setPreview(std::shared_ptr<const Preview> preview) {
        beginResetModel();
        preview_ = std::move(preview);
        kinds_ = preview_ ? preview_->request.kinds() : std::vector<EventKind>();
        years_ = 0;
        if (preview_ && preview_->request.isSearchable()) {
            // The span's years, and any year an event's label rounds into (the last second).
            firstYear_ = preview_->request.first.year;
            std::int64_t lastYear = preview_->request.last.year;
            const auto& perYear = preview_->counts.perYear;
            if (!perYear.empty()) {
                firstYear_ = std::min(firstYear_, perYear.begin()->first);
                lastYear = std::max(lastYear, perYear.rbegin()->first);
            }
            years_ = lastYear - firstYear_ + 1;
        }
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || years_ == 0 ? 0 : int(years_ + 1);
    }
    int columnCount(const QModelIndex& parent) const override {
        return parent.isValid() || years_ == 0 ? 0 : int(kinds_.size() + 1);
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !preview_) return {};
        if (role == Qt::TextAlignmentRole) return int(Qt::AlignRight | Qt::AlignVCenter);
        const bool totalRow = index.row() == years_;
        const bool totalColumn = index.column() == int(kinds_.size());
        if (role == Qt::FontRole && (totalRow || totalColumn)) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        if (role != Qt::DisplayRole) return {};
        const AlmanacCounts& counts = preview_->counts;
        const std::array<std::int64_t, kAllEventKinds.size()>* perKind = &counts.perKind;
        static const std::array<std::int64_t, kAllEventKinds.size()> kNone{};
        if (!totalRow) {
            const auto it = counts.perYear.find(firstYear_ + index.row());
            perKind = it == counts.perYear.end() ? &kNone : &it->second;
        }
        std::int64_t count = 0;
        if (totalColumn) {
            for (const EventKind kind : kinds_) count += perKind->at(std::size_t(kind));
        } else {
            count = perKind->at(std::size_t(kinds_.at(std::size_t(index.column()))));
        }
        return grouped(count);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || !preview_) return {};
        if (orientation == Qt::Horizontal) {
            if (section == int(kinds_.size())) return QStringLiteral("All kinds");
            return kindTitle(kinds_.at(std::size_t(section)));
        }
        if (section == years_) return QStringLiteral("Total");
        return QString::number(firstYear_ + section);
    }

  private:
    std::shared_ptr<const Preview> preview_;
    std::vector<EventKind> kinds_;
    std::int64_t firstYear_ = 1;
    std::int64_t years_ = 0;
};

// ---------------------------------------------------------------------------------------------
// The date fields

AlmanacDateEdit::AlmanacDateEdit(const QString& subject, QWidget* parent)
    : QWidget(parent),
      year_(new QSpinBox(this)),
      month_(new QComboBox(this)),
      day_(new QSpinBox(this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    year_->setRange(1, kLargestYear);
    year_->setPrefix(QStringLiteral("Year "));
    year_->setAccessibleName(subject + QStringLiteral(" year"));
    year_->setAccessibleDescription(QStringLiteral("Year of the world calendar, 1 to 1,000,000"));
    for (const std::string_view name : kMonthNames)
        month_->addItem(QString::fromUtf8(name.data(), qsizetype(name.size())));
    month_->setAccessibleName(subject + QStringLiteral(" month"));
    month_->setAccessibleDescription(QStringLiteral("Month of the world calendar"));
    day_->setRange(1, 30);
    day_->setPrefix(QStringLiteral("Day "));
    day_->setAccessibleName(subject + QStringLiteral(" day"));
    day_->setAccessibleDescription(QStringLiteral("Day of the month, 1 to 30"));
    for (QSpinBox* spin : {year_, day_}) {
        spin->setKeyboardTracking(false);  // a typed year counts once typing ends
        spin->setAccelerated(true);
        connect(spin, &QSpinBox::valueChanged, this, &AlmanacDateEdit::dateChanged);
    }
    connect(month_, &QComboBox::currentIndexChanged, this, &AlmanacDateEdit::dateChanged);
    row->addWidget(year_, 2);
    row->addWidget(month_, 2);
    row->addWidget(day_, 1);
}

AlmanacDate AlmanacDateEdit::date() const {
    return {year_->value(), month_->currentIndex() + 1, day_->value()};
}

void AlmanacDateEdit::setDate(AlmanacDate date) {
    {
        const QSignalBlocker year(year_), month(month_), day(day_);
        year_->setValue(int(std::clamp<std::int64_t>(date.year, 1, kLargestYear)));
        month_->setCurrentIndex(int(std::clamp<std::int64_t>(date.month, 1, 12) - 1));
        day_->setValue(int(std::clamp<std::int64_t>(date.day, 1, 30)));
    }
    emit dateChanged();
}

// ---------------------------------------------------------------------------------------------
// The dialog

AlmanacDialog::AlmanacDialog(AstronomyModel* model, SettingsStore* settings, QWidget* parent)
    : QDialog(parent), model_(model), settings_(settings) {
    setWindowTitle(QStringLiteral("Almanac"));
    pool_.setMaxThreadCount(2);  // a superseded search winding down beside its successor
    buildControls();
    const auto year = std::clamp<std::int64_t>(model_->year(), 1, kLargestYear);
    from_->setDate({year, 1, 1});
    to_->setDate({year, 12, 30});
    fillPlaces();
    loadChoices();

    chooser_ = [this](AlmanacFile file, const QString& suggestedName,
                      const std::function<void(std::optional<QString>)>& done) {
        const QString lastFolderKey = QString::fromLatin1(kLastExportFolderKey);
        auto* dialog = new QFileDialog(this, QStringLiteral("Choose where to save the almanac"));
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setMimeTypeFilters({QString::fromLatin1(infoOf(file).mimeType)});
        dialog->setDefaultSuffix(QLatin1String(infoOf(file).extension));
        dialog->setDirectory(
            startFolder(FileChooser::Kind::text, storedText(settings_->value(lastFolderKey))));
        dialog->selectFile(suggestedName);
        auto answered = std::make_shared<bool>(false);
        connect(dialog, &QFileDialog::fileSelected, this,
                [this, done, answered, lastFolderKey](const QString& path) {
                    if (std::exchange(*answered, true)) return;
                    if (path.isEmpty()) return done(std::nullopt);
                    settings_->setText(lastFolderKey, QFileInfo(path).absolutePath());
                    done(path);
                });
        connect(dialog, &QFileDialog::rejected, this, [done, answered] {
            if (!std::exchange(*answered, true)) done(std::nullopt);
        });
        dialog->open();
    };

    connect(from_, &AlmanacDateEdit::dateChanged, this, &AlmanacDialog::choicesChanged);
    connect(to_, &AlmanacDateEdit::dateChanged, this, &AlmanacDialog::choicesChanged);
    connect(place_, &QComboBox::activated, this, [this] {
        storePlace();
        choicesChanged();
    });
    for (const AlmanacGroup group : kAllAlmanacGroups) {
        connect(groupBox(group), &QCheckBox::toggled, this, [this] {
            storeGroups();
            choicesChanged();
        });
    }
    connect(model_, &AstronomyModel::citiesChanged, this, [this] {
        fillPlaces();
        choicesChanged();
    });
    for (auto changed :
         {&AstronomyModel::selectedCityIDChanged, &AstronomyModel::manualLatDegChanged,
          &AstronomyModel::manualLongDegChanged, &AstronomyModel::latNorthChanged,
          &AstronomyModel::longWestChanged}) {
        connect(model_, changed, this, [this] {
            fillPlaces();  // the first entry names the current place
            if (place_->currentIndex() == 0) choicesChanged();
        });
    }
    choicesChanged();
}

AlmanacDialog::~AlmanacDialog() {
    if (previewJob_) previewJob_->cancelled = true;
    if (exportJob_) exportJob_->cancelled = true;
    pool_.waitForDone();
}

void AlmanacDialog::buildControls() {
    auto* layout = new QVBoxLayout(this);

    auto* choices = new QFormLayout;
    from_ = new AlmanacDateEdit(QStringLiteral("From"), this);
    to_ = new AlmanacDateEdit(QStringLiteral("To"), this);
    place_ = new QComboBox(this);
    place_->setAccessibleName(QStringLiteral("Place"));
    place_->setAccessibleDescription(
        QStringLiteral("Where the events are seen from: the current place or a saved location"));
    auto* fromLabel = new QLabel(QStringLiteral("&From:"), this);
    fromLabel->setBuddy(from_->yearBox());
    auto* toLabel = new QLabel(QStringLiteral("&To:"), this);
    toLabel->setBuddy(to_->yearBox());
    auto* placeLabel = new QLabel(QStringLiteral("&Place:"), this);
    placeLabel->setBuddy(place_);
    choices->addRow(fromLabel, from_);
    choices->addRow(toLabel, to_);
    choices->addRow(placeLabel, place_);
    auto* spanNote = new SecondaryLabel(
        QStringLiteral("Both days included, from 00:00 OST of the first to 24:00 of the last."),
        this);
    spanNote->setWordWrap(true);
    choices->addRow(QString(), spanNote);
    layout->addLayout(choices);

    auto* kinds = new QGroupBox(QStringLiteral("Kinds of event"), this);
    auto* grid = new QGridLayout(kinds);
    for (const AlmanacGroup group : kAllAlmanacGroups) {
        const std::string_view title = almanacGroupTitle(group);
        auto* box = new QCheckBox(QString::fromUtf8(title.data(), qsizetype(title.size())), kinds);
        box->setChecked(group != AlmanacGroup::sunrises);
        QStringList names;
        for (const EventKind kind : almanacGroupKinds(group)) names << kindTitle(kind);
        box->setAccessibleDescription(QStringLiteral("Include: ") +
                                      names.join(QStringLiteral(", ")));
        box->setToolTip(box->accessibleDescription());
        const auto index = int(group);
        grid->addWidget(box, index % 3, index / 3);
        groups_.at(std::size_t(group)) = box;
    }
    layout->addWidget(kinds);

    summary_ = new QLabel(this);
    summary_->setTextFormat(Qt::PlainText);
    summary_->setWordWrap(true);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setAccessibleName(QStringLiteral("Almanac summary"));
    summary_->setAccessibleDescription(
        QStringLiteral("How many events the choices give over how many days, or why none"));
    layout->addWidget(summary_);

    // The list above its counts, both in sight: the counts say what the list is made of.
    auto* preview = new QSplitter(Qt::Vertical, this);
    preview->setChildrenCollapsible(false);
    events_ = new QTableView(preview);
    eventRows_ = new AlmanacEventRows(this);
    counts_ = new QTableView(preview);
    countRows_ = new AlmanacCountRows(this);
    events_->setModel(eventRows_);
    counts_->setModel(countRows_);
    for (QTableView* table : {events_, counts_}) {
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setSelectionBehavior(QAbstractItemView::SelectRows);
        table->setTabKeyNavigation(false);
        table->setWordWrap(false);
        table->setAlternatingRowColors(true);
        // Fixed rows: a list of 200,000 rows must not be measured row by row.
        table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    }
    events_->verticalHeader()->hide();
    events_->horizontalHeader()->setStretchLastSection(true);
    const QFontMetrics mono(monospacedFont());
    const QFontMetrics plain(events_->font());
    const int gap = plain.horizontalAdvance(QStringLiteral("MMM"));
    events_->setColumnWidth(0,
                            mono.horizontalAdvance(QStringLiteral("0000-00-00 00:00 OST")) + gap);
    events_->setColumnWidth(1, plain.horizontalAdvance(QStringLiteral("Local")) + gap);
    events_->setColumnWidth(2, plain.horizontalAdvance(QStringLiteral("Astronomical dawn")) + gap);
    events_->setColumnWidth(3, plain.horizontalAdvance(QStringLiteral("Álaran, Mêrgus")) + gap);
    events_->setAccessibleName(QStringLiteral("Almanac events"));
    events_->setAccessibleDescription(
        QStringLiteral("The events found, in order: date on the reference clock, local time at "
                       "the place, kind, bodies and details"));
    // A few hundred years are enough to size the columns by: a count grows a digit a decade.
    counts_->horizontalHeader()->setResizeContentsPrecision(200);
    counts_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    counts_->setAccessibleName(QStringLiteral("Almanac counts"));
    counts_->setAccessibleDescription(
        QStringLiteral("How many events of each kind, a row per year and a last row of totals"));
    preview->addWidget(events_);
    preview->addWidget(counts_);
    preview->setStretchFactor(0, 3);
    preview->setStretchFactor(1, 1);
    layout->addWidget(preview, 1);

    auto* footer = new QHBoxLayout;
    for (const AlmanacFile file : kAllAlmanacFiles) {
        const QString title = QLatin1String(infoOf(file).title);
        auto* button = new QPushButton(QStringLiteral("Export %1…").arg(title), this);
        button->setAutoDefault(false);
        button->setAccessibleDescription(
            QStringLiteral("Save the almanac of these choices as a %1 file").arg(title));
        connect(button, &QPushButton::clicked, this, [this, file] { askAndExport(file); });
        exports_.at(std::size_t(file)) = button;
        footer->addWidget(button);
    }
    exportStatus_ = new SecondaryLabel(QString(), this);
    exportStatus_->setTextFormat(Qt::PlainText);
    exportStatus_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    exportStatus_->setAccessibleName(QStringLiteral("Export status"));
    exportStatus_->setAccessibleDescription(QStringLiteral("What the last export did"));
    footer->addWidget(exportStatus_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)
        ->setAccessibleDescription(
            QStringLiteral("Close the almanac; its choices stay for the next time"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    footer->addWidget(buttons);
    layout->addLayout(footer);

    pending_ = new QTimer(this);
    pending_->setSingleShot(true);
    pending_->setInterval(0);
    connect(pending_, &QTimer::timeout, this, &AlmanacDialog::refreshPreview);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(100);
    connect(progressTimer_, &QTimer::timeout, this, [this] {
        if (previewJob_) {
            summary_->setText(QStringLiteral("Working… %1 %")
                                  .arg(int(std::floor(previewJob_->progress.load() * 100.0))));
        }
        if (exportJob_ && progress_) {
            progress_->setLabelText(exportJob_->layingOut ? QStringLiteral("Laying out the pages…")
                                                          : QStringLiteral("Finding the events…"));
            // Short of the end until the file is in place: a full bar would close the dialog.
            progress_->setValue(
                std::min(kProgressSteps - 1, int(exportJob_->progress.load() * kProgressSteps)));
        }
        if (!previewJob_ && !exportJob_) progressTimer_->stop();
    });
    resize(880, 680);
}

void AlmanacDialog::setSaveChooser(AlmanacSaveChooser chooser) { chooser_ = std::move(chooser); }

void AlmanacDialog::setPreviewLimit(std::size_t limit) {
    previewLimit_ = limit;
    choicesChanged();
}

bool AlmanacDialog::isSearching() const { return previewJob_ != nullptr || pending_->isActive(); }

QProgressDialog* AlmanacDialog::progressDialog() const { return progress_; }

AlmanacRequest AlmanacDialog::request() const {
    AlmanacRequest request;
    request.first = from_->date();
    request.last = to_->date();
    const QString id = place_->currentData().toString();
    const CityPreset* saved = nullptr;
    for (const CityPreset& city : model_->cities()) {
        if (!id.isEmpty() && canonicalUuid(city.id) == id) saved = &city;
    }
    if (saved != nullptr) {
        request.place = {saved->name, saved->latitude, saved->longitude};
    } else {
        request.place = {model_->inputs().placeLabel(model_->cities(), " "), model_->latitude(),
                         model_->longitude()};
    }
    for (const AlmanacGroup group : kAllAlmanacGroups) {
        if (groupBox(group)->isChecked()) request.groups.push_back(group);
    }
    return request;
}

void AlmanacDialog::fillPlaces() {
    const QString chosen = place_->currentData().toString();
    const QSignalBlocker blocker(place_);
    place_->clear();
    place_->addItem(QStringLiteral("Current place (%1)")
                        .arg(model_->inputs().placeLabel(model_->cities(), " ")),
                    QString());
    for (const CityPreset& city : model_->cities()) {
        if (city.id != manualCityID()) place_->addItem(city.name, canonicalUuid(city.id));
    }
    place_->setCurrentIndex(std::max(0, place_->findData(chosen)));
}

void AlmanacDialog::loadChoices() {
    if (const auto stored = storedText(settings_->value(kGroupsKey))) {
        const QStringList keys = stored->split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const AlmanacGroup group : kAllAlmanacGroups) {
            const QSignalBlocker blocker(groupBox(group));
            groupBox(group)->setChecked(
                keys.contains(QLatin1String(kGroupKeys.at(std::size_t(group)))));
        }
    }
    if (const auto stored = storedText(settings_->value(kPlaceKey));
        stored && *stored != kCurrentPlace) {
        const QSignalBlocker blocker(place_);
        place_->setCurrentIndex(std::max(0, place_->findData(*stored)));  // gone: the current one
    }
}

void AlmanacDialog::storeGroups() {
    QStringList keys;
    for (const AlmanacGroup group : kAllAlmanacGroups) {
        if (groupBox(group)->isChecked()) keys << QLatin1String(kGroupKeys.at(std::size_t(group)));
    }
    settings_->setText(kGroupsKey, keys.join(QLatin1Char(',')));
}

void AlmanacDialog::storePlace() {
    const QString id = place_->currentData().toString();
    settings_->setText(kPlaceKey, id.isEmpty() ? kCurrentPlace : id);
}

void AlmanacDialog::choicesChanged() {
    refreshButtons();
    // Several fields change at once (a date set whole, a place and its degrees): one search.
    pending_->start();
}

void AlmanacDialog::refreshPreview() {
    pending_->stop();
    if (previewJob_) previewJob_->cancelled = true;
    previewJob_.reset();
    const AlmanacRequest request = this->request();
    if (!request.isSearchable()) {
        auto nothing = std::make_shared<Preview>();
        nothing->request = request;
        present(std::move(nothing));
        return;
    }
    auto job = std::make_shared<Job>();
    previewJob_ = job;
    summary_->setText(QStringLiteral("Working…"));
    progressTimer_->start();
    pool_.start([this, job, request, limit = previewLimit_] {
        auto preview = searchPreview(request, limit, job->cancelled, job->progress);
        if (!preview) return;  // superseded: a newer search brings the next result
        QMetaObject::invokeMethod(
            this,
            [this, job, preview] {
                if (job != previewJob_) return;
                previewJob_.reset();
                present(preview);
            },
            Qt::QueuedConnection);
    });
}

void AlmanacDialog::present(std::shared_ptr<const Preview> preview) {
    shown_ = std::move(preview);
    eventRows_->setPreview(shown_);
    countRows_->setPreview(shown_);
    showSummary();
    emit previewChanged();
}

void AlmanacDialog::showSummary() {
    const AlmanacRequest& request = shown_->request;
    const AlmanacSpan span = request.span();
    if (span.days <= 0) {
        summary_->setText(
            QStringLiteral("The span ends before it begins: the To date (%1) comes "
                           "before the From date (%2). Choose a To date on or after "
                           "the From date.")
                .arg(fromStd(dateText(request.last)), fromStd(dateText(request.first))));
        return;
    }
    if (request.groups.empty()) {
        summary_->setText(QStringLiteral("No kinds of event are chosen: tick at least one above."));
        return;
    }
    const std::int64_t total = shown_->counts.total;
    QString text = countText(total, "event", "events") + QStringLiteral(", ") + request.spanText() +
                   QStringLiteral(" (") + countText(span.days, "day", "days") + QLatin1Char(')');
    if (std::size_t(total) > shown_->events.size()) {
        text += QStringLiteral(": showing the first %1 of %2")
                    .arg(grouped(std::int64_t(shown_->events.size())), grouped(total));
    }
    summary_->setText(text);
}

void AlmanacDialog::refreshButtons() {
    const AlmanacRequest request = this->request();
    const bool can = request.isSearchable() && !isExporting();
    QString why;
    if (request.span().days <= 0) {
        why = QStringLiteral("The To date comes before the From date");
    } else if (request.groups.empty()) {
        why = QStringLiteral("No kinds of event are chosen");
    } else if (isExporting()) {
        why = QStringLiteral("An export is running");
    }
    for (QPushButton* button : exports_) {
        button->setEnabled(can);
        button->setToolTip(why);
    }
}

void AlmanacDialog::askAndExport(AlmanacFile file) {
    const AlmanacRequest request = this->request();
    if (!request.isSearchable() || isExporting()) return;
    QPointer<AlmanacDialog> self(this);
    chooser_(file, almanacFileName(request, file), [self, file](std::optional<QString> path) {
        if (self && path) self->exportTo(file, *path);
    });
}

void AlmanacDialog::exportTo(AlmanacFile file, const QString& path) {
    const AlmanacRequest request = this->request();
    if (!request.isSearchable() || isExporting()) return;
    auto job = std::make_shared<Job>();
    exportJob_ = job;
    refreshButtons();
    exportStatus_->clear();
    progress_ = new QProgressDialog(QStringLiteral("Finding the events…"), QStringLiteral("Cancel"),
                                    0, kProgressSteps, this);
    progress_->setWindowTitle(QStringLiteral("Exporting the Almanac"));
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setMinimumDuration(500);  // a quick export shows nothing
    progress_->setValue(0);
    // The Cancel button, Escape and closing the window all call the export off.
    connect(progress_, &QProgressDialog::canceled, this, &AlmanacDialog::cancelExport);
    connect(progress_, &QDialog::rejected, this, &AlmanacDialog::cancelExport);
    progressTimer_->start();
    pool_.start([this, job, request, file, path] {
        const ExportOutcome outcome =
            writeAlmanacFile(request, file, path, job->cancelled, job->progress, job->layingOut);
        QMetaObject::invokeMethod(
            this,
            [this, path, cancelled = outcome.cancelled, error = outcome.error] {
                exportFinished(path, cancelled, error);
            },
            Qt::QueuedConnection);
    });
}

void AlmanacDialog::cancelExport() {
    if (exportJob_) exportJob_->cancelled = true;
}

void AlmanacDialog::exportFinished(const QString& path, bool cancelled, const WriteError& error) {
    exportJob_.reset();
    if (progress_ != nullptr) {
        // Deleted later: this may run inside the progress dialog's own event processing.
        progress_->hide();
        progress_->deleteLater();
        progress_ = nullptr;
    }
    refreshButtons();
    if (cancelled) {
        exportStatus_->setText(QStringLiteral("Export cancelled: no file was written."));
        return;
    }
    if (error) {
        exportStatus_->setText(QStringLiteral("The almanac could not be saved."));
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Export Failed"),
                                    QString(), QMessageBox::Ok, this);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setTextFormat(Qt::PlainText);  // a path is shown as it is
        box->setText(QStringLiteral("The almanac could not be saved:\n") + path +
                     QStringLiteral("\n\n") + *error);
        box->open();
        emit exportFailed(path, *error);
        return;
    }
    exportStatus_->setText(QStringLiteral("Saved ") + QFileInfo(path).fileName());
    exportStatus_->setToolTip(path);
    emit exported(path);
}

}  // namespace morvane
