// The lookup request and the statement built from it.
#include "lookup/DatiRicerca.h"
#include "lookup/SQLRicerca.h"

#include <QtTest>

class TestSQLRicerca : public QObject {
    Q_OBJECT

    static TDatiRicerca Clienti() {
        TDatiRicerca d;
        d.SetTabellaRicerca("CLIENTI");
        d.SetCampoRicerca("RAGSOC");
        d.SetCampoRitorno("CODICE");
        return d;
    }

private slots:
    void statement_data() {
        QTest::addColumn<QString>("testo");
        QTest::addColumn<QStringList>("attese");
        QTest::newRow("vuoto") << QString()
                               << QStringList{"SELECT", "FIRST 1000", "  CODICE,", "  RAGSOC", "FROM", "  CLIENTI",
                                              "WHERE", "  RAGSOC IS NOT NULL", "ORDER BY", "  RAGSOC"};
        QTest::newRow("solo spazi") << "   "
                                    << QStringList{"SELECT", "  CODICE,", "  RAGSOC", "FROM", "  CLIENTI", "WHERE",
                                                   "  RAGSOC CONTAINING '   '", "ORDER BY", "  RAGSOC"};
        QTest::newRow("testo") << "Rossi"
                               << QStringList{"SELECT", "  CODICE,", "  RAGSOC", "FROM", "  CLIENTI", "WHERE",
                                              "  RAGSOC CONTAINING 'Rossi'", "ORDER BY", "  RAGSOC"};
        QTest::newRow("apostrofo") << "D'Amico"
                                   << QStringList{"SELECT", "  CODICE,", "  RAGSOC", "FROM", "  CLIENTI", "WHERE",
                                                  "  RAGSOC CONTAINING 'D´Amico'", "ORDER BY", "  RAGSOC"};
        QTest::newRow("apostrofi e spazi ai lati") << " l'a''b' "
                                                   << QStringList{"SELECT", "  CODICE,", "  RAGSOC", "FROM", "  CLIENTI",
                                                                  "WHERE", "  RAGSOC CONTAINING ' l´a´´b´ '",
                                                                  "ORDER BY", "  RAGSOC"};
    }
    void statement() {
        QFETCH(QString, testo);
        QFETCH(QStringList, attese);
        QCOMPARE(SQLRicerca(Clienti(), testo), attese);
    }

    void namesAreUsedAsGiven() {
        TDatiRicerca d;
        d.SetTabellaRicerca("V_ARTICOLI A");
        d.SetCampoRicerca("A.DESCRIZIONE");
        d.SetCampoRitorno("A.ID");
        d.SetPrefissoRitorno("ART:");  // the prefix never reaches the statement
        QCOMPARE(SQLRicerca(d, "x"), (QStringList{"SELECT", "  A.ID,", "  A.DESCRIZIONE", "FROM", "  V_ARTICOLI A", "WHERE",
                                                  "  A.DESCRIZIONE CONTAINING 'x'", "ORDER BY", "  A.DESCRIZIONE"}));
    }

    void isCompilato_data() {
        QTest::addColumn<QString>("tabella");
        QTest::addColumn<QString>("ricerca");
        QTest::addColumn<QString>("ritorno");
        QTest::addColumn<QString>("prefisso");
        QTest::addColumn<bool>("compilato");
        QTest::newRow("completo") << "CLIENTI" << "RAGSOC" << "CODICE" << "P" << true;
        QTest::newRow("senza prefisso") << "CLIENTI" << "RAGSOC" << "CODICE" << "" << true;
        QTest::newRow("senza tabella") << "" << "RAGSOC" << "CODICE" << "P" << false;
        QTest::newRow("senza campo ricerca") << "CLIENTI" << "" << "CODICE" << "P" << false;
        QTest::newRow("senza campo ritorno") << "CLIENTI" << "RAGSOC" << "" << "P" << false;
        QTest::newRow("vuoto") << "" << "" << "" << "" << false;
    }
    void isCompilato() {
        QFETCH(QString, tabella);
        QFETCH(QString, ricerca);
        QFETCH(QString, ritorno);
        QFETCH(QString, prefisso);
        QFETCH(bool, compilato);
        TDatiRicerca d;
        d.SetTabellaRicerca(tabella);
        d.SetCampoRicerca(ricerca);
        d.SetCampoRitorno(ritorno);
        d.SetPrefissoRitorno(prefisso);
        QCOMPARE(d.IsCompilato(), compilato);
    }

    void assignAndClone() {
        TDatiRicerca d = Clienti();
        d.SetPrefissoRitorno("CLI-");
        TDatiRicerca copia;
        copia.SetPrefissoRitorno("vecchio");
        copia.Assign(d);
        const auto clone = d.Clone();
        for (const TDatiRicerca* c : {&copia, clone.get()}) {
            QCOMPARE(c->TabellaRicerca(), "CLIENTI");
            QCOMPARE(c->CampoRicerca(), "RAGSOC");
            QCOMPARE(c->CampoRitorno(), "CODICE");
            QCOMPARE(c->PrefissoRitorno(), "CLI-");
        }
        // copies are independent of the original
        d.SetTabellaRicerca("FORNITORI");
        QCOMPARE(copia.TabellaRicerca(), "CLIENTI");
        QCOMPARE(clone->TabellaRicerca(), "CLIENTI");
    }
};

QTEST_GUILESS_MAIN(TestSQLRicerca)
#include "tst_sqlricerca.moc"
