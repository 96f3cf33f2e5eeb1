#include "tools/demo/Demo.h"

#include "db/FbDatabase.h"
#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "sql/DemoData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Demo {

namespace {

using DemoData::Connetti;

// Rows of a query without parameters, each as its column texts.
QList<QStringList> Righe(TFbDatabase& db, const QString& sql) {
    TFbTransaction tr(&db);
    tr.Start();
    TFbSQL q(&db, &tr);
    q.SetParamCheck(false);
    q.SetSQL({sql});
    q.ExecQuery();
    QList<QStringList> rows;
    for (; !q.Eof(); q.Next()) {
        QStringList row;
        for (int i = 0; i < q.FieldDefs().size(); ++i) row << q.Field(i).AsString();
        rows << row;
    }
    tr.Rollback();
    return rows;
}

QString Valore(TFbDatabase& db, const QString& sql) {
    const QList<QStringList> rows = Righe(db, sql);
    return rows.isEmpty() ? QString() : rows.first().value(0);
}

const char* kFileNomi = "SELECT FILEDESTINAZIONE_NOME, MIN(DATOINPUT), MIN(NR_MACCHINA) FROM ZELSCANLOGLIGHT"
                        " GROUP BY FILEDESTINAZIONE_NOME";

void Scrivi(const QString& path, const QByteArray& content) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
        throw std::runtime_error(("cannot write " + path).toStdString());
}

void CreaFile(TFbDatabase& archivio, const QString& cartella) {
    QDir(cartella).removeRecursively();
    QDir().mkpath(cartella);
    for (const QStringList& row : Righe(archivio, kFileNomi)) {
        const QString text = "File dimostrativo " + row[0] + "\r\nOrdine " + row[1] + ", macchina " + row[2] + "\r\n";
        Scrivi(cartella + "/" + row[0], text.toLocal8Bit());
    }
}

// The INI file names a local database file with the system's separators; a server's connection
// text stays as it is.
QString Nativo(const QString& connessione, const TDatabasesDemo& databases) {
    return databases.Host.isEmpty() ? QDir::toNativeSeparators(connessione) : connessione;
}

// Windows INI text, CR LF after every line, in the system's 8-bit code page.
void ScriviIni(const QString& cartellaIni, const QString& utenti) {
    const QStringList lines{"[CONFIG]", "UTENTE=1", "DITTA=01", "PercorsoDatabase=" + utenti,
                            "ZELSCANSRVURL=http://127.0.0.1:8080"};
    QDir().mkpath(cartellaIni);
    Scrivi(cartellaIni + "/ParametriZelScan.ini", (lines.join("\r\n") + "\r\n").toLocal8Bit());
}

// The report launcher's folders under the suite's folder (definitions in "report", command
// files in "Report") and the launcher itself there, linked from the program's folder.
void PreparaBin(const QString& bin, const QString& cartellaProgramma) {
    QDir().mkpath(bin + "/report");
    QDir().mkpath(bin + "/Report");
    const QString felgora = cartellaProgramma + "/Felgora.exe";
    QFile::remove(bin + "/Felgora.exe");
    if (QFileInfo::exists(felgora)) QFile::link(felgora, bin + "/Felgora.exe");
}

const QString kUtenti = QStringLiteral("user.fdb");
const QString kArchivio = QStringLiteral("archivio.fdb");

QString Connessione(const TDatabasesDemo& databases, const QString& dir, const QString& nome) {
    if (databases.Host.isEmpty()) return QDir(dir).absoluteFilePath(nome);
    return databases.Host + ":" + QDir(databases.Cartella).absoluteFilePath(nome);
}

}  // namespace

QString TDatabasesDemo::Utenti(const QString& dir) const { return Connessione(*this, dir, kUtenti); }
QString TDatabasesDemo::Archivio(const QString& dir) const { return Connessione(*this, dir, kArchivio); }

void Crea(const QString& dir, const QString& cartellaIni, const TDatabasesDemo& databases) {
    const QString root = QDir(dir).absolutePath();
    PreparaBin(root + "/bin", cartellaIni);
    QDir().mkpath(root + "/outbox");
    const QString archivio = databases.Archivio(root), utenti = databases.Utenti(root);
    if (!databases.Host.isEmpty()) {
        // the server creates its files anew: those of an earlier demo go first
        for (const QString& nome : {kArchivio, kUtenti}) QFile::remove(QDir(databases.Cartella).filePath(nome));
    }

    DemoData::CreaDatabase(archivio, DemoData::ScriptArchivio());
    TFbDatabase dbArchivio;
    Connetti(dbArchivio, archivio);
    DemoData::PopolaArchivioBase(dbArchivio);
    CreaFile(dbArchivio, root + "/files");

    DemoData::CreaDatabase(utenti, DemoData::ScriptUtenti());
    TFbDatabase dbUtenti;
    Connetti(dbUtenti, utenti);
    DemoData::PopolaUtenti(dbUtenti, archivio, root + "/bin");

    ScriviIni(cartellaIni, Nativo(utenti, databases));
}

QStringList Verifica(const QString& dir, const TDatabasesDemo& databases) {
    const QString root = QDir(dir).absolutePath();
    const QString archivio = databases.Archivio(root);
    QStringList problems;
    auto expect = [&](const QString& what, const QString& got, const QString& wanted) {
        if (got != wanted) problems << QString("%1: \"%2\" instead of \"%3\"").arg(what, got, wanted);
    };

    TFbDatabase dbUtenti;
    Connetti(dbUtenti, databases.Utenti(root));
    expect("company of user 1", Valore(dbUtenti, "SELECT DITTA FROM UTENTI WHERE CODICE = 1"), "01");
    expect("archive of user 1", Valore(dbUtenti, "SELECT VALORE FROM TABKESTRIN WHERE UTENTE = 1 AND INTESTAZIONE = '01'"
                                                 " AND PARAMETRO = 'Archivio'"), archivio);

    TFbDatabase dbArchivio;
    Connetti(dbArchivio, archivio);
    expect("customer C001", Valore(dbArchivio, "SELECT RAGSOC FROM CLIENTI WHERE CODICE = 'C001'"),
           "Officina Meccanica Rossi S.r.l.");
    expect("log rows of order A123", Valore(dbArchivio, "SELECT COUNT(*) FROM ZELSCANLOGLIGHT WHERE DATOINPUT = 'A123'"),
           "7");
    for (const QStringList& row : Righe(dbArchivio, kFileNomi))
        if (!QFileInfo::exists(root + "/files/" + row[0])) problems << "missing file files/" + row[0];
    for (const char* cartella : {"bin/report", "bin/Report"})
        if (!QFileInfo(root + "/" + cartella).isDir()) problems << QString("missing folder ") + cartella;
    return problems;
}

}  // namespace Demo
