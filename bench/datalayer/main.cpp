// Our data layer against isql-fb on one embedded archive, and opening the log grid's query on a
// million log rows. Prints its figures; build it in a release-like folder and run
// build/bin/bench_datalayer ("build/bin/bench_datalayer fetch" runs the row fetch comparison only).
#include "bench/datalayer/ArchivioBench.h"
#include "bench/datalayer/Isql.h"
#include "bench/datalayer/Misure.h"
#include "bench/datalayer/Nudo.h"
#include "db/Errore.h"
#include "db/FbDataSet.h"
#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "sql/DemoData.h"

#include <QCoreApplication>
#include <cstdio>
#include <stdexcept>

namespace {

constexpr int kLetture = 2000;         // one-row SELECTs timed one by one
constexpr int kRighe = 100000;         // rows of the fetch comparison
constexpr int kRigheGrandi = 1000000;  // rows of the log for the opening test

void Stampa(const QString& text) {
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
}

int IdDiProva(int i) { return 1 + int((qint64(i) * 7919) % kRighe); }

const QString kUnaRiga = "SELECT ID, DATOINPUT, FILEDESTINAZIONE_NOME FROM ZELSCANLOGLIGHT WHERE ID = ";
const QString kMoltiRighe = "SELECT FIRST " + QString::number(kRighe) + " * FROM ZELSCANLOGLIGHT";

qint64 Conta(TFbDatabase& db, const QString& sql) {
    TFbTransaction tr(&db);
    tr.Start();
    TFbSQL q(&db, &tr);
    q.SetSQL({sql});
    q.ExecQuery();
    return q.Field(0).AsInt64();
}

void UnaRiga(TFbDatabase& db, const QString& path) {
    Stampa(QString("\n1. One-row SELECT by primary key: prepare + execute + fetch (%1 statements)").arg(kLetture));
    TFbTransaction tr(&db);
    tr.Start();
    QVector<qint64> fresh, prepared;
    for (int i = 0; i < kLetture; ++i) {
        QElapsedTimer t;
        t.start();
        {
            TFbSQL q(&db, &tr);
            q.SetSQL({kUnaRiga + ":ID"});
            q.SetParam("ID", IdDiProva(i));
            q.ExecQuery();
            if (q.Eof() || q.FieldByName("ID").AsInteger() != IdDiProva(i)) throw std::runtime_error("wrong row");
        }
        fresh << t.nsecsElapsed();
    }
    TFbSQL q(&db, &tr);
    q.SetSQL({kUnaRiga + ":ID"});
    q.Prepare();
    for (int i = 0; i < kLetture; ++i) {
        QElapsedTimer t;
        t.start();
        q.SetParam("ID", IdDiProva(i));
        q.ExecQuery();
        if (q.Eof() || q.FieldByName("ID").AsInteger() != IdDiProva(i)) throw std::runtime_error("wrong row");
        q.Close();
        prepared << t.nsecsElapsed();
    }
    tr.Rollback();

    QStringList batch;
    for (int i = 0; i < kLetture; ++i) batch << kUnaRiga + QString::number(IdDiProva(i)) + ";";
    const qint64 uno = TempoIsql(path, batch.mid(0, 1));
    const qint64 tutti = TempoIsql(path, batch);
    const qint64 perIsql = (tutti - uno) / (kLetture - 1);
    const qint64 nostro = Mediana(fresh);
    Stampa("   data layer, new TFbSQL each time (prepare+execute+fetch+free), median: " + Ms(nostro));
    Stampa("   data layer, prepared once, execute+fetch only, median:                 " + Ms(Mediana(prepared)));
    Stampa("   isql-fb, per statement:                                                " + Ms(perIsql));
    Stampa(QString("     method: one isql-fb run with %1 different SELECTs (%2) minus one run with a single SELECT (%3),")
               .arg(kLetture).arg(Ms(tutti), Ms(uno)));
    Stampa(QString("     divided by %1; isql-fb prepares, executes, fetches and prints each statement (output to /dev/null).")
               .arg(kLetture - 1));
    Stampa("   isql-fb, one whole process (start, attach, one SELECT, exit):          " + Ms(uno));
    Stampa(QString("   ratio isql-fb per statement / data layer: %1").arg(double(perIsql) / double(nostro), 0, 'f', 2));
}

// Wall time of `fn`, the median of three runs.
template <typename Fn>
qint64 Tempo(Fn&& fn) {
    QVector<qint64> samples;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        samples << t.nsecsElapsed();
    }
    return Mediana(samples);
}

void MoltiRighe(TFbDatabase& db, const QString& path) {
    Stampa(QString("\n2. Fetching %1 rows of ZELSCANLOGLIGHT (%2); target: data layer >= 0.9x isql-fb").arg(kRighe).arg(kMoltiRighe));
    TFbTransaction tr(&db);
    tr.Start();
    const qint64 nudo = Tempo([&] {
        if (FetchNudo(db, tr, kMoltiRighe) != kRighe) throw std::runtime_error("wrong row count (bare)");
    });
    const qint64 soloFetch = Tempo([&] {
        qint64 righe = 0;
        TFbSQL q(&db, &tr);
        q.SetSQL({kMoltiRighe});
        for (q.ExecQuery(); !q.Eof(); q.Next()) ++righe;
        if (righe != kRighe) throw std::runtime_error("wrong row count");
    });
    const qint64 cursore = Tempo([&] {
        qint64 righe = 0, caratteri = 0;
        TFbSQL q(&db, &tr);
        q.SetSQL({kMoltiRighe});
        for (q.ExecQuery(); !q.Eof(); q.Next(), ++righe)
            for (int c = 0; c < q.FieldDefs().size(); ++c) caratteri += q.Field(c).AsString().size();
        if (righe != kRighe || caratteri == 0) throw std::runtime_error("wrong row count");
    });
    const qint64 tutto = Tempo([&] {
        TFbQuery dataSet;
        dataSet.SetDatabase(&db);
        dataSet.SetTransaction(&tr);
        dataSet.SQL = QStringList{kMoltiRighe};
        dataSet.Open();
        while (dataSet.FetchMore(1000) > 0) {
        }
        if (dataSet.FetchedCount() != kRighe) throw std::runtime_error("wrong row count in the data set");
        dataSet.Close();
    });
    tr.Rollback();

    const qint64 base = TempoIsql(path, {kUnaRiga + "1;"});
    const qint64 isql = TempoIsql(path, {kMoltiRighe + ";"}) - base;
    const auto perSec = [](qint64 ns) { return kRighe / (ns / 1e9); };
    const auto riga = [&](const QString& titolo, qint64 ns) {
        Stampa(QString("   %1 %2 (%3), %4x isql-fb")
                   .arg(titolo.leftJustified(58), Rate(perSec(ns)), Ms(ns))
                   .arg(perSec(ns) / perSec(isql), 0, 'f', 2));
    };
    riga("isql-fb, rows printed to /dev/null:", isql);
    Stampa("     method: one isql-fb run with this SELECT minus one run with a one-row SELECT (" + Ms(base) + ")");
    riga("bare client: prepare, cursor, fetch, nothing decoded:", nudo);
    riga("data layer, TFbSQL cursor, no value read:", soloFetch);
    riga("data layer, TFbSQL cursor, every value read as text:", cursore);
    riga("data layer, TFbQuery keeping every row:", tutto);
    Stampa("     data layer times: median of 3 runs; each row kept packed as fetched, values decoded when read");
    Stampa(QString("   ratio data layer / isql-fb: cursor %1, data set %2")
               .arg(perSec(cursore) / perSec(isql), 0, 'f', 2)
               .arg(perSec(tutto) / perSec(isql), 0, 'f', 2));
}

void Apertura(TFbDatabase& db, const QString& titolo, const QStringList& sql) {
    TFbTransaction tr(&db);
    tr.Start();
    TFbQuery q;
    q.SetDatabase(&db);
    q.SetTransaction(&tr);
    q.SQL = sql;
    const qint64 prima = MemoriaResidenteKiB();
    QElapsedTimer t;
    t.start();
    q.Open();
    const qint64 primaRiga = t.nsecsElapsed();
    const qint64 dopo = MemoriaResidenteKiB();
    if (q.Eof()) throw std::runtime_error("no first row");
    Stampa(QString("   %1: first row after %2, resident memory %3 KiB -> %4 KiB (%5%6 KiB), rows held %7")
               .arg(titolo, Ms(primaRiga))
               .arg(prima)
               .arg(dopo)
               .arg(dopo >= prima ? "+" : "")
               .arg(dopo - prima)
               .arg(q.FetchedCount()));
    q.Close();
    tr.Rollback();
}

void MilioneDiRighe(TFbDatabase& db) {
    const qint64 presenti = Conta(db, "SELECT COUNT(*) FROM ZELSCANLOGLIGHT");
    QElapsedTimer t;
    t.start();
    DemoData::AggiungiLogMassivo(db, int(kRigheGrandi - presenti));
    const qint64 totale = Conta(db, "SELECT COUNT(*) FROM ZELSCANLOGLIGHT");
    Stampa(QString("\n3. Opening a query on a log of %1 rows (filled in %2); target: first row well under 1 s, flat memory")
               .arg(totale)
               .arg(Ms(t.nsecsElapsed())));
    const QStringList griglia{"SELECT", "  *", "FROM", "  ZELSCANLOGLIGHT", "WHERE", "  ID IS NOT NULL"};
    Apertura(db, "log grid query", griglia);
    Apertura(db, "log grid query ORDER BY ID (index order)", griglia + QStringList{"ORDER BY ID"});
    Apertura(db, "log grid query ORDER BY DATAORA DESC (no index: the engine sorts first)",
             griglia + QStringList{"ORDER BY DATAORA DESC"});
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        TArchivioBench archivio("bench.fdb");
        TFbDatabase& db = archivio.Db;
        const QString& path = archivio.Path;
        DemoData::PopolaArchivioBase(db);
        DemoData::AggiungiLogMassivo(db, kRighe);
        Stampa(QString("Data layer benchmark: embedded archive %1 with %2 log rows, built in %3")
                   .arg(path)
                   .arg(Conta(db, "SELECT COUNT(*) FROM ZELSCANLOGLIGHT"))
                   .arg(Ms(archivio.Preparazione.nsecsElapsed())));
        Stampa("isql-fb opens the same file at the same time, with this process's engine configuration FIREBIRD=" +
               qEnvironmentVariable("FIREBIRD"));
        const bool soloFetch = app.arguments().contains("fetch");
        if (!soloFetch) UnaRiga(db, path);
        MoltiRighe(db, path);
        if (!soloFetch) MilioneDiRighe(db);
        return 0;
    } catch (const Exception& e) {
        std::fprintf(stderr, "bench_datalayer: %s\n", qPrintable(e.Message()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_datalayer: %s\n", e.what());
    }
    return 1;
}
