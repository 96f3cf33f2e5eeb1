#pragma once
// A lookup request: which table to search, which text column to search and show, which column to
// return and the text to put in front of the returned value.
#include <QString>
#include <memory>

class TDatiRicerca {
public:
    QString TabellaRicerca() const { return FTabellaRicerca; }
    void SetTabellaRicerca(const QString& value) { FTabellaRicerca = value; }
    QString CampoRicerca() const { return FCampoRicerca; }
    void SetCampoRicerca(const QString& value) { FCampoRicerca = value; }
    QString CampoRitorno() const { return FCampoRitorno; }
    void SetCampoRitorno(const QString& value) { FCampoRitorno = value; }
    QString PrefissoRitorno() const { return FPrefissoRitorno; }
    void SetPrefissoRitorno(const QString& value) { FPrefissoRitorno = value; }

    // Table, searched column and returned column are all given (the prefix is optional).
    bool IsCompilato() const;
    void Assign(const TDatiRicerca& AFrom);
    std::unique_ptr<TDatiRicerca> Clone() const;

private:
    QString FTabellaRicerca;
    QString FCampoRicerca;
    QString FCampoRitorno;
    QString FPrefissoRitorno;
};
