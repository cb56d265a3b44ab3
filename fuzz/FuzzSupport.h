#pragma once

// What every fuzz target shares: the fuzzer's bytes as a text, a recorded run
// of a command, and the comparison that stops the fuzzer on the first
// difference between the real command and its literal transcription.

#include "CommandRun.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <type_traits>

namespace wordloom::fuzz {

// The first byte steers the run (cancel position, options); the rest are
// UTF-16 code units, little-endian, so that lone surrogates, NUL and every
// control character occur. At most maxUnits units are taken, for the
// references that are quadratic in the text.
struct FuzzInput {
    std::uint8_t control = 0;
    QString text;
};

inline FuzzInput decodeInput(const std::uint8_t *data, std::size_t size, qsizetype maxUnits)
{
    FuzzInput input;
    if (size == 0)
        return input;
    input.control = data[0];
    const qsizetype units = std::min<qsizetype>(qsizetype((size - 1) / 2), maxUnits);
    input.text.resize(units);
    for (qsizetype i = 0; i < units; ++i)
        input.text[i] = QChar(char16_t(data[1 + 2 * i] | (data[2 + 2 * i] << 8)));
    return input;
}

// A quarter of the control values mean "never cancel"; the others press
// Cancel during one of the `posts` status posts of a full run, spread evenly.
inline int cancelAtPost(std::uint8_t control, qsizetype posts)
{
    if (control % 4 == 0 || posts == 0)
        return 0;
    return 1 + int((qsizetype(control >> 2) * posts) / 64);
}

using Run = testing::CommandRun;

template <typename Command>
Run record(Command command, const QString &input, int cancelAt = 0)
{
    return testing::runCommand(command, input, cancelAt);
}

inline QByteArray shown(const QString &text)
{
    QString out;
    for (QChar c : text.left(400)) {
        const char16_t u = c.unicode();
        out += (u >= 32 && u < 127) ? QString(c) : QStringLiteral("<%1>").arg(u, 0, 16);
    }
    if (text.size() > 400)
        out += QStringLiteral("...(%1 units)").arg(text.size());
    return out.toUtf8();
}

inline QByteArray shown(const std::optional<QString> &text)
{
    return text ? shown(*text) : QByteArray("<not written>");
}

[[noreturn]] inline void mismatch(const char *command, const char *what, const QString &input,
                                  int cancelAt, const QByteArray &got, const QByteArray &want)
{
    std::fprintf(stderr,
                 "\nMISMATCH in %s: %s differs from the literal reference\n"
                 "  input (%lld units): %s\n  cancel at post: %d\n  real:      %s\n  reference: %s\n",
                 command, what, static_cast<long long>(input.size()), shown(input).constData(),
                 cancelAt, got.constData(), want.constData());
    std::fflush(stderr);
    __builtin_trap();
}

// Which recorded parts must agree: the cancel-test and event counts only
// where the real command keeps the literal steps' count of them.
enum class Compare { Everything, TextsAndOutcome };

inline void expectSame(const char *command, const Run &real, const Run &literal, const QString &input,
                       int cancelAt, Compare compare = Compare::Everything)
{
    if (real.outcome != literal.outcome)
        mismatch(command, "outcome", input, cancelAt,
                 real.outcome == Outcome::Cancelled ? "Cancelled" : "Ready",
                 literal.outcome == Outcome::Cancelled ? "Cancelled" : "Ready");
    if (real.posts != literal.posts)
        mismatch(command, "status posts", input, cancelAt, shown(real.posts.join(u'|')),
                 shown(literal.posts.join(u'|')));
    if (real.work != literal.work)
        mismatch(command, "work pane", input, cancelAt, shown(real.work), shown(literal.work));
    if (real.result != literal.result)
        mismatch(command, "result", input, cancelAt, shown(real.result), shown(literal.result));
    if (compare == Compare::TextsAndOutcome)
        return;
    if (real.cancelTests != literal.cancelTests)
        mismatch(command, "number of cancel tests", input, cancelAt,
                 QByteArray::number(real.cancelTests), QByteArray::number(literal.cancelTests));
    if (real.eventPumps != literal.eventPumps)
        mismatch(command, "number of event pumps", input, cancelAt,
                 QByteArray::number(real.eventPumps), QByteArray::number(literal.eventPumps));
}

// The real command on the input, once without cancel to count its posts, then
// with Cancel pressed where the control byte says; the reference likewise.
template <typename Real, typename Literal>
void compareWithCancel(const char *command, Real real, Literal literal, const FuzzInput &input,
                       Compare compare = Compare::Everything)
{
    const int cancelAt = cancelAtPost(input.control, record(real, input.text).posts.size());
    expectSame(command, record(real, input.text, cancelAt), record(literal, input.text, cancelAt),
               input.text, cancelAt, compare);
}

} // namespace wordloom::fuzz
