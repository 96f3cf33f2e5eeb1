#pragma once
// Small measuring helpers of the benchmarks.
#include <QElapsedTimer>
#include <QString>
#include <QVector>

// Median of the samples (nanoseconds); 0 when there are none.
qint64 Mediana(QVector<qint64> samples);

// Resident memory of this process in KiB, from /proc/self/status.
qint64 MemoriaResidenteKiB();

// Milliseconds with three decimals, and "n/s" rates, as printed by the benchmarks.
QString Ms(qint64 nanoseconds);
// a / b with two decimals
QString Rapporto(qint64 a, qint64 b);
QString Rate(double perSecond);
