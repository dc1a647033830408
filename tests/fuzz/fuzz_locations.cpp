// Arbitrary bytes as locations.json: decoding never crashes, and whatever decodes survives an
// encode and a second decode unchanged, sorted or not.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "model/locations_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto decoded = morvane::LocationsFile::decode(bytes);
    if (!decoded) return 0;
    QList<morvane::CityPreset> cities{morvane::CityPreset::manual()};
    cities.append(*decoded);
    morvane::sortSavedLocations(cities);
    const auto again =
        morvane::LocationsFile::decode(morvane::LocationsFile::encode(cities.mid(1)));
    if (!again || again->size() != decoded->size()) std::abort();
    for (qsizetype i = 0; i < again->size(); ++i) {
        const morvane::CityPreset& a = (*again)[i];
        const morvane::CityPreset& b = cities[i + 1];
        // NaN cannot be written as JSON; everything else must come back as it was.
        if (a.id != b.id || a.name != b.name) std::abort();
    }
    return 0;
}
