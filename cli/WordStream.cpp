#include "WordStream.h"

#include "DistinctWords.h"
#include "SortWordsSteps.h"
#include "TextViews.h"

#include <algorithm>

namespace wordloom::cli {

qsizetype wordPieceBytes(std::size_t bufferBytes)
{
    return qsizetype(std::clamp<std::size_t>(bufferBytes / 16, 1, std::size_t(8) << 20));
}

void forEachTextPiece(ChunkedInput &input, QByteArray first, bool raw,
                      const std::function<void(QStringView)> &take)
{
    QByteArray piece = std::move(first);
    for (;;) {
        const QString text = decodeInput(piece, raw);
        piece = QByteArray();
        take(text);
        if (input.atEnd())
            break;
        piece = input.next();
    }
}

namespace {

// Sort Words lists a word once per occurrence, Unique Words once.
void drainListed(DistinctWords &words, bool unique, const LineSink &sink)
{
    words.drainSorted([&](QStringView word, qsizetype count) {
        for (qsizetype k = unique ? count - 1 : 0; k < count; ++k)
            sink(word);
    });
}

} // namespace

qsizetype wordListFirstPieceBytes(std::size_t bufferBytes)
{
    return qsizetype(std::max<std::size_t>(bufferBytes / 8, 1));
}

void takeWordsInPieces(ChunkedInput &input, QByteArray first, const ExternalSortJob &job,
                       DistinctWords &words, const std::function<void()> &spill)
{
    const auto take = [&](const QByteArray &piece) {
        words.addWordsOf(decodeInput(piece, job.raw));
        if (words.bytes() > job.bufferBytes / 2)
            spill();
    };
    // The first piece, read whole to see whether the text fits, is taken a
    // piece's size at a time too.
    const qsizetype size = wordPieceBytes(job.bufferBytes);
    qsizetype from = 0;
    while (first.size() - from > size) {
        const qsizetype cut = lastWordGap(QByteArrayView(first).sliced(from, size));
        if (cut == 0)
            break;
        take(QByteArray::fromRawData(first.constData() + from, cut));
        from += cut;
    }
    take(QByteArray::fromRawData(first.constData() + from, first.size() - from));
    first = QByteArray();
    while (!input.atEnd())
        take(input.next());
}

void listWordsInPieces(ChunkedInput &input, QByteArray first, const ExternalSortJob &job,
                       CommandHost &status, OutputFile &output)
{
    DistinctWords words;
    RunMerge runs(job.temporaryDirectory, job.bufferBytes, job.mergeWidth);
    std::size_t parts = 0;
    const auto spill = [&] {
        status.showStatus(QStringLiteral("Sorting part %1...").arg(++parts));
        auto run = std::make_unique<RunFile>(job.temporaryDirectory);
        drainListed(words, job.unique, [&](QStringView word) { run->append(word); });
        run->finishWriting();
        runs.add(std::move(run));
    };
    takeWordsInPieces(input, std::move(first), job, words, spill);
    // Sort Words ends every word with CR LF; Unique Words joins them.
    LineOutput lines(output, job.crLfToLf, !job.unique);
    if (runs.empty()) {
        status.showStatus(QStringLiteral("Sorting..."));
        drainListed(words, job.unique, [&](QStringView word) { lines.add(word); });
    } else {
        if (!words.empty())
            spill();
        status.showStatus(QStringLiteral("Merging..."));
        QString last;
        runs.finish([&](QStringView word) {
            if (job.unique && word == last)
                return;
            if (job.unique)
                last = word.toString();
            lines.add(word);
        });
    }
    lines.flush();
    status.showStatus(QStringLiteral("Ready"));
}

} // namespace wordloom::cli
