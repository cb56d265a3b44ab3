#pragma once

// Plain, slow transcriptions of the commands' steps, kept only to check the
// real implementation against: exchange sort with repeated full passes,
// FilterText with its growing buffer, the packing passes, the kept-lines loop.

#include "CommandHost.h"

#include <QString>
#include <QStringList>

namespace wordloom::reference {

// LCase and UCase a character at a time, a character being a surrogate pair or
// a single unit: an unpaired surrogate is no character and stays as it is.
QString lowerCaseText(const QString &text);
QString upperCaseText(const QString &text);

QString filterText(const QString &text, const QString &replacement, bool lettersOnly);
QString byteToBinary(int code);
QString textToBinaryCodes(const QString &text);
void sortStringArray(QStringList &list);

// Split at a separator: every piece kept, and the empty text gives none.
QStringList splitKeepingEmpty(const QString &text, const QString &separator);
QString joinWith(const QStringList &items, const QString &separator);

// The handlers' steps after BeginOperation.
void changeCase(CommandHost &host);
void charactersOnly(CommandHost &host);
void lettersOnly(CommandHost &host);
void binaryCodes(CommandHost &host);
Outcome sortLines(CommandHost &host);
Outcome sortWords(CommandHost &host);

// Unique Lines' steps 8 to 10 on the result pane's text; false when a cancel
// test found the request.
bool keptLines(const QString &resultText, CommandHost &host, QStringList &kept);

// The function forms, from text to text.
QString sortLinesText(const QString &input);
QString sortWordsText(const QString &input);
QString uniqueLinesText(const QString &input);
QString uniqueWordsText(const QString &input);

} // namespace wordloom::reference
