#pragma once

#include <QString>

namespace wordloom {

// QString::toLower and QString::toUpper, with plain loops for the common
// all-ASCII text (Qt's general mapping costs several times as much there).
// Every unit that is not converted stays, unpaired surrogates included
// (where Qt alone would write U+FFFD).
QString lowerCase(QString text);
QString upperCase(QString text);

} // namespace wordloom
