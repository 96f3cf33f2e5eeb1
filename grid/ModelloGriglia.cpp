#include "grid/ModelloGriglia.h"

#include "db/Errore.h"
#include "db/FbDataSet.h"
#include "db/FbDataSetModel.h"

#include <QGuiApplication>

TModelloGriglia::TModelloGriglia(TFbDataSetModel* sorgente, QObject* parent)
    : QIdentityProxyModel(parent), FSorgente(sorgente) {
    setSourceModel(sorgente);
    // a reopened source may have other fields: its columns start again from their defaults, before
    // the views hear of the reset
    connect(sorgente, &QAbstractItemModel::modelAboutToBeReset, this, &TModelloGriglia::Azzera);
}

TFbDataSet* TModelloGriglia::DataSet() const { return FSorgente->DataSet(); }

void TModelloGriglia::Azzera() {
    FCaptions.clear();
    FColoriCelle.clear();
    FColoriTitoli.clear();
    FLarghezzeNascoste.clear();
    FCaricamentoInterrotto = false;
}

QString TModelloGriglia::Caption(int campo) const {
    const QString caption = FCaptions.value(campo);
    return caption.isEmpty() ? FSorgente->headerData(campo, Qt::Horizontal).toString() : caption;
}

void TModelloGriglia::SetCaption(int campo, const QString& caption) {
    if (Caption(campo) == caption) return;
    FCaptions.insert(campo, caption);
    emit headerDataChanged(Qt::Horizontal, campo, campo);
}

void TModelloGriglia::SetColoreCella(int campo, TColore colore) {
    if (ColoreCella(campo) == colore) return;
    FColoriCelle.insert(campo, colore);
    if (rowCount() > 0) emit dataChanged(index(0, campo), index(rowCount() - 1, campo), {Qt::BackgroundRole});
}

std::optional<TColore> TModelloGriglia::ColoreTitolo(int campo) const {
    const auto trovato = FColoriTitoli.constFind(campo);
    if (trovato == FColoriTitoli.cend()) return std::nullopt;
    return *trovato;
}

void TModelloGriglia::SetColoreTitolo(int campo, TColore colore) {
    if (ColoreTitolo(campo) == colore) return;
    FColoriTitoli.insert(campo, colore);
    emit headerDataChanged(Qt::Horizontal, campo, campo);
}

void TModelloGriglia::AzzeraColoriTitoli() {
    if (FColoriTitoli.isEmpty()) return;
    FColoriTitoli.clear();
    if (columnCount() > 0) emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

QVariant TModelloGriglia::data(const QModelIndex& index, int role) const {
    if (role == Qt::BackgroundRole && index.isValid()) {
        const TColore colore = ColoreCella(index.column());
        return colore == 0 ? QVariant() : QVariant(ColoreQt(colore, QGuiApplication::palette()));
    }
    return QIdentityProxyModel::data(index, role);
}

QVariant TModelloGriglia::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole && section < columnCount()) return Caption(section);
        if (role == Qt::BackgroundRole) {
            const std::optional<TColore> colore = ColoreTitolo(section);
            return colore ? QVariant(ColoreQt(*colore, QGuiApplication::palette())) : QVariant();
        }
    }
    return QIdentityProxyModel::headerData(section, orientation, role);
}

bool TModelloGriglia::canFetchMore(const QModelIndex& parent) const {
    return !FCaricamentoInterrotto && QIdentityProxyModel::canFetchMore(parent);
}

void TModelloGriglia::fetchMore(const QModelIndex& parent) {
    try {
        QIdentityProxyModel::fetchMore(parent);
    } catch (const Exception& e) {
        FCaricamentoInterrotto = true;
        emit ErroreCaricamento(e.Message());
    }
}
