// The embedded engine's root: a folder of the user's own in the temporary folder, never one that
// somebody else prepared.
#include "db/FbEngine.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct TStato {
    bool Esiste = false;
    bool Cartella = false;
    uid_t Proprietario = 0;
    mode_t Permessi = 0;
};

TStato Stato(const QString& path) {
    struct stat info{};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) return {};
    return {true, S_ISDIR(info.st_mode), info.st_uid, mode_t(info.st_mode & 07777)};
}

}  // namespace

class TestFbEngine : public QObject {
    Q_OBJECT
    QTemporaryDir FTmp;  // the process's temporary folder for these tests
    QString FAtteso;

    // The root chosen for a process that starts now.
    QString Prepara() {
        qunsetenv("FIREBIRD");
        PrepareSharedEmbeddedEngine();
        return QFile::decodeName(qgetenv("FIREBIRD"));
    }

private slots:
    void initTestCase() {
        QVERIFY(FTmp.isValid());
        qputenv("TMPDIR", QFile::encodeName(FTmp.path()));
        FAtteso = QDir::tempPath() + "/zelscanfile-fbroot-" + QString::number(::geteuid());
    }
    void init() { QDir(FAtteso).removeRecursively(); }

    void aNewRootIsPrivateToTheUser() {
        const QString root = Prepara();
        QCOMPARE(root, FAtteso);
        const TStato s = Stato(root);
        QVERIFY(s.Cartella);
        QCOMPARE(s.Proprietario, ::geteuid());
        QCOMPARE(s.Permessi, mode_t(0700));
        QVERIFY(QFileInfo::exists(root + "/firebird.conf"));
        QCOMPARE(Prepara(), FAtteso);  // the next process takes the same one
    }

    void aRootOpenToOthersIsNotTrusted_data() {
        QTest::addColumn<int>("permessi");
        QTest::addColumn<bool>("altroProprietario");
        QTest::newRow("writable by everybody") << 0777 << false;
        QTest::newRow("readable by the group") << 0750 << false;
        QTest::newRow("another user's, private") << 0700 << true;
    }
    void aRootOpenToOthersIsNotTrusted() {
        QFETCH(int, permessi);
        QFETCH(bool, altroProprietario);
        const QByteArray nome = QFile::encodeName(FAtteso);
        QCOMPARE(::mkdir(nome.constData(), 0700), 0);
        QCOMPARE(::chmod(nome.constData(), mode_t(permessi)), 0);
        if (altroProprietario) {
            if (::geteuid() != 0) QSKIP("only root can give the folder to another user");
            QCOMPARE(::chown(nome.constData(), 65534, 65534), 0);
        }
        // what another user planted there
        QFile piantato(FAtteso + "/firebird.conf");
        QVERIFY(piantato.open(QIODevice::WriteOnly));
        piantato.write("# planted\n");
        piantato.close();

        const QString root = Prepara();
        QVERIFY(!root.isEmpty());
        QVERIFY2(root != FAtteso, qPrintable(root));
        const TStato s = Stato(root);
        QVERIFY(s.Cartella);
        QCOMPARE(s.Proprietario, ::geteuid());
        QCOMPARE(s.Permessi, mode_t(0700));
        QFile planted(FAtteso + "/firebird.conf");
        QVERIFY(planted.open(QIODevice::ReadOnly));
        QCOMPARE(planted.readAll(), QByteArray("# planted\n"));  // left as it was
        QDir(root).removeRecursively();
    }

    void aLinkInPlaceOfTheRootIsNotFollowed() {
        QTemporaryDir altrove;
        QVERIFY(QFile::link(altrove.path(), FAtteso));
        const QString root = Prepara();
        QVERIFY2(root != FAtteso && !root.isEmpty(), qPrintable(root));
        QVERIFY(QDir(altrove.path()).isEmpty());
        QFile::remove(FAtteso);
        QDir(root).removeRecursively();
    }
};

QTEST_GUILESS_MAIN(TestFbEngine)
#include "tst_fbengine.moc"
