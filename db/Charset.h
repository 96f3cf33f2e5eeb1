#pragma once
// Text encodings of Firebird character sets, so text travels in each column's own character set.
#include <QByteArray>
#include <QString>

namespace Charset {

// Firebird character set ids the data layer knows by name.
enum Id : int {
    None = 0,
    Octets = 1,
    Ascii = 2,
    UnicodeFss = 3,
    Utf8 = 4,
    Iso8859_1 = 21,
    Win1252 = 53,
};

// Id of a character set name as Firebird spells it ("UTF8", "WIN1252", ...); None when unknown.
int IdFromName(const QString& name);

// Bytes one character may take in the character set (declared sizes are reported in characters).
int BytesPerChar(int id);

// Decodes bytes stored in character set `id`. NONE is read as the ANSI code page (Windows-1252),
// the encoding the suite's programs write when a column has no character set of its own.
QString Decode(const QByteArray& bytes, int id);
QByteArray Encode(const QString& text, int id);

// Windows-1252, the ANSI code page of the suite's machines.
QString FromWindows1252(const QByteArray& bytes);
QByteArray ToWindows1252(const QString& text);

}  // namespace Charset
