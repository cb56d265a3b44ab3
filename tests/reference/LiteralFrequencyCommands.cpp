#include "LiteralFrequency.h"
#include "Literal.h"

namespace wordloom::reference {

namespace {
QString trimSpaces(QString t)
{
    while (t.startsWith(u' '))
        t.remove(0, 1);
    while (t.endsWith(u' '))
        t.chop(1);
    return t;
}

qsizetype wordsIn(const QString &p)
{
    return p.isEmpty() ? 0 : p.count(u' ') + 1;
}

QString firstWord(const QString &p)
{
    const qsizetype b = p.indexOf(u' ');
    return b < 0 ? p : p.left(b);
}

QString withoutFirstWord(const QString &p)
{
    const qsizetype b = p.indexOf(u' ');
    return b < 0 ? QString() : p.mid(b + 1);
}

Outcome cancelExit(CommandHost &host)
{
    host.showStatus(QStringLiteral("Cancelled"));
    return Outcome::Cancelled;
}

// Steps "Sizing" to the result of both handlers.
std::optional<QString> formatRows(const FrequencyTable &table, CommandHost &host, const QString &sizing,
                                  const QString &formatting, qsizetype m, const QString &separator)
{
    host.showStatus(sizing);
    for (const auto &row : table) {
        if (row.text.size() > m)
            m = row.text.size();
        if (host.cancelRequested())
            return std::nullopt;
    }
    host.showStatus(formatting);
    QString result;
    for (const auto &row : table) {
        result = result + PadToWidth(row.text, m + 2) + RenderCount(row.count, separator) + QStringLiteral("\r\n");
        if (host.cancelRequested())
            return std::nullopt;
    }
    return result;
}
} // namespace

FrequencyTable BuildWordFrequency(const QString &text, CommandHost &host)
{
    const QString t = trimSpaces(KeepWordCharacters(text)) + QStringLiteral(" ");
    QStringList words;
    std::vector<std::int64_t> counts;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype space = t.indexOf(u' ', pos);
        if (space < 0)
            break;
        const QString word = t.mid(pos, space - pos);
        pos = space + 1;
        const qsizetype i = words.isEmpty() ? -1 : FindInArray(words, word);
        if (i >= 0) {
            ++counts[size_t(i)];
        } else {
            words.append(word);
            counts.push_back(1);
            host.showStatus(QStringLiteral("Words: ") + QString::number(words.size() - 1));
        }
    }
    FrequencyTable table;
    for (qsizetype i = 0; i < words.size(); ++i)
        table.push_back({words[i], counts[size_t(i)]});
    host.showStatus(QStringLiteral("Ready"));
    return table;
}

Outcome wordCount(CommandHost &host, const QString &separator)
{
    FrequencyTable table = BuildWordFrequency(host.inputText(), host);
    if (host.cancelRequested())
        return cancelExit(host);
    host.showStatus(QStringLiteral("Sorting"));
    SortA2ThenA1(table, host);
    if (host.cancelRequested())
        return cancelExit(host);
    const auto result = formatRows(table, host, QStringLiteral("Sizing"),
                                   QStringLiteral("Formatting results"), 1, separator);
    if (!result)
        return cancelExit(host);
    host.setResultText(*result);
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

namespace {
// The walk of BuildPhraseFrequency; nothing when Cancel was found at a post.
std::optional<std::pair<QStringList, std::vector<std::int64_t>>> walk(const QString &t, CommandHost &host)
{
    QStringList phrases;
    std::vector<std::int64_t> counts;
    QString p, b;
    std::int64_t c = 0, j = 0, s = 0;
    NextWord(t);
    for (;;) {
        if (c >= 2) {
            phrases.append(p);
            counts.push_back(c);
        }
        if (c >= 2 || c == -1) { // EXTEND
            QString w;
            if (!b.isEmpty()) {
                w = firstWord(b);
                b = withoutFirstWord(b);
            } else {
                w = NextWord(QString());
                ++j;
                s = NextWordPosition() - w.size() - p.size() - 2;
                if (w.isEmpty())
                    break;
            }
            p = p + QStringLiteral(" ") + w;
        } else { // RESTART
            if (!p.isEmpty())
                p = withoutFirstWord(p);
            b = p;
            p = QString();
            while (!b.isEmpty() && wordsIn(p) < 2) {
                p = p.isEmpty() ? firstWord(b) : p + QStringLiteral(" ") + firstWord(b);
                b = withoutFirstWord(b);
            }
            while (wordsIn(p) < 2) {
                const QString w = NextWord(QString());
                ++j;
                if (w.isEmpty()) {
                    p = QString();
                    break;
                }
                p = p.isEmpty() ? w : p + QStringLiteral(" ") + w;
                s = NextWordPosition() - p.size() - 1;
            }
        }
        // COUNT
        host.showStatus(QStringLiteral("Analyzing word ") + QString::number(j));
        if (host.cancelRequested())
            return std::nullopt;
        if (p.isEmpty())
            break;
        if (FindInArray(phrases, p) >= 0)
            c = -1;
        else
            c = CountOccurrences(t, QStringLiteral(" ") + p + QStringLiteral(" "), s);
    }
    return std::pair(phrases, counts);
}

bool post(CommandHost &host, const QString &text)
{
    host.showStatus(text);
    return !host.cancelRequested();
}
} // namespace

std::optional<FrequencyTable> BuildPhraseFrequency(const QString &text, CommandHost &host)
{
    if (!post(host, QStringLiteral("Cleaning...")))
        return std::nullopt;
    QString t = text;
    t.replace(QStringLiteral(" `"), QStringLiteral(" "));
    t.replace(QStringLiteral(" '"), QStringLiteral(" "));
    t.replace(QStringLiteral("' "), QStringLiteral(" "));
    t = QStringLiteral(" ") + KeepWordCharacters(t);
    if (!t.endsWith(u' '))
        t += QStringLiteral(" ");
    auto record = walk(t, host);
    if (!record)
        return std::nullopt;
    auto &[phrases, counts] = *record;
    if (phrases.isEmpty()) {
        host.showStatus(QStringLiteral("Ready"));
        return FrequencyTable{};
    }
    if (!post(host, QStringLiteral("Sorting...")))
        return std::nullopt;
    const qsizetype n = phrases.size() - 1;
    for (qsizetype i = 0; i <= n; ++i)
        phrases[i] = phrases[i] + QStringLiteral(" - ") + QString::number(counts[size_t(i)]);
    SortStringArray(phrases);
    std::vector<qsizetype> lengths(size_t(n + 1));
    for (qsizetype i = 0; i <= n; ++i) {
        const qsizetype at = phrases[i].indexOf(QStringLiteral(" - "));
        counts[size_t(i)] = phrases[i].mid(at + 3).toLongLong();
        phrases[i] = phrases[i].left(at);
        lengths[size_t(i)] = phrases[i].size();
    }
    FrequencyTable kept;
    for (qsizetype l = 0; l <= n; ++l) {
        if (!post(host, QStringLiteral("Pruning ") + QString::number(n - l + 1) + QStringLiteral(" of ")
                            + QString::number(n + 1)))
            return std::nullopt;
        bool dropped = false;
        for (qsizetype j = l + 1; j <= n && !dropped; ++j)
            dropped = lengths[size_t(j)] > lengths[size_t(l)] && counts[size_t(j)] == counts[size_t(l)]
                && phrases[j].left(lengths[size_t(l)]) == phrases[l];
        if (!dropped)
            kept.push_back({phrases[l], counts[size_t(l)]});
    }
    if (!post(host, QStringLiteral("Exporting...")))
        return std::nullopt;
    host.showStatus(QStringLiteral("Ready"));
    return kept;
}

Outcome phraseCount(CommandHost &host, const QString &separator)
{
    host.showStatus(QStringLiteral("Dehyphenating..."));
    QString work = lowerCaseText(host.inputText());
    work.replace(QStringLiteral("-\r\n"), QString());
    host.setWorkText(work);
    if (host.cancelRequested())
        return cancelExit(host);
    host.processEvents();
    auto table = BuildPhraseFrequency(work, host);
    if (!table || host.cancelRequested())
        return cancelExit(host);
    host.processEvents();
    if (table->empty()) {
        host.setResultText(QString());
        host.showStatus(QStringLiteral("Ready"));
        return Outcome::Ready;
    }
    host.showStatus(QStringLiteral("Sorting..."));
    SortA2ThenA1(*table, host);
    if (host.cancelRequested())
        return cancelExit(host);
    const auto result = formatRows(*table, host, QStringLiteral("Sizing..."), QStringLiteral("Formatting..."),
                                   0, separator);
    if (!result)
        return cancelExit(host);
    host.setResultText(*result);
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

} // namespace wordloom::reference
