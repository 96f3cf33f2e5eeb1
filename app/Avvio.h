#pragma once
// Start-up: the two parameter sources, the user check and the archive connection.
#include "app/Parametri.h"
#include "db/FbDatabase.h"
#include "db/PtqUser.h"

#include <QPointer>
#include <memory>
#include <optional>

enum TMode { mStandAlone = 0, mExternalCall = 1 };
enum class TOrigine { CMD, INI };

class TAvvio {
public:
    // Builds the command-line dictionary from `argomenti` (the program's own path excluded) and,
    // when `fileIni` exists, the INI dictionary from its section "CONFIG".
    TAvvio(const QStringList& argomenti, const QString& fileIni);

    static QString GetIniFileName();  // "ParametriZelScan.ini" beside the executable
    static QString NomeFileIni() { return QStringLiteral("ParametriZelScan.ini"); }

    const TParametri& CmdParams() const { return FCmdParams; }
    const TParametri* IniParams() const { return FIniParams ? &*FIniParams : nullptr; }
    TOrigine OrigineParametri() const;

    // Checks the parameters, the user and the archive; raises Exception with the start-up message.
    // Returns whether the caller gave a subject (SOGGETTO on the command line with source CMD).
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
    QString FFileIni;
    TParametri FCmdParams;
    std::optional<TParametri> FIniParams;
    int FUtente = 0;
    QString FDitta;
    QString FSoggetto;
    QPointer<TPtqUser> FPtqUser;
};

QString TestoOrigine(TOrigine origine);
