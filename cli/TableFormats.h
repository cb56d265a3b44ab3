#pragma once

#include "Options.h"
#include "FrequencyTable.h"

#include <QString>

namespace wordloom::cli {

// Rows for a script or a spreadsheet; counts in plain digits, every row
// (the last too) ended by lineEnd.
// Tsv: text TAB count; a backslash, tab, CR or LF inside the text is written
// as \\, \t, \r or \n so a row is always one line of two fields.
// Csv (RFC 4180): the header "text,count", then one record per row; a text
// with a comma, a double quote, CR or LF is quoted, its quotes doubled.
QString formatRows(const FrequencyTable &table, TableFormat format, QStringView lineEnd);

} // namespace wordloom::cli
