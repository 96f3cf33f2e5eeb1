#pragma once
// The rows of the print's data, read one at a time while the pages are drawn.
#include <QString>
#include <QStringList>
#include <memory>

class TFbDatabase;
class TFbSQL;
class TFbTransaction;

class IRigheStampa {
public:
    virtual ~IRigheStampa() = default;
    // (Re)runs the data and stands before its first row; raises Exception.
    virtual void Apri() = 0;
    virtual QStringList Campi() const = 0;
    // Moves to the next row; false at the end.
    virtual bool Prossima() = 0;
    virtual QString Valore(int campo) const = 0;  // the current row's value as text
};

// The rows of a SELECT on a database, read in a read-only snapshot transaction of their own, so
// each run sees the same rows and the statement cannot change the data.
class TRigheSQL : public IRigheStampa {
public:
    TRigheSQL(TFbDatabase* database, const QStringList& sql);
    ~TRigheSQL() override;

    void Apri() override;
    QStringList Campi() const override { return FCampi; }
    bool Prossima() override;
    QString Valore(int campo) const override;

private:
    std::unique_ptr<TFbTransaction> FTransazione;
    std::unique_ptr<TFbSQL> FSQL;
    QStringList FCampi;
    bool FPrimaRiga = false;
};
