#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace wordloom {

// One row of a frequency table: a word or phrase and how often it occurs.
struct FrequencyRow {
    QString text;
    std::int64_t count = 0;

    friend bool operator==(const FrequencyRow &, const FrequencyRow &) = default;
};

using FrequencyTable = std::vector<FrequencyRow>;

} // namespace wordloom
