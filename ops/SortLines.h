#pragma once

#include "lib/CommandHost.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace wordloom::ops {

// Sort Lines after BeginOperation: cancel test, "Detabbing..." (work pane:
// the detabbed text), cancel test, "Splitting...", cancel test, leading spaces
// removed, "Sorting...", cancel test, "Formatting..." (result: the lines in
// ascending binary order joined with CR LF), cancel test, "Ready". A cancel
// test that finds the request posts "Cancelled" and ends the command.
Outcome sortLines(CommandHost &host);

// The lines of a run of Sort Lines, before they are joined: views into
// `text`, and the order they go in.
struct SortedLines {
    QString text;
    std::vector<QStringView> lines;
    std::vector<std::uint32_t> order;
};

// Sort Lines through "Sorting..." and the cancel test after it (the steps
// up to the join); nothing when a cancel test found the request, after
// posting "Cancelled".
std::optional<SortedLines> sortLinesUpToJoin(CommandHost &host);

} // namespace wordloom::ops
