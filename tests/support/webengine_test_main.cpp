// GoogleTest inside a QApplication on the offscreen platform, with the web engine prepared
// (its sandbox off when running as root, as CI does).
#include <gtest/gtest.h>

#include <QApplication>

#include "export/pdf_exporter.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    morvane::prepareWebEngine();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
