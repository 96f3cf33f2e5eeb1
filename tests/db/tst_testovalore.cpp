// Values as the user reads them: the regional date and time texts, written without reparsing the
// locale's format for every value, match QLocale's own in every locale.
#include "db/TestoValore.h"

#include <QLocale>
#include <QtTest>

class TestTestoValore : public QObject {
    Q_OBJECT

    static QString OraDiQLocale(const QLocale& loc, const QTime& t) {
        QString f = loc.timeFormat(QLocale::ShortFormat);
        if (!f.contains('s')) f.insert(f.lastIndexOf("mm") + 2, ":ss");
        return loc.toString(t, f);
    }

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void knownTexts_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("ora");
        QTest::addColumn<QString>("dataOra");
        QTest::newRow("C") << "C" << "03:04:05" << "2 Jan 2024 03:04:05";
        QTest::newRow("it_IT") << "it_IT" << "03:04:05" << "02/01/24 03:04:05";
        QTest::newRow("de_DE") << "de_DE" << "03:04:05" << "02.01.24 03:04:05";
    }

    void knownTexts() {
        QFETCH(QString, locale);
        QFETCH(QString, ora);
        QFETCH(QString, dataOra);
        QLocale::setDefault(QLocale(locale));
        const QDateTime dt(QDate(2024, 1, 2), QTime(3, 4, 5, 678));
        QCOMPARE(TestoOra(dt.time()), ora);
        QCOMPARE(TestoDataOra(dt), dataOra);
        QCOMPARE(TestoValore(QVariant(dt)), dataOra);
        QCOMPARE(TestoValore(QVariant(dt.time())), ora);
    }

    void sameAsQLocale_data() {
        QTest::addColumn<QString>("locale");
        for (const char* name : {"C", "it_IT", "en_US", "en_GB", "fr_CA", "fi_FI", "ar_EG", "hi_IN", "zh_CN", "ko_KR",
                                 "bg_BG", "fa_IR"})
            QTest::newRow(name) << QString(name);
    }

    // Times across the day and dates in a row (the last date's text is reused), locale by locale,
    // switching locale in between.
    void sameAsQLocale() {
        QFETCH(QString, locale);
        const QLocale loc(locale);
        QLocale::setDefault(loc);
        for (int secondo = 0; secondo < 86400; secondo += 3599) {
            const QTime t = QTime(0, 0).addSecs(secondo).addMSecs(secondo % 1000);
            QCOMPARE(TestoOra(t), OraDiQLocale(loc, t));
            const QDate d = QDate(2023, 12, 30).addDays(secondo / 20000);
            QCOMPARE(TestoData(d), loc.toString(d, QLocale::ShortFormat));
            QCOMPARE(TestoDataOra(QDateTime(d, t)), loc.toString(d, QLocale::ShortFormat) + ' ' + OraDiQLocale(loc, t));
        }
        QLocale::setDefault(QLocale::c());
        QCOMPARE(TestoOra(QTime(13, 5, 9)), QString("13:05:09"));
        QCOMPARE(TestoData(QDate(2023, 12, 30)), QString("30 Dec 2023"));
    }
};

QTEST_GUILESS_MAIN(TestTestoValore)
#include "tst_testovalore.moc"
