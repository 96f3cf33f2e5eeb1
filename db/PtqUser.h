#pragma once
// The suite's user: the user database connection, the user record and the per-user parameters.
#include "db/ConnessioneDB.h"
#include "db/FbDatabase.h"

#include <QObject>

class TFbSQL;

class TPtqUser : public QObject {
    Q_OBJECT
public:
    explicit TPtqUser(QObject* owner = nullptr);

    int CodiceUtente() const { return FCodiceUtente; }
    QString NomeUtente() const { return FNomeUtente; }
    QString DittaUtente() const { return FDittaUtente; }
    void SetDittaUtente(const QString& ditta) { FDittaUtente = ditta; }
    TFbDatabase* DBUser() { return &FDBUser; }

    void ConnettiDB();                                   // "user\user.fdb" beside the executable
    void ConnettiDB(const QString& fileName);            // a database file, honouring its "dati.ini"
    void ConnettiDB(const TDBConnectionInfo& info);      // a composed location

    void SetCodiceUtente(int valore);                    // raises "Utente %d non trovato"
    void CheckPassword(const QString& valore) const;     // raises "Password errata"
    QString GetParamKestrin(const QString& nome);        // empty when missing or NULL
    void SetParamKestrin(const QString& nome, const QString& valore);
    void BeginUpdate() { FUpdating = true; }
    void EndUpdate();
    void ScritturaHandleDiApertura(int idFinestra, quint64 handle);

    // How many times the parameter image was rebuilt (batched writes rebuild it once).
    int Ricostruzioni() const { return FRicostruzioni; }

private:
    void RicostruisciKestrinIni();
    void EseguiScrittura(TFbSQL& sql);

    int FCodiceUtente = 0;
    QString FNomeUtente;
    QString FDittaUtente;
    QString FPasswordUtente;
    TFbDatabase FDBUser;
    bool FUpdating = false;
    int FRicostruzioni = 0;
};
