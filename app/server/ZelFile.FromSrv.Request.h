#pragma once
// Asks the scan server to send one logged work file to its machine again.
#include "app/server/Request.h"

class TZelFileFromSrvRequest : public TRequest {
public:
    qint32 CodiceSituazione() const { return FCodiceSituazione; }
    void SetCodiceSituazione(qint32 value) { FCodiceSituazione = value; }
    QString ControlloCodice() const { return FControlloCodice; }
    void SetControlloCodice(const QString& value) { FControlloCodice = value; }
    QString SerDoc() const { return FSerDoc; }
    void SetSerDoc(const QString& value) { FSerDoc = value; }
    qint32 NrMacchina() const { return FNrMacchina; }
    void SetNrMacchina(qint32 value) { FNrMacchina = value; }
    qint32 IdLogFile() const { return FIdLogFile; }
    void SetIdLogFile(qint32 value) { FIdLogFile = value; }

protected:
    void ScriviMembri(TJsonWriter& writer) const override;

private:
    qint32 FCodiceSituazione = 0;
    QString FControlloCodice;
    QString FSerDoc;
    qint32 FNrMacchina = 0;
    qint32 FIdLogFile = 0;
};
