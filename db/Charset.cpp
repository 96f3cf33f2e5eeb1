#include "db/Charset.h"

namespace Charset {

namespace {
// Windows-1252 differs from ISO-8859-1 only in 0x80..0x9F; 0 marks the five unassigned codes.
const char16_t kHigh1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
}  // namespace

int IdFromName(const QString& name) {
    const QString n = name.trimmed().toUpper();
    if (n == "UTF8") return Utf8;
    if (n == "UNICODE_FSS") return UnicodeFss;
    if (n == "WIN1252") return Win1252;
    if (n == "ISO8859_1") return Iso8859_1;
    if (n == "ASCII") return Ascii;
    if (n == "OCTETS" || n == "BINARY") return Octets;
    return None;
}

int BytesPerChar(int id) {
    switch (id & 0xFF) {
    case Utf8: return 4;
    case UnicodeFss: return 3;
    default: return 1;
    }
}

QString FromWindows1252(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        const char16_t mapped = (b >= 0x80 && b <= 0x9F) ? kHigh1252[b - 0x80] : 0;
        out.append(QChar(mapped ? mapped : char16_t(b)));
    }
    return out;
}

QByteArray ToWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar qc : text) {
        const char16_t c = qc.unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.append(char(c));
            continue;
        }
        char code = '?';
        for (int i = 0; i < 32; ++i)
            if (kHigh1252[i] == c && c != 0) code = char(0x80 + i);
        out.append(code);
    }
    return out;
}

QString Decode(const QByteArray& bytes, int id) {
    switch (id & 0xFF) {
    case Utf8:
    case UnicodeFss: return QString::fromUtf8(bytes);
    case Iso8859_1: return QString::fromLatin1(bytes);
    case Ascii: return QString::fromLatin1(bytes);
    default: return FromWindows1252(bytes);
    }
}

QByteArray Encode(const QString& text, int id) {
    switch (id & 0xFF) {
    case Utf8:
    case UnicodeFss: return text.toUtf8();
    case Iso8859_1:
    case Ascii: return text.toLatin1();
    default: return ToWindows1252(text);
    }
}

}  // namespace Charset
