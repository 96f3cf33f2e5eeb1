#pragma once
// The grid's columns by their index in the grid (their visual order, from 0): field, origin,
// width in pixels, caption, cell colour, visibility, and the title colours.
#include "grid/ColoriGriglia.h"

#include <QHash>
#include <QPair>
#include <QStringList>
#include <QVector>

class QTableView;
class TModelloGriglia;

// One column as the layout memory reads and writes it.
struct TColonnaAspetto {
    QString NomeCampo;
    QString Origine;
    int Larghezza = 0;
    QString NomeColonna;
    TColore Colore = 0;
    bool Visibile = true;
};

class TColonneGriglia {
public:
    TColonneGriglia(QTableView& vista, TModelloGriglia& modello) : FVista(vista), FModello(modello) {}

    int Conta() const;
    // The field (logical column) shown at `posizione`; -1 when out of range.
    int Campo(int posizione) const;
    int Posizione(int campo) const;
    // The column of the field named `nome` (compared upper-cased a to z), -1 when none.
    int PosizioneDi(const QString& nome) const;
    QString NomeCampo(int posizione) const;
    QString Origine(int posizione) const;
    // Field names in grid order.
    QStringList NomiCampi() const;
    TColonnaAspetto Colonna(int posizione) const;
    QVector<TColonnaAspetto> Colonne() const;

    // Moves the field named `nome` to `posizione`; raises when there is no such field or the
    // position is out of range.
    void SpostaCampo(const QString& nome, int posizione);
    // Sets width, caption, cell colour and visibility of the column at `posizione`; raises when
    // the position is out of range. A hidden column keeps its width for the next save.
    void ImpostaColonna(int posizione, int larghezza, const QString& caption, TColore colore, bool visibile);

    // Every column as wide as its title and its field's values need, up to a limit for the
    // values (the width a column starts with before a stored layout applies).
    void ImpostaLarghezzeBase();

    void AzzeraColoriTitoli();
    // (position, colour) pairs; positions out of range are skipped.
    void ColoraTitoli(const QVector<QPair<int, TColore>>& colori);

private:
    void Controlla(int posizione) const;
    QTableView& FVista;
    TModelloGriglia& FModello;
};
