#include "print/StPtqGrid.h"

#include "db/FbSQL.h"
#include "db/FbTransaction.h"
#include "print/DefinizioneReport.h"
#include "print/Felgora.h"
#include "print/FileAnsi.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

TPtqGridStampa::TPtqGridStampa(QObject* owner, const QString& cartellaProgramma)
    : QObject(owner),
      pNomeReport("StPtqGrid_" + MarcaTemporale(QDateTime::currentDateTime()) + ".LST"),
      FCartellaProgramma(QDir::toNativeSeparators(cartellaProgramma)) {}

TPtqGridStampa::~TPtqGridStampa() { CancellaReport(); }

void TPtqGridStampa::Anteprima() { LanciaReport(mrAnteprima); }

void TPtqGridStampa::EditaReport() { LanciaReport(mrEdita); }

QString TPtqGridStampa::PercorsoReport() const {
    if (BinDir.isEmpty()) return ConSeparatore(FCartellaProgramma) + pNomeReport;
    return ConSeparatore(BinDir) + "report" + QDir::separator() + pNomeReport;
}

QStringList TPtqGridStampa::SQLLayout() const {
    return {"SELECT", "  NOMECAMPO,", "  NOMECOLONNA,", "  LARGHEZZA", "FROM", "  STOASP1", "WHERE",
            "  CODICEPROGETTO=" + QString::number(Progetto), "  AND",
            "  CODICESITUAZIONE=" + QString::number(Situazione), "  AND",
            "  CODICEUTENTE=" + QString::number(Utente), "  AND", "  VISIBILE=1", "ORDER BY", "  POSIZIONE"};
}

void TPtqGridStampa::CancellaReport() const {
    const QString percorso = PercorsoReport();
    if (QFile::exists(percorso)) QFile::remove(percorso);
}

void TPtqGridStampa::GeneraReport() {
    CancellaReport();
    TFileAnsi file(PercorsoReport());
    TFbTransaction transazione(DatabaseRif);
    transazione.Start();
    TFbSQL layout(DatabaseRif, &transazione);
    layout.SetParamCheck(false);
    layout.SetSQL(SQLLayout());
    const TLetturaLayout lettura = [&layout] {
        layout.Close();
        layout.ExecQuery();
        QVector<TColonnaLayout> colonne;
        for (; !layout.Eof(); layout.Next())
            colonne.append({layout.FieldByName("NOMECAMPO").AsString(), layout.FieldByName("NOMECOLONNA").AsString(),
                            layout.FieldByName("LARGHEZZA").AsInteger()});
        return colonne;
    };
    file.Scrivi(TestoReport(*this, lettura));
}

void TPtqGridStampa::LanciaReport(int modo) {
    GeneraReport();
    const QString comando = PercorsoComandoFelgora(BinDir, FCartellaProgramma, QDateTime::currentDateTime());
    ScriviFileAnsi(comando, TestoComandoFelgora(SQLRif, PercorsoReport(), Tabella, modo));
    AvviaFelgora(FCartellaProgramma, Utente, comando);
    CancellaReport();
    QFile::remove(comando);
}
