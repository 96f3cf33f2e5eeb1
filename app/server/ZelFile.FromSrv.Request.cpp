#include "app/server/ZelFile.FromSrv.Request.h"

#include "app/server/JsonWriter.h"

void TZelFileFromSrvRequest::ScriviMembri(TJsonWriter& writer) const {
    writer.Membro(QStringLiteral("CodiceSituazione"), FCodiceSituazione);
    writer.Membro(QStringLiteral("ControlloCodice"), FControlloCodice);
    writer.Membro(QStringLiteral("SerDoc"), FSerDoc);
    writer.Membro(QStringLiteral("NrMacchina"), FNrMacchina);
    writer.Membro(QStringLiteral("IdLogFile"), FIdLogFile);
    TRequest::ScriviMembri(writer);
}
