#include "tools/felgora/EspressioneReport.h"

#include <QRegularExpression>

namespace {

// The join of terms, or false when `testo` is not one.
bool LeggiUnione(const QString& testo, QList<TEspressioneReport::TParte>& parti) {
    using TTipo = TEspressioneReport::TTipo;
    static const QRegularExpression identificatore("\\G[A-Za-z_][A-Za-z0-9_.]*");
    qsizetype i = 0;
    auto saltaSpazi = [&] {
        while (i < testo.size() && testo[i] == ' ') ++i;
    };
    for (;;) {
        saltaSpazi();
        if (i >= testo.size()) return false;
        if (testo[i] == '"') {
            const qsizetype fine = testo.indexOf('"', i + 1);
            if (fine < 0) return false;
            parti << TEspressioneReport::TParte{TTipo::Testo, testo.mid(i + 1, fine - i - 1)};
            i = fine + 1;
        } else {
            const QRegularExpressionMatch m = identificatore.match(testo, i);
            if (!m.hasMatch()) return false;
            i += m.capturedLength();
            saltaSpazi();
            const QString nome = m.captured();
            if (testo.mid(i, 3) == "$()") {
                i += 3;
                if (nome.compare("Page", Qt::CaseInsensitive) == 0) parti << TEspressioneReport::TParte{TTipo::Pagina, {}};
                else if (nome.compare("TotalPages", Qt::CaseInsensitive) == 0)
                    parti << TEspressioneReport::TParte{TTipo::TotalePagine, {}};
                else return false;
            } else {
                parti << TEspressioneReport::TParte{TTipo::Campo, nome};
            }
        }
        saltaSpazi();
        if (i >= testo.size()) return true;
        if (testo[i] != '+') return false;
        ++i;
    }
}

}  // namespace

TEspressioneReport TEspressioneReport::Leggi(const QString& testo) {
    TEspressioneReport e;
    if (testo.trimmed().isEmpty() || LeggiUnione(testo, e.FParti)) return e;
    e.FParti.clear();
    const QString t = testo.trimmed();
    if (t.size() >= 2 && t.startsWith('"') && t.endsWith('"')) e.FParti << TParte{TTipo::Testo, t.mid(1, t.size() - 2)};
    else e.FParti << TParte{TTipo::Campo, t};
    return e;
}

bool TEspressioneReport::UsaTotalePagine() const {
    for (const TParte& p : FParti)
        if (p.Tipo == TTipo::TotalePagine) return true;
    return false;
}

QStringList TEspressioneReport::Campi() const {
    QStringList campi;
    for (const TParte& p : FParti)
        if (p.Tipo == TTipo::Campo) campi << p.Testo;
    return campi;
}

QString TEspressioneReport::Valuta(const std::function<QString(int)>& campo, int pagina, int totalePagine) const {
    QString risultato;
    int indiceCampo = 0;
    for (const TParte& p : FParti) {
        switch (p.Tipo) {
        case TTipo::Testo: risultato += p.Testo; break;
        case TTipo::Campo: risultato += campo(indiceCampo++); break;
        case TTipo::Pagina: risultato += QString::number(pagina); break;
        case TTipo::TotalePagine: risultato += QString::number(totalePagine); break;
        }
    }
    return risultato;
}
