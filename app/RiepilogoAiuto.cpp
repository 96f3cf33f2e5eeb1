#include "app/RiepilogoAiuto.h"

namespace {
void Elenca(QStringList& righe, const TParametri* parametri) {
    if (!parametri || parametri->IsEmpty()) {
        righe << "- NESSUNO";
        return;
    }
    for (const auto& [chiave, valore] : parametri->Voci()) righe << QString("- %1 = %2").arg(chiave, valore);
}
}  // namespace

QString TestoRiepilogoAiuto(const TParametri& cmd, const TParametri* ini, TOrigine origine,
                            const QList<TTastiAiuto>& tasti) {
    QStringList righe{"ZelScanFile 24/05/2025 - 1", "", "Parametri CMD riconosciuti:"};
    Elenca(righe, &cmd);
    righe << "" << "Parametri INI riconosciuti:";
    Elenca(righe, ini);
    righe << "" << QString("Modalità funzionamento: %1").arg(TestoOrigine(origine)) << "";
    for (const TTastiAiuto& gruppo : tasti) {
        righe << gruppo.Titolo;
        for (const auto& [nomi, funzione] : gruppo.Voci) righe << QString("- %1 = %2").arg(nomi, funzione);
        righe << "";
    }
    QString testo;
    for (const QString& r : righe) testo += r + "\r\n";
    return testo;
}
