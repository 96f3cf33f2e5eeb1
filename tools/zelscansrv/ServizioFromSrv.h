#pragma once
// The "/ZelFile/FromSrv" service: checks a re-send request against the scan log of the archive
// and copies the logged work file into the folder of its machine.
#include <QString>

#include <mutex>
#include <string>

class TFbDatabase;

class TServizioFromSrv {
public:
    TServizioFromSrv(TFbDatabase& archivio, const QString& cartellaFile, const QString& cartellaOutbox);

    // The JSON answer to a request body: {"Status":"1","Messaggio":...} when the file was sent,
    // {"Status":"0","Messaggio":<reason>} otherwise. Never raises; safe from any thread.
    std::string Rispondi(const std::string& corpo);

private:
    struct TEsito {
        bool Ok;
        QString Messaggio;
    };
    TEsito Esegui(const std::string& corpo);
    TEsito InviaFile(int id, const QString& serDoc, int nrMacchina);

    TFbDatabase& FArchivio;  // one connection shared by the worker threads, guarded by FMutex
    QString FCartellaFile;
    QString FCartellaOutbox;
    std::mutex FMutex;
};
