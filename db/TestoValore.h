#pragma once
// Values as the user reads them: numbers in decimal, dates and times in the regional short formats
// (times with seconds), NULL as empty text.
#include <QDateTime>
#include <QString>
#include <QVariant>

QString TestoValore(const QVariant& value);

QString TestoData(const QDate& date);
QString TestoOra(const QTime& time);
QString TestoDataOra(const QDateTime& dateTime);
// The same from its two parts, without building a QDateTime (whose local-time offset costs a
// time-zone lookup for every value).
QString TestoDataOra(const QDate& date, const QTime& time);
QString TestoDouble(double value);
QString TestoBooleano(bool value);
