#include "bench/datalayer/Nudo.h"

#include "db/FbClient.h"
#include "db/FbDatabase.h"
#include "db/FbTransaction.h"

#include <QByteArray>

using namespace Firebird;

qint64 FetchNudo(TFbDatabase& db, TFbTransaction& tr, const QString& sql) {
    const QByteArray text = sql.toUtf8();
    return FbClient::Call([&](ThrowStatusWrapper& st) {
        IStatement* stmt = db.Handle()->prepare(&st, tr.Handle(), 0, text.constData(), 3, 0);
        IMessageMetadata* meta = stmt->getOutputMetadata(&st);
        QByteArray buffer(int(meta->getMessageLength(&st)), 0);
        IResultSet* rs = stmt->openCursor(&st, tr.Handle(), nullptr, nullptr, meta, 0);
        qint64 rows = 0;
        while (rs->fetchNext(&st, buffer.data()) == IStatus::RESULT_OK) ++rows;
        rs->close(&st);
        meta->release();
        stmt->free(&st);
        return rows;
    });
}
