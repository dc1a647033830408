// A long session: a thousand calculations on one model.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdio>

#include "model_fixture.h"
#include "support/qt_wait.h"

namespace morvane {
namespace {

using testing::ModelFixture;
using testing::waitUntil;

// Resident memory of this process in kilobytes.
long residentKb() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

TEST(LongRun, AThousandCalculationsDoNotGrowMemory) {
    ModelFixture fixture;
    const auto model = fixture.makeModel();
    const auto calculateOnce = [&](int i) {
        model->setHour((i % 96) / 4.0);
        model->calculate();
        ASSERT_TRUE(waitUntil([&] { return !model->isCalculating(); }));
    };
    for (int i = 0; i < 100; ++i) calculateOnce(i);  // warm-up: caches, pools, the catalogue
    const long before = residentKb();
    for (int i = 100; i < 1000; ++i) calculateOnce(i);
    const long after = residentKb();
    std::printf("resident memory after 100 calculations: %ld kB, after 1000: %ld kB\n", before,
                after);
    EXPECT_GT(before, 0);
    EXPECT_LT(after - before, 8 * 1024) << "grew from " << before << " kB to " << after << " kB";
}

}  // namespace
}  // namespace morvane
