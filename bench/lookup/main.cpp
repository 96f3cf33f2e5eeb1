// The lookup dialog on 100,000 customers: time from the start of a refresh until the grid has
// painted its first screen of rows, next to the same statement run bare through the data layer
// (prepare, execute, first row, close), for an empty search text and for a three-letter one. A refresh
// also ends the dialog's transaction and starts a new one, so the bare statement is timed a second
// time together with that restart. Prints the medians and the ratios, and the requests of a
// refresh (statements prepared and executed, fetch calls, transactions started) beside the steps
// it requires and whatever ran beyond them. Runs on the embedded engine and, when one is given, on
// a Firebird server (bench/datalayer/ModalitaBench.h), then prints both side by side. Runs
// offscreen when there is no display.
#include "bench/datalayer/ArchivioBench.h"
#include "bench/datalayer/Misure.h"
#include "bench/datalayer/RichiesteBench.h"
#include "db/Errore.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "lookup/DatiRicerca.h"
#include "lookup/FormRicerca.h"
#include "lookup/SQLRicerca.h"
#include "sql/DemoData.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int Clienti = 100000;
constexpr int Ripetizioni = 9;

// Refresh, then let the grid fetch and paint the rows that fill its window.
qint64 TempoDialogo(TFormRicerca& dlg) {
    QTableView* grid = dlg.DBGrid();
    const int visibili = grid->viewport()->height() / grid->verticalHeader()->defaultSectionSize() + 1;
    QElapsedTimer t;
    t.start();
    dlg.Aggiorna();
    while (grid->model()->rowCount() < visibili && grid->model()->canFetchMore({})) QApplication::processEvents();
    grid->viewport()->repaint();
    return t.nsecsElapsed();
}

// The statement alone, or (`riavvio`) after rolling back the previous transaction and starting one;
// its cursor is closed within the time, as the dialog closes its previous one at every refresh
// (on a server a close waits for the rows the server is still sending ahead).
qint64 TempoNudo(TFbDatabase& db, TFbTransaction& tr, const QStringList& sql, bool riavvio) {
    if (!riavvio) {
        if (tr.Active()) tr.Rollback();
        tr.Start();
    }
    TFbSQL q(&db, &tr);
    q.SetParamCheck(false);
    q.SetSQL(sql);
    QElapsedTimer t;
    t.start();
    if (riavvio) {
        if (tr.Active()) tr.Rollback();
        tr.Start();
    }
    q.ExecQuery();  // executes and fetches the first row
    q.Close();
    return t.nsecsElapsed();
}

// The refresh's one step: the statement in a new transaction (the dialog's previous one rolled
// back), with the rows the grid fetched.
TPassi PassiAggiornamento(const QStringList& sql, int righe) {
    return {{"the lookup statement, first screen of rows (after the rollback of the previous transaction)", sql, 1,
             TTransazionePasso::Propria, righe}};
}

void Misura(const TModalitaBench& modalita, TRiepilogo& riepilogo) {
    std::printf("\n=== %s ===\n", qPrintable(modalita.Nome()));
    TArchivioBench archivio("archivio.fdb", modalita);
    TFbDatabase& db = archivio.Db;
    DemoData::AggiungiClienti(db, Clienti);
    std::printf("%d customers written in %s (%s)\n", Clienti, qPrintable(Ms(archivio.Preparazione.nsecsElapsed())),
                qPrintable(archivio.Connessione));

    TDatiRicerca dati;
    dati.SetTabellaRicerca("CLIENTI");
    dati.SetCampoRicerca("RAGSOC");
    dati.SetCampoRitorno("CODICE");
    TFormRicerca dlg;
    dlg.SetDatiRicerca(&dati);
    dlg.SetDBArchivio(&db);
    dlg.show();
    QApplication::processEvents();

    TFbTransaction tr(&db);
    std::printf("%-10s %11s %11s %7s %16s %7s\n", "search", "dialog", "bare", "ratio", "restart+bare", "ratio");
    for (const QString& testo : {QString(), QStringLiteral("Ros")}) {
        dlg.EditRicerca()->setText(testo);
        const QStringList sql = SQLRicerca(dati, testo);
        TempoDialogo(dlg);  // warm the page cache for all
        TempoNudo(db, tr, sql, false);
        QVector<qint64> dialogo, nudo, riavvio;
        for (int i = 0; i < Ripetizioni; ++i) {  // interleaved, so all see the same machine load
            dialogo << TempoDialogo(dlg);
            nudo << TempoNudo(db, tr, sql, false);
            riavvio << TempoNudo(db, tr, sql, true);
        }
        const qint64 d = Mediana(dialogo), n = Mediana(nudo), r = Mediana(riavvio);
        const QString nome = testo.isEmpty() ? QStringLiteral("(empty)") : "\"" + testo + "\"";
        std::printf("%-10s %11s %11s %7.2f %16s %7.2f\n", qPrintable(nome), qPrintable(Ms(d)), qPrintable(Ms(n)),
                    double(d) / double(n), qPrintable(Ms(r)), double(d) / double(r));
        const TRichiesteOperazione richieste =
            Richieste([&] { TempoDialogo(dlg); }, [&] { return PassiAggiornamento(sql, dlg.Query()->FetchedCount()); });
        if (tr.Active()) tr.Rollback();
        const ContatoriDB::TMisura costoNudo;
        TempoNudo(db, tr, sql, true);
        StampaRichieste(richieste, costoNudo.Costo());
        riepilogo.Aggiungi(modalita.Nome(), "lookup " + nome, d, n, richieste);
    }
    tr.Rollback();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        QStringList argomenti = app.arguments();
        TRiepilogo riepilogo;
        for (const TModalitaBench& modalita : ModalitaBench(argomenti)) Misura(modalita, riepilogo);
        riepilogo.Stampa("bench_lookup");
        std::printf("medians of %d runs. dialog: refresh until the first screen of rows is painted; bare: prepare,\n"
                    "execute, first row and close; restart+bare: the same after a rollback and a new transaction.\n"
                    "Targets: dialog at most 3 times bare; on a server at most 1.5x the embedded ratio, with\n"
                    "nothing beyond the steps.\n",
                    Ripetizioni);
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
