#include "grid/LarghezzeBase.h"

#include "db/TestoValore.h"

#include <QFontMetricsF>
#include <QtMath>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <limits>

namespace {

constexpr int Illimitata = std::numeric_limits<int>::max();

// Whole pixels, rounded up as the views lay their texts out.
int Testo(const QFontMetricsF& fm, const QString& testo) { return qCeil(fm.horizontalAdvance(testo)); }

int PiuLargo(const QFontMetricsF& fm, const QStringList& testi) {
    int larghezza = 0;
    for (const QString& t : testi) larghezza = qMax(larghezza, Testo(fm, t));
    return larghezza;
}

// A number of `cifre` digits, signed, with `decimali` of them after the point.
QString Numero(int cifre, int decimali) {
    QString testo = "-" + QString(cifre - decimali, QLatin1Char('0'));
    if (decimali > 0) testo += "." + QString(decimali, QLatin1Char('0'));
    return testo;
}

// Digits of the largest integer held in `byte` bytes.
int CifreIntero(int byte) {
    switch (byte) {
    case 2: return 5;
    case 4: return 10;
    case 8: return 19;
    default: return 39;
    }
}

// The last day of every month at the last second of the day: every month's name and the widest
// digits the locale writes.
QStringList DateDelAnno(bool conOra) {
    QStringList date;
    for (int mese = 1; mese <= 12; ++mese) {
        const QDate giorno(2025, mese, 28);
        date << (conOra ? TestoDataOra(giorno, QTime(23, 59, 59)) : TestoData(giorno));
    }
    return date;
}

}  // namespace

int LarghezzaValori(const QFontMetricsF& fm, const TFbFieldDef& def) {
    switch (def.Type) {
    case TFbFieldType::FixedChar:
    case TFbFieldType::String: return qCeil(fm.averageCharWidth() * def.Size);
    case TFbFieldType::Memo: return Illimitata;
    case TFbFieldType::Smallint:
    case TFbFieldType::Integer:
    case TFbFieldType::Largeint: return Testo(fm, Numero(CifreIntero(def.Size), 0));
    case TFbFieldType::Numeric: return Testo(fm, Numero(CifreIntero(def.Size), -def.Scale));
    case TFbFieldType::Float:
    case TFbFieldType::Double: return Testo(fm, TestoDouble(-1.23456789012345e-300));
    case TFbFieldType::Date: return PiuLargo(fm, DateDelAnno(false));
    case TFbFieldType::TimeStamp: return PiuLargo(fm, DateDelAnno(true));
    case TFbFieldType::Time: return Testo(fm, TestoOra(QTime(23, 59, 59)));
    case TFbFieldType::Boolean: return PiuLargo(fm, {TestoBooleano(true), TestoBooleano(false)});
    case TFbFieldType::Blob: return Testo(fm, QStringLiteral("(BLOB)"));
    case TFbFieldType::Unknown: break;
    }
    return Illimitata;
}

int LarghezzaBase(const QTableView& vista, int campo, const TFbFieldDef& def) {
    const QFontMetricsF fm(vista.font());
    const int valori = qMin(LarghezzaValori(fm, def), qCeil(fm.averageCharWidth() * CaratteriMassimiColonna));
    // the cell's text lies inside the style's margins, left of the grid line
    const int margine = vista.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &vista) + 1;
    const int griglia = vista.showGrid() ? 1 : 0;
    return qMax(vista.horizontalHeader()->sectionSizeHint(campo), valori + 2 * margine + griglia);
}
