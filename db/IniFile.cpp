#include "db/IniFile.h"

#include "db/Charset.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// INI files of the suite are written in the ANSI code page; UTF-8 files (with or without BOM) are read as such.
QString DecodeIni(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError()) return text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text;
    return Charset::FromWindows1252(bytes);
}

QString Unquoted(const QString& v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) return v.mid(1, v.size() - 2);
    return v;
}

}  // namespace

TIniFile::TIniFile(const QString& fileName) {
    QFile f(fileName);
    if (f.open(QIODevice::ReadOnly)) Leggi(f.readAll());
}

TIniFile TIniFile::DaContenuto(const QByteArray& bytes) {
    TIniFile ini;
    ini.Leggi(bytes);
    return ini;
}

void TIniFile::Leggi(const QByteArray& bytes) {
    FExists = true;
    const QStringList lines = DecodeIni(bytes).split('\n');
    TSection* current = nullptr;
    for (QString line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(';')) continue;
        if (line.startsWith('[')) {
            const int close = line.indexOf(']');
            FSections.append(TSection{line.mid(1, close < 0 ? -1 : close - 1).trimmed(), {}});
            current = &FSections.last();
            continue;
        }
        if (!current) continue;
        const int eq = line.indexOf('=');
        if (eq < 0) continue;
        current->Entries.append(TEntry{line.left(eq).trimmed(), Unquoted(line.mid(eq + 1).trimmed())});
    }
}

const TIniFile::TSection* TIniFile::Find(const QString& section) const {
    for (const TSection& s : FSections)
        if (s.Name.compare(section, Qt::CaseInsensitive) == 0) return &s;
    return nullptr;
}

bool TIniFile::SectionExists(const QString& section) const { return Find(section) != nullptr; }

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const {
    // a section may appear more than once; Windows reads the first one
    if (const TSection* s = Find(section))
        for (const TEntry& e : s->Entries)
            if (e.Key.compare(key, Qt::CaseInsensitive) == 0) return e.Value;
    return defaultValue;
}

QStringList TIniFile::ReadSectionValues(const QString& section) const {
    QStringList out;
    if (const TSection* s = Find(section))
        for (const TEntry& e : s->Entries) out << e.Key + '=' + e.Value;
    return out;
}
