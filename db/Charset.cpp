#include "db/Charset.h"

#include "db/Errore.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <map>
#include <memory>

namespace Charset {

namespace {

// Windows-1252 differs from ISO-8859-1 only in 0x80..0x9F; 0 marks the five unassigned codes.
const char16_t kHigh1252[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

struct TSet {
    int Id;
    const char* Name;        // as Firebird spells it
    int BytesPerChar;
    const char* Converter;   // name of Qt's (ICU's) converter; nullptr when there is none
};

// Firebird 3's character sets (RDB$CHARACTER_SETS). Those handled here need no converter name.
constexpr TSet kSets[] = {
    {None, "NONE", 1, nullptr},          {Octets, "OCTETS", 1, nullptr},
    {Ascii, "ASCII", 1, nullptr},        {UnicodeFss, "UNICODE_FSS", 3, nullptr},
    {Utf8, "UTF8", 4, nullptr},          {5, "SJIS_0208", 2, "Shift_JIS"},
    {6, "EUCJ_0208", 2, "EUC-JP"},       {9, "DOS737", 1, "IBM737"},
    {10, "DOS437", 1, "IBM437"},         {11, "DOS850", 1, "IBM850"},
    {12, "DOS865", 1, "IBM865"},         {13, "DOS860", 1, "IBM860"},
    {14, "DOS863", 1, "IBM863"},         {15, "DOS775", 1, "IBM775"},
    {16, "DOS858", 1, "IBM858"},         {17, "DOS862", 1, "IBM862"},
    {18, "DOS864", 1, "IBM864"},         {19, "NEXT", 1, nullptr},
    {Iso8859_1, "ISO8859_1", 1, nullptr}, {22, "ISO8859_2", 1, "ISO-8859-2"},
    {23, "ISO8859_3", 1, "ISO-8859-3"},  {34, "ISO8859_4", 1, "ISO-8859-4"},
    {35, "ISO8859_5", 1, "ISO-8859-5"},  {36, "ISO8859_6", 1, "ISO-8859-6"},
    {37, "ISO8859_7", 1, "ISO-8859-7"},  {38, "ISO8859_8", 1, "ISO-8859-8"},
    {39, "ISO8859_9", 1, "ISO-8859-9"},  {40, "ISO8859_13", 1, "ISO-8859-13"},
    {44, "KSC_5601", 2, "EUC-KR"},       {45, "DOS852", 1, "IBM852"},
    {46, "DOS857", 1, "IBM857"},         {47, "DOS861", 1, "IBM861"},
    {48, "DOS866", 1, "IBM866"},         {49, "DOS869", 1, "IBM869"},
    {50, "CYRL", 1, nullptr},            {51, "WIN1250", 1, "windows-1250"},
    {52, "WIN1251", 1, "windows-1251"},  {Win1252, "WIN1252", 1, nullptr},
    {54, "WIN1253", 1, "windows-1253"},  {55, "WIN1254", 1, "windows-1254"},
    {56, "BIG_5", 2, "Big5"},            {57, "GB_2312", 2, "GB2312"},
    {58, "WIN1255", 1, "windows-1255"},  {59, "WIN1256", 1, "windows-1256"},
    {60, "WIN1257", 1, "windows-1257"},  {63, "KOI8R", 1, "KOI8-R"},
    {64, "KOI8U", 1, "KOI8-U"},          {65, "WIN1258", 1, "windows-1258"},
    {66, "TIS620", 1, "TIS-620"},        {67, "GBK", 2, "GBK"},
    {68, "CP943C", 2, "ibm-943_P15A-2003"}, {69, "GB18030", 4, "GB18030"},
};

const TSet* Find(int id) {
    for (const TSet& s : kSets)
        if (s.Id == (id & 0xFF)) return &s;
    return nullptr;
}

bool HandledHere(int id) {
    switch (id & 0xFF) {
    case None:
    case Octets:
    case Ascii:
    case UnicodeFss:
    case Utf8:
    case Iso8859_1:
    case Win1252: return true;
    default: return false;
    }
}

// Converters are built once per character set and thread; they keep no state between calls.
template <typename TConverter>
TConverter& ConverterFor(int id) {
    thread_local std::map<int, std::unique_ptr<TConverter>> converters;
    std::unique_ptr<TConverter>& c = converters[id & 0xFF];
    if (!c) {
        const TSet* set = Find(id);
        c = std::make_unique<TConverter>(set && set->Converter ? set->Converter : "", TConverter::Flag::Stateless);
        if (!c->isValid()) {
            c.reset();
            throw EDatabaseError(QString("Set di caratteri %1 non supportato: nessun convertitore di testo").arg(Name(id)));
        }
    }
    return *c;
}

}  // namespace

int IdFromName(const QString& name) {
    const QString n = name.trimmed().toUpper();
    if (n == "BINARY") return Octets;
    for (const TSet& s : kSets)
        if (n == QLatin1String(s.Name)) return s.Id;
    return None;
}

QString Name(int id) {
    const TSet* set = Find(id);
    return set ? QString::fromLatin1(set->Name) : QString("CHARSET %1").arg(id & 0xFF);
}

int BytesPerChar(int id) {
    const TSet* set = Find(id);
    return set ? set->BytesPerChar : 1;
}

void CheckConverter(int id) {
    if (!HandledHere(id)) ConverterFor<QStringDecoder>(id);
}

QString FromWindows1252(const char* data, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        const char16_t mapped = (b >= 0x80 && b <= 0x9F) ? kHigh1252[b - 0x80] : 0;
        dst[i] = QChar(mapped ? mapped : char16_t(b));
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

QString Decode(const char* data, qsizetype size, int id) {
    switch (id & 0xFF) {
    case Utf8:
    case UnicodeFss: return QString::fromUtf8(data, size);
    case Iso8859_1:
    case Ascii: return QString::fromLatin1(data, size);
    case None:
    case Octets:
    case Win1252: return FromWindows1252(data, size);
    default: return ConverterFor<QStringDecoder>(id).decode(QByteArrayView(data, size));
    }
}

QByteArray Encode(const QString& text, int id) {
    switch (id & 0xFF) {
    case Utf8:
    case UnicodeFss: return text.toUtf8();
    case Iso8859_1:
    case Ascii: return text.toLatin1();
    case None:
    case Octets:
    case Win1252: return ToWindows1252(text);
    default: return ConverterFor<QStringEncoder>(id).encode(text);
    }
}

}  // namespace Charset
