#include "tools/zelscansrv/Opzioni.h"

#include "db/Errore.h"

#include <QFileInfo>

const char* const UsoZelScanSrv =
    "Uso: zelscansrv --archivio <database> [--listen host:porta] [--files <cartella>] [--outbox <cartella>] [--log <file>]\n"
    "  --archivio  percorso o testo di connessione del database archivio (obbligatorio)\n"
    "  --listen    indirizzo di ascolto, predefinito 127.0.0.1:8080 (porta 0: una porta libera)\n"
    "  --files     cartella dei file di lavoro, predefinita la cartella corrente\n"
    "  --outbox    cartella delle macchine (sottocartelle macchina_<NR>), predefinita ./outbox\n"
    "  --log       file di registro, predefinito lo standard output\n";

namespace {

void LeggiIndirizzo(const QString& testo, TOpzioni& o) {
    const qsizetype duePunti = testo.lastIndexOf(QLatin1Char(':'));
    bool ok = false;
    const int porta = duePunti > 0 ? testo.mid(duePunti + 1).toInt(&ok) : 0;
    if (!ok || porta < 0 || porta > 65535)
        throw Exception(QStringLiteral("Indirizzo di ascolto non valido: %1 (atteso host:porta)").arg(testo));
    o.Host = testo.left(duePunti);
    o.Porta = porta;
}

}  // namespace

TOpzioni LeggiOpzioni(const QStringList& argomenti) {
    TOpzioni o;
    for (qsizetype i = 0; i < argomenti.size(); ++i) {
        const QString nome = argomenti[i];
        if (nome == QLatin1String("--help") || nome == QLatin1String("-h")) {
            o.Aiuto = true;
            continue;
        }
        QString* destinazione = nullptr;
        if (nome == QLatin1String("--archivio")) destinazione = &o.Archivio;
        else if (nome == QLatin1String("--files")) destinazione = &o.CartellaFile;
        else if (nome == QLatin1String("--outbox")) destinazione = &o.CartellaOutbox;
        else if (nome == QLatin1String("--log")) destinazione = &o.FileLog;
        else if (nome != QLatin1String("--listen")) throw Exception(QStringLiteral("Opzione sconosciuta: %1").arg(nome));
        if (i + 1 >= argomenti.size() || argomenti[i + 1].isEmpty())
            throw Exception(QStringLiteral("Manca il valore dell'opzione %1").arg(nome));
        const QString valore = argomenti[++i];
        if (destinazione) *destinazione = valore;
        else LeggiIndirizzo(valore, o);
    }
    if (o.Aiuto) return o;
    if (o.Archivio.isEmpty()) throw Exception(QStringLiteral("Manca l'opzione --archivio"));
    if (!QFileInfo(o.CartellaFile).isDir())
        throw Exception(QStringLiteral("Cartella dei file inesistente: %1").arg(o.CartellaFile));
    return o;
}
