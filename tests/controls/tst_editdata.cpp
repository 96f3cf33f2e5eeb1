// The date field: the check on text and released key, and what a user typing into it sees.
#include "controls/EditData.h"

#include <QtTest>

namespace {

// A keystroke of the typing table: a character, or one of the named keys.
int Tasto(const QString& nome) {
    if (nome == "<BS>") return Qt::Key_Backspace;
    if (nome == "<DEL>") return Qt::Key_Delete;
    if (nome == "<LEFT>") return Qt::Key_Left;
    if (nome == "<RIGHT>") return Qt::Key_Right;
    return 0;
}

}  // namespace

class TestEditData : public QObject {
    Q_OBJECT
private slots:
    void controllaData_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<int>("tasto");
        QTest::addColumn<QString>("atteso");
        QTest::newRow("one-digit day and slash") << "7/" << int('7') << "07/";
        QTest::newRow("two-digit day") << "12" << int('2') << "12/";
        QTest::newRow("day with a letter") << "3a" << int('A') << "03/";
        QTest::newRow("day with a blank") << "7 " << 0 << "07/";
        QTest::newRow("day 0") << "00" << int('0') << "errore1";
        QTest::newRow("day 32") << "32" << int('2') << "errore1";
        QTest::newRow("day without digits") << "ab" << int('B') << "errore1";
        QTest::newRow("two-digit month") << "05/12" << int('2') << "05/12/";
        QTest::newRow("one-digit month and slash") << "05/7/" << int('7') << "05/07/";
        QTest::newRow("month 13") << "12/13" << int('3') << "errore2";
        QTest::newRow("month 00") << "12/00" << int('0') << "errore2";
        QTest::newRow("year 25") << "05/07/25" << int('5') << "05/07/2025";
        QTest::newRow("year 49") << "05/07/49" << int('9') << "05/07/2049";
        QTest::newRow("year 50") << "05/07/50" << int('0') << "05/07/1950";
        QTest::newRow("year 19 being typed") << "05/07/19" << int('9') << "05/07/19";
        QTest::newRow("year 20 being typed") << "05/07/20" << int('0') << "05/07/20";
        QTest::newRow("year with a letter") << "12/05/1a" << int('A') << "errore3";
        QTest::newRow("signed year") << "12/05/-5" << 0 << "errore3";
        QTest::newRow("whole date is not checked") << "31/02" << int('2') << "31/02/";
        QTest::newRow("ten characters") << "12/05/2025" << int('5') << "12/05/2025";
        QTest::newRow("other length") << "12/0" << int('0') << "12/0";
        QTest::newRow("empty") << "" << 0 << "";
        for (int skipped : {3, 8, 37, 39, 46}) {
            QTest::addRow("key %d on a day", skipped) << "12" << skipped << "12";
            QTest::addRow("key %d on an invalid day", skipped) << "32" << skipped << "32";
        }
    }
    void controllaData() {
        QFETCH(QString, testo);
        QFETCH(int, tasto);
        QFETCH(QString, atteso);
        QCOMPARE(ControllaData(testo, tasto), atteso);
    }

    void codiciTastiVirtuali() {
        QCOMPARE(CodiceTastoVirtuale(Qt::Key_Backspace), 8);
        QCOMPARE(CodiceTastoVirtuale(Qt::Key_Delete), 46);
        QCOMPARE(CodiceTastoVirtuale(Qt::Key_Left), 37);
        QCOMPARE(CodiceTastoVirtuale(Qt::Key_Right), 39);
        QCOMPARE(CodiceTastoVirtuale(Qt::Key_Cancel), 3);
        QCOMPARE(CodiceTastoVirtuale(Qt::Key_7), 0x37);
        QCOMPARE(CodiceTastoVirtuale(Qt::Key_A), 0x41);
        // "%" shares its Qt code with the Left key's virtual code: it is an ordinary key here
        QCOMPARE(CodiceTastoVirtuale(Qt::Key_Percent), 0);
        QCOMPARE(CodiceTastoVirtuale(Qt::Key_Apostrophe), 0);
    }

    // Keys typed one by one into a real field; after each release the text, and at the end the
    // selection and the caret.
    void digitazione_data() {
        QTest::addColumn<QString>("iniziale");
        QTest::addColumn<QStringList>("tasti");
        QTest::addColumn<QStringList>("testi");
        QTest::addColumn<QString>("selezione");
        QTest::addColumn<int>("inizioSelezione");
        QTest::addColumn<int>("cursore");
        QTest::newRow("1,2,0,5,2,5") << "" << QStringList{"1", "2", "0", "5", "2", "5"}
                                     << QStringList{"1", "12/", "12/0", "12/05/", "12/05/2", "12/05/2025"} << "" << -1
                                     << 10;
        QTest::newRow("32 selects the day") << "" << QStringList{"3", "2"} << QStringList{"3", "32"} << "32" << 0 << 2;
        QTest::newRow("the next digit replaces the wrong day")
            << "" << QStringList{"3", "2", "1"} << QStringList{"3", "32", "1"} << "" << -1 << 1;
        QTest::newRow("12/13 selects the month") << "12/1" << QStringList{"3"} << QStringList{"12/13"} << "13" << 3 << 5;
        QTest::newRow("12/00 selects the month") << "12/0" << QStringList{"0"} << QStringList{"12/00"} << "00" << 3 << 5;
        QTest::newRow("12/05/1a selects the year")
            << "12/05/1" << QStringList{"a"} << QStringList{"12/05/1a"} << "1a" << 6 << 8;
        QTest::newRow("backspace over the separator") << "12/" << QStringList{"<BS>", "3"} << QStringList{"12", "123"}
                                                      << "" << -1 << 3;
        QTest::newRow("ten characters: only the caret moves")
            << "12/05/2025" << QStringList{"<LEFT>", "<LEFT>"} << QStringList{"12/05/2025", "12/05/2025"} << "" << -1
            << 10;
        QTest::newRow("ten characters and a digit") << "12/05/2025" << QStringList{"1"} << QStringList{"12/05/20251"}
                                                    << "" << -1 << 11;
        QTest::newRow("7 and a blank") << "" << QStringList{"7", " "} << QStringList{"7", "07/"} << "" << -1 << 3;
        QTest::newRow("backspace to five characters") << "05/07/" << QStringList{"<BS>"} << QStringList{"05/07"} << ""
                                                      << -1 << 5;
        QTest::newRow("delete at the end") << "05/07/" << QStringList{"<DEL>"} << QStringList{"05/07/"} << "" << -1 << 6;
        QTest::newRow("right keeps the text") << "05/07/" << QStringList{"<RIGHT>"} << QStringList{"05/07/"} << "" << -1
                                              << 6;
    }
    void digitazione() {
        QFETCH(QString, iniziale);
        QFETCH(QStringList, tasti);
        QFETCH(QStringList, testi);
        QFETCH(QString, selezione);
        QFETCH(int, inizioSelezione);
        QFETCH(int, cursore);
        TEditData campo;
        campo.setText(iniziale);
        campo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&campo));
        for (int i = 0; i < tasti.size(); ++i) {
            if (const int tasto = Tasto(tasti[i])) QTest::keyClick(&campo, Qt::Key(tasto));
            else QTest::keyClicks(&campo, tasti[i]);
            QCOMPARE(campo.text(), testi[i]);
        }
        QCOMPARE(campo.selectedText(), selezione);
        QCOMPARE(campo.selectionStart(), inizioSelezione);
        QCOMPARE(campo.cursorPosition(), cursore);
    }
};

QTEST_MAIN(TestEditData)
#include "tst_editdata.moc"
