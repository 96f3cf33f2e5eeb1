#include "bench/datalayer/Misure.h"

#include <QFile>
#include <QRegularExpression>
#include <algorithm>

qint64 Mediana(QVector<qint64> samples) {
    if (samples.isEmpty()) return 0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

qint64 MemoriaResidenteKiB() {
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly)) return -1;
    const QRegularExpressionMatch m = QRegularExpression("VmRSS:\\s+(\\d+) kB").match(QString::fromLatin1(f.readAll()));
    return m.hasMatch() ? m.captured(1).toLongLong() : -1;
}

QString Ms(qint64 nanoseconds) { return QString::number(nanoseconds / 1e6, 'f', 3) + " ms"; }

QString Rapporto(qint64 a, qint64 b) { return QString::number(double(a) / double(b), 'f', 2); }

QString Rate(double perSecond) { return QString::number(qRound64(perSecond)) + "/s"; }
