#pragma once
// An answer of the scan server: a status as decimal text and a message.
#include <QString>

class TResponse {
public:
    explicit TResponse(const QString& status);
    explicit TResponse(int status);  // Status is the decimal text of `status`
    TResponse(const QString& status, const QString& messaggio);
    virtual ~TResponse() = default;

    QString Status() const { return FStatus; }
    void SetStatus(const QString& value) { FStatus = value; }
    QString Messaggio() const { return FMessaggio; }
    void SetMessaggio(const QString& value) { FMessaggio = value; }

private:
    QString FStatus;
    QString FMessaggio;
};
