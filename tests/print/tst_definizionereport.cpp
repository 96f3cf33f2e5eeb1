// The report definition: byte-for-byte against definitions written by hand, column fitting,
// the placeholders' values and the file's encoding.
#include "print/DefinizioneReport.h"
#include "print/FileAnsi.h"
#include "print/StPtqGrid.h"

#include <QtTest>

namespace {

const QVector<TColonnaLayout> TreColonne{
    {"ID", "ID log", 60}, {"NOMEFILE", "Nome file", 302}, {"DATAORA", "Data e ora", 100}};

QByteArray Golden(const QString& nome) {
    QFile f(QStringLiteral(ZEL_GOLDEN_DIR "/") + nome);
    if (!f.open(QIODevice::ReadOnly)) qFatal("golden file %s missing", qPrintable(nome));
    return f.readAll();
}

// The layout rows, counting how often the statement runs.
struct TLayoutFisso {
    QVector<TColonnaLayout> Righe;
    int Letture = 0;
    TLetturaLayout Lettura() {
        return [this] {
            ++Letture;
            return Righe;
        };
    }
};

// The job of the portrait golden file; the landscape one differs as its test says.
void OpzioniVerticale(TPtqGridStampa& s) {
    s.Intestazione_Riga1 = "Registro invii";
    s.Intestazione_Riga2 = "Società Rossi";
    s.FlagNumeraPagine = true;
    s.FlagForzaUltimaColonna = true;
}

// Values of the lines that start with `prefisso` (tabs included), in file order.
QStringList Valori(const QString& testo, const QString& prefisso) {
    QStringList valori;
    for (const QString& riga : testo.split("\r\n"))
        if (riga.startsWith(prefisso)) valori << riga.mid(prefisso.size());
    return valori;
}

QString Testo(const TPtqGridStampa& s, const QVector<TColonnaLayout>& righe) {
    TLayoutFisso layout{righe};
    return TestoReport(s, layout.Lettura());
}

}  // namespace

class TestDefinizioneReport : public QObject {
    Q_OBJECT
private slots:
    void portraitAsWrittenByHand() {
        TPtqGridStampa s;
        OpzioniVerticale(s);
        TLayoutFisso layout{TreColonne};
        QCOMPARE(TestoAnsi(TestoReport(s, layout.Lettura())), Golden("verticale.lst"));
        QCOMPARE(layout.Letture, 3);  // fitting, then once for each column list
    }

    void landscapeAsWrittenByHand() {
        TPtqGridStampa s;
        s.OrientamentoPagina = "ORIZZONTALE";
        s.Intestazione_Riga1 = "Registro invii";
        s.Intestazione_Riga2 = "Società Rossi";
        s.Intestazione_Allineamento = 1;
        s.DimensioneFontDati = 12;
        s.FlagNumeraPagine = true;
        s.FlagTroncaTesti = true;
        TLayoutFisso layout{TreColonne};
        QCOMPARE(TestoAnsi(TestoReport(s, layout.Lettura())), Golden("orizzontale.lst"));
        QCOMPARE(layout.Letture, 3);
    }

    // Every text that is not "VERTICALE" is landscape.
    void anyOtherOrientationIsLandscape() {
        TPtqGridStampa s;
        s.OrientamentoPagina = "verticale";
        const QString testo = Testo(s, TreColonne);
        QCOMPARE(Valori(testo, " Orientation="), QStringList{"2"});
        QCOMPARE(Valori(testo, " ObjectCount="), QStringList{"3"});
    }

    void millimetres_data() {
        QTest::addColumn<int>("pixel");
        QTest::addColumn<int>("mm");
        QTest::newRow("100 px") << 100 << 26;
        QTest::newRow("below a half") << 1 << 0;
        QTest::newRow("above a half") << 2 << 1;
        QTest::newRow("60 px") << 60 << 16;
        QTest::newRow("just below 195") << 737 << 195;
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("negative") << -100 << -26;
    }
    void millimetres() {
        QFETCH(int, pixel);
        QFETCH(int, mm);
        QCOMPARE(MillimetriDaPixel(pixel), mm);
    }

    void fitting_data() {
        QTest::addColumn<QVector<int>>("pixel");
        QTest::addColumn<int>("larghezza");
        QTest::addColumn<bool>("forza");
        QTest::addColumn<int>("n");
        QTest::newRow("all fit") << QVector<int>{60, 302, 100} << 195 << false << 3;
        QTest::newRow("all fit, forced") << QVector<int>{60, 302, 100} << 195 << true << 3;
        QTest::newRow("third too wide") << QVector<int>{302, 302, 302} << 195 << false << 2;
        QTest::newRow("third too wide, forced") << QVector<int>{302, 302, 302} << 195 << true << 3;
        QTest::newRow("exact fill, then forced") << QVector<int>{737, 100, 100} << 195 << true << 2;
        QTest::newRow("first too wide") << QVector<int>{760, 60} << 195 << false << 0;
        QTest::newRow("first too wide, forced") << QVector<int>{760, 60} << 195 << true << 1;
        QTest::newRow("landscape width") << QVector<int>{1066, 4} << 282 << false << 1;
        QTest::newRow("no column") << QVector<int>{} << 195 << true << 0;
    }
    void fitting() {
        QFETCH(QVector<int>, pixel);
        QFETCH(int, larghezza);
        QFETCH(bool, forza);
        QFETCH(int, n);
        QVector<TColonnaLayout> colonne;
        for (int p : pixel) colonne.append({"F", "T", p});
        QCOMPARE(ColonneStampate(colonne, larghezza, forza), n);
    }

    // Widths, wraps and texts of both column lists (body first, then header).
    void columnLists_data() {
        QTest::addColumn<QVector<int>>("pixel");
        QTest::addColumn<QString>("orientamento");
        QTest::addColumn<bool>("forza");
        QTest::addColumn<bool>("tronca");
        QTest::addColumn<QStringList>("larghezze");
        QTest::addColumn<QStringList>("aCapo");
        QTest::newRow("forced last column widened, wrap 0")
            << QVector<int>{60, 302} << "VERTICALE" << true << false << QStringList{"16000", "179000"}
            << QStringList{"1", "0"};
        QTest::newRow("forced column after an exact fill has width 0")
            << QVector<int>{737, 100, 100} << "VERTICALE" << true << false << QStringList{"195000", "0"}
            << QStringList{"1", "0"};
        QTest::newRow("first too wide without the flag: nothing printed")
            << QVector<int>{760, 60} << "VERTICALE" << false << false << QStringList{} << QStringList{};
        QTest::newRow("first too wide with the flag: the printable width")
            << QVector<int>{760, 60} << "VERTICALE" << true << false << QStringList{"195000"} << QStringList{"0"};
        QTest::newRow("not forced: screen widths, wrapped")
            << QVector<int>{60, 302, 400} << "VERTICALE" << false << false << QStringList{"16000", "80000"}
            << QStringList{"1", "1"};
        QTest::newRow("cut texts: every wrap 0")
            << QVector<int>{60, 302} << "VERTICALE" << false << true << QStringList{"16000", "80000"}
            << QStringList{"0", "0"};
        QTest::newRow("landscape forced to 282 mm")
            << QVector<int>{60, 302} << "ORIZZONTALE" << true << false << QStringList{"16000", "266000"}
            << QStringList{"1", "0"};
        QTest::newRow("no visible column") << QVector<int>{} << "VERTICALE" << true << false << QStringList{}
                                           << QStringList{};
    }
    void columnLists() {
        QFETCH(QVector<int>, pixel);
        QFETCH(QString, orientamento);
        QFETCH(bool, forza);
        QFETCH(bool, tronca);
        QFETCH(QStringList, larghezze);
        QFETCH(QStringList, aCapo);
        QVector<TColonnaLayout> colonne;
        for (int i = 0; i < pixel.size(); ++i) colonne.append({"CAMPO" + QString::number(i + 1), "Titolo", pixel[i]});
        TPtqGridStampa s;
        s.OrientamentoPagina = orientamento;
        s.FlagForzaUltimaColonna = forza;
        s.FlagTroncaTesti = tronca;
        const QString testo = Testo(s, colonne);
        const QString n = QString::number(larghezze.size());
        QCOMPARE(Valori(testo, "\t\tColumns="), (QStringList{n, n}));
        QCOMPARE(Valori(testo, "\t\t Width="), larghezze + larghezze);
        QCOMPARE(Valori(testo, "\t\t LineWrap="), aCapo + aCapo);
        QStringList campi, titoli;
        for (int i = 0; i < larghezze.size(); ++i) {
            campi << "CAMPO" + QString::number(i + 1);
            titoli << "\"Titolo\"";
        }
        QCOMPARE(Valori(testo, "\t\t Text="), campi + titoli);
        QCOMPARE(testo.count("\t\t[Column]\r\n"), 2 * larghezze.size());
    }

    // No column: the portrait golden file without its COLUMN blocks and with 0 columns.
    void noVisibleColumnChangesNothingElse() {
        TPtqGridStampa s;
        OpzioniVerticale(s);
        QString atteso = QString::fromLatin1(Golden("verticale.lst"));
        atteso.replace("\t\tColumns=3\r\n", "\t\tColumns=0\r\n");
        for (qsizetype inizio; (inizio = atteso.indexOf("\t\t[Column]\r\n")) >= 0;) {
            const QString chiusura = "\t\t }\r\n";
            atteso.remove(inizio, atteso.indexOf(chiusura, atteso.indexOf("\t\t Text=", inizio)) + chiusura.size() - inizio);
        }
        QCOMPARE(TestoAnsi(Testo(s, {})), TestoAnsi(atteso));
    }

    void cutTextsKeepThePageNumberWrap() {
        TPtqGridStampa s;
        s.FlagTroncaTesti = true;
        const QString testo = Testo(s, TreColonne);
        QCOMPARE(Valori(testo, "\tLineWrap="), (QStringList{"0", "0", "1"}));
        s.FlagTroncaTesti = false;
        QCOMPARE(Valori(Testo(s, TreColonne), "\tLineWrap="), (QStringList{"1", "1", "1"}));
    }

    void headingAndTitlesWrittenUnchanged() {
        TPtqGridStampa s;
        s.Intestazione_Riga1 = "Il \"grande\" registro  ";
        s.Intestazione_Riga2 = "«cond» ' \\n";
        s.Intestazione_Allineamento = 1;
        const QString testo = Testo(s, {{"NOME\"CAMPO", "Titolo \"citato\"", 60}});
        QCOMPARE(Valori(testo, "\tText="), (QStringList{"\"Il \"grande\" registro  \"", "\"«cond» ' \\n\"",
                                                      "\"Pag. \"+Page$()+\" di \"+TotalPages$()"}));
        QCOMPARE(Valori(testo, "\t\t Text="), (QStringList{"NOME\"CAMPO", "\"Titolo \"citato\"\""}));
        QCOMPARE(Valori(testo, "\tAlign="), (QStringList{"1", "1", "2"}));
        QCOMPARE(Valori(testo, " Condition="), (QStringList{"", "True", "True", "False"}));
    }

    void pageNumbersAndFontSize() {
        TPtqGridStampa s;
        s.DimensioneFontDati = 8;
        s.FlagNumeraPagine = true;
        const QString testo = Testo(s, TreColonne);
        QCOMPARE(Valori(testo, " Condition="), (QStringList{"", "True", "True", "True"}));
        QCOMPARE(Valori(testo, "\t\t  Size="), QStringList(6, "8"));
        QCOMPARE(Valori(testo, "\t Size="), QStringList(3, "12"));
    }

    // ANSI code page, CR LF after every line, no byte-order mark, no trailing blanks.
    void encodingAndLineEnds() {
        TPtqGridStampa s;
        s.Intestazione_Riga1 = "Perché € 10";
        const QByteArray byte = TestoAnsi(Testo(s, TreColonne));
        QVERIFY(byte.startsWith("[List description]\r\n"));
        QVERIFY(byte.endsWith("   {\r\n   }\r\n  }\r\n"));
        QVERIFY(byte.contains("\tText=\"Perch\xE9 \x80 10\"\r\n"));
        QCOMPARE(byte.count('\n'), byte.count("\r\n"));
        QCOMPARE(byte.count('\r'), byte.count("\r\n"));
        QVERIFY(!byte.contains(" \r\n") && !byte.contains("\t\r\n"));
    }
};

QTEST_MAIN(TestDefinizioneReport)
#include "tst_definizionereport.moc"
