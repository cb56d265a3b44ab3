#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <random>
#include <string>

namespace wordloom::testing {

// Texts that repeat themselves, the hardest inputs for Phrase Count's walk:
// a passage of `period` words over and over (with `changes` words replaced
// by words of their own, or none), or varied text in which stretches of
// `period` words come back again and again. Used by the tests at small sizes
// and by the benchmarks up to a few megabytes.
struct RepeatingShape {
    enum Kind { Periodic, RepeatedStretches } kind = Periodic;
    int period = 1;
    int changes = 0;
    std::size_t bytes = 10000;
    unsigned seed = 1;

    std::string name() const
    {
        return std::string(kind == Periodic ? "period-" : "stretches-") + std::to_string(period)
            + (changes ? "-changed-" + std::to_string(changes) : std::string()) + "-" + std::to_string(bytes);
    }
};

class RepeatingTextGenerator {
public:
    static QString text(const RepeatingShape &shape)
    {
        std::mt19937 rng(shape.seed);
        const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        // Short words from a vocabulary that grows with the period, so that a
        // passage of many words still repeats its own words now and then.
        const auto word = [&](int vocabulary) {
            const int n = pick(0, vocabulary - 1);
            return QString::fromLatin1("abcdefghijklmnopqrstuvwxyz").mid(n % 26, 1) + (n >= 26 ? QString::number(n / 26) : QString());
        };
        const int vocabulary = 2 + shape.period / 3;
        QString out;
        out.reserve(qsizetype(shape.bytes) + 64);
        if (shape.kind == RepeatingShape::Periodic) {
            QString passage;
            for (int i = 0; i < shape.period; ++i)
                passage += word(vocabulary) + u' ';
            while (std::size_t(out.size()) < shape.bytes)
                out += passage;
            out.truncate(qsizetype(shape.bytes));
            for (int c = 0; c < shape.changes; ++c) {
                qsizetype at = pick(0, int(out.size()) - 1);
                while (at > 0 && out[at - 1] != u' ')
                    --at;
                qsizetype end = at;
                while (end < out.size() && out[end] != u' ')
                    ++end;
                out.replace(at, end - at, QStringLiteral("changed%1").arg(c));
            }
            return out;
        }
        // Varied text, with a stretch taken from what was written so far
        // written again at every few hundred words.
        QStringList words;
        while (std::size_t(out.size()) < shape.bytes) {
            if (words.size() > shape.period && pick(0, 300) == 0) {
                const int from = pick(0, int(words.size()) - shape.period);
                for (int i = 0; i < shape.period; ++i) {
                    const QString again = words[from + i];
                    words.append(again);
                    out += again + u' ';
                }
            }
            words.append(word(400));
            out += words.back() + u' ';
        }
        return out;
    }
};

} // namespace wordloom::testing
