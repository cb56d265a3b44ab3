// Word Count against its literal steps, with Cancel pressed at any post.
#include "FuzzSupport.h"
#include "WordCount.h"
#include "LiteralFrequency.h"

namespace fz = wordloom::fuzz;
using wordloom::testing::RecordingHost;

namespace {
// Group separators of real locales, the empty one included.
QString separatorFor(std::uint8_t control)
{
    static const QString separators[] = {QStringLiteral(","), QStringLiteral("."), QString(),
                                         QString(QChar(0x00A0))};
    return separators[(control >> 6) & 3];
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fz::FuzzInput input = fz::decodeInput(data, size, 1024);
    const QString separator = separatorFor(input.control);
    // The reference's exchange sort tests Cancel at every exchange, the real
    // sort once: the counts differ by design, the texts and outcome may not.
    fz::compareWithCancel(
        "Word Count", [&](RecordingHost &h) { return wordloom::ops::wordCount(h, separator); },
        [&](RecordingHost &h) { return wordloom::reference::wordCount(h, separator); }, input,
        fz::Compare::TextsAndOutcome);
    return 0;
}
