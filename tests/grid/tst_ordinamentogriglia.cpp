// Sorting the grid: the double-click state machine, the stored marks, the title colours, the
// ORDER BY of the query source and the title double-click on a real grid.
#include "db/FbTransaction.h"
#include "grid/AspettoGriglia.h"
#include "grid/ModelloGriglia.h"
#include "grid/OrdinamentoGriglia.h"
#include "grid/PtqGrid.h"
#include "tests/support/RecordingBoxes.h"
#include "tests/support/TestDb.h"

#include <QHeaderView>
#include <QtTest>

namespace {

const QStringList Base{"SELECT ID, DATOINPUT, NR_MACCHINA, DATAORA, STATUS FROM ZELSCANLOGLIGHT"};

// Runs clicks like "A A B^" on columns A, B, C... (^: Ctrl held) and returns the marks the save
// would write, as "A=10 B=20".
QString Marche(TOrdinamentoGriglia& o, const QString& clic) {
    for (const QString& c : clic.split(' ', Qt::SkipEmptyParts)) {
        const QString campo = c.left(1);
        o.CambiaModalita(c.endsWith('^'));
        o.DoppioClicTitolo(campo.at(0).unicode() - 'A', campo, "T." + campo, "t." + campo);
    }
    QStringList marche;
    for (const char* campo : {"A", "B", "C"}) {
        if (const std::optional<int> m = o.Marca(campo)) marche << QString(campo) + "=" + QString::number(*m);
    }
    return marche.join(' ');
}

}  // namespace

class TestOrdinamentoGriglia : public QObject {
    Q_OBJECT
    TTestDir FDir;
    TFbDatabase FDb;
    TFbTransaction FTr{&FDb};
    int FUtente = 10;

    struct TBanco {
        TFbQuery Query;
        TPtqGrid Grid;
    };
    std::unique_ptr<TBanco> Banco(int utente, const QStringList& sql = Base) {
        auto b = std::make_unique<TBanco>();
        b->Query.SetDatabase(&FDb);
        b->Query.SetTransaction(&FTr);
        b->Query.SQL = sql;
        // the owner's before-open handler, as the grid expects it
        b->Query.BeforeOpen = [g = &b->Grid, q = &b->Query, sql](TFbDataSet*) {
            if (g->RicercaInCorso()) return;
            q->SQL = sql;
            g->SQLIniziale() = sql;
            g->RecuperaAspettodaStorico();
        };
        b->Grid.SetCodiceProgetto(534);
        b->Grid.SetSituazione(1);
        b->Grid.SetUtente(utente);
        b->Grid.SetNomeTabellaQuery("ZELSCANLOGLIGHT");
        b->Grid.SetTabellaPiccola(true);
        b->Grid.SetSorgenteDati(&b->Query);
        b->Grid.resize(700, 300);
        return b;
    }
    void Marca(int utente, const QString& campo, int posizione, int marca, const QString& origine = {}) {
        EseguiSQL(FDb, QString("INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO, LARGHEZZA, "
                               "POSIZIONE, NOMECOLONNA, ORDINAMENTO, VISIBILE, COLORECOLONNA, ORIGINE) VALUES "
                               "(534, 1, %1, '%2', 80, %3, '%2', %4, 1, 0, '%5')")
                           .arg(utente)
                           .arg(campo)
                           .arg(posizione)
                           .arg(marca)
                           .arg(origine.isEmpty() ? "ZELSCANLOGLIGHT." + campo : origine));
    }
    QStringList Aggiunte(const TBanco& b) const { return b.Query.SQL.mid(Base.size()); }
    QString Marche(int utente) {
        return ValoreSQL(FDb, QString("SELECT LIST(NOMECAMPO || '=' || ORDINAMENTO, ' ') FROM (SELECT NOMECAMPO, ORDINAMENTO "
                                      "FROM STOASP1 WHERE CODICEUTENTE=%1 AND CODICESITUAZIONE=1 AND ORDINAMENTO IS NOT NULL "
                                      "ORDER BY ABS(ORDINAMENTO))")
                                  .arg(utente));
    }
    // Double-clicks the title of grid column `colonna` as a user does.
    void DoppioClic(TPtqGrid& grid, int colonna, Qt::KeyboardModifiers tasti = {}) {
        QHeaderView* titoli = grid.horizontalHeader();
        const int campo = grid.Colonne().Campo(colonna);
        const QPoint punto(titoli->sectionViewportPosition(campo) + titoli->sectionSize(campo) / 2, titoli->height() / 2);
        QTest::mousePress(titoli->viewport(), Qt::LeftButton, tasti, punto);
        QTest::mouseRelease(titoli->viewport(), Qt::LeftButton, tasti, punto);
        QTest::mouseDClick(titoli->viewport(), Qt::LeftButton, tasti, punto);
    }
    std::optional<TColore> ColoreTitolo(TPtqGrid& grid, int colonna) {
        return grid.ModelloGriglia()->ColoreTitolo(grid.Colonne().Campo(colonna));
    }

private slots:
    void initTestCase() {
        Connetti(FDb, FDir.NuovoArchivioDemo());
        EseguiSQL(FDb, "CREATE TABLE SENZACHIAVE (CODICE INTEGER, NOME VARCHAR(20))");
    }

    void statements() {
        const TChiaveImpostazioni chiave{"STOASP1", 534, 1, 5};
        const QStringList where{"WHERE (CodiceSituazione=1)", "AND (CodiceUtente=5)", "AND (CodiceProgetto=534)"};
        QCOMPARE(LineeSceltaModalita(chiave), (QStringList{"SELECT * FROM \"STOASP1\""} + where +
                                               QStringList{"AND (Ordinamento IS NOT NULL)", "AND (ABS(Ordinamento)>'2')"}));
        QCOMPARE(LineeOrdinamentoSingolo(chiave),
                 QStringList{"SELECT * FROM \"STOASP1\""} + where + QStringList{"AND (Ordinamento IS NOT NULL)"});
        QCOMPARE(LineeOrdinamentoMultiplo(chiave),
                 QStringList{"SELECT ABS(Ordinamento) AS ORD,Ordinamento,NomeCampo,Origine,Posizione FROM \"STOASP1\""} + where +
                     QStringList{"AND (Ordinamento IS NOT NULL) ORDER BY ORD"});
        QCOMPARE(LineeChiavePrimaria("ZELSCANLOGLIGHT"),
                 (QStringList{"SELECT B.RDB$FIELD_NAME", "FROM RDB$RELATION_CONSTRAINTS A LEFT JOIN", "RDB$INDEX_SEGMENTS B ON",
                              "(A.RDB$INDEX_NAME=B.RDB$INDEX_NAME)", "WHERE (A.RDB$RELATION_NAME='ZELSCANLOGLIGHT')",
                              "AND(A.RDB$CONSTRAINT_TYPE='PRIMARY KEY')", "ORDER BY B.RDB$FIELD_POSITION"}));
    }

    void doubleClicks_data() {
        QTest::addColumn<QString>("clic");
        QTest::addColumn<QString>("marche");
        QTest::addColumn<int>("modalita");
        QTest::newRow("A") << "A" << "A=1" << 1;
        QTest::newRow("A again: descending") << "A A" << "A=2" << 1;
        QTest::newRow("then B: ascending on B") << "A A B" << "B=1" << 1;
        QTest::newRow("Ctrl on B adds a key") << "A B^" << "A=10 B=20" << 2;
        QTest::newRow("Ctrl on B again reverses it") << "A B^ B^" << "A=10 B=-20" << 2;
        QTest::newRow("descending A becomes key 1") << "A A B^" << "A=-10 B=20" << 2;
        QTest::newRow("plain C in mode 2: single sort on C") << "A B^ C" << "C=1" << 1;
        QTest::newRow("plain A in mode 2: entry 0 reversed") << "A B^ A" << "A=2" << 1;
    }
    void doubleClicks() {
        QFETCH(QString, clic);
        QFETCH(QString, marche);
        QFETCH(int, modalita);
        TOrdinamentoGriglia o;
        o.Inizializza();
        o.ModalitaFunzionamento = 1;
        QCOMPARE(::Marche(o, clic), marche);
        QCOMPARE(o.ModalitaFunzionamento, modalita);
    }

    void multiColumnListState() {
        TOrdinamentoGriglia o;
        o.ModalitaFunzionamento = 1;
        ::Marche(o, "B A^ C^");
        QCOMPARE(o.FOrdinamentoA, qint16(3));
        QCOMPARE(o.FCampoDiOrdinamentoA.mid(0, 3), (QVector<QString>{"B", "A", "C"}));
        QCOMPARE(o.FPosizioneCampoOrdinamentoA.mid(0, 3), (QVector<int>{1, 0, 2}));
        // the single sort's expression for entry 0, the upper-cased origin for added entries
        QCOMPARE(o.FOrigineCampoDiOrdinamentoA.mid(0, 3), (QVector<QString>{"T.B", "T.A", "T.C"}));
        QCOMPARE(o.IndexFieldNames(), "B;A;C;");
        QVERIFY(o.ButtonCtrlDown);
        o.CambiaModalita(false);
        QCOMPARE(o.FCampoDiOrdinamento, "B");
        QCOMPARE(o.FPosizioneCampoOrdinamento, 1);
        QCOMPARE(o.FOrdinamentoA, qint16(0));
        QCOMPARE(o.IndexFieldNames(), "B");
        o.Forza();
        QCOMPARE(o.ModalitaFunzionamento, qint16(0));
        QVERIFY(o.FCampoDiOrdinamento.isEmpty());
    }

    void titleColours() {
        TOrdinamentoGriglia o;
        o.ModalitaFunzionamento = 2;
        const int posizioni[] = {2, 0, 5, 1, 3};  // the third lies beyond the last column
        for (int j = 0; j < 5; ++j) o.AggiungiVoce(QString(QChar('A' + j)), {}, posizioni[j], 1);
        o.AggiungiVoce("", {}, 0, 1);  // no name: no colour
        using C = QVector<QPair<int, TColore>>;
        QCOMPARE(o.ColoriTitoli(4, clRosso), (C{{2, clRosso}, {0, 0xB4B4F3}, {1, 0x77A4FF}, {3, 0x77A4FF}}));
        QCOMPARE(ColoreQt(clSecondaChiave), QColor(243, 180, 180));
        QCOMPARE(ColoreQt(clAltreChiavi), QColor(255, 164, 119));
        o.CambiaModalita(false);
        QCOMPARE(o.ColoriTitoli(3, 0x123456), (C{{2, 0x123456}}));
        QCOMPARE(o.ColoriTitoli(2, 0x123456), C{});
        QCOMPARE(ColoriIndicizzati({"ID", "nome", "NOME", "X"}, "NOME; id;;X", clGiallo), (C{{1, clGiallo}, {0, clGiallo}}));
        QVERIFY(CampoIndicizzato("nome", "ID;NOME"));
        QVERIFY(!CampoIndicizzato("X", "ID;;X"));
        QCOMPARE(EspressioneCampo("dataora", "T.DATAORA", {"DATAORA"}, {"CAST(DATAORA AS DATE)"}), "CAST(DATAORA AS DATE)");
        QCOMPARE(EspressioneCampo("ID", "T.ID", {"DATAORA"}, {"X"}), "T.ID");
        QCOMPARE(EspressioneCampo("CALC", "", {}, {}), "CALC");
    }

    // Stored +10 on DATAORA and -20 on NR_MACCHINA: the opening decides mode 2 and orders by both,
    // each key on its own line; the titles take the colours of their ranks.
    void storedMarksGiveTheMultiColumnOrder() {
        const int utente = ++FUtente;
        Marca(utente, "DATAORA", 3, 10);
        Marca(utente, "NR_MACCHINA", 2, -20);
        auto b = Banco(utente);
        b->Query.Open();
        QCOMPARE(b->Grid.Ordinamento().ModalitaFunzionamento, qint16(2));
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.DATAORA", ",ZELSCANLOGLIGHT.NR_MACCHINA DESC"}));
        QCOMPARE(ColoreTitolo(b->Grid, 3), std::optional<TColore>(clRosso));
        QCOMPARE(ColoreTitolo(b->Grid, 2), std::optional<TColore>(clSecondaChiave));
        QCOMPARE(ColoreTitolo(b->Grid, 0), std::nullopt);
        b->Query.Close();
    }

    void storedSingleSort() {
        const int utente = ++FUtente;
        Marca(utente, "STATUS", 4, 2);
        auto b = Banco(utente);
        b->Query.Open();
        QCOMPARE(b->Grid.Ordinamento().ModalitaFunzionamento, qint16(1));
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.STATUS DESC"}));
        QCOMPARE(ColoreTitolo(b->Grid, 4), std::optional<TColore>(clRosso));
        b->Query.Close();
    }

    // An expression the base query no longer has adds nothing; the next usable entry opens the ORDER BY.
    void vanishedExpressionIsSkipped() {
        const int utente = ++FUtente;
        Marca(utente, "VECCHIO", 0, 10, "ZELSCANLOGLIGHT.VECCHIO");
        Marca(utente, "DATAORA", 3, -20);
        auto b = Banco(utente);
        b->Query.Open();
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.DATAORA DESC"}));
        b->Query.Close();
    }

    // A computed column has no origin: as a key of the list it adds nothing, never a bare ORDER BY.
    void computedColumnAddsNoKey() {
        const int utente = ++FUtente;
        const QStringList sql{"SELECT ID, DATOINPUT || '-' AS CALC FROM ZELSCANLOGLIGHT"};
        auto b = Banco(utente, sql);
        b->Query.Open();
        b->Grid.OrdinaPerColonna(0);
        b->Grid.Ordinamento().CambiaModalita(true);
        b->Grid.OrdinaPerColonna(1);
        QCOMPARE(b->Query.SQL.mid(sql.size()), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.ID"}));
        QCOMPARE(Marche(utente), "ID=10 CALC=20");
        TOrdinamentoGriglia o;
        o.ModalitaFunzionamento = 2;
        o.AggiungiVoce("CALC", "", 1, 1);
        QCOMPARE(LineeOrdinamentoQuery(&FDb, sql, o, {}, true, "ZELSCANLOGLIGHT"), QStringList{});
        b->Query.Close();
    }

    void personalisedFieldUsesItsDecoding() {
        const int utente = ++FUtente;
        Marca(utente, "DATAORA", 3, 1);
        auto b = Banco(utente);
        b->Grid.CampiPersonalizzati() = QStringList{"dataora"};
        b->Grid.CampiPersonalizzatiDecodifica() = QStringList{"CAST(DATAORA AS DATE)"};
        b->Query.Open();
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY CAST(DATAORA AS DATE)"}));
        b->Query.Close();
    }

    void primaryKeyDefault_data() {
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<bool>("chiavePrimaria");
        QTest::addColumn<bool>("orderBy");
        QTest::addColumn<QStringList>("aggiunte");
        QTest::newRow("table with a key") << "ZELSCANLOGLIGHT" << true << true << QStringList{"", "ORDER BY ZELSCANLOGLIGHT.ID"};
        QTest::newRow("table without a key") << "SENZACHIAVE" << true << true << QStringList{""};
        QTest::newRow("default off") << "ZELSCANLOGLIGHT" << false << true << QStringList{""};
        QTest::newRow("OrderBy false") << "ZELSCANLOGLIGHT" << true << false << QStringList{""};
    }
    void primaryKeyDefault() {
        QFETCH(QString, tabella);
        QFETCH(bool, chiavePrimaria);
        QFETCH(bool, orderBy);
        QFETCH(QStringList, aggiunte);
        auto b = Banco(++FUtente);
        b->Grid.SetNomeTabellaQuery(tabella);
        b->Grid.ChiavePrimariaOrdDefault = chiavePrimaria;
        b->Grid.SetOrderBy(orderBy);
        b->Query.Open();
        QCOMPARE(Aggiunte(*b), aggiunte);
        b->Query.Close();
    }

    // A user double-clicks titles: the grid reopens in the new order, stores the marks and colours
    // the titles, on screen too.
    void titleDoubleClicksOnScreen() {
        const int utente = ++FUtente;
        auto b = Banco(utente);
        b->Query.Open();
        b->Grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b->Grid));
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.ID"}));

        DoppioClic(b->Grid, 3);
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.DATAORA"}));
        QCOMPARE(Marche(utente), "DATAORA=1");
        QCOMPARE(b->Grid.currentIndex().column(), b->Grid.Colonne().Campo(3));
        QCOMPARE(ColoreTitolo(b->Grid, 3), std::optional<TColore>(clRosso));
        // the title's background as painted
        QHeaderView* titoli = b->Grid.horizontalHeader();
        const QImage immagine = titoli->grab().toImage();
        const QPoint centro(titoli->sectionViewportPosition(3) + 6, titoli->height() / 2);
        const QColor dipinto = immagine.pixelColor(centro * immagine.devicePixelRatio());
        // the style's gradient lightens it a little
        QVERIFY2(dipinto.red() > 200 && dipinto.green() < 130 && dipinto.blue() < 130, qPrintable(dipinto.name()));

        DoppioClic(b->Grid, 2, Qt::ControlModifier);
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.DATAORA", ",ZELSCANLOGLIGHT.NR_MACCHINA"}));
        QCOMPARE(Marche(utente), "DATAORA=10 NR_MACCHINA=20");
        QCOMPARE(ColoreTitolo(b->Grid, 2), std::optional<TColore>(clSecondaChiave));
        DoppioClic(b->Grid, 2, Qt::ControlModifier);
        QCOMPARE(Marche(utente), "DATAORA=10 NR_MACCHINA=-20");

        // a double-click on a cell only switches the mode back and goes on to the view
        QSignalSpy celle(&b->Grid, &QAbstractItemView::doubleClicked);
        const QRect cella = b->Grid.visualRect(b->Grid.model()->index(0, 1));
        QTest::mousePress(b->Grid.viewport(), Qt::LeftButton, {}, cella.center());
        QTest::mouseRelease(b->Grid.viewport(), Qt::LeftButton, {}, cella.center());
        QTest::mouseDClick(b->Grid.viewport(), Qt::LeftButton, {}, cella.center());
        QCOMPARE(celle.count(), 1);
        QCOMPARE(b->Grid.Ordinamento().ModalitaFunzionamento, qint16(1));
        QCOMPARE(b->Grid.Ordinamento().FCampoDiOrdinamento, "DATAORA");
        b->Query.Close();
    }

    void orderByFalseStillStoresTheSort() {
        const int utente = ++FUtente;
        auto b = Banco(utente);
        b->Grid.SetOrderBy(false);
        b->Query.Open();
        b->Grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b->Grid));
        DoppioClic(b->Grid, 1);
        QCOMPARE(Aggiunte(*b), QStringList{""});
        QCOMPARE(Marche(utente), "DATOINPUT=1");
        b->Query.Close();
    }

    void largeTableRefusesUnindexedFields() {
        TRecordingBoxes boxes;
        const int utente = ++FUtente;
        auto b = Banco(utente);
        b->Grid.SetTabellaPiccola(false);
        b->Grid.SetCampiIndicizzati("ID;DATOINPUT");
        b->Query.Open();
        const QStringList prima = b->Query.SQL;
        b->Grid.OrdinaPerColonna(3);
        QCOMPARE(boxes.Ultimo(), "Avviso: Attenzione: Non è possibile eseguire la ricerca su un campo non indicizzato di "
                                 "una tabella di grandi dimensioni");
        QCOMPARE(b->Query.SQL, prima);
        QCOMPARE(Marche(utente), "");
        boxes.Boxes.clear();
        b->Grid.OrdinaPerColonna(1);
        QVERIFY(boxes.Boxes.isEmpty());
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.DATOINPUT"}));
        b->Query.Close();
    }

    // A refused double-click leaves the sort as it was: the next save stores the old sort and the
    // next opening orders by it, in single and in multi-column mode.
    void refusedSortIsNotTakenUpLater() {
        TRecordingBoxes boxes;
        const int utente = ++FUtente;
        Marca(utente, "ID", 0, 10);
        Marca(utente, "DATOINPUT", 1, -20);
        auto b = Banco(utente);
        b->Grid.SetTabellaPiccola(false);
        b->Grid.SetCampiIndicizzati("ID;DATOINPUT");
        b->Query.Open();
        b->Grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b->Grid));
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.ID", ",ZELSCANLOGLIGHT.DATOINPUT DESC"}));
        DoppioClic(b->Grid, 3);  // without Ctrl: it would leave the list, on an unindexed field
        QCOMPARE(boxes.Boxes.size(), 1);
        QCOMPARE(b->Grid.Ordinamento().ModalitaFunzionamento, qint16(2));
        QCOMPARE(b->Grid.Ordinamento().FOrdinamentoA, qint16(2));
        DoppioClic(b->Grid, 4, Qt::ControlModifier);  // a further key, unindexed
        QCOMPARE(boxes.Boxes.size(), 2);
        QCOMPARE(b->Grid.Ordinamento().FOrdinamentoA, qint16(2));
        b->Grid.setColumnWidth(b->Grid.Colonne().Campo(2), 91);  // something for the save to write
        b->Grid.SalvaAspettoSuStorico();
        QCOMPARE(Marche(utente), "ID=10 DATOINPUT=-20");
        b->Query.Close();
        b->Grid.SettaGridPerForzaturaOrdinamento();
        b->Query.Open();
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.ID", ",ZELSCANLOGLIGHT.DATOINPUT DESC"}));

        // single-column mode (the list's first key, reversed by the click): the field and direction stay
        DoppioClic(b->Grid, 0);
        QCOMPARE(Marche(utente), "ID=2");
        DoppioClic(b->Grid, 3);
        QCOMPARE(boxes.Boxes.size(), 3);
        QCOMPARE(b->Grid.Ordinamento().FCampoDiOrdinamento, "ID");
        QCOMPARE(b->Grid.Ordinamento().FTipoOrdinamento, 2);
        b->Grid.setColumnWidth(b->Grid.Colonne().Campo(2), 92);
        b->Grid.SalvaAspettoSuStorico();
        QCOMPARE(Marche(utente), "ID=2");
        b->Query.Close();
        b->Query.Open();
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.ID DESC"}));
        b->Query.Close();
    }

    // After a stored layout that moved and hid columns, a double-click sorts by the column under
    // the mouse, selects it and marks its row.
    void doubleClickAfterAMovedAndHiddenLayout() {
        const int utente = ++FUtente;
        const QString inserisci = "INSERT INTO STOASP1 (CODICEPROGETTO, CODICESITUAZIONE, CODICEUTENTE, NOMECAMPO, LARGHEZZA, "
                                  "POSIZIONE, NOMECOLONNA, VISIBILE, COLORECOLONNA, ORIGINE) VALUES (534, 1, %1, '%2', 90, %3, "
                                  "'%2', %4, 0, 'ZELSCANLOGLIGHT.%2')";
        const QStringList disposizione{"STATUS", "ID", "DATAORA", "NR_MACCHINA", "DATOINPUT"};
        for (int p = 0; p < disposizione.size(); ++p)
            EseguiSQL(FDb, inserisci.arg(utente).arg(disposizione[p]).arg(p).arg(p == 1 || p == 3 ? 0 : 1));
        auto b = Banco(utente);
        b->Query.Open();
        b->Grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&b->Grid));
        QCOMPARE(b->Grid.Colonne().NomiCampi(), disposizione);
        DoppioClic(b->Grid, 2);
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.DATAORA"}));
        QCOMPARE(Marche(utente), "DATAORA=1");
        QCOMPARE(b->Grid.currentIndex().column(), b->Query.FieldIndex("DATAORA"));
        QCOMPARE(ColoreTitolo(b->Grid, 2), std::optional<TColore>(clRosso));
        DoppioClic(b->Grid, 4);
        QCOMPARE(Aggiunte(*b), (QStringList{"", "ORDER BY ZELSCANLOGLIGHT.DATOINPUT"}));
        QCOMPARE(b->Grid.Colonne().NomiCampi(), disposizione);
        QVERIFY(b->Grid.isColumnHidden(b->Query.FieldIndex("ID")));
        QVERIFY(b->Grid.isColumnHidden(b->Query.FieldIndex("NR_MACCHINA")));
        b->Query.Close();
    }

    void missingLayoutTableFailsTheOpening() {
        TFbDatabase senza;
        Connetti(senza, FDir.NuovoDatabase("senza.fdb", {"archive_schema"}));
        auto b = Banco(++FUtente);
        b->Grid.SetDatabaseImpostazioni(&senza);
        try {
            b->Query.Open();
            QFAIL("the opening must fail");
        } catch (const EDatabaseError& e) {
            QVERIFY2(e.Message().contains("STOASP1"), qPrintable(e.Message()));
        }
        QVERIFY(!b->Query.Active());
    }
};

QTEST_MAIN(TestOrdinamentoGriglia)
#include "tst_ordinamentogriglia.moc"
