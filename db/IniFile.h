#pragma once
// INI files read as Windows reads them: sections and keys compared without regard to case, blanks
// around keys and values trimmed, values otherwise verbatim (a backslash is just a character),
// one matching pair of surrounding quotes removed, lines starting with ";" ignored. When a key
// occurs twice in a section the first occurrence counts. A missing file reads as empty.
#include <QByteArray>
#include <QString>
#include <QStringList>

class TIniFile {
public:
    explicit TIniFile(const QString& fileName);
    // The same reading of a file's bytes already in memory (the file counts as existing).
    static TIniFile DaContenuto(const QByteArray& bytes);

    bool Exists() const { return FExists; }
    bool SectionExists(const QString& section) const;
    QString ReadString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    // Every entry of the section as "KEY=VALUE", in file order.
    QStringList ReadSectionValues(const QString& section) const;

private:
    TIniFile() = default;
    void Leggi(const QByteArray& bytes);
    struct TEntry {
        QString Key;
        QString Value;
    };
    struct TSection {
        QString Name;
        QList<TEntry> Entries;
    };
    const TSection* Find(const QString& section) const;
    bool FExists = false;
    QList<TSection> FSections;
};
