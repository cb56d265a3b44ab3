#pragma once

// A plain, slow transcription of the word helpers, Word Count, Phrase Count
// and the two-key table sort, step by step on strings. Tests compare the real
// modules with it; nothing else uses it.

#include "FrequencyTable.h"
#include "CommandHost.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace wordloom::reference {

QString KeepWordCharacters(const QString &text);
qsizetype FindInArray(const QStringList &array, const QString &value);
QString NextWord(const QString &text);
std::int64_t NextWordPosition();
std::int64_t CountOccurrences(const QString &text, const QString &pattern, std::int64_t start);
QString PadToWidth(const QString &text, qsizetype width);
QString RenderCount(std::int64_t count, const QString &separator);

// Exchange sorts: the order array of SortStringArray, the row swaps of SortA2ThenA1.
void SortStringArray(QStringList &list);
void SortA2ThenA1(FrequencyTable &table, CommandHost &host);

FrequencyTable BuildWordFrequency(const QString &text, CommandHost &host);
// Nothing when Cancel was found at one of its posts.
std::optional<FrequencyTable> BuildPhraseFrequency(const QString &text, CommandHost &host);

Outcome wordCount(CommandHost &host, const QString &separator);
Outcome phraseCount(CommandHost &host, const QString &separator);

} // namespace wordloom::reference
