#include "UniqueLines.h"

#include "CrLfScan.h"
#include "TextViews.h"
#include "BinaryOrder.h"
#include "SideBySide.h"

#include <numeric>
#include <optional>
#include <vector>

namespace wordloom::ops {

namespace {
// The kept lines of a part of the text, as stretches of neighbouring kept
// lines with their breaks (most lines of a sorted text are kept, and a view
// per line would cost more than the text), and how many lines it has.
struct KeptPart {
    std::vector<QStringView> stretches;
    qsizetype lines = 0;
};

// lastKept: the last kept line before the part.
KeptPart keptLinesOf(QStringView part, QStringView lastKept)
{
    KeptPart kept;
    bool previousKept = false;
    crlf::forEachCrLfPiece(part, [&](QStringView line) {
        const bool keep = !line.isEmpty() && codeUnits(line) != codeUnits(lastKept);
        if (keep) {
            if (previousKept)
                kept.stretches.back() = QStringView(kept.stretches.back().data(), line.data() + line.size());
            else
                kept.stretches.push_back(line);
            lastKept = line;
        }
        previousKept = keep;
        ++kept.lines;
        return true;
    });
    return kept;
}

// Where a large text splits into two parts at a CR LF near its middle, each
// part at least a line: the CR's position; nothing for a small text.
std::optional<qsizetype> middleBreak(QStringView text)
{
    if (text.size() < kUnitsWorthASecondCore)
        return std::nullopt;
    const qsizetype at = text.indexOf(kCrLf, text.size() / 2);
    if (at <= 0 || at + kCrLf.size() >= text.size())
        return std::nullopt;
    return at;
}

// The last non-empty line of the text: the last kept line at its end.
QStringView lastNonEmptyLine(QStringView text)
{
    while (!text.isEmpty()) {
        const qsizetype cr = text.lastIndexOf(kCrLf);
        const QStringView line = cr < 0 ? text : text.sliced(cr + kCrLf.size());
        if (!line.isEmpty())
            return line;
        text = cr < 0 ? QStringView() : text.first(cr);
    }
    return {};
}
} // namespace

Outcome keepUniqueSortedLines(const QString &sortedText, CommandHost &host, QString &unique)
{
    host.showStatus(QStringLiteral("Splitting..."));
    const QStringView text(sortedText);
    KeptPart kept;
    if (const std::optional<qsizetype> at = middleBreak(text)) {
        // The halves are read at once; the second knows the first's last kept
        // line, which in any text is its last non-empty one.
        const QStringView first = text.first(*at), second = text.sliced(*at + kCrLf.size());
        KeptPart later;
        runSideBySide([&] { kept = keptLinesOf(first, {}); },
                      [&] { later = keptLinesOf(second, lastNonEmptyLine(first)); });
        // A stretch that runs across the break is one stretch.
        if (!kept.stretches.empty() && !later.stretches.empty() && kept.stretches.back().end() == first.end()
            && later.stretches.front().data() == second.data()) {
            kept.stretches.back() = QStringView(kept.stretches.back().data(), later.stretches.front().end());
            later.stretches.erase(later.stretches.begin());
        }
        kept.stretches.insert(kept.stretches.end(), later.stretches.begin(), later.stretches.end());
        kept.lines += later.lines;
    } else {
        kept = keptLinesOf(text, {});
    }
    // The cancel test after every line; the lines were read without events,
    // so none of them could have seen a request the tests do not.
    for (qsizetype line = 0; line < kept.lines; ++line) {
        if (host.cancelRequested())
            return Outcome::Cancelled;
    }
    host.stayResponsive(); // between reading the lines and joining them
    std::vector<std::uint32_t> order(kept.stretches.size());
    std::iota(order.begin(), order.end(), 0u);
    unique = joinInOrder(kept.stretches, order, kCrLf);
    return Outcome::Ready;
}

} // namespace wordloom::ops
