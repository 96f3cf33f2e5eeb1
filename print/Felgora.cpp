#include "print/Felgora.h"

#include "print/FileAnsi.h"
#include "print/ProcessoEsterno.h"

#include <QDir>

void ImpostaAmbienteSessione(int utente, const QString& ditta) {
    qputenv(AmbienteUtente, QByteArray::number(utente));
    qputenv(AmbienteDitta, ditta.toLocal8Bit());
}

QString TestoComandoFelgora(const QString& sqlRif, const QString& percorsoReport, const QString& tabella, int modo) {
    const QString fineRiga = QStringLiteral("\r\n");
    return "<PtqForm>" + fineRiga +
           "<SQLStampa>" + sqlRif + "</SQLStampa>" + fineRiga +
           "<NomeReport>" + percorsoReport + "</NomeReport>" + fineRiga +
           "<TitoloStampa>" + tabella + "</TitoloStampa>" + fineRiga +
           (modo == mrAnteprima ? QStringLiteral("<AnteprimaDiretta>1</AnteprimaDiretta>")
                                : QStringLiteral("<EditaReportDiretto>1</EditaReportDiretto>")) + fineRiga +
           "</PtqForm>" + fineRiga;
}

QString PercorsoComandoFelgora(const QString& binDir, const QString& cartellaProgramma, const QDateTime& istante) {
    const QString nome = MarcaTemporale(istante) + ".txt";
    if (binDir.isEmpty()) return ConSeparatore(QDir::toNativeSeparators(cartellaProgramma)) + nome;
    return ConSeparatore(binDir) + "Report" + QDir::separator() + nome;
}

QString RigaComandoFelgora(const QString& cartellaProgramma, int utente, const QString& percorsoComando) {
    return "\"" + CartellaProgrammiSuite(cartellaProgramma) + "Felgora.exe\" " + QString::number(utente) + " \"" +
           percorsoComando + "\"";
}

bool AvviaFelgora(const QString& cartellaProgramma, int utente, const QString& percorsoComando) {
    return EseguiEAttendi(RigaComandoFelgora(cartellaProgramma, utente, percorsoComando), TFinestraAvvio::Nascosta);
}
