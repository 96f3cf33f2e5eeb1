#pragma once
// Named short (TESTO) and long (MEMO) text values in table TABX, per user or shared by all users.
#include "db/FbDatabase.h"

#include <QObject>
#include <QPointer>
#include <memory>

class TFbSQL;
class TFbTransaction;

class TPtqTabX : public QObject {
    Q_OBJECT
public:
    explicit TPtqTabX(QObject* owner = nullptr);
    // A batch still open is committed: its writes are never lost.
    ~TPtqTabX() override;

    TFbDatabase* Database() const { return FDatabase; }
    void SetDatabase(TFbDatabase* database) { FDatabase = database; }

    // Between BeginUpdate and EndUpdate every read and write shares one transaction, committed at the end.
    void BeginUpdate();
    void EndUpdate();

    // Utente 0 is the value shared by all users (UTENTE NULL); a missing row or column reads empty.
    QString GetParametroTesto(const QString& nome, int utente);
    QString GetParametroMemo(const QString& nome, int utente);
    // Quotes in the value are stored doubled.
    void SetParametroTesto(const QString& nome, const QString& valore, int utente);
    void SetParametroMemo(const QString& nome, const QString& valore, int utente);

private:
    TFbTransaction& Transazione();
    TFbSQL& Statement(std::unique_ptr<TFbSQL>& statement, const QStringList& righe);
    QString Leggi(const QString& nome, int utente, const QString& colonna);
    void Scrivi(std::unique_ptr<TFbSQL>& statement, const QString& colonna, const QString& nome, const QString& valore, int utente);

    bool FOnUpdating = false;
    QPointer<TFbDatabase> FDatabase;
    std::unique_ptr<TFbTransaction> FTransaction;
    std::unique_ptr<TFbSQL> FSQLRead;
    std::unique_ptr<TFbSQL> FSQLWriteTesto;
    std::unique_ptr<TFbSQL> FSQLWriteMemo;
};
