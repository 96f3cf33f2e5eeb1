#include "bench/datalayer/RichiesteBench.h"

#include "bench/datalayer/Misure.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"

#include <cstdio>
#include <memory>

namespace {

TRegistroRichieste* Attivo = nullptr;

// A statement on one line, cut to `larghezza` characters.
QString Riassunto(const QString& sql, int larghezza = 96) {
    QString riga = sql.simplified();
    return riga.size() > larghezza ? riga.left(larghezza - 3) + "..." : riga;
}

QString Volte(int n, const char* cosa) { return QString("%1 %2").arg(n).arg(cosa); }

}  // namespace

TPassoRichiesto Riusabile(TPassoRichiesto passo) {
    passo.Riusabile = true;
    return passo;
}

TContatoriDB CostoRichiesto(const TPassi& passi, bool riusando) {
    TContatoriDB c;
    for (const TPassoRichiesto& p : passi) {
        const bool giaPreparato = riusando && p.Riusabile;
        if (!giaPreparato) c.Preparazioni += 1;
        c.Esecuzioni += p.Esecuzioni;
        if (p.Transazione == TTransazionePasso::Propria && !(giaPreparato && p.Esecuzioni == 0)) c.Transazioni += 1;
    }
    return c;
}

void EseguiNudo(TFbDatabase& db, TFbTransaction& inCorso, const TPassi& passi) {
    std::unique_ptr<TFbTransaction> propria;
    bool scrive = false;
    auto fine = [&] {
        if (!propria) return;
        if (scrive) propria->Commit();
        else propria->Rollback();
        propria.reset();
        scrive = false;
    };
    for (const TPassoRichiesto& p : passi) {
        if (p.Transazione != TTransazionePasso::Precedente) fine();
        if (p.Transazione == TTransazionePasso::Propria) {
            propria = std::make_unique<TFbTransaction>(&db);
            propria->Start();
        }
        TFbSQL q(&db, p.Transazione == TTransazionePasso::InCorso ? &inCorso : propria.get());
        q.SetParamCheck(bool(p.Parametri));
        q.SetSQL(p.SQL);
        q.Prepare();
        scrive = scrive || !q.IsSelect();
        for (int i = 0; i < p.Esecuzioni; ++i) {
            if (p.Parametri) p.Parametri(q, i);
            q.ExecQuery();
            for (int n = 1; q.IsSelect() && !q.Eof() && (p.Righe < 0 || n < p.Righe); ++n) q.Next();
        }
    }
    fine();
}

TRegistroRichieste::TRegistroRichieste() {
    Attivo = this;
    ContatoriDB::SetOsservatore(&Registra);
}

TRegistroRichieste::~TRegistroRichieste() {
    ContatoriDB::SetOsservatore(nullptr);
    Attivo = nullptr;
}

void TRegistroRichieste::Registra(ContatoriDB::TRichiesta richiesta, const QString& sql) {
    if (!Attivo) return;
    QPair<int, int>& n = Attivo->FTesti[sql];
    if (richiesta == ContatoriDB::TRichiesta::Preparazione) ++n.first;
    else ++n.second;
}

TRichiesteOperazione Richieste(const std::function<void()>& operazione, const std::function<TPassi()>& dopo) {
    TRegistroRichieste registro;
    operazione();
    const TContatoriDB costo = registro.Costo();
    const TPassi passi = dopo();
    TRichiesteOperazione r{costo, passi, {}};
    // per text: the prepares the steps need at most and at least, and the executions
    struct TRichiesto {
        int Piu = 0, Meno = 0, Esecuzioni = 0;
    };
    QMap<QString, TRichiesto> richiesti;
    for (const TPassoRichiesto& p : passi) {
        TRichiesto& n = richiesti[p.SQL.join('\n')];
        n.Piu += 1;
        n.Meno += p.Riusabile ? 0 : 1;
        n.Esecuzioni += p.Esecuzioni;
    }
    QStringList testi = registro.Testi();
    for (const QString& t : richiesti.keys())
        if (!testi.contains(t)) testi << t;
    for (const QString& t : testi) {
        const TRichiesto n = richiesti.value(t);
        const int prep = registro.Preparazioni(t), esec = registro.Esecuzioni(t) - n.Esecuzioni;
        QStringList quanto;
        if (prep > n.Piu) quanto << Volte(prep - n.Piu, "more prepared");
        if (esec > 0) quanto << Volte(esec, "more executed");
        if (prep < n.Meno) quanto << Volte(n.Meno - prep, "fewer prepared");
        if (esec < 0) quanto << Volte(-esec, "fewer executed");
        if (!quanto.isEmpty()) r.Oltre << quanto.join(", ") + ": " + Riassunto(t, 80);
    }
    const qint64 piu = CostoRichiesto(passi).Transazioni, meno = CostoRichiesto(passi, true).Transazioni;
    if (r.Costo.Transazioni > piu) r.Oltre << QString("%1 more transactions").arg(r.Costo.Transazioni - piu);
    if (r.Costo.Transazioni < meno) r.Oltre << QString("%1 fewer transactions").arg(meno - r.Costo.Transazioni);
    return r;
}

QString Breve(const TContatoriDB& c, bool conFetch) {
    return QString("%1/%2/%3/%4")
        .arg(c.Preparazioni)
        .arg(c.Esecuzioni)
        .arg(conFetch ? QString::number(c.Fetch) : QStringLiteral("-"))
        .arg(c.Transazioni);
}

void StampaRichieste(const TRichiesteOperazione& operazione, const TContatoriDB& nudo) {
    const TPassi& passi = operazione.Passi;
    std::printf("   requests: %s\n", qPrintable(operazione.Costo.Testo()));
    std::printf("       bare: %s\n", qPrintable(nudo.Testo()));
    const TContatoriDB richiesto = CostoRichiesto(passi), minimo = CostoRichiesto(passi, true);
    std::printf("   its steps require %lld prepared, %lld executed, %lld transactions", richiesto.Preparazioni,
                richiesto.Esecuzioni, richiesto.Transazioni);
    if (minimo == richiesto) std::printf(":\n");
    else
        std::printf("; at least %lld prepared and %lld\n"
                    "   transactions with the reusable statements (*) prepared once per grid and connection:\n",
                    minimo.Preparazioni, minimo.Transazioni);
    for (const TPassoRichiesto& p : passi) {
        const QString come = p.Esecuzioni == 0   ? QStringLiteral("prepared only")
                             : p.Esecuzioni == 1 ? QStringLiteral("executed once")
                                                 : QString("executed %1 times").arg(p.Esecuzioni);
        std::printf("     %s %s (%s, %s)\n         %s\n", p.Riusabile ? "*" : "-", qPrintable(p.Passo), qPrintable(come),
                    p.Transazione == TTransazionePasso::Propria      ? "in a transaction of its own"
                    : p.Transazione == TTransazionePasso::Precedente ? "in the transaction of the step before"
                                                                     : "in the data set's running transaction",
                    qPrintable(Riassunto(p.SQL.join(' '))));
    }
    if (operazione.Oltre.isEmpty()) {
        std::printf("   beyond the steps: nothing\n");
        return;
    }
    std::printf("   beyond the steps:\n");
    for (const QString& riga : operazione.Oltre) std::printf("     + %s\n", qPrintable(riga));
}

void TRiepilogo::Aggiungi(const QString& modalita, const QString& operazione, qint64 tempo, qint64 tempoNudo,
                          const TRichiesteOperazione& richieste) {
    if (!FModalita.contains(modalita)) FModalita << modalita;
    if (!FOperazioni.contains(operazione)) FOperazioni << operazione;
    FRighe[operazione][modalita] =
        TRiga{tempo, tempoNudo, richieste.Costo, CostoRichiesto(richieste.Passi), CostoRichiesto(richieste.Passi, true)};
}

void TRiepilogo::Stampa(const QString& oggetto) const {
    std::printf("\n=== %s: every mode side by side ===\n"
                "(requests: prepared/executed/fetches/transactions; steps: what the steps require; least: the\n"
                "same with the reusable statements prepared once per grid and connection)\n",
                qPrintable(oggetto));
    for (const QString& operazione : FOperazioni) {
        std::printf("%s\n", qPrintable(operazione));
        double primoRapporto = 0;
        for (const QString& modalita : FModalita) {
            if (!FRighe.value(operazione).contains(modalita)) continue;
            const TRiga r = FRighe.value(operazione).value(modalita);
            const double rapporto = double(r.Tempo) / double(r.TempoNudo);
            QString confronto;
            if (primoRapporto > 0) confronto = QString("  ratio %1x the first mode's").arg(rapporto / primoRapporto, 0, 'f', 2);
            else primoRapporto = rapporto;
            std::printf("   %-24s %11s  bare %11s  ratio %6.2f  requests %-13s steps %-10s least %-10s%s\n",
                        qPrintable(modalita), qPrintable(Ms(r.Tempo)), qPrintable(Ms(r.TempoNudo)), rapporto,
                        qPrintable(Breve(r.Costo)), qPrintable(Breve(r.Richiesto, false)),
                        qPrintable(Breve(r.Minimo, false)), qPrintable(confronto));
        }
    }
}
