#include "Literal.h"

#include "RecordingHost.h"

namespace wordloom::reference {

namespace {
const QString kCrLf = QStringLiteral("\r\n");

Outcome cancel(CommandHost &host)
{
    host.showStatus(QStringLiteral("Cancelled"));
    return Outcome::Cancelled;
}
} // namespace

Outcome sortLines(CommandHost &host)
{
    if (host.cancelRequested()) return cancel(host);                      // 2
    host.showStatus(QStringLiteral("Detabbing..."));                      // 3
    QString work = host.inputText();
    work.replace(u'\t', u' ');
    host.setWorkText(work);
    if (host.cancelRequested()) return cancel(host);                      // 4
    host.showStatus(QStringLiteral("Splitting..."));                      // 5
    QStringList lines = splitKeepingEmpty(work, kCrLf);
    if (host.cancelRequested()) return cancel(host);                      // 6
    for (QString &line : lines) {                                         // 7
        while (line.startsWith(u' '))
            line.remove(0, 1);
    }
    host.showStatus(QStringLiteral("Sorting..."));                        // 8
    sortStringArray(lines);
    if (host.cancelRequested()) return cancel(host);                      // 9
    host.showStatus(QStringLiteral("Formatting..."));                     // 10
    host.setResultText(joinWith(lines, kCrLf));
    if (host.cancelRequested()) return cancel(host);                      // 11
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

Outcome sortWords(CommandHost &host)
{
    if (host.cancelRequested()) return cancel(host);                      // 2
    host.showStatus(QStringLiteral("Dehyphenating..."));                  // 3
    QString work = host.inputText();
    work.replace(QStringLiteral("-\r\n"), QString());
    host.setWorkText(work);
    if (host.cancelRequested()) return cancel(host);                      // 4
    host.showStatus(QStringLiteral("Cleaning..."));                       // 5
    work = filterText(work, QStringLiteral(" "), true);
    host.setWorkText(work);
    if (host.cancelRequested()) return cancel(host);                      // 6
    host.showStatus(QStringLiteral("Packing..."));                        // 7
    qsizetype before;
    do {
        if (host.cancelRequested()) return cancel(host);
        before = work.size();
        work.replace(QStringLiteral("  "), QStringLiteral(" "));
        host.setWorkText(work);
    } while (work.size() != before);
    host.showStatus(QStringLiteral("Parsing..."));                        // 8
    QStringList words = splitKeepingEmpty(work, QStringLiteral(" "));
    if (host.cancelRequested()) return cancel(host);                      // 9
    for (QString &word : words) {                                         // 10
        while (word.startsWith(u' ')) word.remove(0, 1);
        while (word.endsWith(u' ')) word.chop(1);
        if (host.cancelRequested()) return cancel(host);
    }
    host.showStatus(QStringLiteral("Sorting..."));                        // 11
    sortStringArray(words);
    if (host.cancelRequested()) return cancel(host);                      // 12
    QString output;                                                       // 13
    host.showStatus(QStringLiteral("Formatting..."));
    for (const QString &word : words) {
        if (!word.isEmpty())
            output += word + kCrLf;
        if (host.cancelRequested()) return cancel(host);
    }
    host.setResultText(output);                                           // 14
    host.showStatus(QStringLiteral("Ready"));
    return Outcome::Ready;
}

bool keptLines(const QString &resultText, CommandHost &host, QStringList &kept)
{
    QString lastKept;                                                     // 8
    kept = QStringList{QString()};
    host.showStatus(QStringLiteral("Splitting..."));                      // 9
    const QStringList lines = splitKeepingEmpty(resultText, kCrLf);
    for (const QString &line : lines) {                                   // 10
        if (line != lastKept && !line.isEmpty()) {
            if (!kept.last().isEmpty())
                kept.append(QString());
            kept.last() = line;
            lastKept = line;
        }
        if (host.cancelRequested()) return false;
    }
    return true;
}

namespace {
QString resultOf(Outcome (*command)(CommandHost &), const QString &input)
{
    testing::RecordingHost host(input);
    command(host);
    return host.result.value_or(QString());
}

QString keptText(const QString &sorted)
{
    testing::RecordingHost host;
    QStringList kept;
    keptLines(sorted, host, kept);
    return joinWith(kept, kCrLf);
}
} // namespace

QString sortLinesText(const QString &input) { return resultOf(sortLines, input); }
QString sortWordsText(const QString &input) { return resultOf(sortWords, input); }
QString uniqueLinesText(const QString &input) { return keptText(sortLinesText(input)); }
QString uniqueWordsText(const QString &input) { return uniqueLinesText(sortWordsText(input)); }

} // namespace wordloom::reference
