#pragma once
// Exact decimals: a scaled integer (NUMERIC, DECIMAL) and its decimal text.
#include <QString>

// The decimal text of `value` / 10^decimals, with exactly `decimals` digits after the point ("-0.05").
QString TestoDecimale(qint64 value, int decimals);

// The integer part of a decimal text, its fraction dropped ("-12.75" gives -12).
qint64 ParteIntera(const QString& decimal);
