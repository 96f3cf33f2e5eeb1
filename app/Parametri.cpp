#include "app/Parametri.h"

#include <QLocale>

bool SeparaChiaveValore(const QString& item, QString& chiave, QString& valore) {
    const int eq = item.indexOf('=');
    if (eq < 0) {
        chiave.clear();
        valore.clear();
        return false;
    }
    chiave = QLocale::system().toUpper(item.left(eq));
    valore = item.mid(eq + 1);
    return true;
}

int TParametri::Indice(const QString& chiave) const {
    for (int i = 0; i < FVoci.size(); ++i)
        if (FVoci[i].first == chiave) return i;
    return -1;
}

QString TParametri::Valore(const QString& chiave) const {
    const int i = Indice(chiave);
    return i < 0 ? QString() : FVoci[i].second;
}

bool TParametri::Aggiungi(const QString& chiave, const QString& valore) {
    if (Contiene(chiave)) return false;
    FVoci.append({chiave, valore});
    return true;
}

void TParametri::Carica(const QStringList& items) {
    for (const QString& item : items) {
        QString chiave, valore;
        if (SeparaChiaveValore(item, chiave, valore)) Aggiungi(chiave, valore);
    }
}
