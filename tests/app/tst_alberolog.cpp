// The log tree built on the demo archive with the window's three queries: the statements of the
// machine and file levels, an order series holding an apostrophe, and rebuilds on the same queries.
#include "app/AlberoLog.h"
#include "db/Errore.h"
#include "db/FbDataSet.h"
#include "db/FbTransaction.h"
#include "tests/support/TestDb.h"

#include <QTreeWidget>
#include <QtTest>

namespace {

// Every node as an indented line; a file node adds its payload.
QStringList Righe(const QTreeWidget& albero) {
    QStringList righe;
    std::function<void(QTreeWidgetItem*, int)> visita = [&](QTreeWidgetItem* n, int livello) {
        QString riga = QString(livello * 2, ' ') + n->text(0);
        if (const std::optional<TMyRec> rec = PayloadNodo(n))
            riga += QString(" | %1 | %2 | %3").arg(rec->ID).arg(rec->TestoCommessa, rec->TestoItem);
        righe << riga;
        for (int i = 0; i < n->childCount(); ++i) visita(n->child(i), livello + 1);
    };
    for (int i = 0; i < albero.topLevelItemCount(); ++i) visita(albero.topLevelItem(i), 0);
    return righe;
}

QString Ts(int giorno, int ora, int minuto) { return TestoValore(QDateTime(QDate(2025, 3, giorno), QTime(ora, minuto))); }

}  // namespace

class TestAlberoLog : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    TFbTransaction FTr{&FDb};
    TFbQuery FOrdini, FMacchine, FFile;
    QTreeWidget FAlbero;

    QStringList Costruisci(const QString& soggetto) {
        if (FTr.Active()) FTr.Commit();
        FTr.Start();
        CaricaAlbero(FAlbero, soggetto, FOrdini, FMacchine, FFile);
        return Righe(FAlbero);
    }

private slots:
    void initTestCase() {
        Connetti(FDb, FDir.NuovoArchivioDemo());
        for (TFbQuery* q : {&FOrdini, &FMacchine, &FFile}) {
            q->SetDatabase(&FDb);
            q->SetTransaction(&FTr);
        }
    }

    void statementsOfTheMachineAndFileLevels() {
        QCOMPARE(SQLMacchine(), (QStringList{"SELECT W.NR_MACCHINA, M.DESCRIZIONE ",
                                             "FROM ZELSCANLOGLIGHT W INNER JOIN RET_MACCHINARI M ON(W.NR_MACCHINA=M.CODICE)",
                                             "WHERE W.DATOINPUT = :SERDOC",
                                             "AND W.TIPOOPERAZIONE='EXPORT LAVORO' AND W.STATUS='ACCETTATO'",
                                             "GROUP BY W.NR_MACCHINA, M.DESCRIZIONE "}));
        QCOMPARE(SQLFile(), (QStringList{"SELECT W.ID, W.DATAORA, W.FILEDESTINAZIONE_NOME", "FROM ZELSCANLOGLIGHT W",
                                         "WHERE W.DATOINPUT = :SERDOC", "AND W.NR_MACCHINA = :NR_MACCHINA",
                                         "AND W.TIPOOPERAZIONE='EXPORT LAVORO' AND W.STATUS='ACCETTATO'"}));
        QCOMPARE(SQLOrdini("B'7").at(4),
                 QString("   SELECT FIRST 1 CODICECLIENTE FROM ORDC WHERE SERDOC='B''7' OR CODICECLIENTE='B''7'"));
    }

    void seriesWithAnApostrophe() {
        const QString id7 = ValoreSQL(FDb, "SELECT ID FROM ZELSCANLOGLIGHT WHERE DATOINPUT = 'B''7'");
        const QString id8 = ValoreSQL(FDb, "SELECT ID FROM ZELSCANLOGLIGHT WHERE DATOINPUT = 'B008'");
        const QString commessa7 = "D'Amico Lamiere S.p.A. - " + TestoValore(QDate(2025, 5, 6)) + " - 7 - Serie con apostrofo";
        const QString commessa8 = "D'Amico Lamiere S.p.A. - " + TestoValore(QDate(2025, 5, 9)) + " - 8 - ";
        QCOMPARE(Costruisci("B'7"),
                 (QStringList{"D'Amico Lamiere S.p.A.",
                              "  B'7 - " + TestoValore(QDate(2025, 5, 6)) + " - 7 - Serie con apostrofo",
                              "    1 Taglio laser Trumpf",
                              "      " + Ts(21, 9, 0) + " - B7_taglio.dxf | " + id7 + " | " + commessa7 + " | " + id7 +
                                  " - B7_taglio.dxf",
                              "  B008 - " + TestoValore(QDate(2025, 5, 9)) + " - 8 - ",
                              "    2 Piegatrice Amada",
                              "      " + Ts(22, 9, 0) + " - B008_piega.lst | " + id8 + " | " + commessa8 + " | " + id8 +
                                  " - B008_piega.lst"}));
        for (QTreeWidgetItem* n : FAlbero.findItems("", Qt::MatchContains | Qt::MatchRecursive))
            if (n->childCount() > 0) QVERIFY(n->isExpanded());
        // the three queries stay open after the build
        QVERIFY(FOrdini.Active() && FMacchine.Active() && FFile.Active());
    }

    void aFailingQueryKeepsTheNodesSoFarUnexpanded() {
        int aperture = 0;
        FFile.BeforeOpen = [&](TFbDataSet*) {
            if (++aperture == 2) throw EDatabaseError("Lettura non riuscita");
        };
        QVERIFY_THROWS_EXCEPTION(EDatabaseError, Costruisci("A123"));
        FFile.BeforeOpen = nullptr;
        const QStringList righe = Righe(FAlbero);
        QCOMPARE(righe.size(), 6);
        QCOMPARE(righe.first(), QString("Officina Meccanica Rossi S.r.l."));
        QVERIFY(righe.at(4).endsWith(" - A123_staffa.dxf"));
        QCOMPARE(righe.last(), QString("    2 Piegatrice Amada"));
        for (QTreeWidgetItem* n : FAlbero.findItems("", Qt::MatchContains | Qt::MatchRecursive)) QVERIFY(!n->isExpanded());
    }

    // Rebuilds on the same queries, for other subjects in between, give the same tree each time.
    void rebuildsOnTheSameQueries() {
        const QStringList a123 = Costruisci("A123");
        QCOMPARE(a123.size(), 16);
        QCOMPARE(a123.at(2), QString("    1 Taglio laser Trumpf"));
        QVERIFY(a123.at(3).endsWith(" - A123_pannello.dxf | 1 | Officina Meccanica Rossi S.r.l. - " +
                                    TestoValore(QDate(2025, 3, 4)) + " - 123 - Consegna urgente entro fine me | 1 - "
                                    "A123_pannello.dxf"));
        const QStringList b7 = Costruisci("B'7");
        QCOMPARE(Costruisci("ZZZ"), QStringList{});
        QCOMPARE(Costruisci("A123"), a123);
        QCOMPARE(Costruisci("C002"), b7);
        // a row committed between two builds shows in the second
        EseguiSQL(FDb, "INSERT INTO ZELSCANLOGLIGHT (ID, DATOINPUT, NR_MACCHINA, DATAORA, FILEDESTINAZIONE_NOME, "
                       "TIPOOPERAZIONE, STATUS) VALUES (GEN_ID(GEN_ZELSCANLOGLIGHT, 1), 'B''7', 3, "
                       "'2025-03-27 09:00:00', 'B7_fori.nc', 'EXPORT LAVORO', 'ACCETTATO')");
        const QStringList dopo = Costruisci("B'7");
        QCOMPARE(dopo.size(), b7.size() + 2);
        QCOMPARE(dopo.at(4), QString("    3 Punzonatrice Salvagnini"));
        QVERIFY(dopo.at(5).contains(" - B7_fori.nc | "));
    }
};

QTEST_MAIN(TestAlberoLog)
#include "tst_alberolog.moc"
