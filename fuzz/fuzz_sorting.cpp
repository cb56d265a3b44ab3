// Sort Lines, Sort Words and the de-duplication stage of Unique Lines against
// their literal steps, and the handlers of Unique Lines and Unique Words.
// The reference sort is an exchange sort: the texts stay short.
#include "FuzzSupport.h"
#include "CommandHandlers.h"
#include "SortLines.h"
#include "SortWords.h"
#include "UniqueLines.h"
#include "Utf8LinesSorted.h"
#include "Literal.h"

namespace fz = wordloom::fuzz;
namespace ops = wordloom::ops;
namespace reference = wordloom::reference;
using wordloom::testing::RecordingHost;

namespace {

// The kept-lines loop on already sorted lines; its only post is "Splitting...",
// so Cancel is pressed there or not at all.
void compareKeptLines(const QString &sorted, bool cancel)
{
    RecordingHost real, literal;
    real.cancelAtPost = literal.cancelAtPost = cancel ? 1 : 0;
    QString kept;
    const bool keptAll = ops::keepUniqueSortedLines(sorted, real, kept) == wordloom::Outcome::Ready;
    QStringList expected;
    const bool finished = reference::keptLines(sorted, literal, expected);
    const int cancelAt = real.cancelAtPost;
    if (keptAll != finished)
        fz::mismatch("Unique Lines stage", "outcome", sorted, cancelAt, keptAll ? "finished" : "cancelled",
                     finished ? "finished" : "cancelled");
    if (finished && kept != expected.join(QStringLiteral("\r\n")))
        fz::mismatch("Unique Lines stage", "kept lines", sorted, cancelAt, fz::shown(kept),
                     fz::shown(expected.join(QStringLiteral("\r\n"))));
    if (real.posts != literal.posts)
        fz::mismatch("Unique Lines stage", "status posts", sorted, cancelAt, fz::shown(real.posts.join(u'|')),
                     fz::shown(literal.posts.join(u'|')));
    if (real.cancelTests != literal.cancelTests)
        fz::mismatch("Unique Lines stage", "number of cancel tests", sorted, cancelAt,
                     QByteArray::number(real.cancelTests), QByteArray::number(literal.cancelTests));
}

void compareResult(const char *command, const std::optional<QString> &real, const QString &literal,
                   const QString &input)
{
    if (real != literal)
        fz::mismatch(command, "result", input, 0, fz::shown(real), fz::shown(literal));
}

// The text as UTF-8 (a lone surrogate made U+FFFD), its lines found and
// sorted in those bytes: Sort Lines' result on the text they decode to,
// with and without --raw's line breaks.
void compareUtf8Lines(const QString &text, bool raw)
{
    const QByteArray bytes = text.toUtf8();
    const QString decoded = wordloom::decodeUtf8(bytes, !raw);
    compareResult(raw ? "Sort Lines of UTF-8, raw" : "Sort Lines of UTF-8", wordloom::testing::sortedUtf8Lines(bytes, raw),
                  reference::sortLinesText(decoded), decoded);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fz::FuzzInput input = fz::decodeInput(data, size, 512);
    fz::compareWithCancel("Sort Lines", ops::sortLines, reference::sortLines, input);
    fz::compareWithCancel("Sort Words", ops::sortWords, reference::sortWords, input);

    compareUtf8Lines(input.text, input.control & 2);

    const QString sortedLines = reference::sortLinesText(input.text);
    compareKeptLines(sortedLines, input.control & 1);
    compareResult("Unique Lines", fz::record(ops::runUniqueLines, input.text).result,
                  reference::uniqueLinesText(input.text), input.text);
    compareResult("Unique Words", fz::record(ops::runUniqueWords, input.text).result,
                  reference::uniqueWordsText(input.text), input.text);
    return 0;
}
