// Named parameters and script splitting: pure text rules.
#include "db/FbParams.h"
#include "db/FbScript.h"

#include <QtTest>

class TestFbParams : public QObject {
    Q_OBJECT
private slots:
    void parse_data() {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("positions");
        QTest::newRow("plain") << "SELECT * FROM T WHERE ID=:ID" << "SELECT * FROM T WHERE ID=?" << QStringList{"ID"};
        QTest::newRow("repeated name") << "A=:UTENTE AND B=:utente" << "A=? AND B=?" << QStringList{"UTENTE", "UTENTE"};
        QTest::newRow("colon in literal") << "X=':NOPE' AND Y=:SI" << "X=':NOPE' AND Y=?" << QStringList{"SI"};
        QTest::newRow("doubled quote in literal") << "X='it''s :NO' OR :A" << "X='it''s :NO' OR ?" << QStringList{"A"};
        QTest::newRow("quoted identifier") << "SELECT \":X\" FROM T WHERE A=:B" << "SELECT \":X\" FROM T WHERE A=?" << QStringList{"B"};
        QTest::newRow("line comment") << "SELECT 1 -- :C\nFROM T WHERE :D=1" << "SELECT 1 -- :C\nFROM T WHERE ?=1" << QStringList{"D"};
        QTest::newRow("block comment") << "/* :E */ SELECT :F" << "/* :E */ SELECT ?" << QStringList{"F"};
        QTest::newRow("assignment") << "I := :J" << "I := ?" << QStringList{"J"};
        QTest::newRow("lone colon") << "A : B" << "A : B" << QStringList{};
        QTest::newRow("name with dollar and digits") << ":A1$_B, :X" << "?, ?" << QStringList{"A1$_B", "X"};
    }
    void parse() {
        QFETCH(QString, sql);
        QFETCH(QString, text);
        QFETCH(QStringList, positions);
        const TParsedSQL p = ParseNamedParams(sql);
        QCOMPARE(p.Text, text);
        QCOMPARE(p.Positions, positions);
    }
    void distinctNamesKeepFirstUse() {
        const TParsedSQL p = ParseNamedParams(":B :A :B :C");
        QCOMPARE(p.Names, (QStringList{"B", "A", "C"}));
    }
    void splitScript() {
        const QStringList s = SplitScript("CREATE TABLE T (A VARCHAR(5) DEFAULT ';');\n-- note; here\n"
                                          "SET TERM ^ ;\nEXECUTE BLOCK AS BEGIN INSERT INTO T VALUES ('x'); END^\n"
                                          "SET TERM ; ^\nCOMMIT;\n");
        QCOMPARE(s.size(), 3);
        QCOMPARE(s[0], QString("CREATE TABLE T (A VARCHAR(5) DEFAULT ';')"));
        QCOMPARE(s[1], QString("EXECUTE BLOCK AS BEGIN INSERT INTO T VALUES ('x'); END"));
        QCOMPARE(s[2], QString("COMMIT"));
    }
};

QTEST_GUILESS_MAIN(TestFbParams)
#include "tst_fbparams.moc"
