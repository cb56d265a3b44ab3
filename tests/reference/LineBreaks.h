#pragma once

#include <QString>

namespace wordloom::reference {

// Every LF, and every CR LF, becomes CR LF: what pasting into the input pane gives.
QString toCrLf(const QString &text);
// Every CR LF becomes LF; lone CR and lone LF stay.
QString crLfToLf(QStringView text);

} // namespace wordloom::reference
