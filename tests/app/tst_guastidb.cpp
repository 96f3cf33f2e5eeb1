// The main window on an archive whose Firebird server goes away: during a tree build, during a
// grid fetch and during a re-send's log check the window shows the database's message and stays
// alive, and once the server is back the next refresh works. The test runs a server of its own, so it can stop it
// without disturbing the shared one.
#include "app/FormMain.h"
#include "app/Programma.h"
#include "db/FbDataSet.h"
#include "controls/RadioGroup.h"
#include "grid/PtqGrid.h"
#include "grid/RPtqGrid.h"
#include "tests/app/AmbienteProva.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/ServerPrivato.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QtTest>
#include <memory>

namespace {

int Nodi(const QTreeWidget& albero) {
    return int(albero.findItems("", Qt::MatchContains | Qt::MatchRecursive).size());
}

// Double-clicks the title of grid column `colonna` as a user does.
void DoppioClicTitolo(TPtqGrid& grid, int colonna) {
    QHeaderView* titoli = grid.horizontalHeader();
    const int campo = grid.Colonne().Campo(colonna);
    const QPoint punto(titoli->sectionViewportPosition(campo) + titoli->sectionSize(campo) / 2, titoli->height() / 2);
    QTest::mousePress(titoli->viewport(), Qt::LeftButton, {}, punto);
    QTest::mouseRelease(titoli->viewport(), Qt::LeftButton, {}, punto);
    QTest::mouseDClick(titoli->viewport(), Qt::LeftButton, {}, punto);
}

QTreeWidgetItem* Cerca(const QTreeWidget& albero, const QString& testo) {
    const auto trovati = albero.findItems(testo, Qt::MatchContains | Qt::MatchRecursive);
    return trovati.isEmpty() ? nullptr : trovati.first();
}

}  // namespace

class TestGuastiDb : public QObject {
    Q_OBJECT
    std::unique_ptr<TServerPrivato> FServer;
    std::unique_ptr<TAmbienteProva> FAmb;
    int FNodiA123 = 0;  // nodes of the full tree of "A123"

    std::unique_ptr<TFormMain> Finestra() {
        const QString ini = FAmb->Ini("[CONFIG]\r\nUTENTE=1\r\nDITTA=01\r\nPercorsoDatabase={UTENTI}\r\n"
                                      "ZELSCANSRVURL=http://127.0.0.1:9\r\n");
        auto form = AvviaFormMain({}, ini);
        if (!form) return form;
        form->show();
        form->EditFiltroCodice->setText("A123");
        form->ActionRefresh->trigger();
        return form;
    }
    void Interrompi() {
        const QString errore = FServer->Ferma();
        QVERIFY2(errore.isEmpty(), qPrintable(errore));
    }
    void Riprendi() {
        const QString errore = FServer->Riprendi();
        QVERIFY2(errore.isEmpty(), qPrintable(errore));
    }
    // The one box a lost server gives: the client library's message, which names the step that
    // found the connection gone.
    static void VerificaMessaggioDelDatabase(const TRecordingBoxes& boxes, const QString& tipo) {
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(boxes.Boxes[0].Kind, tipo);
        const QStringList messaggi{"Error writing data to the connection.", "Error reading data from the connection."};
        QVERIFY2(messaggi.contains(boxes.Boxes[0].Text), qPrintable(boxes.Boxes[0].Text));
    }

private slots:
    void initTestCase() {
        ZEL_RICHIEDI_SERVER_DI_TEST();
        FServer = std::make_unique<TServerPrivato>("tst_guastidb", QStringList{"3055", "3056", "3057"});
        const QString errore = FServer->Avvia();
        QVERIFY2(errore.isEmpty(), qPrintable(errore));
        const QString archivio = FServer->Host() + ":" + FServer->Cartella() + "/archivio.fdb";
        DemoData::CreaDatabase(archivio, DemoData::ScriptArchivio());
        {
            TFbDatabase db;
            Connetti(db, archivio);
            DemoData::PopolaArchivioBase(db);
        }
        {
            // a subject whose log rows fill more than the grid's first screenful of fetches
            TFbDatabase db;
            Connetti(db, archivio);
            EseguiSQL(db, "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 3000) DO BEGIN "
                          "INSERT INTO ZELSCANLOGLIGHT (ID, DATOINPUT, NR_MACCHINA, FILEDESTINAZIONE_NOME, "
                          "TIPOOPERAZIONE, STATUS) VALUES (900000 + :I, 'MOLTE', 1, LPAD(:I, 200, 'x'), 'EXPORT', "
                          "'RIFIUTATO'); I = I + 1; END END");
        }
        FAmb = std::make_unique<TAmbienteProva>(archivio);
        TRecordingBoxes boxes;
        auto form = Finestra();
        QVERIFY(form);
        FNodiA123 = Nodi(*form->TreeViewMain);
        QVERIFY(Cerca(*form->TreeViewMain, "A125_flangia.nc"));
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
    }
    void cleanupTestCase() {
        FAmb.reset();
        FServer.reset();
    }

    void serverStoppedAroundATreeBuild_data() {
        QTest::addColumn<bool>("durante");
        QTest::newRow("during the build") << true;
        QTest::newRow("while the window is idle") << false;
    }
    void serverStoppedAroundATreeBuild() {
        QFETCH(bool, durante);
        TRecordingBoxes boxes;
        auto form = Finestra();
        QVERIFY(form);
        QCOMPARE(Nodi(*form->TreeViewMain), FNodiA123);
        bool fermato = false;
        if (durante) {
            // the server goes away once the orders are read, as the first order's machines are asked for
            form->QueryAux2->BeforeOpen = [&](TFbDataSet*) {
                if (!fermato) Interrompi();
                fermato = true;
            };
        } else {
            Interrompi();
        }
        form->ActionRefresh->trigger();
        form->QueryAux2->BeforeOpen = nullptr;
        QCOMPARE(fermato, durante);
        VerificaMessaggioDelDatabase(boxes, "Errore");
        QVERIFY(form->isVisible());
        if (durante) QVERIFY(Nodi(*form->TreeViewMain) < FNodiA123);  // the nodes read until then

        Riprendi();
        boxes.Boxes.clear();
        form->ActionRefresh->trigger();
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
        QCOMPARE(Nodi(*form->TreeViewMain), FNodiA123);
    }

    void serverStoppedDuringAGridFetch() {
        TRecordingBoxes boxes;
        auto form = Finestra();
        QVERIFY(form);
        form->EditFiltroCodice->setText("MOLTE");
        form->ActionRefresh->trigger();
        QTRY_VERIFY(form->PtqGrid->model()->rowCount() > 0);
        const int mostrate = form->PtqGrid->model()->rowCount();
        QVERIFY(mostrate < 3000);

        Interrompi();
        // the rows below are fetched as the user scrolls, past what the client holds already
        for (int i = 0; i < 100 && boxes.Boxes.isEmpty(); ++i) {
            form->PtqGrid->scrollToBottom();
            QTest::qWait(20);
        }
        QTRY_COMPARE(boxes.Boxes.size(), 1);
        VerificaMessaggioDelDatabase(boxes, "Errore");
        QVERIFY(form->isVisible());
        QVERIFY(form->PtqGrid->model()->rowCount() >= mostrate);
        QCOMPARE(form->PtqGrid->model()->index(0, 1).data().toString(), QString("MOLTE"));

        Riprendi();
        boxes.Boxes.clear();
        form->ActionRefresh->trigger();
        for (int i = 0; i < 100 && form->PtqGrid->model()->rowCount() < 3000; ++i) {
            form->PtqGrid->scrollToBottom();
            QTest::qWait(20);
        }
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
        QCOMPARE(form->PtqGrid->model()->rowCount(), 3000);
    }

    // A title double-click with the server gone: one message, no crash; once it is back the next
    // double-click connects again and sorts.
    void serverStoppedDuringATitleSort() {
        TRecordingBoxes boxes;
        auto form = Finestra();
        QVERIFY(form);
        TPtqGrid* grid = form->PtqGrid;
        QTRY_VERIFY(grid->model()->rowCount() > 0);
        Interrompi();
        DoppioClicTitolo(*grid, grid->Colonne().PosizioneDi("NR_MACCHINA"));
        VerificaMessaggioDelDatabase(boxes, "Errore");
        QVERIFY(form->isVisible());

        Riprendi();
        boxes.Boxes.clear();
        DoppioClicTitolo(*grid, grid->Colonne().PosizioneDi("NR_MACCHINA"));
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
        QVERIFY(form->IBQuery->Active());
        QVERIFY(form->IBQuery->SQL.join('\n').contains("ORDER BY ZELSCANLOGLIGHT.NR_MACCHINA"));
        QTRY_VERIFY(grid->model()->rowCount() > 0);
    }

    // A search keystroke with the server gone: one message, however many statements it needed;
    // once the server is back the next keystroke connects again and searches.
    void serverStoppedDuringASearchKeystroke() {
        TRecordingBoxes boxes;
        auto form = Finestra();
        QVERIFY(form);
        TPtqGrid* grid = form->PtqGrid;
        QTRY_VERIFY(grid->model()->rowCount() > 0);
        grid->setCurrentIndex(grid->model()->index(0, form->IBQuery->FieldIndex("FILEDESTINAZIONE_NOME")));
        int messaggi = -1;
        QStringList trovati;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<TRPtqGridForm*>(QApplication::activeModalWidget());
            if (!d) return;
            d->EditTipoRicerca->SetItemIndex(2);
            Interrompi();
            QTest::keyClicks(d->EditStringa, "A12");
            QTest::keyClick(d->EditStringa, Qt::Key_3);
            QTRY_VERIFY_WITH_TIMEOUT(!boxes.Boxes.isEmpty(), 5000);
            QTest::qWait(1500);  // no later tick tells it again
            messaggi = int(boxes.Boxes.size());
            Riprendi();
            QTest::keyClicks(d->EditStringa, "_st");
            QTRY_VERIFY_WITH_TIMEOUT(form->IBQuery->Active(), 5000);
            for (form->IBQuery->First(); !form->IBQuery->Eof(); form->IBQuery->Next())
                trovati << form->IBQuery->FieldByName("FILEDESTINAZIONE_NOME").AsString();
            d->reject();
        });
        grid->EseguiComando("Ricerca su campo Corrente");
        QCOMPARE(messaggi, 1);
        QCOMPARE(boxes.Boxes[0].Kind, QString("Errore"));
        QCOMPARE(boxes.Boxes.size(), 1);
        QVERIFY(form->isVisible());
        QCOMPARE(trovati, QStringList{"A123_staffa.dxf"});
    }

    void serverStoppedDuringTheResendLogCheck() {
        TRecordingBoxes boxes;
        boxes.Risposta = false;  // nothing is sent
        auto form = Finestra();
        QVERIFY(form);
        form->TreeViewMain->setCurrentItem(Cerca(*form->TreeViewMain, "A123_staffa.dxf"));
        QVERIFY(form->IdRecordSelezionatoCorrente() != 0);

        Interrompi();
        form->ActionUpFile->trigger();
        VerificaMessaggioDelDatabase(boxes, "Avviso");
        QVERIFY(form->isVisible());

        Riprendi();
        boxes.Boxes.clear();
        form->ActionRefresh->trigger();
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
        QCOMPARE(Nodi(*form->TreeViewMain), FNodiA123);
        form->TreeViewMain->setCurrentItem(Cerca(*form->TreeViewMain, "A123_staffa.dxf"));
        form->ActionUpFile->trigger();
        QCOMPARE(boxes.Ultimo(), QString("Conferma: Effettuare l'invio del file selezionato?"));
    }
};

QTEST_MAIN(TestGuastiDb)
#include "tst_guastidb.moc"
