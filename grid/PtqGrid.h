#pragma once
// The suite's data grid: a read-only table view over a data set, with a popup menu of commands,
// per-user preferences read from its settings database and hooks on the source's open events.
#include "controls/TabellaDati.h"
#include "db/FbDataSet.h"
#include "db/FbDatabase.h"
#include "db/FbTable.h"
#include "grid/ColonneGriglia.h"
#include "grid/ColoriGriglia.h"
#include "grid/OrdinamentoGriglia.h"
#include "grid/TabelleGriglia.h"

#include <QKeySequence>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <functional>

class Exception;
class QAction;
class QDialog;
class QMenu;
class QTimer;
class TFbDataSetModel;
class TComandiRicerca;
class TPPtqGridForm;
class TModelloGriglia;
class TRigheGriglia;

class TPtqGrid : public TTabellaDati {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TPtqGrid*)>;

    // Longest multi-column sort list (entries 0 to 65535).
    static constexpr int MassimoOrdinamentoA = TOrdinamentoGriglia::MassimoVoci;

    // When the owner gives a popup menu of its own, the grid's commands are appended to it after
    // a separator; otherwise the grid shows a menu of its own.
    explicit TPtqGrid(QWidget* owner = nullptr, QMenu* menuProprietario = nullptr);
    ~TPtqGrid() override;

    // --- Binding -------------------------------------------------------------------------------
    TFbDataSet* SorgenteDati() const { return FSorgenteDati; }
    // Binds the grid to `sorgente` (none: binds the previous source again), chains the source's
    // before-open and after-open handlers and reads the preferences of the settings database.
    void SetSorgenteDati(TFbDataSet* sorgente);
    TFbQuery* Query() const { return FQuery; }
    TFbTable* Table() const { return FTable; }

    // The settings database: DatabaseImpostazioni, else the bound query's or table's database.
    TFbDatabase* DatabaseImpostazioni() const { return FDatabaseImpostazioni; }
    void SetDatabaseImpostazioni(TFbDatabase* database) { FDatabaseImpostazioni = database; }
    TFbDatabase* DatabaseImpostazioniEffettivo() const;
    // Creates the settings tables missing from the settings database.
    void CheckTabPtqGrid();

    // --- Properties set by the owner -----------------------------------------------------------
    int CodiceProgetto() const { return FCodiceProgetto; }
    void SetCodiceProgetto(int value) { FCodiceProgetto = value; }
    int Situazione() const { return qAbs(FSituazione); }
    void SetSituazione(int value) { FSituazione = value; }
    int Utente() const { return FUtente; }
    void SetUtente(int value) { FUtente = value; }
    // 0 SQL query, 1 table, 2 support-table view (set by the owner; binding sets 0 and 1).
    int TipoTabella() const { return FTipoTabella; }
    void SetTipoTabella(int value) { FTipoTabella = value; }
    QString NomeTabellaQuery() const { return FNomeTabellaQuery; }
    void SetNomeTabellaQuery(const QString& value) { FNomeTabellaQuery = value; }
    bool TabellaPiccola() const { return FTabellaPiccola; }
    void SetTabellaPiccola(bool value) { FTabellaPiccola = value; }
    bool OrderBy() const { return FOrderBy; }
    void SetOrderBy(bool value) { FOrderBy = value; }
    bool AbilitaOrdinamento() const { return FAbilitaOrdinamento; }
    void SetAbilitaOrdinamento(bool value) { FAbilitaOrdinamento = value; }
    bool AbilitaRicercheF5() const { return FAbilitaRicercheF5; }
    void SetAbilitaRicercheF5(bool value);
    QString CampiIndicizzati() const { return FListaCampiIndicizzati; }
    void SetCampiIndicizzati(const QString& value) { FListaCampiIndicizzati = value; }
    QStringList& CampiPersonalizzati() { return FCampiPersonalizzati; }
    QStringList& CampiPersonalizzatiDecodifica() { return FCampiPersonalizzatiDecodifica; }
    TFbTable* TabellaAppoggio() const { return FTabellaAppoggio; }
    void SetTabellaAppoggio(TFbTable* table) { FTabellaAppoggio = table; }
    QString TabellaAspettoGriglia() const { return FTabellaAspettoGriglia; }
    void SetTabellaAspettoGriglia(const QString& value) { FTabellaAspettoGriglia = value; }
    QString TabellaPosizioneFinestre() const { return FTabellaPosizioneFinestre; }
    void SetTabellaPosizioneFinestre(const QString& value) { FTabellaPosizioneFinestre = value; }
    QString TabellaAspettoGriglie() const { return FTabellaAspettoGriglie; }
    void SetTabellaAspettoGriglie(const QString& value) { FTabellaAspettoGriglie = value; }
    // The owner's base SQL of the query source, without search condition and ORDER BY.
    QStringList& SQLIniziale() { return FSQLIniziale; }
    TNotifyEvent OnInizioRicerca() const { return FOnInizioRicerca; }
    void SetOnInizioRicerca(TNotifyEvent handler) { FOnInizioRicerca = std::move(handler); }
    TNotifyEvent OnFineRicerca() const { return FOnFineRicerca; }
    void SetOnFineRicerca(TNotifyEvent handler) { FOnFineRicerca = std::move(handler); }
    // Runs before the grid's own before-show step each time the popup is about to show.
    void SetOnPopupMenu(std::function<void()> handler) { FVecchioOnPopUpMenu = std::move(handler); }

    // --- Preferences read at binding -----------------------------------------------------------
    TColore ColoreRecordSelezionato() const { return FColoreRecordSelezionato; }
    TColore ColoreCampoIndicizzato() const { return FColoreCampoIndicizzato; }
    TColore ColoreCampoOrdinamento() const { return FColoreCampoOrdinamento; }
    bool AbilitaTimer() const { return FAbilitaTimer; }
    bool AbilitaRicF5Sempre() const { return FAbilitaRicF5Sempre; }

    // --- Layout memory --------------------------------------------------------------------------
    // Writes the columns' layout and sort marks when they differ from the stored rows.
    void SalvaAspettoSuStorico();
    // Source open: applies the stored layout. Source closed: appends the search condition in
    // force to the query's text.
    void RecuperaAspettodaStorico();
    bool RicercaInCorso() const { return FRicercaInCorso; }
    // A search condition is in the text the source was last opened with (kept after the dialog
    // has closed, until F6, a reset or an opening without it).
    bool RicercaAttiva() const { return FRicercaAttiva; }
    // The key of the user's rows in the layout table (the working situation may be negative).
    TChiaveImpostazioni ChiaveAspetto() const;
    // The columns by their index in the grid.
    TColonneGriglia Colonne() const;
    TModelloGriglia* ModelloGriglia() const { return FModelloGriglia; }

    // --- Sorting --------------------------------------------------------------------------------
    TOrdinamentoGriglia& Ordinamento() { return FOrdinamento; }
    const TOrdinamentoGriglia& Ordinamento() const { return FOrdinamento; }
    // The next opening decides the sort mode again and reloads the stored sort.
    void SettaGridPerForzaturaOrdinamento() { FOrdinamento.Forza(); }
    // The title double-click on grid column `colonna`, after the mode switch: records the sort,
    // saves the layout, reopens the source in the new order and colours the titles. False when
    // the large-table check refused the sort, which leaves the sort state as it was.
    bool OrdinaPerColonna(int colonna);
    // Title colours: every title back to its default, then the indexed and the sort titles.
    void ColoraTitoli();

    // The field (logical column) of the current cell; with no current cell (a reopening that found
    // no rows, say) the last one the user was on.
    int ColonnaCorrente() const;

    // --- Search ---------------------------------------------------------------------------------
    // "Ricerca su campo Corrente" (F5): the search dialog on the selected column.
    void AttivaRicerche();
    // "Annulla ricerca" (F6): the source without the search condition.
    void AnnullaRicerca();

    // --- Commands -------------------------------------------------------------------------------
    QMenu* MenuPopup() const;           // the menu holding the grid's commands
    // The item with this caption, as the user reads it (without the underlined letter's marker).
    QAction* Voce(const QString& caption) const;
    // The key that opens the popup at the current cell, beside the Menu key.
    static QKeySequence TastoMenu() { return QKeySequence(Qt::SHIFT | Qt::Key_F10); }
    // Opens the popup at a point of the screen.
    void MostraMenu(const QPoint& globale);
    // Where the popup opens from the keyboard (Menu, Shift+F10): at the current cell, scrolled into
    // view; at the top left without one.
    QPoint PuntoCellaCorrente();
    // Runs the popup command with this caption after refreshing the items' states, as when the
    // popup shows; a disabled command does nothing. False when nothing ran.
    bool EseguiComando(const QString& caption);
    // Enables and hides the items by the state of the source (the popup's before-show step).
    void AggiornaVoci();
    void LanciaQuery();
    void DimezzaColonna();
    // "Personalizza Griglia": the layout is saved, edited in the personalisation dialog and applied.
    void PersonalizzaGriglia();
    // "Aspetto Base" of that dialog: after the warning, forgets the stored layout and positions.
    void RipristinaAspettoBase();
    TPPtqGridForm* FormPersonalizzazione() const;  // while the dialog is shown
    void StampaGriglia();
    // The F5-F9 keys run their commands while the grid has the focus; an owner that maps the
    // keys itself switches them off, so each key runs its command once.
    void SetScorciatoieAttive(bool attive);

    // Shows an error of one of the grid's actions, after `premessa`, in a box over `sopra` (the
    // grid when none); a database error first drops a connection whose server went away, so the
    // next action connects again.
    void MostraErrore(const Exception& errore, QWidget* sopra = nullptr, const QString& premessa = {});

    // Public fields the owner sets at start-up.
    QString FDirectoryBin;
    QString FNomeProgetto;
    bool RecuperoAspettoBaseInCorso = false;
    bool ChiavePrimariaOrdDefault = true;
    bool DisabilitaMemPosGriglie = false;

signals:
    void RicercaAttivaCambiata();

protected:
    // Ctrl+End goes to the source's last row, not to the last of the rows fetched so far.
    QModelIndex moveCursor(CursorAction azione, Qt::KeyboardModifiers modificatori) override;
    // Each fetch of rows asks for what the viewport, at its new size, can show.
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TComandiRicerca;
    void Loaded(QMenu* menuProprietario);
    void Sgancia();
    void PreparaOrdinamento(TFbDataSet* dataSet);
    void DopoApertura(TFbDataSet* dataSet);
    void MouseDown(const QPoint& punto);
    // True when the double-click fell on the title row and the grid handled it.
    bool DblClick();
    // Grid column whose title lies under `punto` (grid coordinates); -1 outside the titles, -2
    // on the title row's record-indicator cell.
    int TitoloSotto(const QPoint& punto) const;
    bool RicercaAperta() const;
    void SetRicercaAttiva(bool attiva);
    // Back on the cell (row, field) the user was on before a reopening, as far as the rows go.
    void TornaAllaCella(int riga, int campo);
    void ColoraTitoliOrdinamento();
    void AggiornaCampiIndicizzati();
    void SelezionaColonna(int posizione);
    void AvviaUtility(const QString& tabella, TFbDatabase* database, int utente);
    void CopiaInTabellaAppoggio();

    QStringList FSQLIniziale;
    bool FTabellaPiccola = false;
    QMenu* FMenuPopup = nullptr;      // the grid's own menu, owned
    QMenu* FMenuInUso = nullptr;      // the owner's menu or FMenuPopup
    QList<class QShortcut*> FScorciatoie;
    QString FWhere;
    QString FCampoSelezionato;
    QString FOrigineCampoSelezionato;
    QPointer<QDialog> RPtqGridForm;
    int FPosizioneXMouse = 0;
    int FPosizioneYMouse = 0;
    QString FTabellaAspettoGriglia;
    int FSituazione = 0;
    int FUtente = 0;
    QPointer<TPPtqGridForm> PPtqGridForm;
    int FTipoTabella = 0;
    QTimer* FTimer = nullptr;
    TFbDataSet::TNotifyEvent FVecchioAfterOpen;
    int FCodiceProgetto = 0;
    QString FTabellaPosizioneFinestre;
    QString FTabellaAspettoGriglie;
    TColore FColoreRecordSelezionato = 0;
    TColore FColoreCampoIndicizzato = 0;
    TColore FColoreCampoOrdinamento = 0;
    bool FAbilitaTimer = false;
    QString FListaCampiIndicizzati;
    bool FAbilitaRicF5Sempre = false;
    TOrdinamentoGriglia FOrdinamento;
    QString FSQLFiltro;
    TFbDataSet::TNotifyEvent FVecchioBeforeOpen;
    int FTipoRicerca = 0;
    QString FStringaRicerca;
    bool FUpperRicerca = false;
    QPointer<TFbTable> FTable;
    QPointer<TFbDataSet> FSorgenteDati;
    bool FOrderBy = true;
    std::function<void()> FVecchioOnPopUpMenu;
    bool FAbilitaRicercheF5 = true;
    QString FNomeTabellaQuery;
    bool FAbilitaOrdinamento = true;
    TNotifyEvent FOnInizioRicerca;
    TNotifyEvent FOnFineRicerca;
    QPointer<TFbTable> FTabellaAppoggio;
    QString FTitoloFinestraRicerca;
    QStringList FCampiPersonalizzati;
    QStringList FCampiPersonalizzatiDecodifica;
    QAction* VoceMenuStampa = nullptr;
    bool FRicercaInCorso = false;
    bool FRicercaAttiva = false;
    QPointer<TFbQuery> FQuery;
    QPointer<TFbDatabase> FDatabaseImpostazioni;
    TFbDataSetModel* FModello = nullptr;
    TComandiRicerca* FRicerca = nullptr;  // the search commands, owned
    TModelloGriglia* FModelloGriglia = nullptr;
    TRigheGriglia* FRighe = nullptr;  // keeps the viewport full of rows
    int FColonnaCorrente = 0;
    QList<QAction*> FVoci;  // the grid's seven items, in menu order
};
