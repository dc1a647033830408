#include "export/file_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QFile>
#include <QTemporaryDir>
#include <csignal>

namespace morvane {
namespace {

QByteArray read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

TEST(FileWriter, SvgIsUtf16LittleEndianWithAByteOrderMark) {
    QTemporaryDir dir;
    const QString path = dir.filePath("chart.svg");
    ASSERT_FALSE(writeSvgFile(path, QString::fromUtf8("<svg>É</svg>")));
    const QByteArray bytes = read(path);
    ASSERT_GE(bytes.size(), 4);
    EXPECT_EQ(bytes.left(4), QByteArray("\xFF\xFE<\x00", 4));
    EXPECT_EQ(bytes.size(), 2 + 2 * 12);
    EXPECT_EQ(bytes.mid(2 + 2 * 5, 2), QByteArray("\xC9\x00", 2));  // É is U+00C9
}

TEST(FileWriter, TextIsUtf8) {
    QTemporaryDir dir;
    const QString path = dir.filePath("table.txt");
    ASSERT_FALSE(writeTextFile(path, QString::fromUtf8("— Hourly —\n")));
    EXPECT_EQ(read(path), QByteArray("\xE2\x80\x94 Hourly \xE2\x80\x94\n"));
}

TEST(FileWriter, AFailedWriteLeavesTheEarlierFileAsItWas) {
    QTemporaryDir dir;
    const QString path = dir.filePath("table.txt");
    ASSERT_FALSE(writeTextFile(path, "earlier"));

    // A disk that fills up: no file of this process may grow beyond 1 KiB.
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const WriteError text = writeTextFile(path, QString(100000, 'x'));
    const WriteError pdf = writePdfFile(path, QByteArray(100000, 'p'));
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_TRUE(text);
    ASSERT_TRUE(pdf);
    EXPECT_FALSE(text->isEmpty());
    EXPECT_EQ(read(path), "earlier");
}

TEST(FileWriter, MissingFolderIsAnError) {
    QTemporaryDir dir;
    EXPECT_TRUE(writeSvgFile(dir.filePath("no/such/folder/x.svg"), "<svg/>"));
    EXPECT_TRUE(writeTextFile(dir.filePath("no/such/folder/x.txt"), "x"));
}

TEST(FileWriter, ErrorLinesGoToStandardOutput) {
    ::testing::internal::CaptureStdout();
    printExportError("Error saving SVG: ", "No space left on device");
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "Error saving SVG: No space left on device\n");
}

}  // namespace
}  // namespace morvane
