#pragma once
// Fields every request to the scan server carries: who asks and for which company.
#include <QString>

class TJsonWriter;

class TRequest {
public:
    virtual ~TRequest() = default;

    qint32 UtenteId() const { return FUtenteId; }
    void SetUtenteId(qint32 value) { FUtenteId = value; }
    QString Ditta() const { return FDitta; }
    void SetDitta(const QString& value) { FDitta = value; }

    // The request as the compact JSON object the server reads; pure ASCII.
    QString ToJsonString() const;

protected:
    // Writes this class's members; a derived request writes its own first, then calls the base.
    virtual void ScriviMembri(TJsonWriter& writer) const;

private:
    qint32 FUtenteId = 0;
    QString FDitta;
};
