#include "app/server/JsonReader.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace {

using json = nlohmann::json;

bool SpazioJson(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool CarattereNumero(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E'; }

// The number tokens of a valid JSON text in document order, exactly as written. The parser hands
// integers over as values only, so their text is taken from here.
std::vector<std::string> TestiNumeri(const std::string& s) {
    std::vector<std::string> numeri;
    for (size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (c == '"') {
            for (++i; i < s.size() && s[i] != '"'; ++i)
                if (s[i] == '\\') ++i;
            ++i;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            const size_t inizio = i;
            while (i < s.size() && CarattereNumero(s[i])) ++i;
            numeri.push_back(s.substr(inizio, i - inizio));
        } else {
            ++i;
        }
    }
    return numeri;
}

class TLettore : public nlohmann::json_sax<json> {
public:
    TLettore(std::vector<std::string> numeri, QVector<TJsonMembro>& membri)
        : FNumeri(std::move(numeri)), FMembri(membri) {}

    TJsonRadice Radice = TJsonRadice::Altro;

    bool null() override { return Scalare(TJsonMembro::Null, {}, TJsonRadice::Null); }
    bool boolean(bool) override { return Scalare(TJsonMembro::Booleano, {}, TJsonRadice::Altro); }
    bool number_integer(number_integer_t) override { return Numero(); }
    bool number_unsigned(number_unsigned_t) override { return Numero(); }
    bool number_float(number_float_t, const string_t&) override { return Numero(); }
    bool string(string_t& s) override {
        return Scalare(TJsonMembro::Stringa, QString::fromStdString(s), TJsonRadice::Altro);
    }
    bool binary(binary_t&) override { return Scalare(TJsonMembro::Composto, {}, TJsonRadice::Altro); }
    bool start_object(std::size_t) override { return Apri(TJsonRadice::Oggetto); }
    bool start_array(std::size_t) override { return Apri(TJsonRadice::Altro); }
    bool end_object() override { return Chiudi(); }
    bool end_array() override { return Chiudi(); }
    bool key(string_t& k) override {
        if (FLivello == 1) FChiave = QString::fromStdString(k);
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

private:
    bool Numero() {
        const std::string testo = FIndiceNumero < FNumeri.size() ? FNumeri[FIndiceNumero] : std::string();
        ++FIndiceNumero;
        return Scalare(TJsonMembro::Numero, QString::fromStdString(testo), TJsonRadice::Altro);
    }
    bool Scalare(TJsonMembro::TTipo tipo, const QString& testo, TJsonRadice comeRadice) {
        if (FLivello == 0) Radice = comeRadice;
        else if (FLivello == 1 && Radice == TJsonRadice::Oggetto) FMembri.push_back({FChiave, tipo, testo});
        return true;
    }
    bool Apri(TJsonRadice comeRadice) {
        if (FLivello == 0) Radice = comeRadice;
        else if (FLivello == 1 && Radice == TJsonRadice::Oggetto) FMembri.push_back({FChiave, TJsonMembro::Composto, {}});
        ++FLivello;
        return true;
    }
    bool Chiudi() {
        --FLivello;
        return true;
    }

    std::vector<std::string> FNumeri;
    size_t FIndiceNumero = 0;
    QVector<TJsonMembro>& FMembri;
    int FLivello = 0;
    QString FChiave;
};

}  // namespace

TJsonRadice LeggiOggettoJson(const QString& testo, QVector<TJsonMembro>& membri) {
    membri.clear();
    const std::string s = testo.toStdString();
    if (std::all_of(s.begin(), s.end(), SpazioJson)) return TJsonRadice::Vuoto;
    TLettore lettore(TestiNumeri(s), membri);
    if (!json::sax_parse(s, &lettore, json::input_format_t::json, true)) {
        membri.clear();
        return TJsonRadice::Altro;
    }
    return lettore.Radice;
}
