#pragma once

#include <QString>

namespace wordloom {

// QString::toLower and QString::toUpper, with plain loops for the common
// all-ASCII text (Qt's general mapping costs several times as much there).
QString lowerCase(QString text);
QString upperCase(QString text);

} // namespace wordloom
