#pragma once

#include <QWidget>

#include "ui/app_information.h"
#include "ui/help_window.h"  // the documentation link and the Help menu open the same window

class QLabel;
class QPushButton;

namespace morvane {

/// "About Morvane Astro": the image, name, version.build, copyright with this year and the
/// licence, a few words on what the tool is, and its links. Fixed at 650 × 650. The documentation
/// link always shows and opens the guide in the application; every other link shows only when the
/// build configured a real address for it. Esc and Ctrl+W close the window.
class AboutWindow : public QWidget {
    Q_OBJECT
  public:
    explicit AboutWindow(QWidget* parent = nullptr);
    explicit AboutWindow(const AppLinks& links, QWidget* parent = nullptr);

    /// Shows the window, centred on `anchor`'s window when it was hidden, and brings it forward.
    void showCentredOn(QWidget* anchor);

    QLabel* versionLabel() const { return version_; }
    QLabel* copyrightLabel() const { return copyright_; }
    /// All five link buttons in their order, the ones without a target hidden.
    const QList<QPushButton*>& links() const { return links_; }

  private:
    QLabel* version_;
    QLabel* copyright_;
    QList<QPushButton*> links_;
};

}  // namespace morvane
