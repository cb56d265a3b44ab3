// Phrase Count against its literal steps, with Cancel pressed at any post.
// The reference counts every phrase by scanning the whole text: short texts.
#include "FuzzSupport.h"
#include "PhraseCount.h"
#include "LiteralFrequency.h"

namespace fz = wordloom::fuzz;
using wordloom::testing::RecordingHost;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const fz::FuzzInput input = fz::decodeInput(data, size, 300);
    const QString separator = QStringLiteral(",");
    // As in Word Count, the exchange sort's cancel tests are not counted.
    fz::compareWithCancel(
        "Phrase Count", [&](RecordingHost &h) { return wordloom::ops::phraseCount(h, separator); },
        [&](RecordingHost &h) { return wordloom::reference::phraseCount(h, separator); }, input,
        fz::Compare::TextsAndOutcome);
    return 0;
}
