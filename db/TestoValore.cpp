#include "db/TestoValore.h"

#include <QLocale>

namespace {

QString TimeFormatWithSeconds(const QLocale& loc) {
    QString f = loc.timeFormat(QLocale::ShortFormat);
    if (!f.contains('s')) {
        const int m = f.lastIndexOf("mm");
        if (m >= 0) f.insert(m + 2, ":ss");
    }
    return f;
}

// The time format of the current locale, worked out again only when the locale changes.
const QString& FormatoOra(const QLocale& loc) {
    thread_local QLocale cached;
    thread_local QString format = TimeFormatWithSeconds(cached);
    if (!(loc == cached)) {
        cached = loc;
        format = TimeFormatWithSeconds(loc);
    }
    return format;
}

}  // namespace

QString TestoData(const QDate& date) { return QLocale().toString(date, QLocale::ShortFormat); }

QString TestoOra(const QTime& time) {
    const QLocale loc;
    return loc.toString(time, FormatoOra(loc));
}

QString TestoDataOra(const QDateTime& dateTime) {
    const QLocale loc;
    return loc.toString(dateTime.date(), QLocale::ShortFormat) + ' ' + loc.toString(dateTime.time(), FormatoOra(loc));
}

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
