#pragma once
// The main window: subject filter, selection labels, buttons, the log tree and, below it, the
// grid of the subject's log rows.
#include "app/AlberoLog.h"
#include "app/Avvio.h"
#include "app/Filtro.h"
#include "app/RiepilogoAiuto.h"
#include "app/server/HttpPost.h"
#include "app/server/ZelFile.FromSrv.Request.h"
#include "app/server/ZelFile.FromSrv.Response.h"
#include "db/FbDataSet.h"
#include "db/FbTransaction.h"
#include "db/PtqTabX.h"
#include "grid/PtqGrid.h"

#include <QAction>
#include <QFrame>
#include <QFuture>
#include <QLabel>
#include <QLineEdit>
#include <QSplitter>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QWidget>
#include <functional>
#include <memory>

class TFormMain : public QWidget {
    Q_OBJECT
public:
    // `argomenti`: the command line without the program's path; `fileIni`: the INI file to read
    // (TAvvio::GetIniFileName() in the program).
    TFormMain(const QStringList& argomenti, const QString& fileIni, QWidget* parent = nullptr);
    // With the parameters gathered already, and their checks possibly under way
    // (TAvvio::AvviaVerifica); they are started here otherwise, beside the controls' creation.
    explicit TFormMain(std::unique_ptr<TAvvio> avvio, QWidget* parent = nullptr);
    ~TFormMain() override;

    void CheckInit();  // raises Exception with the start-up message

    TAvvio& Avvio() { return *FAvvio; }
    TMode Modalita() const { return FMode; }
    int IdRecordSelezionatoCorrente() const { return ID_RECORD_SELEZIONATO_CORRENTE; }

    // Actions of the window.
    void ActionHelpExecute();
    // The keys of the window and of its grid, as the help summary lists them.
    QList<TTastiAiuto> TastiAiuto() const;
    void ActionEsciExecute() { close(); }
    // Ends the program on a signal from the session (SIGTERM, SIGINT, SIGHUP) as the close box
    // does: open boxes and dialogs are dismissed, and a send under way ends first.
    void ChiudiPerSegnale();
    void Aggiorna();
    void CaricaAlbero();
    void TreeViewMainChange(QTreeWidgetItem* node);
    std::unique_ptr<TFiltro> GetFiltro() const;
    void SetFiltro(const TFiltro& filtro);
    void AvviaRitardo();
    void ActionSearchExecute();
    void ActionUpFileExecute();
    void MostraAttivita(const QString& caption);
    void NascondiAttivita();

    // The latest send's request, answer and address; absent before the first send.
    const TZelFileFromSrvRequest* FromSrvRequest() const { return FFromSrvRequest.get(); }
    const TZelFileFromSrvResponse* FromSrvResponse() const { return FFromSrvResponse.get(); }
    QString ZelScanSrvURL() const { return FZelScanSrvURL; }
    bool InvioInCorso() const { return FTask.isRunning(); }
    // Time-outs of the exchange (the product's are TimeoutConnessioneMs and TimeoutLetturaMs).
    void SetTimeoutInvio(int connessioneMs, int letturaMs) {
        FTimeoutConnessione = connessioneMs;
        FTimeoutLettura = letturaMs;
    }
    void ConfiguraGriglia();
    void PtqGridKeyUp(int key);
    // Name of the user's TABX value holding the tree's share of the splitter, in pixels.
    static constexpr const char* NomePosizioneSplitter = "ZelScanFile.PosizioneSplitter";

    // Controls, named as the form names them.
    QFrame* PanelFiltro;
    QLabel* LabelFiltroCodice;
    QLineEdit* EditFiltroCodice;
    QToolButton* ButtonSearch;
    QFrame* PanelHeader;
    QLabel* LabelSelezioneCorrenteCommessa;
    QLabel* LabelSelezioneCorrenteItem;
    QFrame* PanelPulsanti;
    QToolButton* ButtonUpFile;
    QToolButton* ButtonRefresh;
    QWidget* DBNavigator;
    QToolButton* ButtonHelp;
    QToolButton* ButtonEsci;
    QSplitter* SplitterMain;  // the tree above, the grid below
    QLabel* LabelGriglia;     // names what the grid lists
    TPtqGrid* PtqGrid;
    QTreeWidget* TreeViewMain;
    QFrame* PanelActivity;
    QLabel* LabelActivity;

    QAction* ActionEsci;
    QAction* ActionRefresh;
    QAction* ActionHelp;
    QAction* ActionSearch;
    QAction* ActionUpFile;

    QTimer* TimerDelay;

    TFbDatabase* DBArchivio;
    TFbTransaction* IBTransaction;
    TFbQuery* IBQuery;
    TFbQuery* QueryAux1;
    TFbQuery* QueryAux2;
    TFbQuery* QueryAux3;
    TPtqTabX* FPtqTabX = nullptr;

    // How many times the tree was rebuilt (each rebuild runs its queries once).
    int Ricostruzioni() const { return FRicostruzioni; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreaControlli();
    void CreaAzioni();
    void CreaTabX();
    void ImpostaModalita(TMode mode);
    void IBQueryBeforeOpen();
    void IBQueryBeforeClose();
    // Opens the grid's query on the subject of the tree just built; an error is shown and the
    // window stays usable.
    void ApriGriglia(const QString& soggetto);
    // "Log del soggetto X" or "Log completo (tutti i soggetti)", with " — ricerca attiva" while a
    // search condition narrows the rows and a word when there are none.
    void AggiornaTitoloGriglia();
    void RipristinaSplitter();
    void SalvaSplitter();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void FormShow();
    void Massimizza();
    void FormClose();
    bool FormCloseQuery();
    void EseguiInvio();
    void FineInvio();
    // After a send: the focus on the tree, on the file node of this log ID when the tree still has it.
    void RiportaSulFile(int id);
    // Runs an event handler; an error it raises is shown in an error box and the program goes on.
    void Gestisci(const std::function<void()>& gestore);

    std::unique_ptr<TAvvio> FAvvio;
    TMode FMode = mStandAlone;
    int ID_RECORD_SELEZIONATO_CORRENTE = 0;
    bool FMassimizzato = false;
    bool FSplitterRipristinato = false;
    int FRicostruzioni = 0;
    QString FSoggettoGriglia;  // the subject whose log the grid lists
    bool FChiusa = false;
    bool FChiusuraRichiesta = false;  // by a signal: the window closes as soon as it may

    QString FZelScanSrvURL;
    std::unique_ptr<TZelFileFromSrvRequest> FFromSrvRequest;
    std::unique_ptr<TZelFileFromSrvResponse> FFromSrvResponse;  // written by the worker while it runs
    QFuture<void> FTask;
    int FTimeoutConnessione = TimeoutConnessioneMs;
    int FTimeoutLettura = TimeoutLetturaMs;
};
