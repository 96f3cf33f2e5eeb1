// The shared image module: its pictures and the shared instance.
#include "lookup/DataModuleMedia.h"

#include <QtTest>

class TestDataModuleMedia : public QObject {
    Q_OBJECT

    static int PixelVisibili(const QImage& img) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) n += qAlpha(img.pixel(x, y)) > 0;
        return n;
    }

private slots:
    void everyImageIsAPicture() {
        TDataModuleMedia media;
        QCOMPARE(media.ImageList().size(), 14);
        QList<QImage> viste;
        for (int i = 0; i < media.ImageList().size(); ++i) {
            const QImage img = media.Immagine(i).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(img.size(), QSize(16, 16));
            const int visibili = PixelVisibili(img);
            QVERIFY2(visibili > 10, qPrintable(QString("image %1 has %2 visible pixels").arg(i).arg(visibili)));
            QVERIFY2(!viste.contains(img), qPrintable(QString("image %1 repeats an earlier one").arg(i)));
            viste << img;
        }
    }

    void getIcoCopiesTheImage() {
        TDataModuleMedia media;
        for (int i : {0, 1, 2, 3, 4, 5, 12, 13}) {
            QIcon icona;
            media.GetIco(i, icona);
            QVERIFY(!icona.isNull());
            QCOMPARE(icona.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32),
                     media.Immagine(i).toImage().convertToFormat(QImage::Format_ARGB32));
        }
    }

    void indexOutsideTheListGivesNothing_data() {
        QTest::addColumn<int>("indice");
        QTest::newRow("negativo") << -1;
        QTest::newRow("dopo l'ultimo") << 14;
        QTest::newRow("enorme") << 1000000;
    }
    void indexOutsideTheListGivesNothing() {
        QFETCH(int, indice);
        TDataModuleMedia media;
        QIcon icona = media.Icona(0);
        media.GetIco(indice, icona);
        QVERIFY(icona.isNull());
        QVERIFY(media.Immagine(indice).isNull());
    }

    void firstModuleIsShared() {
        // earlier cases created and freed modules: nothing is shared now
        auto* avvio = new TDataModuleMedia;
        QCOMPARE(&TDataModuleMedia::Instance(), avvio);
        {
            TDataModuleMedia altro;  // a later module does not take over
            QCOMPARE(&TDataModuleMedia::Instance(), avvio);
        }
        delete avvio;
        // none left: a window asking for images gets one owned by the application
        TDataModuleMedia& ripiego = TDataModuleMedia::Instance();
        QCOMPARE(ripiego.parent(), qApp);
        QCOMPARE(&TDataModuleMedia::Instance(), &ripiego);
        QCOMPARE(ripiego.ImageList().size(), 14);
    }
};

QTEST_MAIN(TestDataModuleMedia)
#include "tst_datamodulemedia.moc"
