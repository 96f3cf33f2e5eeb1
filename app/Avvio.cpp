#include "app/Avvio.h"

#include "db/ConnessioneDB.h"
#include "db/Errore.h"
#include "db/IniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QtConcurrent>

QString TestoOrigine(TOrigine origine) { return origine == TOrigine::CMD ? QStringLiteral("CMD") : QStringLiteral("INI"); }

TAvvio::TAvvio(const QStringList& argomenti, const QString& fileIni) : FFileIni(fileIni) {
    FCmdParams.Carica(argomenti);
    if (QFileInfo::exists(fileIni)) {
        FIniParams.emplace();
        FIniParams->Carica(TIniFile(fileIni).ReadSectionValues("CONFIG"));
    }
}

TAvvio::~TAvvio() {
    FVerifica.waitForFinished();
    const std::lock_guard esito(FEsito);
    if (FPtqUser && !FPtqUser->parent()) delete FPtqUser;
}

QString TAvvio::GetIniFileName() {
    return QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + '/') + NomeFileIni();
}

TOrigine TAvvio::OrigineParametri() const {
    return FCmdParams.Contiene("UTENTE") && FCmdParams.Contiene("DITTA") ? TOrigine::CMD : TOrigine::INI;
}

QFuture<void> TAvvio::AvviaVerifica() {
    {
        const std::lock_guard esito(FEsito);  // publishes to the worker what it reads
        if (FArchivio) return FVerifica;
        FArchivio = std::make_unique<TFbDatabase>();
    }
    QThread* finestra = QThread::currentThread();
    FVerifica = QtConcurrent::run([this, finestra] {
        const std::lock_guard esito(FEsito);
        try {
            FTrovato = Controlla(*FArchivio);
        } catch (...) {
            FErrore = std::current_exception();
        }
        // the user made here lives on with the window's thread
        if (FPtqUser) FPtqUser->moveToThread(finestra);
    });
    return FVerifica;
}

bool TAvvio::Verifica(QObject* owner, TFbDatabase& archivio) {
    AvviaVerifica().waitForFinished();
    const std::lock_guard esito(FEsito);
    if (FErrore) std::rethrow_exception(FErrore);
    FPtqUser->setParent(owner);
    if (FArchivio->Connected()) archivio.TakeOver(*FArchivio);  // handed over once
    return FTrovato;
}

bool TAvvio::Controlla(TFbDatabase& archivio) {
    if (!FIniParams) throw Exception(QString("File %1 non trovato").arg(NomeFileIni()));
    if (OrigineParametri() == TOrigine::CMD) {
        try {
            LeggiUtenteDitta(FCmdParams);
            ConnettiUtente(nullptr);
            ConnettiArchivio(archivio);
            return LeggiSoggetto();
        } catch (const Exception& e) {
            throw Exception("Errore nei parametri CMD\r\n" + e.Message());
        }
    }
    try {
        LeggiUtenteDitta(*FIniParams);
        ConnettiUtente(nullptr);
        ConnettiArchivio(archivio);
        return false;
    } catch (const Exception& e) {
        throw Exception(QString("Errore nei parametri di %1\r\n").arg(NomeFileIni()) + e.Message());
    }
}

void TAvvio::LeggiUtenteDitta(const TParametri& d) {
    if (!d.Contiene("UTENTE")) throw Exception(QString("Parametro \"%1\" non trovato").arg("UTENTE"));
    const QString utente = d.Valore("UTENTE");
    bool ok = false;
    const int numero = utente.toInt(&ok);  // decimal with an optional sign, nothing around it
    if (!ok) throw Exception(QString("Parametro \"%1\" con valore \"%2\" non valido").arg("UTENTE", utente));
    FUtente = numero;
    if (!d.Contiene("DITTA")) throw Exception(QString("Parametro \"%1\" non trovato").arg("DITTA"));
    const QString ditta = d.Valore("DITTA");
    if (ditta.isEmpty()) throw Exception(QString("Parametro \"%1\" con valore \"%2\" non valido").arg("DITTA", ditta));
    FDitta = ditta;
}

void TAvvio::ConnettiUtente(QObject* owner) {
    delete FPtqUser;
    FPtqUser = new TPtqUser(owner);
    TDBConnectionInfo info;
    LeggiDBConnectionInfo(info, FFileIni, "CONFIG");
    try {
        FPtqUser->ConnettiDB(info);
    } catch (const Exception& e) {
        throw Exception("Fallita connessione USER.FDB\r\n" + e.Message());
    }
    try {
        FPtqUser->SetCodiceUtente(FUtente);
    } catch (const Exception&) {
        throw Exception(QString("Utente %1 non trovato nello USER.FDB (\"%2\")").arg(FUtente).arg(ComponiNomeDatabase(info)));
    }
    FPtqUser->SetDittaUtente(FDitta);
}

QString TAvvio::NomeParametroArchivio() const {
    QString nome;
    if (FCmdParams.Contiene("PARAMETRO ARCHIVIO")) nome = FCmdParams.Valore("PARAMETRO ARCHIVIO");
    else if (FIniParams && FIniParams->Contiene("PARAMETRO ARCHIVIO")) nome = FIniParams->Valore("PARAMETRO ARCHIVIO");
    return nome.isEmpty() ? QStringLiteral("Archivio") : nome;
}

void TAvvio::ConnettiArchivio(TFbDatabase& archivio) {
    const QString nome = NomeParametroArchivio();
    const QString percorso = FPtqUser->GetParamKestrin(nome);
    if (percorso.isEmpty())
        throw Exception(QString("Parametro \"%1\" non trovato o non valorizzato nel KestrinIni dell'utente").arg(nome));
    try {
        ConnettiDatabase(archivio, percorso);
    } catch (const Exception& e) {
        throw Exception("Fallita connessione DB Archivio: " + e.Message());
    }
}

bool TAvvio::LeggiSoggetto() {
    if (!FCmdParams.Contiene("SOGGETTO")) return false;
    FSoggetto = FCmdParams.Valore("SOGGETTO");
    return true;
}
