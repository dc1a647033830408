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

private:
    void save();
    AstronomyModel* model_;
    QLineEdit* name_;
    QLabel* error_;
    QPushButton* cancel_;
    QPushButton* save_;
};

/// "Delete location "<name>"?": Return deletes, Escape cancels.
class DeleteLocationSheet : public QDialog {
    Q_OBJECT
public:
    DeleteLocationSheet(AstronomyModel* model, QWidget* parent = nullptr);
    QLabel* question() const { return question_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    AstronomyModel* model_;
    QLabel* question_;
    QPushButton* cancel_;
    QPushButton* delete_;
};

}  // namespace morvane
