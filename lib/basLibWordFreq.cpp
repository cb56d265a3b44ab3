#include "basLibWordFreq.h"

#include "TextCodec.h"

#include <algorithm>

namespace basLibWordFreq {

namespace {

constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

bool isWordCharacter(char16_t unit)
{
    const int code = wordloom::ansiCode(unit);
    return code == 39 || (code >= 48 && code <= 57) || (code >= 65 && code <= 90)
        || (code >= 97 && code <= 122);
}

} // namespace

// An open-addressing table over the rows: the row a word maps to is where a
// linear search over the distinct words would find it.
WordTally::WordTally() : slots_(1024, kEmpty), mask_(1023) {}

void WordTally::add(QStringView piece, wordloom::CommandHost &host)
{
    // The words of the cleaned text are exactly the maximal runs of word
    // characters of the text itself, so they are read in place.
    const char16_t *units = piece.utf16();
    const qsizetype n = piece.size();
    // A whole text in one piece is counted in stretches of a few million
    // characters, between which the window stays responsive.
    constexpr qsizetype kStretchUnits = qsizetype(1) << 21;
    qsizetype pauseAt = kStretchUnits;
    for (qsizetype i = 0; i < n;) {
        if (!isWordCharacter(units[i])) {
            if (i >= pauseAt) {
                host.stayResponsive();
                pauseAt = i + kStretchUnits;
            }
            ++i;
            continue;
        }
        const qsizetype start = i;
        std::uint64_t hash = 0xCBF29CE484222325ull;
        for (; i < n && isWordCharacter(units[i]); ++i)
            hash = (hash ^ units[i]) * 0x100000001B3ull;
        const QStringView word(units + start, i - start);
        hash ^= hash >> 29;
        std::size_t slot;
        if (!countSeen(word, hash, slot))
            addNew(word, hash, slot, host);
    }
}

bool WordTally::countSeen(QStringView word, std::uint64_t hash, std::size_t &slot)
{
    std::size_t i = hash & mask_;
    for (; slots_[i] != kEmpty; i = (i + 1) & mask_) {
        Row &row = rows_[slots_[i]];
        if (row.length == word.size()
            && std::equal(word.begin(), word.end(), words_.begin() + row.start)) {
            ++row.count;
            return true;
        }
    }
    slot = i;
    return false;
}

void WordTally::addNew(QStringView word, std::uint64_t hash, std::size_t slot,
                       wordloom::CommandHost &host)
{
    const auto row = std::uint32_t(rows_.size());
    slots_[slot] = row;
    hashes_.push_back(hash);
    rows_.push_back({qsizetype(words_.size()), word.size(), 1});
    words_.insert(words_.end(), word.utf16(), word.utf16() + word.size());
    if (rows_.size() * 2 > slots_.size())
        grow();
    host.showStatus(QStringLiteral("Words: ") + QString::number(row));
}

void WordTally::grow()
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

wordloom::FrequencyTable WordTally::finish(wordloom::CommandHost &host)
{
    if (rows_.empty()) {
        // A text without words cleans to a single space: one empty word.
        std::size_t slot;
        countSeen(QStringView(), 0, slot);
        addNew(QStringView(), 0, slot, host);
    }
    wordloom::FrequencyTable table;
    table.reserve(rows_.size());
    for (const Row &row : rows_)
        table.push_back({QString(reinterpret_cast<const QChar *>(words_.data() + row.start), row.length),
                         row.count});
    host.showStatus(QStringLiteral("Ready"));
    return table;
}

wordloom::FrequencyTable BuildWordFrequency(wordloom::CommandHost &host)
{
    WordTally tally;
    host.readInputPieces([&](QStringView piece) { tally.add(piece, host); });
    return tally.finish(host);
}

} // namespace basLibWordFreq
