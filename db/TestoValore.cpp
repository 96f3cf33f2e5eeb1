#include "db/TestoValore.h"

#include <QLocale>
#include <QStringBuilder>
#include <QVarLengthArray>
#include <QVector>

namespace {

QString TimeFormatWithSeconds(const QLocale& loc) {
    QString f = loc.timeFormat(QLocale::ShortFormat);
    if (!f.contains('s')) {
        const int m = f.lastIndexOf("mm");
        if (m >= 0) f.insert(m + 2, ":ss");
    }
    return f;
}

// The time format of a locale, split once into hours, minutes, seconds and the text between them, so
// a time is written without parsing the format again. Formats with anything else (AM/PM, fractions,
// quoted text, time zones) or with other digits than 0..9 are left to QLocale.
class TFormatoOra {
public:
    explicit TFormatoOra(const QLocale& loc) : FLocale(loc), FFormato(TimeFormatWithSeconds(loc)) {
        FVeloce = loc.zeroDigit() == QLatin1String("0");
        for (qsizetype i = 0; FVeloce && i < FFormato.size();) {
            const QChar c = FFormato[i];
            qsizetype n = 1;
            while (i + n < FFormato.size() && FFormato[i + n] == c) ++n;
            if (c == 'h' || c == 'H' || c == 'm' || c == 's') {
                FVeloce = n <= 2;
                FParti << TParte{c == 'H' ? 'h' : char(c.toLatin1()), int(n), {}};
            } else if (c.isLetter() || c == '\'') {
                FVeloce = false;
            } else {
                FParti << TParte{0, 0, FFormato.mid(i, n)};
            }
            i += n;
        }
    }

    const QLocale& Locale() const { return FLocale; }

    QString Testo(const QTime& t) const {
        if (!FVeloce || !t.isValid()) return FLocale.toString(t, FFormato);
        // written into a buffer on the stack, made a string once
        QVarLengthArray<char16_t, 32> out;
        for (const TParte& p : FParti) {
            if (!p.Campo) {
                out.append(reinterpret_cast<const char16_t*>(p.Testo.constData()), p.Testo.size());
                continue;
            }
            const int v = p.Campo == 'h' ? t.hour() : p.Campo == 'm' ? t.minute() : t.second();
            if (p.Cifre == 2 || v >= 10) out.append(char16_t(u'0' + v / 10));
            out.append(char16_t(u'0' + v % 10));
        }
        return QString(reinterpret_cast<const QChar*>(out.constData()), out.size());
    }

private:
    struct TParte {
        char Campo;      // 'h', 'm', 's'; 0 for text
        int Cifre;       // 2: with a leading zero
        QString Testo;
    };
    QLocale FLocale;
    QString FFormato;
    QVector<TParte> FParti;
    bool FVeloce = true;
};

// The format of the current locale, worked out again only when the locale changes.
const TFormatoOra& FormatoOra(const QLocale& loc) {
    thread_local TFormatoOra formato{loc};
    if (!(loc == formato.Locale())) formato = TFormatoOra(loc);
    return formato;
}

}  // namespace

QString TestoData(const QDate& date) {
    // rows often share their day: the last date written is kept with its text
    thread_local QLocale locale;
    thread_local QDate data;
    thread_local QString testo;
    const QLocale loc;
    if (date != data || !(loc == locale) || testo.isNull()) {
        testo = loc.toString(date, QLocale::ShortFormat);
        data = date;
        locale = loc;
    }
    return testo;
}

QString TestoOra(const QTime& time) { return FormatoOra(QLocale()).Testo(time); }

QString TestoDataOra(const QDate& date, const QTime& time) { return TestoData(date) % u' ' % TestoOra(time); }

QString TestoDataOra(const QDateTime& dateTime) { return TestoDataOra(dateTime.date(), dateTime.time()); }

QString TestoDouble(double value) { return QString::number(value, 'g', 15); }

QString TestoBooleano(bool value) { return value ? QStringLiteral("True") : QStringLiteral("False"); }

QString TestoValore(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return QString();
    switch (value.typeId()) {
    case QMetaType::QDate: return TestoData(value.toDate());
    case QMetaType::QTime: return TestoOra(value.toTime());
    case QMetaType::QDateTime: return TestoDataOra(value.toDateTime());
    case QMetaType::Double:
    case QMetaType::Float: return TestoDouble(value.toDouble());
    case QMetaType::QByteArray: return QString::fromLatin1(value.toByteArray());
    case QMetaType::Bool: return TestoBooleano(value.toBool());
    default: return value.toString();
    }
}
