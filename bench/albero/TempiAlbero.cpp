// The log tree of a customer with 1,000 orders × 5 machines × 10 files: time of CaricaAlbero for
// the customer code and for one of its order series, next to the same statements run bare through
// the data layer (orders, then the machines of every order, then the files of every machine, the
// machine and the file statement prepared once, as the tree does; every row fetched and every
// field of it read, no tree). Then the tree's time taken apart: the bare statements reading only
// the keys of the next level, building the node texts, the same through the three data sets, and
// the tree items alone built from ready texts. Prints the medians and the ratios. Runs offscreen
// unless a platform is named.
#include "bench/datalayer/ArchivioBench.h"
#include "app/AlberoLog.h"
#include "app/NodiAlbero.h"
#include "bench/datalayer/Misure.h"
#include "db/Errore.h"
#include "db/FbDataSet.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "sql/DemoData.h"

#include <QApplication>
#include <QTreeWidget>
#include <cstdio>
#include <functional>

namespace {

constexpr int Ordini = 1000, Macchine = 5, File = 10;
constexpr int Ripetizioni = 7;

// Texts built and dropped land here, so that building them is not optimised away.
qsizetype Scarto = 0;
void Scarta(const QString& testo) { Scarto += testo.size(); }

// What one pass over the three levels produced: nodes per level and the texts of the tree.
struct TConteggio {
    int ordini = 0, macchine = 0, file = 0;
};

// The texts of one order with its machines and files, as the tree shows them.
struct TTestiOrdine {
    QString ordine;
    QList<QPair<QString, QStringList>> macchine;
};

// How much of each row the bare statements read.
enum class TLettura {
    Chiavi,  // only the keys of the next level
    Campi,   // every field, as text
};

void LeggiCampi(TFbSQL& q, TLettura lettura) {
    if (lettura != TLettura::Campi) return;
    for (int i = 0; i < q.FieldDefs().size(); ++i) Scarta(q.Field(i).AsString());
}

// Bare statements, prepared as the tree prepares them: the order statement, then the machine and
// the file statement prepared once and run for every order and machine with their parameters;
// every row fetched and read as `lettura` says. With `testi`, every field the tree shows is read
// and the node texts are built as the tree builds them.
TConteggio Nudo(TFbDatabase& db, TFbTransaction& tr, const QString& soggetto, TLettura lettura,
                QList<TTestiOrdine>* testi = nullptr) {
    TConteggio n;
    TFbSQL ordini(&db, &tr), macchine(&db, &tr), file(&db, &tr);
    ordini.SetSQL(SQLOrdini(soggetto));
    ordini.ExecQuery();
    macchine.SetSQL(SQLMacchine());
    macchine.Prepare();
    file.SetSQL(SQLFile());
    file.Prepare();
    for (; !ordini.Eof(); ordini.Next()) {
        const QVariant serDoc = ordini.FieldByName("SERDOC").AsVariant();
        ++n.ordini;
        LeggiCampi(ordini, lettura);
        TTestiOrdine* t = nullptr;
        if (testi) {
            testi->append({serDoc.toString() + " - " + ordini.FieldByName("DATADOCUMENTO").AsString() + " - " +
                               ordini.FieldByName("NDOCUMENTO").AsString() + " - " +
                               ordini.FieldByName("NOTE").AsString().left(30),
                           {}});
            t = &testi->last();
        }
        macchine.SetParam("SERDOC", serDoc);
        file.SetParam("SERDOC", serDoc);
        for (macchine.ExecQuery(); !macchine.Eof(); macchine.Next()) {
            const TFbField nr = macchine.FieldByName("NR_MACCHINA");
            ++n.macchine;
            LeggiCampi(macchine, lettura);
            if (t) t->macchine.append({nr.AsString() + " " + macchine.FieldByName("DESCRIZIONE").AsString(), {}});
            file.SetParam("NR_MACCHINA", nr.AsVariant());
            for (file.ExecQuery(); !file.Eof(); file.Next()) {
                ++n.file;
                LeggiCampi(file, lettura);
                if (t) {
                    const QString nome = file.FieldByName("FILEDESTINAZIONE_NOME").AsString();
                    Scarta(QString::number(file.FieldByName("ID").AsInteger()) + " - " + nome);
                    t->macchine.last().second << file.FieldByName("DATAORA").AsString() + " - " + nome;
                }
            }
        }
    }
    return n;
}

// The order statement alone, every row fetched.
void SoloOrdini(TFbDatabase& db, TFbTransaction& tr, const QString& soggetto) {
    TFbSQL ordini(&db, &tr);
    ordini.SetSQL(SQLOrdini(soggetto));
    for (ordini.ExecQuery(); !ordini.Eof(); ordini.Next()) {
    }
}

// The three levels through data sets prepared as the tree prepares them, with the same fields read.
TConteggio DataSet(TFbQuery& ordini, TFbQuery& macchine, TFbQuery& file, const QString& soggetto) {
    TConteggio n;
    ordini.Reopen(SQLOrdini(soggetto));
    macchine.Prepare(SQLMacchine());
    file.Prepare(SQLFile());
    for (; !ordini.Eof(); ordini.Next()) {
        const QVariant serDoc = ordini.FieldByName("SERDOC").AsVariant();
        Scarta(serDoc.toString() + " - " + ordini.FieldByName("DATADOCUMENTO").AsString() + " - " +
                ordini.FieldByName("NDOCUMENTO").AsString() + " - " + ordini.FieldByName("NOTE").AsString().left(30));
        ++n.ordini;
        macchine.SetParam("SERDOC", serDoc);
        file.SetParam("SERDOC", serDoc);
        for (macchine.Reopen(); !macchine.Eof(); macchine.Next()) {
            const TFbField nr = macchine.FieldByName("NR_MACCHINA");
            Scarta(nr.AsString() + " " + macchine.FieldByName("DESCRIZIONE").AsString());
            ++n.macchine;
            file.SetParam("NR_MACCHINA", nr.AsVariant());
            for (file.Reopen(); !file.Eof(); file.Next()) {
                const QString nome = file.FieldByName("FILEDESTINAZIONE_NOME").AsString();
                Scarta(QString::number(file.FieldByName("ID").AsInteger()) + " - " + nome);
                Scarta(file.FieldByName("DATAORA").AsString() + " - " + nome);
                ++n.file;
            }
        }
    }
    return n;
}

// The times of the tree's items alone.
struct TTempiNodi {
    qint64 rimozione = 0, creazione = 0, espansione = 0;
};

// The tree's items alone, from ready texts, built as the tree builds them: the previous tree
// removed, the new one built apart from the tree, handed to it in one piece, then expanded.
TTempiNodi SoloAlbero(QTreeWidget& albero, const QList<TTestiOrdine>& testi) {
    TTempiNodi tempi;
    QElapsedTimer t;
    t.start();
    albero.clear();
    tempi.rimozione = t.nsecsElapsed();
    auto* radice = new TNodoAlbero(nullptr, "Cliente");
    for (const TTestiOrdine& o : testi) {
        auto* nodoOrdine = new TNodoAlbero(radice, o.ordine);
        for (const auto& [testoMacchina, file] : o.macchine) {
            auto* nodoMacchina = new TNodoAlbero(nodoOrdine, testoMacchina);
            for (const QString& f : file) new TNodoFile(nodoMacchina, f, TMyRec{1, o.ordine, f});
        }
    }
    albero.addTopLevelItem(radice);
    tempi.creazione = t.nsecsElapsed() - tempi.rimozione;
    albero.expandAll();
    tempi.espansione = t.nsecsElapsed() - tempi.rimozione - tempi.creazione;
    return tempi;
}

// A new transaction for every pass, as the window starts one for every rebuild.
qint64 Tempo(TFbTransaction& tr, const std::function<void()>& passo) {
    if (tr.Active()) tr.Commit();
    tr.Start();
    QElapsedTimer t;
    t.start();
    passo();
    return t.nsecsElapsed();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    try {
        TArchivioBench archivio;
        TFbDatabase& db = archivio.Db;
        DemoData::AggiungiClienteGrande(db, "BIG", Ordini, Macchine, File);
        std::printf("customer BIG: %d orders x %d machines x %d files written in %s\n", Ordini, Macchine, File,
                    qPrintable(Ms(archivio.Preparazione.nsecsElapsed())));

        // the window's arrangement: three queries on one transaction, a shown tree
        TFbTransaction tr(&db);
        TFbQuery ordini, macchine, file;
        for (TFbQuery* q : {&ordini, &macchine, &file}) {
            q->SetDatabase(&db);
            q->SetTransaction(&tr);
        }
        QTreeWidget albero;
        albero.setHeaderHidden(true);
        albero.resize(980, 340);
        albero.show();
        QApplication::processEvents();

        std::printf("\n%-8s %8s %12s %12s %7s\n", "subject", "nodes", "CaricaAlbero", "bare", "ratio");
        QList<TTestiOrdine> testi;
        for (const QString& soggetto : {QStringLiteral("BIG"), QStringLiteral("BIG-1")}) {
            TConteggio conteggio;
            auto albero1 = [&] { CaricaAlbero(albero, soggetto, ordini, macchine, file); };
            auto nudo = [&] { conteggio = Nudo(db, tr, soggetto, TLettura::Campi); };
            Tempo(tr, albero1);  // warms the page cache for both
            Tempo(tr, nudo);
            QVector<qint64> tAlbero, tNudo;
            for (int i = 0; i < Ripetizioni; ++i) {  // interleaved, so both see the same machine load
                tAlbero << Tempo(tr, albero1);
                tNudo << Tempo(tr, nudo);
            }
            int nodi = 0;
            for (QTreeWidgetItemIterator it(&albero); *it; ++it) ++nodi;
            const qint64 a = Mediana(tAlbero), n = Mediana(tNudo);
            std::printf("%-8s %8d %12s %12s %7s   (bare: %d orders, %d machines, %d files)\n", qPrintable(soggetto),
                        nodi, qPrintable(Ms(a)), qPrintable(Ms(n)), qPrintable(Rapporto(a, n)), conteggio.ordini,
                        conteggio.macchine, conteggio.file);
        }
        std::printf("medians of %d runs, a new transaction for each. Targets: CaricaAlbero under 1 s, "
                    "ratio at most 1.15.\n",
                    Ripetizioni);

        // where the tree's time goes, for subject BIG
        const QString soggetto = "BIG";
        Tempo(tr, [&] { Nudo(db, tr, soggetto, TLettura::Chiavi, &testi); });
        QVector<qint64> tNudo, tChiavi, tTesti, tRimozione, tDataSet, tAlbero, tCreazione, tEspansione, tPittura, tOrdini;
        for (int i = 0; i < Ripetizioni; ++i) {
            tNudo << Tempo(tr, [&] { Nudo(db, tr, soggetto, TLettura::Campi); });
            tChiavi << Tempo(tr, [&] { Nudo(db, tr, soggetto, TLettura::Chiavi); });
            tTesti << Tempo(tr, [&] {
                QList<TTestiOrdine> t;
                Nudo(db, tr, soggetto, TLettura::Chiavi, &t);
            });
            tOrdini << Tempo(tr, [&] { SoloOrdini(db, tr, soggetto); });
            tDataSet << Tempo(tr, [&] { DataSet(ordini, macchine, file, soggetto); });
            tAlbero << Tempo(tr, [&] { CaricaAlbero(albero, soggetto, ordini, macchine, file); });
            QElapsedTimer t;
            t.start();
            albero.repaint();
            tPittura << t.nsecsElapsed();
            const TTempiNodi nodi = SoloAlbero(albero, testi);
            tRimozione << nodi.rimozione;
            tCreazione << nodi.creazione;
            tEspansione << nodi.espansione;
        }
        const qint64 n = Mediana(tNudo);
        auto riga = [n](const char* nome, qint64 v) {
            std::printf("  %-64s %12s %7s\n", nome, qPrintable(Ms(v)), qPrintable(Rapporto(v, n)));
        };
        std::printf("\nwhere the time goes (subject BIG, medians of %d runs; ratio to bare):\n", Ripetizioni);
        riga("bare statements, every field read", n);
        riga("bare statements, only the keys read", Mediana(tChiavi));
        riga("  of which: the order statement alone", Mediana(tOrdini));
        riga("bare statements, the shown fields read, node texts built", Mediana(tTesti));
        riga("three data sets (TFbQuery), same fields and texts", Mediana(tDataSet));
        riga("CaricaAlbero", Mediana(tAlbero));
        riga("tree items alone: removing the previous tree", Mediana(tRimozione));
        riga("tree items alone from ready texts: creation", Mediana(tCreazione));
        riga("tree items alone from ready texts: expansion", Mediana(tEspansione));
        riga("first paint of the built tree (not in CaricaAlbero)", Mediana(tPittura));
        if (tr.Active()) tr.Commit();
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
