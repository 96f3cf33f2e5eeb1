#include "grid/ColonneGriglia.h"

#include "db/Errore.h"
#include "db/FbDataSet.h"
#include "grid/CostruttoriSQL.h"
#include "grid/LarghezzeBase.h"
#include "grid/ModelloGriglia.h"

#include <QHeaderView>
#include <QTableView>

namespace {

const TFbFieldDef* Definizione(const TModelloGriglia& modello, int campo) {
    const TFbDataSet* dataSet = modello.DataSet();
    if (!dataSet || campo < 0 || campo >= dataSet->FieldCount()) return nullptr;
    return &dataSet->FieldDefs()[campo];
}

}  // namespace

int TColonneGriglia::Conta() const { return FModello.columnCount(); }

int TColonneGriglia::Campo(int posizione) const {
    if (posizione < 0 || posizione >= Conta()) return -1;
    return FVista.horizontalHeader()->logicalIndex(posizione);
}

int TColonneGriglia::Posizione(int campo) const { return FVista.horizontalHeader()->visualIndex(campo); }

int TColonneGriglia::PosizioneDi(const QString& nome) const {
    const QString cercato = MaiuscoloAZ(nome);
    for (int p = 0; p < Conta(); ++p) {
        if (MaiuscoloAZ(NomeCampo(p)) == cercato) return p;
    }
    return -1;
}

QString TColonneGriglia::NomeCampo(int posizione) const {
    const TFbFieldDef* def = Definizione(FModello, Campo(posizione));
    return def ? def->Name : QString();
}

QString TColonneGriglia::Origine(int posizione) const {
    const TFbFieldDef* def = Definizione(FModello, Campo(posizione));
    return def ? def->Origin : QString();
}

QStringList TColonneGriglia::NomiCampi() const {
    QStringList nomi;
    for (int p = 0; p < Conta(); ++p) nomi << NomeCampo(p);
    return nomi;
}

TColonnaAspetto TColonneGriglia::Colonna(int posizione) const {
    const int campo = Campo(posizione);
    const QHeaderView* header = FVista.horizontalHeader();
    TColonnaAspetto c;
    c.NomeCampo = NomeCampo(posizione);
    c.Origine = Origine(posizione);
    c.Visibile = !header->isSectionHidden(campo);
    c.Larghezza = c.Visibile ? header->sectionSize(campo) : FModello.LarghezzaNascosta(campo);
    c.NomeColonna = FModello.Caption(campo);
    c.Colore = FModello.ColoreCella(campo);
    return c;
}

QVector<TColonnaAspetto> TColonneGriglia::Colonne() const {
    QVector<TColonnaAspetto> colonne;
    for (int p = 0; p < Conta(); ++p) colonne << Colonna(p);
    return colonne;
}

void TColonneGriglia::Controlla(int posizione) const {
    if (posizione < 0 || posizione >= Conta())
        throw Exception(QString("Indice di colonna %1 fuori dai limiti").arg(posizione));
}

void TColonneGriglia::SpostaCampo(const QString& nome, int posizione) {
    const int da = PosizioneDi(nome);
    if (da < 0) throw Exception(QString("Campo %1 non trovato").arg(nome));
    Controlla(posizione);
    if (da != posizione) FVista.horizontalHeader()->moveSection(da, posizione);
}

void TColonneGriglia::ImpostaColonna(int posizione, int larghezza, const QString& caption, TColore colore,
                                     bool visibile) {
    Controlla(posizione);
    const int campo = Campo(posizione);
    QHeaderView* header = FVista.horizontalHeader();
    FModello.SetLarghezzaNascosta(campo, larghezza);
    // only what differs is changed: every change makes the view lay out and repaint again
    if (!header->isSectionHidden(campo) && header->sectionSize(campo) != larghezza) header->resizeSection(campo, larghezza);
    if (header->isSectionHidden(campo) != !visibile) {
        header->setSectionHidden(campo, !visibile);
        if (visibile) header->resizeSection(campo, larghezza);
    }
    FModello.SetCaption(campo, caption);
    FModello.SetColoreCella(campo, colore);
}

void TColonneGriglia::ImpostaLarghezzeBase() {
    QHeaderView* header = FVista.horizontalHeader();
    for (int campo = 0; campo < Conta(); ++campo) {
        if (const TFbFieldDef* def = Definizione(FModello, campo)) header->resizeSection(campo, LarghezzaBase(FVista, campo, *def));
    }
}

void TColonneGriglia::AzzeraColoriTitoli() { FModello.AzzeraColoriTitoli(); }

void TColonneGriglia::ColoraTitoli(const QVector<QPair<int, TColore>>& colori) {
    for (const auto& [posizione, colore] : colori) {
        const int campo = Campo(posizione);
        if (campo >= 0) FModello.SetColoreTitolo(campo, colore);
    }
}
