#include "TableFormats.h"

namespace wordloom::cli {

namespace {

void appendTsvField(QString &out, QStringView text)
{
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'\\': out += u"\\\\"; break;
        case u'\t': out += u"\\t"; break;
        case u'\r': out += u"\\r"; break;
        case u'\n': out += u"\\n"; break;
        default: out += c;
        }
    }
}

void appendCsvField(QString &out, QStringView text)
{
    const bool quoted = text.contains(u',') || text.contains(u'"') || text.contains(u'\r')
        || text.contains(u'\n');
    if (!quoted) {
        out += text;
        return;
    }
    out += u'"';
    for (const QChar c : text) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

} // namespace

QString formatRows(const FrequencyTable &table, TableFormat format, QStringView lineEnd)
{
    QString out;
    const bool csv = format == TableFormat::Csv;
    if (csv) {
        out += u"text,count";
        out += lineEnd;
    }
    for (const FrequencyRow &row : table) {
        if (csv)
            appendCsvField(out, row.text);
        else
            appendTsvField(out, row.text);
        out += csv ? u',' : u'\t';
        out += QString::number(row.count);
        out += lineEnd;
    }
    return out;
}

} // namespace wordloom::cli
