#include "db/Decimale.h"

QString TestoDecimale(qint64 value, int decimals) {
    if (decimals <= 0) return QString::number(value);
    // the magnitude as unsigned, so the smallest BIGINT keeps its digits
    const quint64 magnitude = value < 0 ? 0 - quint64(value) : quint64(value);
    QString digits = QString::number(magnitude);
    if (digits.size() <= decimals) digits.prepend(QString(decimals - digits.size() + 1, '0'));
    digits.insert(digits.size() - decimals, '.');
    if (value < 0) digits.prepend('-');
    return digits;
}

qint64 ParteIntera(const QString& decimal) {
    const qsizetype point = decimal.indexOf('.');
    return QStringView(decimal).left(point < 0 ? decimal.size() : point).trimmed().toLongLong();
}
