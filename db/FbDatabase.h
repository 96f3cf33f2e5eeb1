#pragma once
// A connection to one Firebird database (embedded path, "host:path" or "host:alias").
#include <QObject>
#include <QSet>
#include <QStringList>
#include <memory>

namespace Firebird { class IAttachment; }
class TFbRiusabili;
class TFbTransaction;

class TFbDatabase : public QObject {
    Q_OBJECT
public:
    explicit TFbDatabase(QObject* owner = nullptr);
    ~TFbDatabase() override;

    // Attach parameters as "name=value" lines: "user_name", "password", "sql_role_name", "lc_ctype".
    QStringList& Params() { return FParams; }
    const QStringList& Params() const { return FParams; }

    QString DatabaseName() const { return FDatabaseName; }
    void SetDatabaseName(const QString& name);

    // The client's interactive login prompt; it never prompts here, the flag is kept for callers.
    bool LoginPrompt() const { return FLoginPrompt; }
    void SetLoginPrompt(bool value) { FLoginPrompt = value; }

    int SQLDialect() const { return 3; }

    void Open();
    // Rolls back the active transactions and detaches. The attachment is dropped also when that
    // fails (a lost connection), so Open attaches anew; the first error then propagates.
    void Close();
    // After an error: when the server no longer answers, drops the dead attachment (without an
    // error), so the next statement or transaction reconnects.
    void DropIfLost();
    // Connected, but the server no longer answers.
    bool IsLost() const;
    bool Connected() const { return FAttachment != nullptr; }
    // Takes the connection of `other`, opened elsewhere (on another thread, say) and with no
    // transaction of its own, together with its name and parameters; `other` is left closed.
    // This one's own connection is closed first.
    void TakeOver(TFbDatabase& other);

    // The statements and result fields kept for texts that run again and again (db/FbRiusabili.h).
    TFbRiusabili& Riusabili() { return *FRiusabili; }

    // The database's default character set; statement texts travel in it.
    int DefaultCharset() const { return FDefaultCharset; }
    Firebird::IAttachment* Handle() const;

    // Creates a new database file (embedded path or "host:path") with the given default character set.
    static void CreateDatabase(const QString& name, const QString& charset = QStringLiteral("UTF8"));

signals:
    void Disconnecting();

private:
    friend class TFbTransaction;
    QStringList FParams;
    QString FDatabaseName;
    bool FLoginPrompt = true;
    int FDefaultCharset = 0;
    Firebird::IAttachment* FAttachment = nullptr;
    QSet<TFbTransaction*> FTransactions;
    std::unique_ptr<TFbRiusabili> FRiusabili;
};
