#pragma once
// The bare operation under the data layer's fetch: the Firebird client's own prepare, cursor and
// fetch of every row into one message buffer, nothing decoded.
#include <QString>

class TFbDatabase;
class TFbTransaction;

// Rows fetched by `sql` on the connection and transaction of the data layer.
qint64 FetchNudo(TFbDatabase& db, TFbTransaction& tr, const QString& sql);
