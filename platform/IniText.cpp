#include "IniText.h"

#include <optional>

namespace wordloom {

namespace {

bool isHexDigit(QChar c)
{
    return c.isDigit() || (c.toLower() >= QLatin1Char('a') && c.toLower() <= QLatin1Char('f'));
}

QChar escapedChar(QChar c)
{
    switch (c.unicode()) {
    case 'n': return QLatin1Char('\n');
    case 'r': return QLatin1Char('\r');
    case 't': return QLatin1Char('\t');
    case 'a': return QLatin1Char('\a');
    case 'b': return QLatin1Char('\b');
    case 'f': return QLatin1Char('\f');
    case 'v': return QLatin1Char('\v');
    default: return c; // \\, \", \' and the rest stand for themselves
    }
}

// The text a value stands for, read as the INI files of Qt's settings are
// written: quotes protect, backslashes escape, an unquoted comma makes a list.
std::optional<QString> decode(const QString &raw)
{
    QString text;
    bool quoted = false;
    for (qsizetype i = 0; i < raw.size(); ++i) {
        const QChar c = raw.at(i);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char('\\') && i + 1 < raw.size()) {
            const QChar next = raw.at(++i);
            if (next == QLatin1Char('x')) {
                uint code = 0;
                while (i + 1 < raw.size() && isHexDigit(raw.at(i + 1)))
                    code = code * 16 + uint(QString(raw.at(++i)).toUInt(nullptr, 16));
                text += QChar(char16_t(code));
            } else {
                text += escapedChar(next);
            }
        } else if (c == QLatin1Char(',') && !quoted) {
            return std::nullopt;
        } else {
            text += c;
        }
    }
    if (!text.startsWith(QLatin1Char('@')))
        return text;
    if (text.startsWith(QLatin1String("@@")))
        return text.mid(1);
    if (text.startsWith(QLatin1String("@String(")) && text.endsWith(QLatin1Char(')')))
        return text.mid(8, text.size() - 9);
    return std::nullopt; // a typed value, not a text
}

bool isPlain(const QString &value)
{
    if (value.isEmpty())
        return true;
    if (value.front().isSpace() || value.back().isSpace() || value.front() == QLatin1Char('@'))
        return false;
    for (const QChar c : value)
        if (!c.isLetterOrNumber() && !QStringLiteral(" .+-_:/()").contains(c))
            return false;
    return true;
}

QString encode(const QString &value)
{
    if (isPlain(value))
        return value;
    QString raw = QStringLiteral("\"");
    if (value.startsWith(QLatin1Char('@')))
        raw += QLatin1Char('@');
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char('"')) {
            raw += QLatin1Char('\\') + QString(c);
        } else if (c == QLatin1Char('\n')) {
            raw += QLatin1String("\\n");
        } else if (c == QLatin1Char('\r')) {
            raw += QLatin1String("\\r");
        } else if (c == QLatin1Char('\t')) {
            raw += QLatin1String("\\t");
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
            raw += QStringLiteral("\\x%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            // A hex digit right after would join the code: close and reopen the quotes.
            if (i + 1 < value.size() && isHexDigit(value.at(i + 1)))
                raw += QLatin1String("\"\"");
        } else {
            raw += c;
        }
    }
    return raw + QLatin1Char('"');
}

// The value part of a line, up to a comment that is not inside quotes.
QString valuePart(const QString &line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        if (line.at(i) == QLatin1Char('"'))
            quoted = !quoted;
        else if (line.at(i) == QLatin1Char('\\'))
            ++i;
        else if (line.at(i) == QLatin1Char(';') && !quoted)
            return line.left(i).trimmed();
    }
    return line.trimmed();
}

} // namespace

IniText IniText::parse(const QByteArray &bytes)
{
    IniText ini;
    Section *current = nullptr;
    for (const QString &rawLine : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            current = ini.find(name);
            if (!current)
                current = &ini.sections_.emplaceBack(Section{name, {}});
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        if (!current)
            current = &ini.sections_.emplaceBack(Section{QStringLiteral("General"), {}});
        current->entries.append({line.left(equals).trimmed(), valuePart(line.mid(equals + 1))});
    }
    return ini;
}

QByteArray IniText::serialize() const
{
    QString text;
    for (const Section &section : sections_) {
        if (!text.isEmpty())
            text += QLatin1Char('\n');
        text += QLatin1Char('[') + section.name + QLatin1String("]\n");
        for (const Entry &entry : section.entries)
            text += entry.key + QLatin1Char('=') + entry.raw + QLatin1Char('\n');
    }
    return text.toUtf8();
}

QMap<QString, QString> IniText::values(const QString &section) const
{
    QMap<QString, QString> values;
    if (const Section *s = find(section))
        for (const Entry &entry : s->entries)
            if (const auto text = decode(entry.raw); text && !values.contains(entry.key))
                values.insert(entry.key, *text);
    return values;
}

void IniText::setValue(const QString &section, const QString &key, const QString &value)
{
    Section *s = find(section);
    if (!s)
        s = &sections_.emplaceBack(Section{section, {}});
    for (Entry &entry : s->entries) {
        if (entry.key == key) {
            entry.raw = encode(value);
            return;
        }
    }
    s->entries.append({key, encode(value)});
}

IniText::Section *IniText::find(const QString &section)
{
    for (Section &s : sections_)
        if (s.name == section)
            return &s;
    return nullptr;
}

const IniText::Section *IniText::find(const QString &section) const
{
    for (const Section &s : sections_)
        if (s.name == section)
            return &s;
    return nullptr;
}

} // namespace wordloom
