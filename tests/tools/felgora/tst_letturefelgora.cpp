// The stand-in launcher's readers on the hand-written command file and report definitions of this
// folder, on broken copies of them and on arbitrary bytes; and the designer's list.
#include "db/Charset.h"
#include "tools/felgora/ComandoFelgora.h"
#include "tools/felgora/DefinizioneReport.h"
#include "tools/felgora/FormDesigner.h"

#include <QRandomGenerator>
#include <QTreeWidget>
#include <QtTest>

namespace {

QByteArray Fixture(const QString& nome) {
    QFile f(QStringLiteral(ZEL_FELGORA_FILE "/") + nome);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QByteArray Sostituito(QByteArray testo, const QByteArray& da, const QByteArray& a) {
    const qsizetype i = testo.indexOf(da);
    return i < 0 ? QByteArray("<testo da sostituire assente: " + da + ">") : testo.replace(i, da.size(), a);
}

QString Cella(const TCellaReport& c) {
    return QString("%1|%2|%3|%4 %5|%6").arg(c.Larghezza).arg(int(c.Allineamento)).arg(c.ACapo).arg(c.Font.Nome).arg(c.Font.Dimensione).arg(c.TestoOriginale);
}

QStringList Celle(const QList<TCellaReport>& celle) {
    QStringList testi;
    for (const TCellaReport& c : celle) testi << Cella(c);
    return testi;
}

QString Pagina(const TEspressioneReport& e, int pagina, int totale) {
    return e.Valuta([](int k) { return QString("<campo %1>").arg(k); }, pagina, totale);
}

}  // namespace

class TestLettureFelgora : public QObject {
    Q_OBJECT

private slots:
    void commandFileItems() {
        const auto esito = LeggiComandoFelgora(Fixture("comando.txt"));
        QVERIFY2(esito.Ok(), qPrintable(esito.Errore()));
        const TComandoFelgora& c = esito.Valore();
        QCOMPARE(c.SQLStampa, QStringList({"SELECT", "  *", "FROM", "  ZELSCANLOGLIGHT", "WHERE", "  ID IS NOT NULL",
                                           "ORDER BY", "  ID"}));
        QCOMPARE(c.NomeReport, "C:\\ZelScan\\Bin\\report\\StPtqGrid_20250305081000123.LST");
        QCOMPARE(c.TitoloStampa, "ZELSCANLOGLIGHT");
        QVERIFY(c.AnteprimaDiretta);
        QVERIFY(!c.EditaReportDiretto);
    }

    void commandFileEditModeAndAnsiText() {
        QByteArray testo = Sostituito(Fixture("comando.txt"), "<AnteprimaDiretta>1</AnteprimaDiretta>",
                                      "<EditaReportDiretto>1</EditaReportDiretto>");
        testo = Sostituito(testo, "<TitoloStampa>ZELSCANLOGLIGHT", Charset::ToWindows1252("<TitoloStampa>Città \"nord\" – LOG"));
        testo = Sostituito(testo, "  ID\r\n</SQLStampa>", "  ID</SQLStampa>");  // the SQL ends on its own last line
        const auto esito = LeggiComandoFelgora(testo);
        QVERIFY2(esito.Ok(), qPrintable(esito.Errore()));
        QVERIFY(!esito.Valore().AnteprimaDiretta);
        QVERIFY(esito.Valore().EditaReportDiretto);
        QCOMPARE(esito.Valore().TitoloStampa, "Città \"nord\" – LOG");
        QCOMPARE(esito.Valore().SQLStampa.last(), "  ID");
    }

    void badCommandFiles_data() {
        QTest::addColumn<QByteArray>("testo");
        QTest::addColumn<QString>("errore");
        const QByteArray buono = Fixture("comando.txt");
        QTest::newRow("empty") << QByteArray() << "Il file comandi non inizia con <PtqForm>";
        QTest::newRow("other text") << QByteArray("ciao\r\n") << "Il file comandi non inizia con <PtqForm>";
        QTest::newRow("no end") << Sostituito(buono, "</PtqForm>\r\n", "") << "Il file comandi non termina con </PtqForm>";
        QTest::newRow("SQL not closed") << Sostituito(buono, "</SQLStampa>", "")
                                        << "Elemento <SQLStampa> non chiuso da </SQLStampa>";
        QTest::newRow("no SQL") << Sostituito(buono, "<SQLStampa>SELECT", "<Altro>SELECT").replace("</SQLStampa>", "</Altro>")
                                << "Il file comandi non contiene <SQLStampa>";
        QTest::newRow("blank SQL") << QByteArray("<PtqForm>\r\n<SQLStampa>  \r\n</SQLStampa>\r\n<NomeReport>r.LST</NomeReport>\r\n</PtqForm>\r\n")
                                   << "L'istruzione SQL della stampa è vuota";
        QTest::newRow("no report") << Sostituito(buono, "<NomeReport>C:\\ZelScan\\Bin\\report\\StPtqGrid_20250305081000123.LST", "<NomeReport>")
                                   << "Il file comandi non indica il report (<NomeReport>)";
        QTest::newRow("report on two lines") << Sostituito(buono, "Bin\\report", "Bin\r\nreport")
                                             << "L'elemento <NomeReport> (riga 11) deve stare su una riga";
        QTest::newRow("repeated") << Sostituito(buono, "</PtqForm>", "<TitoloStampa>X</TitoloStampa>\r\n</PtqForm>")
                                  << "Elemento <TitoloStampa> ripetuto nel file comandi";
        QTest::newRow("bad flag") << Sostituito(buono, "<AnteprimaDiretta>1<", "<AnteprimaDiretta>si<")
                                  << "Valore \"si\" non valido per <AnteprimaDiretta>: atteso 0 o 1";
        QTest::newRow("both modes") << Sostituito(buono, "</PtqForm>", "<EditaReportDiretto>1</EditaReportDiretto>\r\n</PtqForm>")
                                    << "Il file comandi chiede insieme l'anteprima e l'editazione del report";
        QTest::newRow("text after a tag") << Sostituito(buono, "</TitoloStampa>", "</TitoloStampa>x")
                                          << "Testo dopo </TitoloStampa> alla riga 12 del file comandi";
        QTest::newRow("untagged line") << Sostituito(buono, "<TitoloStampa>", "TitoloStampa>")
                                       << "Riga 12 del file comandi non valida: \"TitoloStampa>ZELSCANLOGLIGHT</TitoloStampa>\"";
        QTest::newRow("text after the end") << buono + "altro\r\n" << "Testo dopo </PtqForm> nel file comandi";
    }
    void badCommandFiles() {
        QFETCH(QByteArray, testo);
        QFETCH(QString, errore);
        const auto esito = LeggiComandoFelgora(testo);
        QVERIFY(!esito.Ok());
        QCOMPARE(esito.Errore(), errore);
    }

    void portraitDefinition() {
        const auto esito = LeggiDefinizioneReport(Fixture("verticale.LST"));
        QVERIFY2(esito.Ok(), qPrintable(esito.Errore()));
        const TDefinizioneReport& d = esito.Valore();
        QCOMPARE(d.Pagina, QSize(210000, 296900));
        QVERIFY(!d.Orizzontale());
        QCOMPARE(d.Tabella.Posizione, QRect(7300, 21200, 195000, 257600));
        QVERIFY(d.Tabella.Visibile);
        QCOMPARE(Celle(d.Tabella.Corpo), QStringList({"26000|0|1|Arial 10|DATOINPUT", "79000|0|1|Arial 10|FILEDESTINAZIONE_NOME",
                                                      "90000|0|0|Arial 10|STATUS"}));
        QCOMPARE(Celle(d.Tabella.Intestazione), QStringList({"26000|1|1|Arial 10|\"Ordine\"", "79000|1|1|Arial 10|\"File esportato\"",
                                                             "90000|1|0|Arial 10|\"Esito\""}));
        const TCellaReport& c = d.Tabella.Corpo.first();
        QCOMPARE(c.Testo.Campi(), QStringList{"DATOINPUT"});
        QCOMPARE(std::vector<int>(c.Cornice.Spazio, c.Cornice.Spazio + 4), std::vector<int>({1000, 500, 1000, 500}));
        QVERIFY(c.Cornice.Linea[0] && c.Cornice.Linea[1] && c.Cornice.Linea[2] && c.Cornice.Linea[3]);
        QVERIFY(!c.Riempi);
        QCOMPARE(c.Sfondo, QColor(224, 224, 224));
        QCOMPARE(Pagina(d.Tabella.Intestazione[1].Testo, 1, 1), "File esportato");

        QCOMPARE(d.Testi.size(), 2);
        const TOggettoTestoReport& intestazione = d.Testi[0];
        QCOMPARE(intestazione.Posizione, QRect(7400, 7700, 194900, 10400));
        QVERIFY(intestazione.Visibile);
        QCOMPARE(intestazione.Righe.size(), 2);
        QCOMPARE(Pagina(intestazione.Righe[0].Testo, 1, 1), "Officina Meccanica Rossi S.r.l.");
        // typed with double quotes and written unescaped; the file is in the ANSI code page
        QCOMPARE(Pagina(intestazione.Righe[1].Testo, 1, 1), "Registro \"esportazioni\" – città");
        QCOMPARE(intestazione.Righe[1].Allineamento, TAllineamento::Centro);
        QVERIFY(intestazione.Righe[1].ACapo);
        QCOMPARE(intestazione.Righe[1].Font.Dimensione, 12);

        const TOggettoTestoReport& numeri = d.Testi[1];
        QCOMPARE(numeri.Posizione, QRect(125300, 282500, 76500, 6000));
        QVERIFY(numeri.Visibile);
        QCOMPARE(numeri.Righe.first().Allineamento, TAllineamento::Destra);
        QVERIFY(numeri.Righe.first().Testo.UsaTotalePagine());
        QCOMPARE(Pagina(numeri.Righe.first().Testo, 3, 7), "Pag. 3 di 7");
    }

    void landscapeDefinition() {
        const auto esito = LeggiDefinizioneReport(Fixture("orizzontale.LST"));
        QVERIFY2(esito.Ok(), qPrintable(esito.Errore()));
        const TDefinizioneReport& d = esito.Valore();
        QCOMPARE(d.Pagina, QSize(296900, 210000));
        QVERIFY(d.Orizzontale());
        QCOMPARE(d.Tabella.Posizione, QRect(7300, 21200, 282600, 173200));
        QCOMPARE(Celle(d.Tabella.Corpo), QStringList({"26000|0|0|Arial 8|DATOINPUT", "79000|0|0|Arial 8|FILEDESTINAZIONE_NOME",
                                                      "21000|0|0|Arial 8|STATUS"}));
        QCOMPARE(Celle(d.Tabella.Intestazione), QStringList({"26000|0|0|Arial 8|\"Ordine\"", "79000|0|0|Arial 8|\"File esportato\"",
                                                             "21000|0|0|Arial 8|\"Esito\""}));
        QCOMPARE(d.Testi[0].Posizione.width(), 282500);
        QCOMPARE(d.Testi[0].Righe[0].Allineamento, TAllineamento::Sinistra);
        QVERIFY(!d.Testi[0].Righe[0].ACapo);
        QCOMPARE(d.Testi[1].Posizione.topLeft(), QPoint(213300, 197500));
        QVERIFY(!d.Testi[1].Visibile);  // page numbers off
    }

    void definitionWithoutColumns() {
        QByteArray testo = Fixture("verticale.LST");
        const qsizetype inizio = testo.indexOf("\t\tColumns=3\r\n");
        const qsizetype fine = testo.indexOf("\t\t}\r\n\t   [Options]", inizio);
        testo.replace(inizio, fine - inizio, "\t\tColumns=0\r\n");
        const qsizetype inizio2 = testo.indexOf("\t\tColumns=3\r\n");
        testo.replace(inizio2, testo.indexOf("\t\t}\r\n\t   [Options]", inizio2) - inizio2, "\t\tColumns=0\r\n");
        const auto esito = LeggiDefinizioneReport(testo);
        QVERIFY2(esito.Ok(), qPrintable(esito.Errore()));
        QVERIFY(esito.Valore().Tabella.Corpo.isEmpty());
        QVERIFY(esito.Valore().Tabella.Intestazione.isEmpty());
    }

    void badDefinitions_data() {
        QTest::addColumn<QByteArray>("testo");
        QTest::addColumn<QString>("errore");
        const QByteArray buono = Fixture("verticale.LST");
        QTest::newRow("empty") << QByteArray() << "Manca la sezione [Layout] in []";
        QTest::newRow("not closed") << buono.left(buono.lastIndexOf("  }")) << "Il blocco della sezione [@Parameters] (riga 945 del report) non è chiuso";
        QTest::newRow("stray brace") << QByteArray("[Layout]\r\n}\r\n") << "Riga 2 del report: \"}\" senza blocco aperto";
        QTest::newRow("brace without section") << QByteArray("[Layout]\r\n xSize=1\r\n {\r\n") << "Riga 3 del report: \"{\" senza sezione";
        QTest::newRow("line without key") << QByteArray("[Layout]\r\n xSize\r\n") << "Riga 2 del report non valida: \"xSize\"";
        QTest::newRow("section inside a block") << Sostituito(buono, "\t[Footer]\r\n\t {", "\t[Footer]\r\n\tX=1\r\n\t {")
                                                << "Riga 773 del report: la sezione [Footer] non apre un blocco";
        QTest::newRow("tiny page") << Sostituito(buono, " ySize=296900", " ySize=9999") << "Valore \"9999\" non valido per ySize in [Layout]";
        QTest::newRow("zero page") << Sostituito(buono, " xSize=210000", " xSize=0") << "Valore \"0\" non valido per xSize in [Layout]";
        QTest::newRow("no table") << Sostituito(buono, "ObjectName=Table", "ObjectName=Picture") << "Il report non contiene una tabella";
        QTest::newRow("column count") << Sostituito(buono, "Columns=3", "Columns=4")
                                      << "Oggetto 1 (Table) del report: La riga di corpo dichiara 4 colonne e ne contiene 3";
        QTest::newRow("negative width") << Sostituito(buono, "Width=79000", "Width=-79000")
                                        << "Oggetto 1 (Table) del report: Colonna 2 della riga di corpo: Valore \"-79000\" non valido per Width in [Column]";
        QTest::newRow("width not a number") << Sostituito(buono, "Width=26000", "Width=26mm")
                                            << "Oggetto 1 (Table) del report: Colonna 1 della riga di corpo: Valore \"26mm\" non valido per Width in [Column]";
        QTest::newRow("font size") << Sostituito(buono, "Size=10", "Size=0")
                                   << "Oggetto 1 (Table) del report: Colonna 1 della riga di corpo: Valore \"0\" non valido per Size in [Font]";
        QTest::newRow("wrap value") << Sostituito(buono, "LineWrap=1", "LineWrap=2")
                                    << "Oggetto 1 (Table) del report: Colonna 1 della riga di corpo: Valore \"2\" non valido per LineWrap in [Column]";
        QTest::newRow("condition") << Sostituito(buono, "Condition=True\r\n UserLocked=False\r\n WrapBefore=False\r\n Position/Left=125300",
                                                 "Condition=Page()>1\r\n UserLocked=False\r\n WrapBefore=False\r\n Position/Left=125300")
                                   << "Oggetto 3 (Text) del report: Condizione \"Page()>1\" non supportata";
        QTest::newRow("colour") << Sostituito(buono, "BkColor=RGB(224,224,224)", "BkColor=RGB(300,0,0)")
                                << "Oggetto 1 (Table) del report: Colonna 1 della riga di corpo: Colore \"RGB(300,0,0)\" non valido per BkColor in [Column]";
        QTest::newRow("no body") << Sostituito(buono, "\t[Body]", "\t[Corpo]") << "Oggetto 1 (Table) del report: Manca la sezione [Body] in [Table]";
        QTest::newRow("two tables") << buono + buono.mid(buono.indexOf("[Object]"))
                                    << "Oggetto 4 (Table) del report: Il report contiene più di una tabella";
        QByteArray profondo = "[Layout]\r\n";
        for (int i = 0; i < 100000; ++i) profondo += "[A]\r\n{\r\n";
        QTest::newRow("deep nesting") << profondo << "Riga 128 del report: sezioni annidate troppo in profondità";
    }
    void badDefinitions() {
        QFETCH(QByteArray, testo);
        QFETCH(QString, errore);
        const auto esito = LeggiDefinizioneReport(testo);
        QVERIFY(!esito.Ok());
        QCOMPARE(esito.Errore(), errore);
    }

    // Damaged copies and plain noise: each reader answers with a value or a reason, never a crash.
    void arbitraryBytes() {
        QRandomGenerator caso(20250305);
        const QByteArray report = Fixture("verticale.LST"), comando = Fixture("comando.txt");
        int letti = 0;
        for (int prova = 0; prova < 300; ++prova) {
            for (QByteArray testo : {report, comando}) {
                for (int n = 0; n < 1 + prova % 8; ++n) {
                    const qsizetype i = caso.bounded(testo.size());
                    switch (caso.bounded(3)) {
                    case 0: testo[i] = char(caso.bounded(256)); break;
                    case 1: testo.remove(i, caso.bounded(40)); break;
                    default: testo.insert(i, testo.mid(caso.bounded(testo.size()), caso.bounded(60)));
                    }
                }
                const auto d = LeggiDefinizioneReport(testo);
                const auto c = LeggiComandoFelgora(testo);
                letti += d.Ok() + c.Ok();
                QVERIFY(d.Ok() || !d.Errore().isEmpty());
                QVERIFY(c.Ok() || !c.Errore().isEmpty());
            }
        }
        QByteArray rumore(4096, 0);
        for (char& b : rumore) b = char(caso.bounded(256));
        QVERIFY(!LeggiDefinizioneReport(rumore).Ok());
        QVERIFY(!LeggiComandoFelgora(rumore).Ok());
        QVERIFY(letti > 0);  // small damage often leaves a usable file
    }

    void expressions_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QString>("atteso");
        QTest::addColumn<QStringList>("campi");
        QTest::newRow("field") << "DATOINPUT" << "<campo 0>" << QStringList{"DATOINPUT"};
        QTest::newRow("literal") << "\"Esito\"" << "Esito" << QStringList{};
        QTest::newRow("empty literal") << "\"\"" << "" << QStringList{};
        QTest::newRow("nothing") << "" << "" << QStringList{};
        QTest::newRow("page numbers") << "\"Pag. \"+Page$()+\" di \"+TotalPages$()" << "Pag. 2 di 9" << QStringList{};
        QTest::newRow("join with blanks") << "\"N. \" + ID + \"/\" + STATUS" << "N. <campo 0>/<campo 1>" << QStringList{"ID", "STATUS"};
        QTest::newRow("quotes inside") << "\"Registro \"speciale\" 2025\"" << "Registro \"speciale\" 2025" << QStringList{};
        QTest::newRow("unknown function: a field's name") << "\"A\"+Oggi$()" << "<campo 0>" << QStringList{"\"A\"+Oggi$()"};
        QTest::newRow("field with a blank") << "DATA ORA" << "<campo 0>" << QStringList{"DATA ORA"};
    }
    void expressions() {
        QFETCH(QString, testo);
        QFETCH(QString, atteso);
        QFETCH(QStringList, campi);
        const TEspressioneReport e = TEspressioneReport::Leggi(testo);
        QCOMPARE(Pagina(e, 2, 9), atteso);
        QCOMPARE(e.Campi(), campi);
    }

    void designerListsColumnsAndTexts() {
        const auto esito = LeggiDefinizioneReport(Fixture("verticale.LST"));
        QVERIFY(esito.Ok());
        const QList<QStringList> righe = RigheDesigner(esito.Valore());
        QCOMPARE(righe.size(), 1 + 3 + 3);
        QCOMPARE(righe[0], QStringList({"Pagina", "A4 verticale", "", "210.0 mm × 296.9 mm", "", "", "Sì"}));
        QCOMPARE(righe[1], QStringList({"Colonna 1", "Ordine", "DATOINPUT", "26.0 mm", "Sì", "Arial 10", "Sì"}));
        QCOMPARE(righe[3], QStringList({"Colonna 3", "Esito", "STATUS", "90.0 mm", "No", "Arial 10", "Sì"}));
        QCOMPARE(righe[5], QStringList({"Testo 1, riga 2", "\"Registro \"esportazioni\" – città\"", "", "194.9 mm", "Sì", "Arial 12", "Sì"}));
        QCOMPARE(righe[6], QStringList({"Testo 2, riga 1", "\"Pag. \"+Page$()+\" di \"+TotalPages$()", "", "76.5 mm", "Sì", "Arial 12", "Sì"}));

        TFormDesigner form(esito.Valore(), "ZELSCANLOGLIGHT");
        QCOMPARE(form.windowTitle(), "ZELSCANLOGLIGHT");
        QCOMPARE(form.Elenco()->topLevelItemCount(), 7);
        QCOMPARE(form.Elenco()->topLevelItem(2)->text(2), "FILEDESTINAZIONE_NOME");
    }
};

QTEST_MAIN(TestLettureFelgora)
#include "tst_letturefelgora.moc"
