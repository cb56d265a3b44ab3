#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

namespace wordloom {

// The text of an INI settings file as sections of keys, kept in file order so
// that rewriting it changes only the keys set. Values are held as they are
// written in the file; value() and setValue() translate them.
class IniText {
public:
    static IniText parse(const QByteArray &bytes);
    QByteArray serialize() const;

    void setValue(const QString &section, const QString &key, const QString &value);
    // Every key of the section that holds a single text, with that text; a
    // list or a typed value (such as @ByteArray(...)) counts as missing.
    QMap<QString, QString> values(const QString &section) const;

private:
    struct Entry {
        QString key;
        QString raw;
    };
    struct Section {
        QString name;
        QList<Entry> entries;
    };
    Section *find(const QString &section);
    const Section *find(const QString &section) const;

    QList<Section> sections_;
};

} // namespace wordloom
