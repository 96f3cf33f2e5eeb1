// The search as text: field classes, the condition for each field class and search type, the sort
// lines, the all-fields condition and the record test.
#include "db/Errore.h"
#include "grid/RicercaGriglia.h"

#include <QtTest>

namespace {

TRicerca Testo(const QString& testo, int tipo, bool upper, const QString& espressione = "CLIENTI.RAGSOC") {
    TRicerca r;
    r.Espressione = espressione;
    r.Testo = testo;
    r.Tipo = tipo;
    r.Upper = upper;
    return r;
}

TRicerca Date(const QString& data1, const QString& data2, bool conOra) {
    TRicerca r;
    r.Espressione = "T.D";
    r.Classe = TClasseCampo::Data;
    r.ConOra = conOra;
    r.Data1 = data1;
    r.Data2 = data2;
    return r;
}

}  // namespace

Q_DECLARE_METATYPE(TRicerca)

class TestRicercaGriglia : public QObject {
    Q_OBJECT
private slots:
    void classeCampo_data() {
        QTest::addColumn<int>("tipo");
        QTest::addColumn<int>("classe");
        using C = TClasseCampo;
        using T = TFbFieldType;
        const QList<QPair<T, C>> casi{{T::Smallint, C::Numerico}, {T::Integer, C::Numerico}, {T::Float, C::Numerico},
                                      {T::Double, C::Numerico},   {T::Date, C::Data},        {T::TimeStamp, C::Data},
                                      {T::Blob, C::Blob},         {T::Memo, C::Testo},       {T::String, C::Testo},
                                      {T::FixedChar, C::Testo},   {T::Largeint, C::Testo},   {T::Numeric, C::Testo},
                                      {T::Time, C::Testo},        {T::Boolean, C::Testo}};
        for (const auto& c : casi) QTest::addRow("type %d", int(c.first)) << int(c.first) << int(c.second);
    }
    void classeCampo() {
        QFETCH(int, tipo);
        QFETCH(int, classe);
        QCOMPARE(int(ClasseCampo(TFbFieldType(tipo))), classe);
    }

    void connettore() {
        QCOMPARE(ConnettoreRicerca({"SELECT *", "FROM CLIENTI"}), "WHERE");
        QCOMPARE(ConnettoreRicerca({"SELECT *", "FROM CLIENTI", "where CODICE > 'A'"}), "AND");
    }

    void dataDaTesto() {
        QCOMPARE(DataDaTesto("04/03/2024"), QDate(2024, 3, 4));
        QVERIFY(!DataDaTesto("04.03.2024").isValid());
        QVERIFY(!DataDaTesto("31/02/2024").isValid());
        QVERIFY(DataRicercaCompleta("04/03/2024"));
        QVERIFY(!DataRicercaCompleta("04/03/24"));
        QVERIFY(!DataRicercaCompleta("04/03/2"));
        QVERIFY(!DataRicercaCompleta("30/12/1899"));
        QVERIFY(DataRicercaCompleta("31/12/1899"));
        QVERIFY(!DataRicercaCompleta(""));
    }

    void condizione_data() {
        QTest::addColumn<TRicerca>("ricerca");
        QTest::addColumn<QString>("connettore");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("contains, upper") << Testo("rossi", 1, true) << "WHERE"
                                         << "WHERE(UPPER(CLIENTI.RAGSOC) LIKE '%ROSSI%')";
        QTest::newRow("at least, no upper") << Testo("Ro", 0, false) << "WHERE" << "WHERE(CLIENTI.RAGSOC >= 'Ro')";
        QTest::newRow("begins with, after WHERE") << Testo("ro", 2, true) << "AND"
                                                  << "AND(UPPER(CLIENTI.RAGSOC) LIKE 'RO%')";
        QTest::newRow("empty text") << Testo("", 1, true) << "WHERE" << "";
        TRicerca numero = Testo("12", 1, true, "T.ID");
        numero.Classe = TClasseCampo::Numerico;
        QTest::newRow("number: no UPPER") << numero << "WHERE" << "WHERE(T.ID LIKE '%12%')";
        TRicerca blob = Testo("ab", 0, true, "T.FOTO");
        blob.Classe = TClasseCampo::Blob;
        QTest::newRow("blob: no UPPER") << blob << "WHERE" << "WHERE(T.FOTO >= 'ab')";
        QTest::newRow("apostrophe doubled") << Testo("d'arco", 2, false) << "WHERE"
                                            << "WHERE(CLIENTI.RAGSOC LIKE 'd''arco%')";
        QTest::newRow("injection stays a literal") << Testo("x' OR '1'='1", 1, true) << "WHERE"
                                                   << "WHERE(UPPER(CLIENTI.RAGSOC) LIKE '%X'' OR ''1''=''1%')";
        QTest::newRow("typed apostrophe: either spelling")
            << Testo(QString::fromUtf8("d´arco"), 1, false) << "WHERE"
            << QString::fromUtf8("WHERE((CLIENTI.RAGSOC LIKE '%d´arco%') OR (CLIENTI.RAGSOC LIKE '%d''arco%'))");
        QTest::newRow("typed apostrophe and a real one, at least")
            << Testo(QString::fromUtf8("l´a'b"), 0, false) << "AND"
            << QString::fromUtf8("AND((CLIENTI.RAGSOC >= 'l´a''b') OR (CLIENTI.RAGSOC >= 'l''a''b'))");
        QTest::newRow("one date") << Date("04/03/2024", "", false) << "WHERE" << "WHERE(T.D >= '03/04/2024')";
        QTest::newRow("two dates") << Date("04/03/2024", "05/03/2024", false) << "AND"
                                   << "AND(T.D >= '03/04/2024')AND(T.D <= '03/05/2024')";
        QTest::newRow("two timestamps: the last day included")
            << Date("04/03/2024", "29/02/2024", true) << "WHERE" << "WHERE(T.D >= '03/04/2024')AND(T.D < '03/01/2024')";
        QTest::newRow("no first date") << Date("", "05/03/2024", false) << "WHERE" << "";
    }
    void condizione() {
        QFETCH(TRicerca, ricerca);
        QFETCH(QString, connettore);
        QFETCH(QString, atteso);
        QCOMPARE(CondizioneRicerca(ricerca, connettore), atteso);
    }

    void secondaDataNonValida() {
        try {
            CondizioneRicerca(Date("04/03/2024", "05/03/2", false), "WHERE");
            QFAIL("no error");
        } catch (const EConvertError& e) {
            QCOMPARE(e.Message(), "'05/03/2' is not a valid date");
        }
    }

    void ordinamentoRicerca_data() {
        QTest::addColumn<int>("opzione");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<int>("classe");
        QTest::addColumn<QString>("atteso");
        const int testo = int(TClasseCampo::Testo), numero = int(TClasseCampo::Numerico);
        QTest::newRow("ascending, upper") << 1 << true << testo << "ORDER BY UPPER(CLIENTI.RAGSOC)";
        QTest::newRow("descending, upper") << 2 << true << testo << "ORDER BY UPPER(CLIENTI.RAGSOC) DESC";
        QTest::newRow("ascending") << 1 << false << testo << "ORDER BY CLIENTI.RAGSOC";
        QTest::newRow("descending") << 2 << false << testo << "ORDER BY CLIENTI.RAGSOC DESC";
        QTest::newRow("number, upper ticked") << 2 << true << numero << "ORDER BY CLIENTI.RAGSOC DESC";
        QTest::newRow("the grid's own") << 0 << true << testo << "";
    }
    void ordinamentoRicerca() {
        QFETCH(int, opzione);
        QFETCH(bool, upper);
        QFETCH(int, classe);
        QFETCH(QString, atteso);
        TRicerca r = Testo("x", 1, upper);
        r.Classe = TClasseCampo(classe);
        r.Ordinamento = opzione;
        QCOMPARE(OrdinamentoRicerca(r), atteso);
    }

    void ordinamentoGrigliaInRicerca_data() {
        QTest::addColumn<int>("modalita");
        QTest::addColumn<bool>("orderBy");
        QTest::addColumn<QString>("colonna");  // the single sort's expression
        QTest::addColumn<QStringList>("atteso");
        QTest::newRow("single, OrderBy off") << 1 << false << "T.CODICE" << QStringList{"ORDER BY T.CODICE DESC"};
        QTest::newRow("single, not an origin") << 1 << true << "T.ALTRO" << QStringList{};
        QTest::newRow("single, none") << 1 << true << "" << QStringList{};
        QTest::newRow("several, first not an origin") << 2 << true << "" << QStringList{"ORDER BY T.NOTE", ",T.CODICE DESC"};
        QTest::newRow("several, OrderBy off") << 2 << false << "" << QStringList{};
        QTest::newRow("not decided") << 0 << true << "T.CODICE" << QStringList{};
    }
    void ordinamentoGrigliaInRicerca() {
        QFETCH(int, modalita);
        QFETCH(bool, orderBy);
        QFETCH(QString, colonna);
        QFETCH(QStringList, atteso);
        TOrdinamentoGriglia o;
        o.ModalitaFunzionamento = qint16(modalita);
        if (!colonna.isEmpty()) {
            o.FCampoDiOrdinamento = "CAMPO";
            o.FOrigineCampoDiOrdinamento = colonna;
            o.FTipoOrdinamento = 2;
        }
        if (modalita != 1) {
            o.AggiungiVoce("ALTRO", "T.ALTRO", 1, 1);
            o.AggiungiVoce("NOTE", "T.NOTE", 2, 1);
            o.AggiungiVoce("CODICE", "T.CODICE", 3, 2);
        }
        QCOMPARE(OrdinamentoGrigliaInRicerca(o, orderBy, {"T.ID", "T.CODICE", "T.NOTE", ""}), atteso);
    }

    void ricercaGenerica_data() {
        QTest::addColumn<QStringList>("base");
        QTest::addColumn<QStringList>("origini");
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QStringList>("atteso");
        QTest::newRow("first field without origin")
            << QStringList{"SELECT 1 AS UNO, C.CODICE, C.RAGSOC", "FROM CLIENTI C"}
            << QStringList{"", "CLIENTI.CODICE", "CLIENTI.RAGSOC"} << "ro"
            << QStringList{"WHERE(", "(CLIENTI.CODICE CONTAINING 'RO')", "OR(CLIENTI.RAGSOC CONTAINING 'RO')", ")"};
        QTest::newRow("base with WHERE, apostrophe")
            << QStringList{"SELECT * FROM CLIENTI", "WHERE CODICE > 'A'"} << QStringList{"CLIENTI.RAGSOC"} << "d'a"
            << QStringList{"AND(", "(CLIENTI.RAGSOC CONTAINING 'D''A')", ")"};
        QTest::newRow("typed apostrophe: either spelling")
            << QStringList{"SELECT * FROM CLIENTI"} << QStringList{"", "CLIENTI.RAGSOC"} << QString::fromUtf8("d´a")
            << QStringList{"WHERE(",
                           QString::fromUtf8("((CLIENTI.RAGSOC CONTAINING 'D´A') OR (CLIENTI.RAGSOC CONTAINING 'D''A'))"), ")"};
        QTest::newRow("lower-case where is not seen")
            << QStringList{"select * from CLIENTI where CODICE > 'A'"} << QStringList{"CLIENTI.RAGSOC"} << "x"
            << QStringList{"WHERE(", "(CLIENTI.RAGSOC CONTAINING 'X')", ")"};
        QTest::newRow("no field with an origin") << QStringList{"SELECT 1 FROM RDB$DATABASE"} << QStringList{""} << "x"
                                                 << QStringList{};
    }
    void ricercaGenerica() {
        QFETCH(QStringList, base);
        QFETCH(QStringList, origini);
        QFETCH(QString, testo);
        QFETCH(QStringList, atteso);
        QCOMPARE(RigheRicercaGenerica(base, origini, testo), atteso);
    }

    void accettaValore_data() {
        QTest::addColumn<QString>("valore");
        QTest::addColumn<QString>("chiave");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<int>("tipo");
        QTest::addColumn<bool>("atteso");
        QTest::newRow("at least") << "B" << "A" << false << 0 << true;
        QTest::newRow("less") << "A" << "B" << false << 0 << false;
        QTest::newRow("lower case is after upper case") << "a" << "B" << false << 0 << true;
        QTest::newRow("contains") << "Mario Rossi" << "Ross" << false << 1 << true;
        QTest::newRow("contains, case differs") << "Mario Rossi" << "ross" << false << 1 << false;
        QTest::newRow("contains, upper") << "Mario Rossi" << "ross" << true << 1 << true;
        QTest::newRow("begins with, upper") << "rossi" << "ROS" << true << 2 << true;
        QTest::newRow("begins with, case differs") << "rossi" << "ROS" << false << 2 << false;
        QTest::newRow("typed apostrophe, real one stored") << "D'Arco" << QString::fromUtf8("d´a") << true << 2 << true;
        QTest::newRow("typed apostrophe, typed one stored") << QString::fromUtf8("D´Arco") << QString::fromUtf8("d´a") << true << 2
                                                            << true;
        QTest::newRow("real apostrophe does not find the typed one") << QString::fromUtf8("D´Arco") << "d'a" << true << 2 << false;
        QTest::newRow("other type") << "rossi" << "r" << true << 3 << false;
        QTest::newRow("no search type") << "rossi" << "r" << true << -1 << false;
    }
    void accettaValore() {
        QFETCH(QString, valore);
        QFETCH(QString, chiave);
        QFETCH(bool, upper);
        QFETCH(int, tipo);
        QFETCH(bool, atteso);
        QCOMPARE(AccettaValore(valore, chiave, upper, tipo), atteso);
    }
};

QTEST_MAIN(TestRicercaGriglia)
#include "tst_ricercagriglia.moc"
