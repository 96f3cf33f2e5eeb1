#include "controls/EditData.h"

#include <QKeyEvent>

namespace {

bool CifraDecimale(QChar c) { return c >= '0' && c <= '9'; }

// The digits of a piece, in order, as a decimal number; 0 when it has none.
int Cifre(const QString& pezzo) {
    int valore = 0;
    for (const QChar c : pezzo) {
        if (CifraDecimale(c)) valore = valore * 10 + (c.unicode() - '0');
    }
    return valore;
}

// Day (from 0) or month (from 3) of two characters: the two as typed from 10 on, else "0" and the
// one digit; then the separator.
QString Completa(const QString& testo, int inizio, int valore) {
    const QString prima = testo.left(inizio);
    if (valore >= 10) return prima + testo.mid(inizio, 2) + "/";
    return prima + "0" + QString::number(valore) + "/";
}

}  // namespace

QString ControllaData(const QString& testo, int tasto) {
    switch (tasto) {
    case TastoCancel:
    case TastoBackspace:
    case TastoSinistra:
    case TastoDestra:
    case TastoCanc:
        return testo;
    default:
        break;
    }
    switch (testo.size()) {
    case 2: {
        const int giorno = Cifre(testo.left(2));
        if (giorno < 1 || giorno > 31) return ErroreGiorno;
        return Completa(testo, 0, giorno);
    }
    case 5: {
        const int mese = Cifre(testo.mid(3, 2));
        if (mese < 1 || mese > 12) return ErroreMese;
        return mese >= 10 ? testo + "/" : Completa(testo, 3, mese);
    }
    case 8: {
        const QString pezzo = testo.mid(6, 2);
        if (!CifraDecimale(pezzo[0]) || !CifraDecimale(pezzo[1])) return ErroreAnno;
        const int anno = pezzo.toInt();
        if (anno == 19 || anno == 20) return testo;  // a four-digit year is being typed
        return testo.left(6) + QString::number(anno >= 50 ? anno + 1900 : anno + 2000);
    }
    default:
        return testo;
    }
}

int CodiceTastoVirtuale(int tastoQt) {
    switch (tastoQt) {
    case Qt::Key_Cancel: return TastoCancel;
    case Qt::Key_Backspace: return TastoBackspace;
    case Qt::Key_Left: return TastoSinistra;
    case Qt::Key_Right: return TastoDestra;
    case Qt::Key_Delete: return TastoCanc;
    default: break;
    }
    // digits and letters have the same codes in both worlds
    if ((tastoQt >= Qt::Key_0 && tastoQt <= Qt::Key_9) || (tastoQt >= Qt::Key_A && tastoQt <= Qt::Key_Z)) return tastoQt;
    return 0;
}

void TEditData::ApplicaControllo(int tasto) {
    const QString esito = ControllaData(text(), tasto);
    if (esito == QLatin1String(ErroreGiorno)) {
        selectAll();
    } else if (esito == QLatin1String(ErroreMese)) {
        setSelection(3, 3);
    } else if (esito == QLatin1String(ErroreAnno)) {
        setSelection(6, 3);
    } else {
        if (esito != text()) setText(esito);
        deselect();
        setCursorPosition(int(esito.size()));
    }
}

void TEditData::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
#ifdef Q_OS_WIN
    ApplicaControllo(int(event->nativeVirtualKey()));
#else
    ApplicaControllo(CodiceTastoVirtuale(event->key()));
#endif
}
