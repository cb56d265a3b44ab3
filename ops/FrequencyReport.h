#pragma once

#include "CommandHost.h"
#include "FrequencyTable.h"

#include <QString>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace wordloom::ops {

// The user's thousands separator ("," in the C locale).
QString systemGroupSeparator();

// A count with the pattern "###,###": decimal digits grouped by threes from
// the right with separator between groups; 0 renders as "".
QString formatCount(std::int64_t count, QStringView separator);

// What differs between Word Count and Phrase Count in their last two phases.
struct ReportStyle {
    QString sizingStatus;     // posted before measuring the column
    QString formattingStatus; // posted before building the text
    qsizetype minimumTextWidth = 0;
    // The result may take this much memory; beyond it CommandError(tooLargeMessage).
    std::size_t resultBudgetBytes = std::size_t(1) << 30;
    std::string tooLargeMessage;
};

// Posts the sizing text, measures the text column, posts the formatting text
// and builds one line per row: the text padded to the column width (longest
// text + 2) and the rendered count, each ending in CR LF, into the result
// pane; or, for a host that accepts tables, hands it the rows themselves after
// the same cancel tests. Tests Cancel after every row of both loops; Cancelled
// (posted) when a test found the request. The size of the text is known before it is
// built, so the check against the budget comes first.
Outcome reportFrequencyTable(const FrequencyTable &table, CommandHost &host, const ReportStyle &style,
                             QStringView separator);

// The lines of reportFrequencyTable's padded text with its text column `width` wide (by
// default the longest text + 2) as UTF-8, each ending in lineEnd, handed to
// write about a megabyte at a time, so that the padded text is never held
// whole. A lone surrogate becomes "?". No status posts and no cancel tests:
// for hosts that write the table themselves.
void writeFrequencyTableUtf8(const FrequencyTable &table, QStringView separator, std::string_view lineEnd,
                             const std::function<void(std::string_view)> &write, qsizetype width = -1);

} // namespace wordloom::ops
