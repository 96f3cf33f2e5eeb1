// The grid shows every row of its source whatever columns are hidden: on opening, when scrolled
// to the end, on Ctrl+End, after a search is dropped and after a sort, also with the first column
// hidden by the stored layout.
#include "db/FbTransaction.h"
#include "grid/PtqGrid.h"
#include "grid/RPtqGrid.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/TestDb.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>

namespace {

constexpr int Righe = 3000;
const QStringList Base{"SELECT ID, DATOINPUT, NR_MACCHINA, DATAORA, STATUS FROM ZELSCANLOGLIGHT WHERE DATOINPUT='MOLTE'"};

}  // namespace

class TestRigheGriglia : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    TFbTransaction FTr{&FDb};
    int FUtente = 10;

    struct TBanco {
        TFbQuery Query;
        TPtqGrid Grid;
    };
    // A grid on the 3,000 rows of one subject, with its owner's before-open handler, shown.
    std::unique_ptr<TBanco> Banco(int utente) {
        auto b = std::make_unique<TBanco>();
        b->Query.SetDatabase(&FDb);
        b->Query.SetTransaction(&FTr);
        b->Query.BeforeOpen = [g = &b->Grid, q = &b->Query](TFbDataSet*) {
            if (g->RicercaInCorso()) return;
            q->SQL = Base;
            g->SQLIniziale() = Base;
            g->RecuperaAspettodaStorico();
        };
        b->Grid.SetCodiceProgetto(534);
        b->Grid.SetSituazione(1);
        b->Grid.SetUtente(utente);
        b->Grid.SetNomeTabellaQuery("ZELSCANLOGLIGHT");
        b->Grid.SetTabellaPiccola(true);
        b->Grid.SetSorgenteDati(&b->Query);
        b->Grid.resize(600, 300);
        b->Grid.show();
        if (!QTest::qWaitForWindowExposed(&b->Grid)) qWarning("grid not exposed");
        return b;
    }
    // Stored layout rows: `nascoste` hidden, the fields in their query order.
    void Aspetto(int utente, const QStringList& nascoste) {
        const QStringList campi{"ID", "DATOINPUT", "NR_MACCHINA", "DATAORA", "STATUS"};
        for (int p = 0; p < campi.size(); ++p)
            EseguiSQL(FDb, QString("INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO, LARGHEZZA, "
                                   "POSIZIONE, NOMECOLONNA, VISIBILE, COLORECOLONNA, ORIGINE) VALUES (534, 1, %1, '%2', 90, %3, "
                                   "'%2', %4, 0, 'ZELSCANLOGLIGHT.%2')")
                               .arg(utente)
                               .arg(campi[p])
                               .arg(p)
                               .arg(nascoste.contains(campi[p]) ? 0 : 1));
    }
    static int Mostrate(TPtqGrid& grid) { return grid.model()->rowCount(); }
    // The rows fetched reach past the bottom of the viewport.
    static bool ViewportPieno(TPtqGrid& grid) {
        const int ultima = Mostrate(grid) - 1;
        return ultima >= 0 && grid.rowViewportPosition(ultima) + grid.rowHeight(ultima) >= grid.viewport()->height();
    }
    // Scrolls to the end as a user drags the bar down, until no more rows come.
    static void ScorriInFondo(TPtqGrid& grid) {
        for (int i = 0; i < 100 && Mostrate(grid) < Righe; ++i) {
            grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
            QTest::qWait(5);
        }
    }

private slots:
    void initTestCase() {
        Connetti(FDb, FDir.NuovoArchivioDemo());
        EseguiSQL(FDb, "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < 3000) DO BEGIN "
                       "INSERT INTO ZELSCANLOGLIGHT (ID, DATOINPUT, NR_MACCHINA, FILEDESTINAZIONE_NOME, "
                       "TIPOOPERAZIONE, STATUS) VALUES (900000 + :I, 'MOLTE', MOD(:I, 7), 'f' || :I, 'EXPORT', "
                       "'ACCETTATO'); I = I + 1; END END");
    }

    void everyRowWhateverColumnsAreHidden_data() {
        QTest::addColumn<QStringList>("nascoste");
        QTest::newRow("nothing hidden") << QStringList{};
        QTest::newRow("the first column") << QStringList{"ID"};
        QTest::newRow("the first two") << QStringList{"ID", "DATOINPUT"};
        QTest::newRow("another column") << QStringList{"NR_MACCHINA"};
    }
    void everyRowWhateverColumnsAreHidden() {
        QFETCH(QStringList, nascoste);
        TRecordingBoxes boxes;
        const int utente = ++FUtente;
        Aspetto(utente, nascoste);
        auto b = Banco(utente);
        b->Query.Open();
        QTRY_VERIFY(ViewportPieno(b->Grid));
        QVERIFY(Mostrate(b->Grid) < Righe);  // rows still come on demand
        for (const QString& campo : nascoste) QVERIFY(b->Grid.isColumnHidden(b->Query.FieldIndex(campo)));

        ScorriInFondo(b->Grid);
        QCOMPARE(Mostrate(b->Grid), Righe);

        // a title sort reopens the source: the viewport fills again
        b->Grid.OrdinaPerColonna(2);
        QTRY_VERIFY(ViewportPieno(b->Grid));
        // a search reopens it, and so does dropping the search
        b->Grid.setCurrentIndex(b->Grid.model()->index(0, b->Query.FieldIndex("DATOINPUT")));
        QTimer::singleShot(0, [] {
            auto* d = qobject_cast<TRPtqGridForm*>(QApplication::activeModalWidget());
            if (!d) return;
            QTest::keyClicks(d->EditStringa, "MOL");
            QTest::keyClick(d->EditStringa, Qt::Key_Return);
        });
        b->Grid.AttivaRicerche();
        QVERIFY(b->Query.SQL.join(' ').contains("'MOL'"));
        QTRY_VERIFY(ViewportPieno(b->Grid));
        b->Grid.AnnullaRicerca();
        QTRY_VERIFY(ViewportPieno(b->Grid));

        // Ctrl+End goes to the source's last row
        b->Grid.setFocus();
        b->Grid.setCurrentIndex(b->Grid.model()->index(0, b->Query.FieldIndex("STATUS")));
        QTest::keyClick(&b->Grid, Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(Mostrate(b->Grid), Righe);
        QCOMPARE(b->Grid.currentIndex().row(), Righe - 1);
        QVERIFY2(boxes.Boxes.isEmpty(), qPrintable(boxes.Ultimo()));
        b->Query.Close();
    }
};

QTEST_MAIN(TestRigheGriglia)
#include "tst_righegriglia.moc"
