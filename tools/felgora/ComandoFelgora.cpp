#include "tools/felgora/ComandoFelgora.h"

#include "db/Charset.h"

#include <QRegularExpression>

namespace {

// The file's lines without their line ends; a final line end does not open an empty line.
QStringList Righe(const QString& testo) {
    QStringList righe = testo.split('\n');
    for (QString& riga : righe)
        if (riga.endsWith('\r')) riga.chop(1);
    if (!righe.isEmpty() && righe.last().isEmpty()) righe.removeLast();
    return righe;
}

bool LeggiFlag(const QString& tag, const QString& valore, bool& flag, QString& errore) {
    if (valore == "1" || valore == "0") {
        flag = valore == "1";
        return true;
    }
    errore = QString("Valore \"%1\" non valido per <%2>: atteso 0 o 1").arg(valore, tag);
    return false;
}

}  // namespace

TEsito<TComandoFelgora> LeggiComandoFelgora(const QByteArray& contenuto) {
    using Esito = TEsito<TComandoFelgora>;
    static const QRegularExpression apertura("^<([A-Za-z][A-Za-z0-9_]*)>");
    static const QStringList noti{"SQLStampa", "NomeReport", "TitoloStampa", "AnteprimaDiretta", "EditaReportDiretto"};

    const QStringList righe = Righe(Charset::FromWindows1252(contenuto));
    if (righe.isEmpty() || righe.first() != "<PtqForm>") return Esito::Fallito("Il file comandi non inizia con <PtqForm>");

    TComandoFelgora comando;
    QStringList letti;
    qsizetype i = 1;
    for (;;) {
        if (i >= righe.size()) return Esito::Fallito("Il file comandi non termina con </PtqForm>");
        const QString& riga = righe[i];
        if (riga == "</PtqForm>") break;
        const QRegularExpressionMatch m = apertura.match(riga);
        if (!m.hasMatch()) return Esito::Fallito(QString("Riga %1 del file comandi non valida: \"%2\"").arg(i + 1).arg(riga));
        const QString tag = m.captured(1), chiusura = "</" + tag + ">";
        const qsizetype primaRiga = i;
        // the item's text: the pieces of its lines up to the closing tag
        QStringList pezzi{riga.mid(m.capturedLength())};
        qsizetype fine = pezzi.first().indexOf(chiusura);
        while (fine < 0) {
            if (++i >= righe.size()) return Esito::Fallito(QString("Elemento <%1> non chiuso da %2").arg(tag, chiusura));
            pezzi << righe[i];
            fine = pezzi.last().indexOf(chiusura);
        }
        if (pezzi.last().size() > fine + chiusura.size())
            return Esito::Fallito(QString("Testo dopo %1 alla riga %2 del file comandi").arg(chiusura).arg(i + 1));
        pezzi.last().truncate(fine);
        ++i;

        if (!noti.contains(tag)) continue;  // items of other versions of the suite are not ours to judge
        if (letti.contains(tag)) return Esito::Fallito(QString("Elemento <%1> ripetuto nel file comandi").arg(tag));
        letti << tag;
        if (tag == "SQLStampa") {
            if (pezzi.size() > 1 && pezzi.last().isEmpty()) pezzi.removeLast();  // the SQL's last line end
            comando.SQLStampa = pezzi;
            continue;
        }
        if (pezzi.size() > 1)
            return Esito::Fallito(QString("L'elemento <%1> (riga %2) deve stare su una riga").arg(tag).arg(primaRiga + 1));
        const QString valore = pezzi.first();
        QString errore;
        if (tag == "NomeReport") comando.NomeReport = valore;
        else if (tag == "TitoloStampa") comando.TitoloStampa = valore;
        else if (!LeggiFlag(tag, valore, tag == "AnteprimaDiretta" ? comando.AnteprimaDiretta : comando.EditaReportDiretto,
                            errore))
            return Esito::Fallito(errore);
    }
    for (qsizetype dopo = i + 1; dopo < righe.size(); ++dopo)
        if (!righe[dopo].trimmed().isEmpty()) return Esito::Fallito("Testo dopo </PtqForm> nel file comandi");

    if (!letti.contains("SQLStampa")) return Esito::Fallito("Il file comandi non contiene <SQLStampa>");
    if (comando.SQLStampa.join(QString()).trimmed().isEmpty()) return Esito::Fallito("L'istruzione SQL della stampa è vuota");
    if (comando.NomeReport.trimmed().isEmpty()) return Esito::Fallito("Il file comandi non indica il report (<NomeReport>)");
    if (comando.AnteprimaDiretta && comando.EditaReportDiretto)
        return Esito::Fallito("Il file comandi chiede insieme l'anteprima e l'editazione del report");
    return comando;
}
