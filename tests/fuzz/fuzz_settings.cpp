// Arbitrary kinds and values under each of the ten settings keys: building the model never
// crashes, and a calculation then gives its outputs or an error message, never a stop.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThreadPool>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "model/astronomy_model.h"

namespace {

class MemoryStore final : public morvane::SettingsStore {
  public:
    std::map<QString, QVariant> values;
    QVariant value(const QString& key) const override {
        const auto it = values.find(key);
        return it == values.end() ? QVariant() : it->second;
    }
    void setText(const QString&, const QString&) override {}
    void setDouble(const QString&, double) override {}
    void setBool(const QString&, bool) override {}
    void setInteger(const QString&, qint64) override {}
};

const char* const kKeys[] = {"AstronomyModel.selectedCityID", "AstronomyModel.manualLatDeg",
                             "AstronomyModel.manualLongDeg",  "AstronomyModel.latNorth",
                             "AstronomyModel.longWest",       "AstronomyModel.monthIndex",
                             "AstronomyModel.dayIndex",       "AstronomyModel.year",
                             "AstronomyModel.hour",           "AstronomyModel.useLocalTime"};

// Reads the next value of a kind chosen by the input itself.
QVariant nextValue(const std::uint8_t*& data, std::size_t& size) {
    if (size == 0) return {};
    const std::uint8_t kind = *data++;
    --size;
    const auto take = [&](void* out, std::size_t n) {
        std::memset(out, 0, n);
        const std::size_t k = std::min(n, size);
        std::memcpy(out, data, k);
        data += k;
        size -= k;
    };
    switch (kind % 6) {
        case 0:
            return {};
        case 1: {
            double d;
            take(&d, sizeof d);
            return d;
        }
        case 2: {
            qint64 i;
            take(&i, sizeof i);
            return i;
        }
        case 3: {
            std::uint8_t b;
            take(&b, 1);
            return bool(b & 1);
        }
        case 4: {
            std::uint8_t n = 0;
            take(&n, 1);
            std::string text(std::min<std::size_t>(n, size), '\0');
            take(text.data(), text.size());
            return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        }
        default: {
            double d;
            take(&d, sizeof d);
            return QString::number(d, 'g', 17);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz_settings";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static QTemporaryDir folder;

    auto store = std::make_unique<MemoryStore>();
    for (const char* key : kKeys) store->values[QString::fromLatin1(key)] = nextValue(data, size);
    morvane::AstronomyModel model({std::move(store), folder.path()});
    model.calculate();
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    // Either the calculation ran and finished, or it was refused with a message.
    if (model.isCalculating()) std::abort();
    if (model.dateLabel().isEmpty() && !model.hasErrorMessage()) std::abort();
    return 0;
}
