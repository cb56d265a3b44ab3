#pragma once

#include <QString>
#include <QStringList>

// General-purpose text routines shared by several commands.
namespace basLibLibrary {

// Replaces every character outside the kept class by `replacement`:
// letters A-Z, a-z and the space when lettersOnly, else printable ASCII.
QString FilterText(const QString &text, const QString &replacement, bool lettersOnly);

// The first value when it is >= the second, otherwise the second.
template <typename T>
T MaxValue(const T &first, const T &second)
{
    return first >= second ? first : second;
}

} // namespace basLibLibrary
