#include "SplitCommands.h"
#include "SplitContext.h"

#include "BufferSize.h"
#include "CliHost.h"
#include "DistinctWords.h"
#include "InputFiles.h"
#include "InputText.h"
#include "LinesBeyondMemory.h"
#include "OrderedOutput.h"
#include "SampleSort.h"
#include "TemporaryFolder.h"
#include "Utf8Lines.h"
#include "WordStream.h"
#include "Utf8.h"

#include "BatchHost.h"
#include "CaseConversion.h"
#include "CodeUnitOrder.h"
#include "basConversion.h"
#include "basLibLibrary.h"
#include "basLibWordFreq.h"
#include "CommandTable.h"
#include "TextViews.h"
#include "WordCount.h"
#include "SortWordsSteps.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>

namespace wordloom::mpi {

namespace {

using ops::kCrLf;

// This process's range of the input [begin, end) (collective).
std::pair<long long, long long> rangeOf(Context &c, Boundary rule)
{
    const std::vector<long long> cuts = c.input.cuts(rule);
    return {cuts[std::size_t(c.job.rank())], cuts[std::size_t(c.job.rank()) + 1]};
}

// This process's text: its range, read, checked and decoded as the input
// pane would hold it.
QString readRange(Context &c, long long begin, long long end)
{
    QString text;
    c.job.attempt([&] { text = cli::decodeInput(c.input.read(begin, end), c.options.raw); });
    c.done = end - begin;
    c.step("Read");
    return text;
}

void writeAndCommit(Context &c, const QString &part)
{
    c.output.writeParts(part, c.crLfToLf);
    c.step("Written");
    c.output.commit();
}

// Change Case, Characters Only, Letters Only, Binary Codes: character by
// character, so each range on its own; Change Case first agrees on the
// whole text's first ASCII letter.
void transform(Context &c, ops::CommandId id)
{
    const auto bounds = rangeOf(c, Boundary::AfterLf);
    const long long begin = bounds.first, end = bounds.second;
    QString text = readRange(c, begin, end);
    QString part;
    if (id == ops::CommandId::ChangeCase) {
        long long direction = 0; // 1: to lower case, 2: to upper case
        for (const QChar ch : text) {
            const char16_t u = ch.unicode();
            if ((u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z')) {
                direction = u <= u'Z' ? 1 : 2;
                break;
            }
        }
        for (const long long found : c.job.allGather(direction)) {
            if (found) {
                direction = found;
                break;
            }
        }
        if (!direction)
            throw JobFailed(3, std::string());
        c.job.attempt([&] { part = direction == 1 ? lowerCase(std::move(text)) : upperCase(std::move(text)); });
    } else if (id == ops::CommandId::BinaryCodes) {
        c.job.attempt([&] { part = basConversion::TextToBinaryCodes(text); });
    } else {
        c.job.attempt([&] { part = basLibLibrary::FilterText(text, QStringLiteral(" "), id == ops::CommandId::LettersOnly); });
    }
    text = QString();
    c.step("Converted");
    writeAndCommit(c, part);
}

// A sorted list as this process's part of the joined result: each key and
// CR LF, except after the result's very last key when `lastJoined`.
class PartBuilder {
public:
    void reserve(qsizetype units) { text_.reserve(units); }
    void add(QStringView key, long long times = 1)
    {
        for (long long k = 0; k < times; ++k) {
            text_.append(key);
            text_.append(kCrLf);
        }
    }
    QString finish(bool lastJoined)
    {
        if (lastJoined && text_.endsWith(kCrLf))
            text_.chop(kCrLf.size());
        return std::move(text_);
    }

private:
    QString text_;
};

// Unique Lines on lines in sorted order: the first of every run of equal
// non-empty lines, as the command keeps them from the joined sorted text.
std::vector<std::uint32_t> firstOfEachRun(const std::vector<QByteArrayView> &lines,
                                          const std::vector<std::uint32_t> &order)
{
    std::vector<std::uint32_t> kept;
    kept.reserve(order.size());
    QByteArrayView last;
    for (std::size_t k = 0; k < order.size(); ++k) {
        ops::prefetchAhead(lines, order, k);
        const QByteArrayView line = lines[order[k]];
        if (line.isEmpty() || (!kept.empty() && KeyTraits<QByteArrayView>::same(line, last)))
            continue;
        kept.push_back(order[k]);
        last = line;
    }
    return kept;
}

// Sort Lines and Unique Lines: every range's lines (tabs as spaces, leading
// spaces removed) go to the process of their range of keys, each sorts its
// own, and the parts follow in rank order. The lines stay UTF-8 throughout,
// sorted in the order of their UTF-16 forms: half the memory and none of
// the decoding and encoding.
void sortLines(Context &c, bool unique)
{
    const auto bounds = rangeOf(c, c.options.raw ? Boundary::AfterCrLf : Boundary::AfterLf);
    const long long begin = bounds.first, end = bounds.second;
    long long largest = 0;
    for (const long long bytes : c.job.allGather(end - begin))
        largest = std::max(largest, bytes);
    if (sortLinesThroughFolder(c, largest))
        return sortLinesBeyondMemory(c, unique, begin, end);
    QByteArray bytes;
    c.job.attempt([&] { bytes = c.input.read(begin, end); });
    c.done = end - begin;
    c.step("Read");
    Utf8Keys lines;
    c.job.attempt([&] { lines.keys = ops::utf8Lines(bytes, c.options.raw, end == c.input.size()); });
    c.step("Split");
    Utf8KeyRange range;
    c.job.attempt([&] { range = exchangeByKey(c.job, std::move(lines), false, c.exchangeRoundBytes()); });
    lines = Utf8Keys();
    c.step("Exchanged");
    std::vector<std::uint32_t> order;
    c.job.attempt([&] { order = stableCodeUnitOrder(range.items.keys); });
    c.step("Sorted");
    bool holds = false;
    c.job.attempt([&] {
        if (unique)
            order = firstOfEachRun(range.items.keys, order);
        holds = !order.empty();
    });
    // The parts follow each other in rank order: a line break after each but
    // the last that holds lines.
    const bool lastJoined = lastHolder(c.job, holds) == c.job.rank();
    c.output.writeLines(range.items.keys, order, c.crLfToLf, holds && !lastJoined);
    c.step("Written");
    c.output.commit();
}

// A sorted list of words as this process's part, written as it is made, a
// block at a time, so that a long one is never held whole: each word once
// (`unique`) or as often as it occurs, CR LF between them, and after the last
// when `breakAfter`.
void writeListAsMade(Context &c, const Keys &items, const std::vector<std::uint32_t> &order, bool unique,
                     bool breakAfter)
{
    // The words are runs of ASCII letters: a unit is a byte.
    const long long lineBreak = c.crLfToLf ? 1 : 2;
    long long size = 0, words = 0;
    forEachDistinct(items, order, [&](QStringView word, long long count) {
        const long long times = unique ? 1 : count;
        size += times * word.size();
        words += times;
    });
    if (words > 0)
        size += (words - 1 + (breakAfter ? 1 : 0)) * lineBreak;
    c.output.writeBlocks(size, [&](const OrderedOutput::BlockSink &sink) {
        constexpr qsizetype kBlockUnits = qsizetype(1) << 20;
        QString block;
        std::vector<char> encoded;
        long long written = 0;
        const auto flush = [&] {
            encoded.resize(std::size_t(3 * block.size() + 4));
            const char *end = encodeUtf8(QStringView(block).utf16(), 0, block.size(), block.size(), c.crLfToLf,
                                         encoded.data());
            sink(QByteArrayView(encoded.data(), end - encoded.data()));
            written += end - encoded.data();
            block.resize(0);
        };
        bool first = true;
        forEachDistinct(items, order, [&](QStringView word, long long count) {
            for (long long k = unique ? count - 1 : 0; k < count; ++k) {
                if (!first)
                    block += kCrLf; // a block ends after a word: no CR LF is split
                first = false;
                block += word;
                if (block.size() >= kBlockUnits)
                    flush();
            }
        });
        if (breakAfter)
            block += kCrLf;
        flush();
        // The offsets of the later parts were reckoned from `size`.
        if (written != size)
            throw std::logic_error("a part's length was miscounted");
    });
}

// The distinct words of [begin, end) with how often each occurs, read a
// piece at a time as wordloom-cli reads: only the distinct words are held,
// their units in `held`.
Keys distinctWords(Context &c, long long begin, long long end, QString &held)
{
    cli::DistinctWords distinct;
    const qsizetype pieceBytes = cli::wordPieceBytes(cli::workingBufferSize(c.options.bufferSize));
    for (long long at = begin; at < end && !c.job.failing();)
        distinct.addWordsOf(
            cli::decodeInput(c.input.readPiece(at, end, pieceBytes, Boundary::WordGap), c.options.raw));
    Keys words;
    std::vector<qsizetype> starts;
    distinct.drainSorted([&](QStringView word, qsizetype count) {
        starts.push_back(held.size());
        held.append(word);
        words.counts.push_back(count);
    });
    starts.push_back(held.size());
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
        words.keys.push_back(QStringView(held).sliced(starts[k], starts[k + 1] - starts[k]));
    return words;
}

// Sort Words and Unique Words: each range's distinct words with their counts
// go to the process of their range of keys, which adds up the counts and
// lists them: every occurrence followed by CR LF, or each word once with
// CR LF between them.
void listWords(Context &c, bool unique)
{
    const auto bounds = rangeOf(c, Boundary::WordGap);
    const long long begin = bounds.first, end = bounds.second;
    Keys words;
    QString held;
    c.job.attempt([&] { words = distinctWords(c, begin, end, held); });
    meetWordListFailureAsCli(c);
    c.done = end - begin;
    c.step("Cleaned");
    KeyRange range;
    c.job.attempt([&] { range = exchangeByKey(c.job, std::move(words), true, c.exchangeRoundBytes()); });
    words = Keys(); // the words that stay here still view `held`
    c.step("Exchanged");
    std::vector<std::uint32_t> order;
    qsizetype units = 0;
    std::size_t distinctBytes = 0;
    c.job.attempt([&] {
        order = stableCodeUnitOrder(range.items.keys);
        for (std::size_t k = 0; k < order.size(); ++k)
            units += (range.items.keys[k].size() + kCrLf.size()) * (unique ? 1 : range.items.counts[k]);
        forEachDistinct(range.items, order, [&](QStringView word, long long) {
            distinctBytes += cli::DistinctWords::bytesFor(word.size());
        });
    });
    checkFolderForWords(c, distinctBytes);
    c.step("Sorted");
    const bool holds = !order.empty();
    const bool lastJoined = unique && lastHolder(c.job, holds) == c.job.rank();
    // A list larger than half the buffer on any process (Sort Words lists
    // every occurrence) is written as it is made.
    long long largest = 0;
    for (const long long each : c.job.allGather((long long)units * qsizetype(sizeof(char16_t))))
        largest = std::max(largest, each);
    if (largest > (long long)(cli::workingBufferSize(c.options.bufferSize) / 2)) {
        writeListAsMade(c, range.items, order, unique, holds && !lastJoined);
        c.step("Written");
        c.output.commit();
        return;
    }
    PartBuilder builder;
    QString part;
    c.job.attempt([&] {
        builder.reserve(units);
        forEachDistinct(range.items, order, [&](QStringView word, long long count) {
            builder.add(word, unique ? 1 : count);
        });
        part = builder.finish(lastJoined);
    });
    range = KeyRange();
    writeAndCommit(c, part);
}

// Word Count: each range's table of distinct words; the rows go to the
// process of their range of words, which adds up the counts; process 0
// gathers the summed rows and finishes the command as wordloom-cli does
// (order, column width, format).
void countWords(Context &c)
{
    const auto bounds = rangeOf(c, Boundary::WordGap);
    const long long begin = bounds.first, end = bounds.second;
    FrequencyTable table;
    Keys rows;
    c.job.attempt([&] {
        // A piece at a time, as wordloom-cli counts: only the distinct words
        // are held, whatever the size of the range.
        BatchHost quiet;
        basLibWordFreq::WordTally tally;
        const qsizetype pieceBytes = cli::wordPieceBytes(cli::workingBufferSize(c.options.bufferSize));
        for (long long at = begin; at < end && !c.job.failing();)
            tally.add(cli::decodeInput(c.input.readPiece(at, end, pieceBytes, Boundary::WordGap), c.options.raw),
                      quiet);
        table = tally.finish(quiet);
        // A range without words has the one row ("", 1) of a text without them.
        if (table.size() == 1 && table.front().text.isEmpty())
            table.clear();
        for (const FrequencyRow &row : table) {
            rows.keys.push_back(row.text);
            rows.counts.push_back(row.count);
        }
    });
    c.done = end - begin;
    c.step("Counted");
    KeyRange range;
    c.job.attempt([&] { range = exchangeByKey(c.job, std::move(rows), true, c.exchangeRoundBytes()); });
    rows = Keys();
    c.step("Exchanged");
    QByteArray summed;
    c.job.attempt([&] {
        const std::vector<std::uint32_t> order = stableCodeUnitOrder(range.items.keys);
        forEachDistinct(range.items, order, [&](QStringView word, long long count) {
            const std::uint32_t length = std::uint32_t(word.size());
            summed.append(reinterpret_cast<const char *>(&length), sizeof length);
            summed.append(reinterpret_cast<const char *>(&count), sizeof count);
            summed.append(reinterpret_cast<const char *>(word.utf16()), word.size() * qsizetype(sizeof(char16_t)));
        });
    });
    range = KeyRange();
    table.clear();
    c.step("Summed");
    const std::vector<QByteArray> all = c.job.gatherToFirst(summed);
    summed = QByteArray();
    if (c.job.first()) {
        c.job.attempt([&] {
            FrequencyTable whole;
            for (const QByteArray &part : all) {
                for (const char *p = part.constData(); p < part.constData() + part.size();) {
                    std::uint32_t length;
                    long long count;
                    std::memcpy(&length, p, sizeof length);
                    std::memcpy(&count, p + sizeof length, sizeof count);
                    p += sizeof length + sizeof count;
                    QString word(qsizetype(length), Qt::Uninitialized);
                    std::memcpy(word.data(), p, length * sizeof(char16_t));
                    p += length * sizeof(char16_t);
                    whole.push_back(FrequencyRow{std::move(word), count});
                }
            }
            if (whole.empty())
                whole.push_back(FrequencyRow{QString(), 1});
            cli::CliHost host(QString(), c.options, c.output.file());
            host.beginOperation();
            ops::wordCountReport(std::move(whole), host);
            host.endOperation();
        });
    }
    c.step("Written");
    c.output.commit();
}

// How each command is split across processes. A command not listed here
// (Phrase Count, whose walk needs the whole text in order, or one added
// later) is refused rather than split inexactly.
enum class Split { None, Ranges, SortedLines, SortedWords, CountedWords };

Split splitOf(ops::CommandId id)
{
    switch (id) {
    case ops::CommandId::SortLines:
    case ops::CommandId::UniqueLines: return Split::SortedLines;
    case ops::CommandId::SortWords:
    case ops::CommandId::UniqueWords: return Split::SortedWords;
    case ops::CommandId::WordCount: return Split::CountedWords;
    case ops::CommandId::ChangeCase:
    case ops::CommandId::CharactersOnly:
    case ops::CommandId::LettersOnly:
    case ops::CommandId::BinaryCodes: return Split::Ranges;
    default: return Split::None;
    }
}
} // namespace

bool splits(const cli::Options &options)
{
    return splitOf(options.command->id) != Split::None;
}

void runSplit(Job &job, const cli::Options &options)
{
    const ops::Command &command = *options.command;
    job.setCommandName(std::string(command.name));
    OrderedOutput output(job, options.output);
    InputText input(job, options.files);
    Context c{job, options, input, output, !(options.raw || options.crlf)};
    const Split split = splitOf(command.id);
    input.settleEarlyFailure([&] {
        if (split == Split::SortedWords)
            meetWordListFailureAsCli(c);
    });
    switch (split) {
    case Split::SortedLines: return sortLines(c, command.traits.unique);
    case Split::SortedWords: return listWords(c, command.traits.unique);
    case Split::CountedWords: return countWords(c);
    case Split::Ranges: return transform(c, command.id);
    case Split::None: break; // refused before
    }
}

} // namespace wordloom::mpi
