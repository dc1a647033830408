// Arbitrary doubles and integers as the calculation's inputs: the guard lets through only what
// the engine can compute, and what it lets through computes (within libFuzzer's time limit).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "model/calculation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    morvane::CalculationInputs in;
    std::uint8_t bytes[4 * 8 + 3 * 8 + 1] = {};
    std::memcpy(bytes, data, std::min(size, sizeof bytes));
    std::memcpy(&in.latitude, bytes, 8);
    std::memcpy(&in.longitude, bytes + 8, 8);
    std::memcpy(&in.hour, bytes + 16, 8);
    std::memcpy(&in.year, bytes + 24, 8);
    std::memcpy(&in.monthIndex, bytes + 32, 8);
    std::memcpy(&in.dayIndex, bytes + 40, 8);
    in.useLocalTime = (bytes[48] & 1) != 0;
    const morvane::DayCountResult moment = morvane::checkedDayCount(in);
    if (!moment.t) {
        if (moment.error.isEmpty()) std::abort();  // a refusal always says why
        return 0;
    }
    const morvane::CalculationResults results =
        morvane::calculateOutputs(*moment.t, in.latitude, in.longitude);
    if (results.dateLabel.isEmpty() || results.positions.size() != 6) std::abort();
    return 0;
}
