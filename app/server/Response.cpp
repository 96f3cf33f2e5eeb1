#include "app/server/Response.h"

TResponse::TResponse(const QString& status) : FStatus(status) {}

TResponse::TResponse(int status) : FStatus(QString::number(status)) {}

TResponse::TResponse(const QString& status, const QString& messaggio) : FStatus(status), FMessaggio(messaggio) {}
