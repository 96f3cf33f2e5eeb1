// The grid's "Stampa" command: its popup state, the job set up from the grid and the modal dialog.
#include "db/FbTransaction.h"
#include "grid/ColonneGriglia.h"
#include "grid/PtqGrid.h"
#include "grid/StampaGriglia.h"
#include "print/StPtqGrid.h"
#include "print/StPtqGridForm.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/TestDb.h"

#include <QApplication>
#include <QMenu>
#include <QtTest>

class TestStampaGriglia : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    TFbTransaction FTr{&FDb};

    void Prepara(TFbQuery& q) {
        q.SetDatabase(&FDb);
        q.SetTransaction(&FTr);
        q.SQL = QStringList{"SELECT *", "FROM ZELSCANLOGLIGHT", "WHERE DATOINPUT = 'A123'"};
    }

private slots:
    void initTestCase() { Connetti(FDb, FDir.NuovoArchivioDemo()); }

    // Enabled exactly when the data set is open and the grid names its table.
    void itemEnabledBeforeTheMenuShows_data() {
        QTest::addColumn<bool>("aperto");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<bool>("abilitato");
        QTest::newRow("open, named") << true << "ZELSCANLOGLIGHT" << true;
        QTest::newRow("open, no table name") << true << "" << false;
        QTest::newRow("closed") << false << "ZELSCANLOGLIGHT" << false;
    }
    void itemEnabledBeforeTheMenuShows() {
        QFETCH(bool, aperto);
        QFETCH(QString, nome);
        QFETCH(bool, abilitato);
        TFbQuery q;
        Prepara(q);
        TPtqGrid grid;
        grid.SetNomeTabellaQuery(nome);
        grid.SetSorgenteDati(&q);
        if (aperto) q.Open();
        emit grid.MenuPopup()->aboutToShow();
        QCOMPARE(grid.Voce("Stampa")->isEnabled(), abilitato);
        QVERIFY(grid.Voce("Stampa")->isVisible());
    }

    void otherKindsAreRefused() {
        TRecordingBoxes boxes;
        TPtqGrid grid;
        grid.SetTipoTabella(2);
        grid.StampaGriglia();
        QCOMPARE(boxes.Ultimo(), "Avviso: Funzionalità non disponibile per questo tipo di vista");
        QVERIFY(grid.findChildren<TPtqGridStampa*>().isEmpty());
    }

    void jobSetUpFromTheGrid() {
        TFbQuery q;
        Prepara(q);
        TPtqGrid grid;
        grid.SetCodiceProgetto(534);
        grid.SetSituazione(-3);
        grid.SetUtente(5);
        grid.SetNomeTabellaQuery("ZELSCANLOGLIGHT");
        grid.FDirectoryBin = "/opt/suite bin";
        grid.SetSorgenteDati(&q);
        TPtqGridStampa* s = NuovaStampaGriglia(grid);
        QVERIFY(s && s->parent() == &grid);
        QCOMPARE(s->Progetto, 534);
        QCOMPARE(s->Situazione, 3);
        QCOMPARE(s->Utente, 5);
        QCOMPARE(s->Tabella, "ZELSCANLOGLIGHT");
        QCOMPARE(s->SQLRif, "SELECT *\r\nFROM ZELSCANLOGLIGHT\r\nWHERE DATOINPUT = 'A123'\r\n");
        QCOMPARE(s->BinDir, "/opt/suite bin");
        QCOMPARE(s->DatabaseRif.data(), &FDb);

        TFbDatabase impostazioni;
        grid.SetDatabaseImpostazioni(&impostazioni);
        TPtqGridStampa* seconda = NuovaStampaGriglia(grid);
        QCOMPARE(seconda->DatabaseRif.data(), &impostazioni);
        // Jobs stay until the grid goes.
        QCOMPARE(grid.findChildren<TPtqGridStampa*>().size(), 2);
    }

    // The job prints what the grid shows: its save step stores the layout, and the definition
    // holds the visible columns in screen order with their titles and widths.
    void printsTheLayoutAsShown() {
        TFbQuery q;
        q.SetDatabase(&FDb);
        q.SetTransaction(&FTr);
        q.SQL = QStringList{"SELECT ID, DATOINPUT, NR_MACCHINA, DATAORA FROM ZELSCANLOGLIGHT"};
        TPtqGrid grid;
        grid.SetCodiceProgetto(534);
        grid.SetUtente(3);
        grid.SetNomeTabellaQuery("ZELSCANLOGLIGHT");
        grid.SetSorgenteDati(&q);
        q.Open();
        TColonneGriglia colonne = grid.Colonne();
        colonne.SpostaCampo("DATAORA", 1);
        colonne.ImpostaColonna(0, 60, "Numero", 0, true);
        colonne.ImpostaColonna(1, 302, "Data \"invio\"", 0, true);
        colonne.ImpostaColonna(2, 100, "Serie", 0, false);
        colonne.ImpostaColonna(3, 100, "Macchina", 0, true);
        TPtqGridStampa* s = NuovaStampaGriglia(grid);
        QVERIFY(s);
        const QString bin = FDir.Path("bin");
        QVERIFY(QDir().mkpath(bin + "/report"));
        s->BinDir = bin;
        s->GeneraReport();
        QFile f(s->PercorsoReport());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QStringList testi, larghezze;
        for (const QByteArray& riga : f.readAll().split('\n')) {
            if (riga.startsWith("\t\t Text=")) testi << QString::fromLatin1(riga.mid(8).chopped(1));
            if (riga.startsWith("\t\t Width=")) larghezze << QString::fromLatin1(riga.mid(9).chopped(1));
        }
        QCOMPARE(testi, (QStringList{"ID", "DATAORA", "NR_MACCHINA", "\"Numero\"", "\"Data \"invio\"\"", "\"Macchina\""}));
        QCOMPARE(larghezze, (QStringList{"16000", "80000", "26000", "16000", "80000", "26000"}));
        q.Close();
    }

    // "Stampa" from the popup opens the dialog modally, with the grid's font, on a new job.
    void commandOpensTheModalDialog() {
        TFbQuery q;
        Prepara(q);
        TPtqGrid grid;
        grid.SetNomeTabellaQuery("ZELSCANLOGLIGHT");
        grid.SetSorgenteDati(&q);
        QFont font("DejaVu Sans", 13);
        grid.setFont(font);
        q.Open();
        QString visto;
        QTimer::singleShot(0, [&] {
            auto* f = qobject_cast<TStPtqGridForm*>(QApplication::activeModalWidget());
            if (!f) return;
            visto = f->windowTitle() + (f->font() == font ? " / font della griglia" : " / altro font") +
                    (f->PtqGridStampa()->parent() == &grid ? " / lavoro della griglia" : "");
            f->ButtonChiudiClick();
        });
        QVERIFY(grid.EseguiComando("Stampa"));
        QCOMPARE(visto, "Stampa ZELSCANLOGLIGHT / font della griglia / lavoro della griglia");
        QCOMPARE(grid.findChildren<TStPtqGridForm*>().size(), 0);  // the dialog is freed
        QCOMPARE(grid.findChildren<TPtqGridStampa*>().size(), 1);
    }
};

QTEST_MAIN(TestStampaGriglia)
#include "tst_stampagriglia.moc"
