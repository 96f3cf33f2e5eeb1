#include "db/FbField.h"

#include "db/Decimale.h"
#include "db/Errore.h"

#include <QLocale>
#include <QRegularExpression>

namespace {

QString TimeFormatWithSeconds(const QLocale& loc) {
    QString f = loc.timeFormat(QLocale::ShortFormat);
    if (!f.contains('s')) {
        const int m = f.lastIndexOf("mm");
        if (m >= 0) f.insert(m + 2, ":ss");
    }
    return f;
}

}  // namespace

QString TestoValore(const QVariant& value) {
    if (!value.isValid() || value.isNull()) return QString();
    const QLocale loc;
    switch (value.typeId()) {
    case QMetaType::QDate: return loc.toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::QTime: return loc.toString(value.toTime(), TimeFormatWithSeconds(loc));
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return loc.toString(dt.date(), QLocale::ShortFormat) + ' ' + loc.toString(dt.time(), TimeFormatWithSeconds(loc));
    }
    case QMetaType::Double:
    case QMetaType::Float: return QString::number(value.toDouble(), 'g', 15);
    case QMetaType::QByteArray: return QString::fromLatin1(value.toByteArray());
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default: return value.toString();
    }
}

QString QuotedIdentifier(const QString& name) {
    static const QRegularExpression regular("^[A-Z][A-Z0-9_$]*$");
    if (regular.match(name).hasMatch()) return name;
    QString q = name;
    q.replace('"', "\"\"");
    return '"' + q + '"';
}

int TFbField::AsInteger() const { return int(AsInt64()); }

qint64 TFbField::AsInt64() const {
    if (IsNull()) return 0;
    if (FValue.typeId() == QMetaType::QString && FDef && FDef->Type == TFbFieldType::Numeric)
        return ParteIntera(FValue.toString());
    if (FValue.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 v = FValue.toString().trimmed().toLongLong(&ok);
        if (!ok) throw EConvertError(QString("'%1' is not a valid integer value").arg(FValue.toString()));
        return v;
    }
    if (FValue.typeId() == QMetaType::Double || FValue.typeId() == QMetaType::Float)
        return qint64(FValue.toDouble());
    return FValue.toLongLong();
}

double TFbField::AsDouble() const { return IsNull() ? 0.0 : FValue.toDouble(); }

QDate TFbField::AsDate() const {
    if (IsNull()) return {};
    return FValue.typeId() == QMetaType::QDateTime ? FValue.toDateTime().date() : FValue.toDate();
}

QDateTime TFbField::AsDateTime() const {
    if (IsNull()) return {};
    if (FValue.typeId() == QMetaType::QDate) return FValue.toDate().startOfDay();
    return FValue.toDateTime();
}

QByteArray TFbField::AsBytes() const {
    if (IsNull()) return {};
    if (FValue.typeId() == QMetaType::QByteArray) return FValue.toByteArray();
    return FValue.toString().toUtf8();
}
