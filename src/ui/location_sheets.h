#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace morvane {

class AstronomyModel;

/// "Save Location": a name for the typed-in location. Return saves (even when the Save button
/// is disabled for a blank name, so the model can say what is wrong), Escape cancels.
class SaveLocationSheet : public QDialog {
    Q_OBJECT
  public:
    SaveLocationSheet(AstronomyModel* model, QWidget* parent = nullptr);
    QLineEdit* nameField() const { return name_; }
    QLabel* errorLabel() const { return error_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void save();
    AstronomyModel* model_;
    QLineEdit* name_;
    QLabel* error_;
    QPushButton* cancel_;
    QPushButton* save_;
};

/// "Delete location "<name>"?": Return deletes, Escape cancels. The whole question shows however
/// long the name is: it wraps, inside the name too, and the sheet grows in height.
class DeleteLocationSheet : public QDialog {
    Q_OBJECT
  public:
    DeleteLocationSheet(AstronomyModel* model, QWidget* parent = nullptr);
    /// The question; its accessible name is the question without the label's break points.
    QLabel* question() const { return question_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* cancelButton() const { return cancel_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    AstronomyModel* model_;
    QLabel* question_;
    QPushButton* cancel_;
    QPushButton* delete_;
};

/// `text` with a zero-width space between the characters of every word wider than `width` in
/// `metrics`, so that word wrapping can break inside it. Other words stay as they are.
QString breakableText(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace morvane
