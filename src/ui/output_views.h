#pragma once

// The views of the output area: each shows the values it is given and changes nothing.

#include <QColor>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

#include "engine/positions.h"

class QLabel;
class QPlainTextEdit;
class QStackedWidget;
class QTableWidget;
class QWebEngineView;

namespace morvane {

class SegmentedChoice;

/// The page an SVG document is shown in: it scales to the whole view on a transparent page.
QString svgViewPage(const QString& svg);

/// One SVG document in an embedded web view whose own background is off.
class SVGView : public QWidget {
    Q_OBJECT
  public:
    explicit SVGView(QWidget* parent = nullptr);
    ~SVGView() override;
    /// Shows the document: the first loads the page, later ones replace the document inside the
    /// loaded page, which keeps up with a held step key where a reload would not. Documents
    /// that arrive while one is being put in are not queued: the newest waits, the others are
    /// dropped.
    void setSvg(const QString& svg);
    QWebEngineView* webView() const { return view_; }
    /// The page the view shows, with the last document given.
    const QString& page() const { return page_; }
    /// How many documents were put into the loaded page in place (for measurements and tests).
    [[nodiscard]] int replacements() const { return replacements_; }

  signals:
    /// The page finished loading, or a document was put into it in place (for measurements
    /// and tests).
    void pageLoaded(bool ok);

  private:
    void replaceDocument();

    QWebEngineView* view_;
    QString page_;
    bool loaded_ = false;     ///< a page was asked for
    bool ready_ = false;      ///< the page finished loading and can take a document in place
    bool replacing_ = false;  ///< a document is on its way into the page
    std::optional<QString> waiting_;
    int replacements_ = 0;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

/// The page colour the charts are drawn for. Their ink is chosen for it, so they keep it under
/// any palette, dark ones included.
QColor chartPageColor();

/// A chart on its own light page: the star map and the horoscope look alike.
class ChartView : public QWidget {
    Q_OBJECT
  public:
    explicit ChartView(QWidget* parent = nullptr);
    void setSvg(const QString& svg) { svgView_->setSvg(svg); }
    SVGView* svgView() const { return svgView_; }
    /// What the chart shows, in words, for those who cannot see it.
    void setTextAlternative(const QString& name, const QString& description);

  private:
    SVGView* svgView_;
};

/// What one column of a fixed-width table means, shown as a tooltip over it.
struct ColumnHelp {
    int first = 0;  ///< first character of the column, counted from 0
    int last = -1;  ///< last character, inclusive; -1: to the end of the line
    QString text;
    int line = -1;  ///< only on this line (counted from 0), or -1 on every line
};

/// Monospaced, selectable text that never wraps and scrolls both ways; a placeholder when empty.
class MonospacedTextView : public QWidget {
    Q_OBJECT
  public:
    explicit MonospacedTextView(QString placeholder, QWidget* parent = nullptr);
    void setText(const QString& text);
    [[nodiscard]] bool showsPlaceholder() const;
    QPlainTextEdit* textEdit() const { return text_; }
    QLabel* placeholderLabel() const { return placeholder_; }
    /// Explains the columns of the table: a tooltip over each, and all of them together in the
    /// accessible description. Help for one line comes before help for every line.
    void setColumnHelp(std::vector<ColumnHelp> help);
    /// The help for the character at `column` of `line`, or nothing.
    [[nodiscard]] QString columnHelpAt(int line, int column) const;

  signals:
    /// A double-click, or Return, on the character at `column` of `line` (counted from 0).
    void activated(int line, int column);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QStackedWidget* stack_;
    QLabel* placeholder_;
    QPlainTextEdit* text_;
    std::vector<ColumnHelp> help_;
};

/// The positions list as a table with a colour dot per body, or "No Positions".
class PlanetsView : public QWidget {
    Q_OBJECT
  public:
    explicit PlanetsView(QWidget* parent = nullptr);
    void setPositions(const std::vector<BodyPosition>& positions);
    QTableWidget* table() const { return table_; }
    [[nodiscard]] bool showsEmptyState() const;

  private:
    QStackedWidget* stack_;
    QTableWidget* table_;
};

/// The sun and moon tables with the next full and new moon.
class TablesView : public QWidget {
    Q_OBJECT
  public:
    explicit TablesView(QWidget* parent = nullptr);
    void setTables(const QString& hourly, const QString& monthly, const QString& nextFullMoon,
                   const QString& nextNewMoon);
    SegmentedChoice* choice() const { return choice_; }
    MonospacedTextView* textView() const { return text_; }
    QLabel* nextFullMoonLabel() const { return full_; }
    QLabel* nextNewMoonLabel() const { return new_; }

  signals:
    /// A row, or an eclipse, rise or set in it, was chosen to go to.
    void momentChosen(double t);

  private:
    void refresh();
    SegmentedChoice* choice_;
    QLabel* full_;
    QLabel* new_;
    MonospacedTextView* text_;
    QString hourly_;
    QString monthly_;
};

/// The daily and yearly conjunction tables.
class PositionsView : public QWidget {
    Q_OBJECT
  public:
    explicit PositionsView(QWidget* parent = nullptr);
    void setTables(const QString& daily, const QString& yearly);
    SegmentedChoice* choice() const { return choice_; }
    MonospacedTextView* textView() const { return text_; }

  signals:
    /// A row was chosen to go to.
    void momentChosen(double t);

  private:
    void refresh();
    SegmentedChoice* choice_;
    MonospacedTextView* text_;
    QString daily_;
    QString yearly_;
};

/// The display colour of a body's plain colour name.
QColor bodyColor(const std::string& name);

/// The positions list in words, one body a line: name, type, azimuth, altitude and sign.
QString positionsDescription(const std::vector<BodyPosition>& positions);

/// The words of a chart's legend: the texts drawn in the ink of its first text, in document
/// order, those on one baseline joined into one line. Entities are decoded.
QString chartLegendText(const QString& svg);

}  // namespace morvane
