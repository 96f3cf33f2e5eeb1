#include "db/FbDatabase.h"

#include "db/Charset.h"
#include "db/ContatoriDB.h"
#include "db/FbClient.h"
#include "db/FbRiusabili.h"
#include "db/FbTransaction.h"

#include <exception>
#include <utility>

using namespace Firebird;

namespace {

QByteArray LocalText(const QString& s) { return s.toLocal8Bit(); }

IXpbBuilder* BuildDpb(ThrowStatusWrapper& st, const QStringList& params) {
    IXpbBuilder* dpb = FbClient::Util()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    for (const QString& line : params) {
        const int eq = line.indexOf('=');
        const QString name = (eq < 0 ? line : line.left(eq)).trimmed().toLower();
        const QByteArray value = LocalText(eq < 0 ? QString() : line.mid(eq + 1));
        if (name == "user_name") dpb->insertString(&st, isc_dpb_user_name, value.constData());
        else if (name == "password") dpb->insertString(&st, isc_dpb_password, value.constData());
        else if (name == "sql_role_name") dpb->insertString(&st, isc_dpb_sql_role_name, value.constData());
        else if (name == "lc_ctype") dpb->insertString(&st, isc_dpb_lc_ctype, value.constData());
        else throw EDatabaseError(QString("Parametro di connessione \"%1\" non supportato").arg(name));
    }
    dpb->insertInt(&st, isc_dpb_sql_dialect, 3);
    return dpb;
}

}  // namespace

TFbDatabase::TFbDatabase(QObject* owner) : QObject(owner), FRiusabili(std::make_unique<TFbRiusabili>(*this)) {}

TFbDatabase::~TFbDatabase() {
    try {
        Close();
    } catch (...) {
        // Close has dropped the attachment all the same
    }
}

void TFbDatabase::SetDatabaseName(const QString& name) {
    if (name == FDatabaseName) return;
    Close();
    FDatabaseName = name;
}

IAttachment* TFbDatabase::Handle() const {
    if (!FAttachment) throw EDatabaseError("Database non connesso");
    return FAttachment;
}

void TFbDatabase::Open() {
    if (FAttachment) return;
    const QByteArray name = LocalText(FDatabaseName);
    FAttachment = FbClient::Call([&](ThrowStatusWrapper& st) {
        IXpbBuilder* dpb = BuildDpb(st, FParams);
        try {
            IAttachment* att = FbClient::Provider()->attachDatabase(
                &st, name.constData(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
            dpb->dispose();
            return att;
        } catch (...) {
            dpb->dispose();
            throw;
        }
    });
    // The default character set decides how statement texts are encoded.
    try {
        TFbTransaction tr(this);
        tr.Start();
        const QString cs = FbClient::Call([&](ThrowStatusWrapper& st) {
            const char* sql = "SELECT CAST(COALESCE(RDB$CHARACTER_SET_NAME, 'NONE') AS CHAR(31)) FROM RDB$DATABASE";
            const QStringList testo{QString::fromLatin1(sql)};
            ContatoriDB::Preparazione(testo);
            IStatement* stmt = FAttachment->prepare(&st, tr.Handle(), 0, sql, 3, 0);
            IMessageMetadata* meta = stmt->getOutputMetadata(&st);
            QByteArray buf(meta->getMessageLength(&st), 0);
            ContatoriDB::Esecuzione(testo);
            IResultSet* rs = stmt->openCursor(&st, tr.Handle(), nullptr, nullptr, meta, 0);
            QString result;
            ContatoriDB::Fetch();
            if (rs->fetchNext(&st, buf.data()) == IStatus::RESULT_OK)
                result = QString::fromLatin1(buf.constData() + meta->getOffset(&st, 0), meta->getLength(&st, 0));
            rs->close(&st);
            meta->release();
            stmt->free(&st);
            return result;
        });
        FDefaultCharset = Charset::IdFromName(cs);
        tr.Rollback();
    } catch (...) {
        FAttachment->release();
        FAttachment = nullptr;
        throw;
    }
}

void TFbDatabase::Close() {
    if (!FAttachment) return;
    emit Disconnecting();
    // The attachment is dropped whatever fails on the way (a lost connection fails every step),
    // so a later Open attaches anew; the first error is reported once it is gone.
    std::exception_ptr primoErrore;
    const QList<TFbTransaction*> transactions(FTransactions.begin(), FTransactions.end());
    for (TFbTransaction* tr : transactions) {
        if (!FTransactions.contains(tr)) continue;  // ended by a handler of another one
        try {
            if (tr->Active()) tr->Rollback();
        } catch (...) {
            if (!primoErrore) primoErrore = std::current_exception();
        }
        tr->FreeStatements();
    }
    FRiusabili->Libera();
    IAttachment* att = FAttachment;
    FAttachment = nullptr;
    try {
        FbClient::Call([&](ThrowStatusWrapper& st) { att->detach(&st); });
    } catch (...) {
        att->release();
        if (!primoErrore) primoErrore = std::current_exception();
    }
    if (primoErrore) std::rethrow_exception(primoErrore);
}

void TFbDatabase::TakeOver(TFbDatabase& other) {
    if (&other == this) return;
    if (!other.FTransactions.isEmpty()) throw EDatabaseError("Connessione con transazioni proprie: non trasferibile");
    Close();
    other.FRiusabili->Libera();  // prepared on the attachment that moves here, in the other's name
    FParams = other.FParams;
    FDatabaseName = other.FDatabaseName;
    FLoginPrompt = other.FLoginPrompt;
    FDefaultCharset = other.FDefaultCharset;
    FAttachment = std::exchange(other.FAttachment, nullptr);
}

bool TFbDatabase::IsLost() const {
    if (!FAttachment) return false;
    try {
        FbClient::Call([&](ThrowStatusWrapper& st) { FAttachment->ping(&st); });
        return false;
    } catch (const EDatabaseError&) {
        return true;
    }
}

void TFbDatabase::DropIfLost() {
    if (!IsLost()) return;
    try {
        Close();
    } catch (const EDatabaseError&) {
        // the server is gone: there is nothing to roll back or detach from
    }
}

void TFbDatabase::CreateDatabase(const QString& name, const QString& charset) {
    const QByteArray file = LocalText(name);
    FbClient::Call([&](ThrowStatusWrapper& st) {
        IXpbBuilder* dpb = BuildDpb(st, {"user_name=SYSDBA", "password=quillbent"});
        const QByteArray cs = charset.toLatin1();
        dpb->insertString(&st, isc_dpb_set_db_charset, cs.constData());
        dpb->insertInt(&st, isc_dpb_page_size, 8192);
        try {
            IAttachment* att = FbClient::Provider()->createDatabase(&st, file.constData(), dpb->getBufferLength(&st),
                                                                    dpb->getBuffer(&st));
            dpb->dispose();
            att->detach(&st);
        } catch (...) {
            dpb->dispose();
            throw;
        }
    });
}
