#pragma once
// Text encodings of Firebird character sets, so text travels in each column's own character set.
#include <QByteArray>
#include <QString>

namespace Charset {

// Firebird character set ids the data layer handles itself; the others go through Qt's converters.
enum Id : int {
    None = 0,
    Octets = 1,
    Ascii = 2,
    UnicodeFss = 3,
    Utf8 = 4,
    Iso8859_1 = 21,
    Win1252 = 53,
};

// Id of a character set name as Firebird spells it ("UTF8", "WIN1250", "DOS850", ...); None when unknown.
int IdFromName(const QString& name);
// Firebird's name of the character set id ("CHARSET n" for an id Firebird does not define).
QString Name(int id);

// Bytes one character may take in the character set (declared sizes are reported in characters).
int BytesPerChar(int id);

// Raises EDatabaseError when text in the character set cannot be converted (no converter for it).
void CheckConverter(int id);

// Decodes bytes stored in character set `id`. NONE is read as the ANSI code page (Windows-1252),
// the encoding the suite's programs write when a column has no character set of its own.
// A character set without a converter raises EDatabaseError.
QString Decode(const char* data, qsizetype size, int id);
inline QString Decode(const QByteArray& bytes, int id) { return Decode(bytes.constData(), bytes.size(), id); }
QByteArray Encode(const QString& text, int id);

// Windows-1252, the ANSI code page of the suite's machines.
QString FromWindows1252(const char* data, qsizetype size);
inline QString FromWindows1252(const QByteArray& bytes) { return FromWindows1252(bytes.constData(), bytes.size()); }
QByteArray ToWindows1252(const QString& text);

}  // namespace Charset
