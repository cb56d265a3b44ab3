#pragma once

#include <QString>
#include <QStringList>

#include <random>

namespace wordloom::testing {

// Random texts for comparing the frequency commands with their literal
// transcription: few distinct words so that phrases repeat, and every kind of
// character the cleaning treats specially.
class PhraseTextGenerator {
public:
    explicit PhraseTextGenerator(unsigned seed) : rng_(seed) {}

    QString text()
    {
        const QStringList vocabulary = makeVocabulary(pick(0, 9) == 0 ? pick(21, 60) : pick(2, 20));
        const int words = pick(0, 9) == 0 ? pick(0, 6) : pick(5, 160);
        QString out = pick(0, 4) == 0 ? separator() : QString();
        for (int i = 0; i < words; ++i) {
            out += vocabulary[pick(0, int(vocabulary.size()) - 1)];
            if (i + 1 < words || pick(0, 1))
                out += separator();
        }
        return out;
    }

    int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

private:
    QString plainWord()
    {
        static const char *const stems[] = {"a", "go", "to", "tomorrow", "the", "cat", "sat", "on",
                                            "no", "dog", "be", "bee", "it", "is", "and", "r2d2",
                                            "42", "x", "tis", "don't", "gone"};
        return QString::fromLatin1(stems[pick(0, std::size(stems) - 1)]);
    }

    QString decorated(QString w)
    {
        switch (pick(0, 14)) {
        case 0: return w.toUpper();
        case 1: return w.left(1).toUpper() + w.mid(1);
        case 2: return QStringLiteral("'") + w;          // apostrophe at the start
        case 3: return w + QStringLiteral("'");          // at the end
        case 4: return w.left(1) + QStringLiteral("'") + w.mid(1);
        case 5: return QStringLiteral("`") + w;          // grave accent
        case 6: return w + QString(QChar(0x00E9));       // replaced by the cleaning
        case 7: return QStringLiteral("''") + w;
        case 8: return w + QStringLiteral("s");
        default: return w;
        }
    }

    QStringList makeVocabulary(int size)
    {
        QStringList words;
        while (words.size() < size)
            words.append(decorated(plainWord()));
        return words;
    }

    QString separator()
    {
        static const char16_t *const seps[] = {
            u" ", u" ", u" ", u" ", u" ", u"  ", u", ", u". ", u"\r\n", u"-\r\n", u" - ", u"\t",
            u" '", u"' ", u"\"", u"!", u"-", u" `", u"\r\n'", u"'\r\n", u"\x2019 ", u"\xAB", u"...",
            u" ' ", u"\r\n\r\n", u"''"};
        return QString::fromUtf16(seps[pick(0, std::size(seps) - 1)]);
    }

    std::mt19937 rng_;
};

} // namespace wordloom::testing
