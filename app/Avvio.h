#pragma once
// Start-up: the two parameter sources, the user check and the archive connection.
#include "app/Parametri.h"
#include "db/FbDatabase.h"
#include "db/PtqUser.h"

#include <QFuture>
#include <QPointer>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>

enum TMode { mStandAlone = 0, mExternalCall = 1 };
enum class TOrigine { CMD, INI };

class TAvvio {
public:
    // Builds the command-line dictionary from `argomenti` (the program's own path excluded) and,
    // when `fileIni` exists, the INI dictionary from its section "CONFIG".
    TAvvio(const QStringList& argomenti, const QString& fileIni);
    ~TAvvio();  // waits for checks under way; frees a user that no window took
    TAvvio(const TAvvio&) = delete;
    TAvvio& operator=(const TAvvio&) = delete;

    static QString GetIniFileName();  // "ParametriZelScan.ini" beside the executable
    static QString NomeFileIni() { return QStringLiteral("ParametriZelScan.ini"); }

    const TParametri& CmdParams() const { return FCmdParams; }
    const TParametri* IniParams() const { return FIniParams ? &*FIniParams : nullptr; }
    TOrigine OrigineParametri() const;

    // Starts the checks of the parameters, the user and the archive on a worker thread, so that
    // the connections are made while the window is being created; once only. The future ends
    // with the checks, whatever their outcome.
    QFuture<void> AvviaVerifica();
    // Waits for the checks (starting them when nobody did) and raises their error, the start-up
    // message, as they would have raised it here. Otherwise `owner` takes the user and `archivio`
    // the archive's connection. Returns whether the caller gave a subject (SOGGETTO on the
    // command line with source CMD).
    bool Verifica(QObject* owner, TFbDatabase& archivio);

    void LeggiUtenteDitta(const TParametri& d);
    void ConnettiUtente(QObject* owner);
    QString NomeParametroArchivio() const;
    void ConnettiArchivio(TFbDatabase& archivio);
    bool LeggiSoggetto();

    int Utente() const { return FUtente; }
    QString Ditta() const { return FDitta; }
    QString Soggetto() const { return FSoggetto; }
    TPtqUser* PtqUser() const { return FPtqUser; }

private:
    bool Controlla(TFbDatabase& archivio);  // the checks themselves, in their order

    QString FFileIni;
    TParametri FCmdParams;
    std::optional<TParametri> FIniParams;
    int FUtente = 0;
    QString FDitta;
    QString FSoggetto;
    QPointer<TPtqUser> FPtqUser;
    // the checks on the worker: their archive connection, their outcome. The worker holds
    // FEsito while it checks, and the window's thread takes it before reading what the checks
    // made: a hand-over that race detectors see too, since they cannot see inside Qt's own locks.
    std::mutex FEsito;
    QFuture<void> FVerifica;
    std::unique_ptr<TFbDatabase> FArchivio;
    std::exception_ptr FErrore;
    bool FTrovato = false;
};

QString TestoOrigine(TOrigine origine);
