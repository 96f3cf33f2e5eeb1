#include "grid/CostruttoriSQL.h"

#include "db/FbDataSet.h"

#include <QLocale>

QString TogliSpazi(const QString& testo) {
    QString risultato = testo;
    return risultato.remove(QChar(' '));
}

QString MaiuscoloAZ(const QString& testo) {
    QString risultato = testo;
    for (QChar& c : risultato) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - ('a' - 'A'));
    }
    return risultato;
}

QString EstraiElemento(const QString& testo, int n, const QString& separatore) {
    const quint8 numero = quint8(n);
    if (numero == 0) return {};
    QString resto = testo;
    for (int i = 1; i < numero; ++i) {
        const int trovato = resto.indexOf(separatore);
        const int posizione = trovato >= 0 ? trovato + 1 : int(resto.size());
        resto = resto.mid(posizione);
    }
    const int fine = resto.indexOf(separatore);
    return TogliSpazi(fine >= 0 ? resto.left(fine) : resto);
}

QChar SeparatoreDaFormato(const QString& formato) {
    for (const QChar c : formato) {
        if (!c.isLetter() && c != '\'') return c;
    }
    return '/';
}

QChar SeparatoreData() { return SeparatoreDaFormato(QLocale::system().dateFormat(QLocale::ShortFormat)); }

QString DataSQL(const QDate& data, QChar separatore) {
    const QString s(separatore);
    return "'" + data.toString("MM" + s + "dd" + s + "yyyy") + "'";
}

namespace {

// Each item followed by `fine`, the last without it.
QStringList Elenco(const QStringList& voci, const QString& prima, const QString& fine) {
    QStringList righe;
    for (int i = 0; i < voci.size(); ++i) righe << prima + voci[i] + (i + 1 < voci.size() ? fine : QString());
    return righe;
}

}  // namespace

void PreparaSQLAggiornamento(TFbQuery& query, const QString& tabella, const QString& tipo, TFbUpdateSQL& aggiornamento) {
    TFbQuery copia;
    copia.SetDatabase(query.Database());
    copia.SetTransaction(query.Transaction());
    copia.ParamCheck = query.ParamCheck;
    copia.SQL = query.SQL;
    copia.Open();
    QStringList campi;
    for (const TFbFieldDef& def : copia.FieldDefs()) campi << def.Name;
    copia.Close();

    const QString tipoMaiuscolo = tipo.toUpper();
    if (tipoMaiuscolo == "UPDATE") {
        QStringList& righe = aggiornamento.ModifySQL;
        righe.clear();
        righe << "UPDATE \"" + tabella + "\"" << "SET";
        QStringList assegnazioni;
        for (const QString& campo : campi) assegnazioni << campo + "=:" + campo;
        righe << Elenco(assegnazioni, {}, ",");
    } else if (tipoMaiuscolo == "INSERT") {
        QStringList& righe = aggiornamento.InsertSQL;
        righe.clear();
        righe << "INSERT INTO \"" + tabella + "\"" << "(";
        righe << Elenco(campi, {}, ",");
        righe << ")" << "VALUES" << "(";
        righe << Elenco(campi, ":", ",");
        righe << ")";
    }
}

QString NomeTabellaDaSQL(const QStringList& sql) {
    QString testo = sql.join('\n');
    const int from = testo.indexOf("FROM");
    if (from < 0) return {};
    testo = testo.mid(from + 1);
    const int apertura = testo.indexOf('"');
    if (apertura < 0) return {};
    testo = testo.mid(apertura + 1);
    const int chiusura = testo.indexOf('"');
    return chiusura < 0 ? QString() : testo.left(chiusura);
}
