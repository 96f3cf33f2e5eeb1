#include "tools/felgora/DefinizioneReport.h"

#include "db/Charset.h"
#include "tools/felgora/StrutturaLST.h"

#include <QRegularExpression>
#include <optional>

namespace {

struct ELettura {
    QString Messaggio;
};

// Sizes and positions beyond three metres are not a page's, nor is paper smaller than 1 cm.
constexpr int Limite = 3000000;
constexpr int PaginaMinima = 10000;

[[noreturn]] void Errore(const QString& messaggio) { throw ELettura{messaggio}; }

const TNodoLST& Sezione(const TNodoLST& nodo, const QString& nome) {
    const TNodoLST* figlio = nodo.Sezione(nome);
    if (!figlio) Errore(QString("Manca la sezione [%1] in [%2]").arg(nome, nodo.Nome));
    return *figlio;
}

int Intero(const TNodoLST& nodo, const QString& chiave, int minimo, int massimo, std::optional<int> predefinito = {}) {
    if (!nodo.Contiene(chiave)) {
        if (predefinito) return *predefinito;
        Errore(QString("Manca %1 in [%2]").arg(chiave, nodo.Nome));
    }
    const QString testo = nodo.Valore(chiave).trimmed();
    bool ok = false;
    const int valore = testo.toInt(&ok);
    if (!ok || valore < minimo || valore > massimo)
        Errore(QString("Valore \"%1\" non valido per %2 in [%3]").arg(testo.left(40), chiave, nodo.Nome));
    return valore;
}

bool Booleano(const TNodoLST& nodo, const QString& chiave, bool predefinito) {
    if (!nodo.Contiene(chiave)) return predefinito;
    const QString testo = nodo.Valore(chiave).trimmed();
    if (testo.compare("True", Qt::CaseInsensitive) == 0 || testo == "1") return true;
    if (testo.compare("False", Qt::CaseInsensitive) == 0 || testo == "0") return false;
    Errore(QString("Valore \"%1\" non valido per %2 in [%3]").arg(testo.left(40), chiave, nodo.Nome));
}

QColor Colore(const TNodoLST& nodo, const QString& chiave, const QColor& predefinito) {
    static const QRegularExpression rgb("^RGB\\((\\d{1,3}),(\\d{1,3}),(\\d{1,3})\\)$");
    if (!nodo.Contiene(chiave)) return predefinito;
    const QRegularExpressionMatch m = rgb.match(nodo.Valore(chiave).trimmed());
    const int r = m.captured(1).toInt(), g = m.captured(2).toInt(), b = m.captured(3).toInt();
    if (!m.hasMatch() || r > 255 || g > 255 || b > 255)
        Errore(QString("Colore \"%1\" non valido per %2 in [%3]").arg(nodo.Valore(chiave).left(40), chiave, nodo.Nome));
    return QColor(r, g, b);
}

TAllineamento Allineamento(const TNodoLST& nodo) { return TAllineamento(Intero(nodo, "Align", 0, 2, 0)); }

bool ACapo(const TNodoLST& nodo) { return Intero(nodo, "LineWrap", 0, 1, 1) == 1; }

TFontReport Font(const TNodoLST* nodo, int dimensione) {
    TFontReport font;
    font.Dimensione = dimensione;
    if (!nodo) return font;
    QString nome = nodo->Valore("FaceName").trimmed();
    if (nome.size() >= 2 && nome.startsWith('"') && nome.endsWith('"')) nome = nome.mid(1, nome.size() - 2);
    if (!nome.isEmpty()) font.Nome = nome;
    font.Dimensione = Intero(*nodo, "Size", 1, 200, dimensione);
    font.Grassetto = Booleano(*nodo, "Bold", false);
    font.Corsivo = Booleano(*nodo, "Italic", false);
    font.Sottolineato = Booleano(*nodo, "Underline", false);
    return font;
}

TCorniceReport Cornice(const TNodoLST* nodo) {
    TCorniceReport cornice;
    if (!nodo) return cornice;
    static const QStringList lati{"Left", "Top", "Right", "Bottom"};
    for (int i = 0; i < 4; ++i) {
        const TNodoLST* lato = nodo->Sezione(lati[i]);
        if (!lato) continue;
        cornice.Spazio[i] = Intero(*lato, "Spacing", 0, Limite, 0);
        cornice.Linea[i] = Booleano(*lato, "Line", false);
    }
    return cornice;
}

TCellaReport Cella(const TNodoLST& colonna) {
    TCellaReport cella;
    cella.Larghezza = Intero(colonna, "Width", 0, Limite);
    cella.Allineamento = Allineamento(colonna);
    cella.ACapo = ACapo(colonna);
    cella.Font = Font(colonna.Sezione("Font"), 10);
    cella.Cornice = Cornice(colonna.Sezione("Frame"));
    cella.Riempi = Booleano(colonna, "bFill", false);
    cella.Sfondo = Colore(colonna, "BkColor", Qt::white);
    cella.TestoOriginale = colonna.Valore("Text");
    cella.Testo = TEspressioneReport::Leggi(cella.TestoOriginale);
    return cella;
}

// The cells of the table's header or body line (its first line).
QList<TCellaReport> Celle(const TNodoLST& parte, const QString& quale) {
    const TNodoLST& colonne = Sezione(Sezione(Sezione(parte, "Lines"), "Line"), "Columns");
    const int dichiarate = Intero(colonne, "Columns", 0, 1000);
    const QList<const TNodoLST*> blocchi = colonne.Sezioni("Column");
    if (blocchi.size() != dichiarate)
        Errore(QString("La riga di %1 dichiara %2 colonne e ne contiene %3").arg(quale).arg(dichiarate).arg(blocchi.size()));
    QList<TCellaReport> celle;
    for (qsizetype i = 0; i < blocchi.size(); ++i) {
        try {
            celle << Cella(*blocchi[i]);
        } catch (const ELettura& e) {
            Errore(QString("Colonna %1 della riga di %2: %3").arg(i + 1).arg(quale, e.Messaggio));
        }
    }
    return celle;
}

QRect Posizione(const TNodoLST& oggetto) {
    return QRect(Intero(oggetto, "Position/Left", -Limite, Limite), Intero(oggetto, "Position/Top", -Limite, Limite),
                 Intero(oggetto, "Position/Width", 0, Limite), Intero(oggetto, "Position/Height", 0, Limite));
}

bool Condizione(const TNodoLST& oggetto) {
    const QString testo = oggetto.Valore("Condition").trimmed();
    if (testo.isEmpty() || testo.compare("True", Qt::CaseInsensitive) == 0) return true;
    if (testo.compare("False", Qt::CaseInsensitive) == 0) return false;
    Errore(QString("Condizione \"%1\" non supportata").arg(testo.left(40)));
}

TTabellaReport Tabella(const TNodoLST& oggetto) {
    TTabellaReport tabella;
    tabella.Posizione = Posizione(oggetto);
    tabella.Visibile = Condizione(oggetto);
    const TNodoLST& definizione = Sezione(Sezione(Sezione(oggetto, "@Tables"), "Tables"), "Table");
    tabella.Corpo = Celle(Sezione(definizione, "Body"), "corpo");
    if (const TNodoLST* intestazione = definizione.Sezione("Header")) tabella.Intestazione = Celle(*intestazione, "intestazione");
    return tabella;
}

TOggettoTestoReport Testo(const TNodoLST& oggetto) {
    TOggettoTestoReport testo;
    testo.Posizione = Posizione(oggetto);
    testo.Visibile = Condizione(oggetto);
    for (const TNodoLST* riga : Sezione(Sezione(oggetto, "@Lines"), "Lines").Sezioni("Line")) {
        TRigaTestoReport r;
        r.Allineamento = Allineamento(*riga);
        r.ACapo = ACapo(*riga);
        r.Font = Font(riga->Sezione("Font"), 12);
        r.TestoOriginale = riga->Valore("Text");
        r.Testo = TEspressioneReport::Leggi(r.TestoOriginale);
        testo.Righe << r;
    }
    return testo;
}

TDefinizioneReport Definizione(const TNodoLST& file) {
    TDefinizioneReport definizione;
    const TNodoLST& layout = Sezione(file, "Layout");
    definizione.Pagina = QSize(Intero(layout, "xSize", PaginaMinima, Limite), Intero(layout, "ySize", PaginaMinima, Limite));
    int tabelle = 0, oggetto = 0;
    for (const TNodoLST* nodo : file.Sezioni("Object")) {
        ++oggetto;
        const QString tipo = nodo->Valore("ObjectName").trimmed();
        try {
            if (tipo.compare("Table", Qt::CaseInsensitive) == 0) {
                if (++tabelle > 1) Errore("Il report contiene più di una tabella");
                definizione.Tabella = Tabella(*nodo);
            } else if (tipo.compare("Text", Qt::CaseInsensitive) == 0) {
                definizione.Testi << Testo(*nodo);
            }
        } catch (const ELettura& e) {
            Errore(QString("Oggetto %1 (%2) del report: %3").arg(oggetto).arg(tipo.left(40), e.Messaggio));
        }
    }
    if (tabelle == 0) Errore("Il report non contiene una tabella");
    return definizione;
}

}  // namespace

TEsito<TDefinizioneReport> LeggiDefinizioneReport(const QByteArray& contenuto) {
    const TEsito<TNodoLST> struttura = LeggiStrutturaLST(Charset::FromWindows1252(contenuto));
    if (!struttura.Ok()) return TEsito<TDefinizioneReport>::Fallito(struttura.Errore());
    try {
        return Definizione(struttura.Valore());
    } catch (const ELettura& e) {
        return TEsito<TDefinizioneReport>::Fallito(e.Messaggio);
    }
}
