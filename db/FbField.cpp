#include "db/FbField.h"

#include "db/Decimale.h"
#include "db/Errore.h"

#include <QRegularExpression>

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
    qint64 integer = 0;
    if (FRecord.Integer(*FDef, FIndex, &integer)) return integer;
    const QVariant value = AsVariant();
    if (value.typeId() == QMetaType::QString && FDef && FDef->Type == TFbFieldType::Numeric)
        return ParteIntera(value.toString());
    if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 v = value.toString().trimmed().toLongLong(&ok);
        if (!ok) throw EConvertError(QString("'%1' is not a valid integer value").arg(value.toString()));
        return v;
    }
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return qint64(value.toDouble());
    return value.toLongLong();
}

double TFbField::AsDouble() const { return IsNull() ? 0.0 : AsVariant().toDouble(); }

QDate TFbField::AsDate() const {
    if (IsNull()) return {};
    const QVariant value = AsVariant();
    return value.typeId() == QMetaType::QDateTime ? value.toDateTime().date() : value.toDate();
}

QDateTime TFbField::AsDateTime() const {
    if (IsNull()) return {};
    const QVariant value = AsVariant();
    if (value.typeId() == QMetaType::QDate) return value.toDate().startOfDay();
    return value.toDateTime();
}

QByteArray TFbField::AsBytes() const {
    if (IsNull()) return {};
    const QVariant value = AsVariant();
    if (value.typeId() == QMetaType::QByteArray) return value.toByteArray();
    return value.toString().toUtf8();
}
