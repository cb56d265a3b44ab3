#pragma once

#include <QString>
#include <QStringList>

#include <random>

namespace wordloom::testing {

// Deterministic random texts built from the pieces that trip text commands
// up: tabs, lone CR and LF, CR LF, runs of spaces, empty lines, hyphen line
// breaks, digits, punctuation, accented letters, characters outside code
// page 1252, surrogate pairs, lone surrogates, NUL and the top of the BMP.
class TextGenerator {
public:
    explicit TextGenerator(unsigned seed) : random_(seed) {}

    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }

    QString piece()
    {
        static const QStringList pieces = {
            "\t", "\r", "\n", "\r\n", "\r\n", "\r\n\r\n", " ", "  ", "     ", "-\r\n",
            "- \r\n", "--\r\n\r\n", "0", "42", ".", ",", "'", "!", "-", "\u00E9", "\u00C4",
            "caf\u00E9", "\u20AC", "\u2026", "\u03A9", "\u4E2D", "\u015D", "\u00A0",
            QString::fromUtf16(u"\U0001F600"), QString(QChar(0xD800)), QString(QChar(0xDC00)),
            QString(QChar(0xE000)), QString(QChar(0xFFFF)), QString(QChar(0)), "\x7F"};
        static const QStringList words = {"a", "b", "A", "B", "the", "The", "cat", "Cat", "cats",
                                          "apple", "Zebra", "x", "xy", "abcdefghij",
                                          "abcdefghik", "abcdefg", "abcdefgh"};
        return below(3) == 0 ? pieces[below(int(pieces.size()))] : words[below(int(words.size()))];
    }

    // A mixed text of up to `maxPieces` pieces.
    QString text(int maxPieces)
    {
        QString t;
        const int n = below(maxPieces + 1);
        for (int i = 0; i < n; ++i)
            t += piece();
        return t;
    }

    // Short strings over a small alphabet, so that equal strings, prefixes and
    // long shared beginnings are common.
    QString sortable(int maxLength)
    {
        static const char16_t alphabet[] = {u'a', u'b', u'A', u' ', u'0', 0, 0xD800,
                                            0xDC00, 0xE000, 0xFFFF, u'\u00E9'};
        QString s = below(4) == 0 ? QStringLiteral("abcdefghijklmnop").left(below(17)) : QString();
        const int n = below(maxLength + 1);
        for (int i = 0; i < n; ++i)
            s += QChar(alphabet[below(int(std::size(alphabet)))]);
        return s;
    }

private:
    std::mt19937 random_;
};

} // namespace wordloom::testing
