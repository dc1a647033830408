#pragma once

#include <QStringList>
#include <QWidget>

#include "ui/app_information.h"

class QPushButton;
class QTextBrowser;

namespace morvane {

/// "Morvane Astro Help": the user guide shown inside the application. In-page links move within
/// the guide, links to anything else open in the user's browser; Esc and Ctrl+W close the
/// window. When the guide is not where it should be, the window says so and lists where it looked.
class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);

    /// Shows the first of `candidates` that exists, or the explanation that none does. A guide
    /// already shown from the same file is left where the reader scrolled it.
    void loadGuide(const QStringList& candidates);

    /// The file shown, empty while the guide is missing.
    QString guidePath() const { return guidePath_; }
    QTextBrowser* browser() const { return browser_; }
    QPushButton* backButton() const { return back_; }
    QPushButton* contentsButton() const { return contents_; }

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void applyStyle();
    QTextBrowser* browser_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* contents_ = nullptr;
    QString guidePath_;
    QStringList candidates_;
};

/// Opens the one help window with the guide found among `candidates` (by default the installed
/// and the build-tree guide), centred on `anchor`'s window when it is first created, and brings
/// it forward. Returns the window, which lives until the application quits.
HelpWindow* showUserGuide(QWidget* anchor, const QStringList& candidates = userGuideCandidates());

}  // namespace morvane
