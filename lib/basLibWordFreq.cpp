#include "basLibWordFreq.h"

#include "basLibString.h"

#include <QHash>
#include <QStringView>

namespace basLibWordFreq {

namespace {
QStringView trimSpaces(QStringView text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.sliced(begin, end - begin);
}
} // namespace

wordloom::FrequencyTable BuildWordFrequency(const QString &text, wordloom::CommandHost &host)
{
    const QString cleaned = basLibString::KeepWordCharacters(text);
    const QString words = trimSpaces(cleaned).toString() + u' ';

    wordloom::FrequencyTable table;
    // Maps a word to its row, which is where a linear search of the distinct
    // words would find it: they are stored once each, in order of first sight.
    QHash<QStringView, qsizetype> rowOf;
    const QStringView all(words);
    qsizetype from = 0;
    for (qsizetype space; (space = all.indexOf(u' ', from)) >= 0; from = space + 1) {
        const QStringView word = all.sliced(from, space - from);
        const auto found = rowOf.constFind(word);
        if (found != rowOf.cend()) {
            ++table[size_t(*found)].count;
            continue;
        }
        const qsizetype row = qsizetype(table.size());
        rowOf.insert(word, row);
        table.push_back({word.toString(), 1});
        host.showStatus(QStringLiteral("Words: ") + QString::number(row));
    }
    host.showStatus(QStringLiteral("Ready"));
    return table;
}

} // namespace basLibWordFreq
