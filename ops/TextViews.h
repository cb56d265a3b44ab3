#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>
#include <vector>

// Lines and words as views into one text, so that splitting, sorting and
// joining copy no string until the result is written.
namespace wordloom::ops {

inline constexpr QStringView kCrLf = u"\r\n";

// The pieces between CR LF pairs, empty ones included; the empty text gives
// none. A lone CR or LF stays inside its piece.
std::vector<QStringView> splitAtCrLf(QStringView text);

// The number of pieces splitAtCrLf gives, without building them.
qsizetype countCrLfPieces(QStringView text);

// items[order[0]], separator, items[order[1]], ... in one allocation; `order`
// is a permutation of the items or a selection of them.
QString joinInOrder(std::span<const QStringView> items, std::span<const std::uint32_t> order,
                    QStringView separator);

// The text with every tab turned into a space; shares the text when it has none.
QString detab(const QString &text);

// Deletes every hyphen line break ("-" CR LF), scanning left to right in one
// pass, as QString::remove would; a text without one is left untouched.
void removeHyphenBreaks(QString &text);

} // namespace wordloom::ops
