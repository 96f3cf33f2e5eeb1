#include "tools/felgora/StrutturaLST.h"

#include <QStringList>

namespace {

// Deeper nesting than any project file has is refused rather than followed.
constexpr int ProfonditaMassima = 64;

QString SenzaSpaziIniziali(const QString& riga) {
    qsizetype i = 0;
    while (i < riga.size() && (riga[i] == ' ' || riga[i] == '\t')) ++i;
    return riga.mid(i);
}

bool IsSezione(const QString& riga) { return riga.size() >= 2 && riga.startsWith('[') && riga.endsWith(']'); }

struct TAperto {
    TNodoLST Nodo;
    bool ConBlocco = false;  // opened by "{", closed by "}"
    qsizetype Riga = 0;
};

}  // namespace

QString TNodoLST::Valore(const QString& chiave, const QString& predefinito) const {
    for (const auto& [k, v] : Valori)
        if (k.compare(chiave, Qt::CaseInsensitive) == 0) return v;
    return predefinito;
}

bool TNodoLST::Contiene(const QString& chiave) const {
    for (const auto& voce : Valori)
        if (voce.first.compare(chiave, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QList<const TNodoLST*> TNodoLST::Sezioni(const QString& nome) const {
    QList<const TNodoLST*> trovate;
    for (const TNodoLST& figlio : Figli)
        if (figlio.Nome.compare(nome, Qt::CaseInsensitive) == 0) trovate << &figlio;
    return trovate;
}

const TNodoLST* TNodoLST::Sezione(const QString& nome) const {
    const auto trovate = Sezioni(nome);
    return trovate.isEmpty() ? nullptr : trovate.first();
}

TEsito<TNodoLST> LeggiStrutturaLST(const QString& testo) {
    using Esito = TEsito<TNodoLST>;
    QStringList righe = testo.split('\n');
    for (QString& riga : righe) {
        if (riga.endsWith('\r')) riga.chop(1);
        riga = SenzaSpaziIniziali(riga);
    }
    std::vector<TAperto> pila(1);
    auto chiudiUltimo = [&pila] {
        TNodoLST nodo = std::move(pila.back().Nodo);
        pila.pop_back();
        pila.back().Nodo.Figli.push_back(std::move(nodo));
    };
    for (qsizetype i = 0; i < righe.size(); ++i) {
        const QString& riga = righe[i];
        if (riga.isEmpty()) continue;
        const QString numero = QString::number(i + 1);
        if (IsSezione(riga)) {
            qsizetype dopo = i + 1;
            while (dopo < righe.size() && righe[dopo].isEmpty()) ++dopo;
            const bool conBlocco = dopo < righe.size() && righe[dopo] == "{";
            if (!conBlocco) {
                if (pila.back().ConBlocco)
                    return Esito::Fallito(QString("Riga %1 del report: la sezione %2 non apre un blocco").arg(numero, riga));
                if (pila.size() > 1) chiudiUltimo();
            } else if (int(pila.size()) > ProfonditaMassima) {
                return Esito::Fallito(QString("Riga %1 del report: sezioni annidate troppo in profondità").arg(numero));
            }
            TAperto aperto;
            aperto.Nodo.Nome = riga.mid(1, riga.size() - 2);
            aperto.ConBlocco = conBlocco;
            aperto.Riga = i + 1;
            pila.push_back(std::move(aperto));
            if (conBlocco) i = dopo;
        } else if (riga == "}") {
            if (!pila.back().ConBlocco)
                return Esito::Fallito(QString("Riga %1 del report: \"}\" senza blocco aperto").arg(numero));
            chiudiUltimo();
        } else if (riga == "{") {
            return Esito::Fallito(QString("Riga %1 del report: \"{\" senza sezione").arg(numero));
        } else {
            const qsizetype uguale = riga.indexOf('=');
            const QString chiave = uguale > 0 ? riga.left(uguale).trimmed() : QString();
            if (chiave.isEmpty()) return Esito::Fallito(QString("Riga %1 del report non valida: \"%2\"").arg(numero, riga.left(80)));
            pila.back().Nodo.Valori.append({chiave, riga.mid(uguale + 1)});
        }
    }
    for (const TAperto& aperto : pila)
        if (aperto.ConBlocco)
            return Esito::Fallito(QString("Il blocco della sezione [%1] (riga %2 del report) non è chiuso")
                                      .arg(aperto.Nodo.Nome, QString::number(aperto.Riga)));
    while (pila.size() > 1) chiudiUltimo();
    return std::move(pila.front().Nodo);
}
