#include "basLibWordFreq.h"

#include "AnsiCode.h"

#include <QStringView>

#include <cstdint>
#include <vector>

namespace basLibWordFreq {

namespace {

bool isWordCharacter(char16_t unit)
{
    const int code = wordloom::ansiCode(unit);
    return code == 39 || (code >= 48 && code <= 57) || (code >= 65 && code <= 90)
        || (code >= 97 && code <= 122);
}

struct WordRow {
    QStringView word;
    std::int64_t count;
};

// The distinct words in order of first sight, found through an open-addressing
// table: the row a word maps to is where a linear search would find it.
class WordRows {
public:
    WordRows() : slots_(1024, kEmpty), mask_(1023) {}

    // The word's row; a new word gets the next row. isNew tells which.
    std::uint32_t add(QStringView word, std::uint64_t hash, bool &isNew)
    {
        std::size_t i = hash & mask_;
        for (; slots_[i] != kEmpty; i = (i + 1) & mask_) {
            WordRow &row = rows_[slots_[i]];
            if (row.word.size() == word.size() && row.word == word) {
                ++row.count;
                isNew = false;
                return slots_[i];
            }
        }
        isNew = true;
        slots_[i] = std::uint32_t(rows_.size());
        hashes_.push_back(hash);
        rows_.push_back({word, 1});
        if (rows_.size() * 2 > slots_.size())
            grow();
        return std::uint32_t(rows_.size() - 1);
    }

    const std::vector<WordRow> &rows() const { return rows_; }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

    void grow()
    {
        slots_.assign(slots_.size() * 2, kEmpty);
        mask_ = slots_.size() - 1;
        for (std::uint32_t r = 0; r < rows_.size(); ++r) {
            std::size_t i = hashes_[r] & mask_;
            while (slots_[i] != kEmpty)
                i = (i + 1) & mask_;
            slots_[i] = r;
        }
    }

    std::vector<WordRow> rows_;
    std::vector<std::uint64_t> hashes_;
    std::vector<std::uint32_t> slots_;
    std::size_t mask_;
};

} // namespace

wordloom::FrequencyTable BuildWordFrequency(const QString &text, wordloom::CommandHost &host)
{
    // The words of the cleaned text are exactly the maximal runs of word
    // characters of the text itself, so they are read in place.
    WordRows rows;
    const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        if (!isWordCharacter(units[i])) {
            ++i;
            continue;
        }
        const qsizetype start = i;
        std::uint64_t hash = 0xCBF29CE484222325ull;
        for (; i < n && isWordCharacter(units[i]); ++i)
            hash = (hash ^ units[i]) * 0x100000001B3ull;
        bool isNew;
        const std::uint32_t row = rows.add(QStringView(units + start, i - start), hash ^ (hash >> 29), isNew);
        if (isNew)
            host.showStatus(QStringLiteral("Words: ") + QString::number(row));
    }
    if (rows.rows().empty()) {
        // A text without words cleans to a single space: one empty word.
        bool isNew;
        rows.add(QStringView(), 0, isNew);
        host.showStatus(QStringLiteral("Words: 0"));
    }
    wordloom::FrequencyTable table;
    table.reserve(rows.rows().size());
    for (const auto &row : rows.rows())
        table.push_back({row.word.toString(), row.count});
    host.showStatus(QStringLiteral("Ready"));
    return table;
}

} // namespace basLibWordFreq
