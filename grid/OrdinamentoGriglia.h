#pragma once
// The grid's sort: the single-column sort and the multi-column list, what a title double-click
// does to them, the mark each layout row stores for them, the title colours they give and the
// ORDER BY they add to a query source.
#include "grid/ColoriGriglia.h"
#include "grid/TabelleGriglia.h"

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

class TFbDatabase;

// Title colours of the second and of every later key of a multi-column sort.
constexpr TColore clSecondaChiave = 0xB4B4F3;
constexpr TColore clAltreChiavi = 0x77A4FF;

class TOrdinamentoGriglia {
public:
    // Room of the multi-column list (entries 0 to 65535); the count is a 16-bit signed number.
    static constexpr int MassimoVoci = 65536;

    // 0 not decided yet, 1 single column, 2 multi-column.
    qint16 ModalitaFunzionamento = 0;
    // Single-column sort: upper-case field name (empty: none), its SQL expression, its grid
    // column index (-1: none), its direction (1 ascending, 2 descending).
    QString FCampoDiOrdinamento;
    QString FOrigineCampoDiOrdinamento;
    int FPosizioneCampoOrdinamento = -1;
    int FTipoOrdinamento = 1;
    // Multi-column sort: entries 0 .. FOrdinamentoA - 1; the vectors grow on demand.
    QVector<QString> FCampoDiOrdinamentoA;
    QVector<QString> FOrigineCampoDiOrdinamentoA;
    QVector<int> FPosizioneCampoOrdinamentoA;
    QVector<int> FTipoOrdinamentoA;
    qint16 FOrdinamentoA = 0;
    // Ctrl state seen at the last double-click.
    bool ButtonCtrlDown = false;

    // The values after loading: no sort, mode not decided.
    void Inizializza();
    // Mode 0 and no single sort: the next opening decides the mode and reloads the stored sort.
    void Forza();
    // The switch every double-click makes: Ctrl down in mode 1 turns the single sort into entry 0
    // of a list; Ctrl up in mode 2 keeps only entry 0, as the single sort.
    void CambiaModalita(bool ctrlPremuto);
    // A double-click on the title of grid column `colonna`, whose field is `campo` with SQL
    // expression `espressione` (for the single sort) and origin `origine`. Returns the field name
    // the large-table check looks at.
    QString DoppioClicTitolo(int colonna, const QString& campo, const QString& espressione, const QString& origine);

    // Entry of the multi-column list holding `campo` (compared upper-cased), -1 when none.
    int Voce(const QString& campo) const;
    // Appends an entry (direction 1 ascending, 2 descending); false when the list is full.
    bool AggiungiVoce(const QString& campo, const QString& espressione, int colonna, int tipo);
    // The ORDINAMENTO a layout row stores for `campo`: the direction on the single sort's field in
    // mode 1; +10·(j+1) ascending or -10·(j+1) descending for entry j otherwise; none elsewhere.
    std::optional<int> Marca(const QString& campo) const;
    bool HaOrdinamento() const { return !FCampoDiOrdinamento.isEmpty() || FOrdinamentoA > 0; }

    // The ORDER BY lines for the expressions `utilizzabile(campo, espressione)` accepts.
    QStringList LineeOrderBy(const std::function<bool(const QString&, const QString&)>& utilizzabile) const;
    // The row order of a table source: the single sort's field in mode 1, else every entry
    // followed by ";".
    QString IndexFieldNames() const;
    // Sort-title rule: (grid column index, colour) of every sort title among `colonne` columns.
    QVector<QPair<int, TColore>> ColoriTitoli(int colonne, TColore coloreOrdinamento) const;
};

// The SQL expression of a field: the decoding of a personalised field (names compared
// upper-cased), else its origin, else its name.
QString EspressioneCampo(const QString& campo, const QString& origine, const QStringList& campiPersonalizzati,
                         const QStringList& decodifiche);
// Whether `campo` (compared upper-cased) is an item of the ";"-separated list `campiIndicizzati`
// (items 1, 2, ... up to the first empty one).
bool CampoIndicizzato(const QString& campo, const QString& campiIndicizzati);
// Indexed-title rule: for each item of `campiIndicizzati`, the first of `campi` (grid columns in
// order) with that name gets `colore`.
QVector<QPair<int, TColore>> ColoriIndicizzati(const QStringList& campi, const QString& campiIndicizzati, TColore colore);

// The statements of the sort, line by line.
QStringList LineeSceltaModalita(const TChiaveImpostazioni& chiave);
QStringList LineeOrdinamentoSingolo(const TChiaveImpostazioni& chiave);
QStringList LineeOrdinamentoMultiplo(const TChiaveImpostazioni& chiave);
QStringList LineeChiavePrimaria(const QString& tabella);

// Before an opening: decides the mode when it is 0, then loads the stored sort from the layout
// rows of `chiave` on `impostazioni`. Database errors reach the caller.
void CaricaOrdinamento(TFbDatabase* impostazioni, const TChiaveImpostazioni& chiave,
                       const QStringList& campiPersonalizzati, const QStringList& decodifiche,
                       TOrdinamentoGriglia& ordinamento);
// The origins of the result fields of `sql`, learnt once per text and connection by preparing it
// in a transaction of its own.
QStringList OriginiSQL(TFbDatabase* database, const QStringList& sql);
// The ORDER BY a query source gets: the stored sort's usable expressions (those of personalised
// fields or equal to an origin of `sqlIniziale`), or, with no sort and `chiavePrimaria`, the
// primary key of `tabella`.
QStringList LineeOrdinamentoQuery(TFbDatabase* database, const QStringList& sqlIniziale,
                                  const TOrdinamentoGriglia& ordinamento, const QStringList& campiPersonalizzati,
                                  bool chiavePrimaria, const QString& tabella);
