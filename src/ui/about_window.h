#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace morvane {

/// "About Morvane Astro": the image, name, version.build, copyright with this year, a few
/// words on what the tool is, and five links. Fixed at 650 × 650.
class AboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
    QLabel* versionLabel() const { return version_; }
    QLabel* copyrightLabel() const { return copyright_; }
    const QList<QPushButton*>& links() const { return links_; }

private:
    QLabel* version_;
    QLabel* copyright_;
    QList<QPushButton*> links_;
};

/// Opens the bundled user guide in the user's browser (the documentation link and Help).
void openUserGuide();

}  // namespace morvane
