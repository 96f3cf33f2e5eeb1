#pragma once
// What the grid shows over its source's rows: each column's title caption, title colour and
// cell colour, by the column's field (logical index). A fetch error while the view scrolls is
// reported once and stops further fetching until the source reopens, so the rows already shown
// stay usable.
#include "grid/ColoriGriglia.h"

#include <QHash>
#include <QIdentityProxyModel>
#include <optional>

class TFbDataSet;
class TFbDataSetModel;

class TModelloGriglia : public QIdentityProxyModel {
    Q_OBJECT
public:
    explicit TModelloGriglia(TFbDataSetModel* sorgente, QObject* parent = nullptr);

    TFbDataSet* DataSet() const;

    // Title caption; an empty text gives the field's name.
    QString Caption(int campo) const;
    void SetCaption(int campo, const QString& caption);
    // Cell colour in the stored form; 0 gives the grid's own colour.
    TColore ColoreCella(int campo) const { return FColoriCelle.value(campo, 0); }
    void SetColoreCella(int campo, TColore colore);
    // Title colour; none gives the title's default colour.
    std::optional<TColore> ColoreTitolo(int campo) const;
    void SetColoreTitolo(int campo, TColore colore);
    void AzzeraColoriTitoli();
    // Width a hidden column had when it was hidden, kept for the layout memory.
    int LarghezzaNascosta(int campo) const { return FLarghezzeNascoste.value(campo, 0); }
    void SetLarghezzaNascosta(int campo, int larghezza) { FLarghezzeNascoste.insert(campo, larghezza); }

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // The database's message of a fetch that failed.
    void ErroreCaricamento(const QString& messaggio);

private:
    void Azzera();
    TFbDataSetModel* FSorgente;
    QHash<int, QString> FCaptions;
    QHash<int, TColore> FColoriCelle;
    QHash<int, TColore> FColoriTitoli;
    QHash<int, int> FLarghezzeNascoste;
    bool FCaricamentoInterrotto = false;
};
