#pragma once

#include "FrequencyTable.h"
#include "CommandHost.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace basLibWordFreq {

// Word Count's table of distinct words, fed a text whole or in pieces. A word
// is a maximal run of word characters (code page 1252 codes of the
// apostrophe, the digits and the letters A-Z, a-z), so a piece that begins
// and ends between words counts exactly as the text would whole. The words
// are copied: the pieces may go once they are counted.
class WordTally {
public:
    WordTally();

    // Counts the words of the piece; posts "Words: i" for each new word (i
    // zero-based, in order of first sight).
    void add(QStringView piece, wordloom::CommandHost &host);
    // One row per distinct word, in order of first sight, with its count; a
    // text without words gives the one row ("", 1) and posts "Words: 0".
    // Posts "Ready".
    wordloom::FrequencyTable finish(wordloom::CommandHost &host);

private:
    struct Row {
        qsizetype start; // in words_
        qsizetype length;
        std::int64_t count;
    };
    bool countSeen(QStringView word, std::uint64_t hash, std::size_t &slot);
    void addNew(QStringView word, std::uint64_t hash, std::size_t slot, wordloom::CommandHost &host);
    void grow();

    std::vector<char16_t> words_;
    std::vector<Row> rows_;
    std::vector<std::uint64_t> hashes_;
    std::vector<std::uint32_t> slots_;
    std::size_t mask_;
};

// One row per distinct word of the input pane's cleaned text, in order of
// first occurrence, with its count: the text whole is the text in one piece,
// and the host hands it over in as many as it likes (readInputPieces). Posts
// "Words: i" for each new word (i zero-based) and "Ready" at the end. A text
// without words gives the one row ("", 1).
wordloom::FrequencyTable BuildWordFrequency(wordloom::CommandHost &host);

} // namespace basLibWordFreq
