#include "controls/Acceleratori.h"

QString SenzaAcceleratore(const QString& caption) {
    QString testo;
    testo.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) ++i;  // the marked letter, or the second "&" of "&&"
        testo += caption[i];
    }
    return testo;
}
