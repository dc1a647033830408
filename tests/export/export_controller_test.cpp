// The save dialog's folder: where it starts and what it remembers.
#include "export/export_controller.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <map>

namespace morvane {
namespace {

class MemoryStore final : public SettingsStore {
  public:
    std::map<QString, QVariant> values;
    QVariant value(const QString& key) const override {
        const auto it = values.find(key);
        return it == values.end() ? QVariant() : it->second;
    }
    void setText(const QString& key, const QString& text) override { values[key] = text; }
    void setDouble(const QString& key, double value) override { values[key] = value; }
    void setBool(const QString& key, bool value) override { values[key] = value; }
    void setInteger(const QString& key, qint64 value) override { values[key] = value; }
};

TEST(StartFolder, TheLastFolderUsedThenTheUsualOneForTheKindThenHome) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("Documents") && QDir(root.path()).mkpath("Pictures") &&
                QDir(root.path()).mkpath("exports"));
    const StandardFolders folders{root.filePath("Documents"), root.filePath("Pictures"),
                                  root.path()};
    using Kind = FileChooser::Kind;

    EXPECT_EQ(startFolder(Kind::svg, std::nullopt, folders), folders.pictures);
    EXPECT_EQ(startFolder(Kind::text, std::nullopt, folders), folders.documents);
    EXPECT_EQ(startFolder(Kind::pdf, std::nullopt, folders), folders.documents);
    for (Kind kind : {Kind::svg, Kind::text, Kind::pdf}) {
        EXPECT_EQ(startFolder(kind, root.filePath("exports"), folders), root.filePath("exports"));
    }
    // A last folder that has gone, or was never a folder, counts as none.
    EXPECT_EQ(startFolder(Kind::pdf, root.filePath("removed"), folders), folders.documents);
    EXPECT_EQ(startFolder(Kind::svg, QString(), folders), folders.pictures);

    // Without Documents or Pictures (a fresh account, a minimal system): home.
    const StandardFolders bare{root.filePath("no-documents"), QString(), root.path()};
    EXPECT_EQ(startFolder(Kind::text, std::nullopt, bare), root.path());
    EXPECT_EQ(startFolder(Kind::svg, std::nullopt, bare), root.path());
}

QFileDialog* openDialog() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QFileDialog*>(widget);
        if (dialog && dialog->isVisible()) return dialog;
    }
    return nullptr;
}

TEST(DialogFileChooser, StartsInTheLastFolderAndRemembersTheOneChosen) {
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QTemporaryDir earlier;
    QTemporaryDir chosen;
    auto store = std::make_shared<MemoryStore>();
    store->values["Export/lastFolder"] = earlier.path();
    DialogFileChooser chooser(nullptr, store);

    std::optional<std::optional<QString>> answer;
    const auto remember = [&](std::optional<QString> path) { answer = path; };
    chooser.chooseSaveLocation(FileChooser::Kind::text, "Save", "table.txt", remember);
    QFileDialog* dialog = openDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->directory().absolutePath(), QDir(earlier.path()).absolutePath());
    EXPECT_EQ(dialog->selectedFiles().value(0), QDir(earlier.path()).absoluteFilePath("table.txt"));
    dialog->selectFile(chosen.filePath("table.txt"));
    static_cast<QDialog*>(dialog)->accept();  // as the Save button does
    ASSERT_TRUE(answer && *answer);
    EXPECT_EQ(**answer, chosen.filePath("table.txt"));
    EXPECT_EQ(store->values["Export/lastFolder"].toString(), QDir(chosen.path()).absolutePath());

    // The next dialog starts there; cancelling it keeps the folder remembered.
    answer.reset();
    chooser.chooseSaveLocation(FileChooser::Kind::svg, "Save", "map.svg", remember);
    dialog = openDialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->directory().absolutePath(), QDir(chosen.path()).absolutePath());
    dialog->reject();
    ASSERT_TRUE(answer);
    EXPECT_FALSE(*answer);
    EXPECT_EQ(store->values["Export/lastFolder"].toString(), QDir(chosen.path()).absolutePath());
}

}  // namespace
}  // namespace morvane
