#include "core/activitat.h"

#include "core/idioma.h"
#include "core/informe.h"
#include "core/vb.h"

namespace lumi {

QRect rectangle_zona(const zona& z, int d) {
    static constexpr int64_t limit = int64_t(1) << 24;
    auto fita = [](int64_t v) { return static_cast<int>(std::clamp(v, -limit, limit)); };
    const int l = fita(int64_t(z.esquerra) + d), t = fita(int64_t(z.dalt) + d);
    const int r = fita(int64_t(z.dreta) + d), b = fita(int64_t(z.baix) + d);
    return QRect(l, t, std::max(0, r - l), std::max(0, b - t));
}

Activitat& activitat() {
    static Activitat a;
    return a;
}
Llistes& llistes() {
    static Llistes l;
    return l;
}
EstatDispositius& dispositius() {
    static EstatDispositius d;
    return d;
}
EstatJugador& jugador() {
    static EstatJugador j;
    return j;
}

EstatPlanificador& planificador() {
    static EstatPlanificador p;
    return p;
}
dades_informe& informe() {
    static dades_informe i;
    return i;
}
QString& informe_detall() {
    static QString d;
    return d;
}
QString& idioma() {
    static QString i = QStringLiteral("catala");
    return i;
}

void provar_joysticks(EstatDispositius& d, const std::function<bool(int)>& provar) {
    // With none found the number stays 100 and later calls do not probe again.
    if (d.num_joystick != 0) return;
    d.joystick_sense_us = 10;
    d.sensibilitat_joystick = 1;
    for (int id = 0; id <= 4; ++id) {
        d.num_joystick = 100;
        if (provar && provar(id)) break;
    }
}

void exercici_nou(Activitat& a, Llistes& l, EstatDispositius& d, EstatJugador& j, const EntornNou& entorn) {
    // 1. One empty item with the default times; element 0 stays as scratch.
    a.nombre_items = 1;
    a.items.assign(2, item{});
    a.items[1].retard_accio = 5.0f;
    a.items[1].retard_be = 1.0f;
    a.items[1].retard_mal = 1.0f;

    // 2. Hooks left by the speech engine go back while its version is unknown.
    if (d.versio_motor_veu == 0 && entorn.restaurar_finestra) {
        if (d.procOld_so != 0) entorn.restaurar_finestra(d.procOld_so);
        if (d.procOld_rec != 0) entorn.restaurar_finestra(d.procOld_rec);
    }

    // 3-5.
    d.nivell_so_actiu = 0;
    a.tots_be_global = 0;
    a.tots_mal_global = 0;
    a.tots_estimul_global = 0;
    a.tots_temps_global = 1;
    j.velocitat = 1.0f;
    a.fitxer_actual.clear();
    a.exercici_modificat = FALS;
    a.color_fons = 0;
    a.fitxer_imatge_fons.clear();
    a.fitxer_so_fons.clear();
    a.finestra_opcio = 0;
    a.paraules_veu[0].clear();
    a.carpeta_veu.clear();
    a.reserva_llarg = 0;
    a.consigna.clear();
    a.retard_tots_be = 1.0f;
    a.retard_tots_mal = 1.0f;
    a.retard_tots_accio = 5.0f;
    a.retard_tots_estimul = 0;
    a.mode_estimul = QStringLiteral("0");
    j.item_anterior = 0;
    j.reaccio_be_anterior.clear();
    j.reaccio_mal_anterior.clear();
    a.temps_total = 0;
    a.reserva_enter = 0;
    a.zones_max = 0;

    // 6.
    a.graella_celles = {};
    a.graella_comptes = {};

    // 7. Zone 0 is the desktop of this machine.
    a.zones.assign(1, zona{});
    l.llista_be = QStringList{QString()};
    l.llista_mal = QStringList{QString()};
    l.llista_estimuls = QStringList{QString()};
    l.llista_accio = QStringList{QString()};
    a.zones[0].esquerra = entorn.escriptori.left();
    a.zones[0].dalt = entorn.escriptori.top();
    a.zones[0].dreta = entorn.escriptori.left() + entorn.escriptori.width();
    a.zones[0].baix = entorn.escriptori.top() + entorn.escriptori.height();

    // 8. Yellow Arial 24 bold.
    a.font.nom = QStringLiteral("Arial");
    a.font.mida = 24;
    a.font.negreta = CERT;
    a.font.cursiva = FALS;
    a.font.color = 65535;

    // 9. The joysticks, probed now unless the first run will probe them.
    if (!entorn.joystick_diferit) provar_joysticks(d, entorn.joystick_provar);

    // 10.
    d.wc_retard = 100;
    d.wc_modus = 0;
    a.exercici_seguent.clear();

    // 11. Not while an exercise is on screen.
    bool maximitzada = entorn.finestra_maximitzada && entorn.finestra_maximitzada();
    if (!maximitzada) {
        if (entorn.posar_titol) entorn.posar_titol(tradueix(QStringLiteral("LUMIRAGA - Sense nom")));
        d.motor_veu_preparat = FALS;
    }
}

int16_t dividir_llista(const QString& text, QStringList& llista) {
    const qsizetype p = text.indexOf(QChar(0xBB)); // »
    if (p < 0) return 0;
    double n = valor_inicial(text.left(p + 1));
    auto compte = a_enter16(n);
    if (!compte || *compte <= 0) return 0;
    const int count = *compte;
    QString rest = text.mid(p + 1);
    llista.clear();
    llista.reserve(count + 1);
    llista.append(QString());
    for (int j = 1; j <= count; ++j) {
        const qsizetype k = rest.indexOf(u'|');
        if (k < 0) {
            llista.append(rest);
            break;
        }
        llista.append(retallar(rest.left(k)));
        rest = rest.mid(k + 1);
    }
    // Entries the text lacks stay empty, so callers can index 1..count.
    while (llista.size() < count + 1)
        llista.append(QString());
    return static_cast<int16_t>(count);
}

namespace {
int16_t dividir_de(int i, QString item::*camp, QStringList& llista, int16_t actual) {
    Activitat& a = activitat();
    if (i < 0 || i >= static_cast<int>(a.items.size())) return actual;
    int16_t n = dividir_llista(a.items[i].*camp, llista);
    return n == 0 ? 0 : n;
}
} // namespace

void carregar_llista_estimul(int i) {
    auto& l = llistes();
    l.nombre_estimuls = dividir_de(i, &item::estimuls, l.llista_estimuls, l.nombre_estimuls);
}
void carregar_llista_be(int i) {
    auto& l = llistes();
    l.nombre_be = dividir_de(i, &item::si_be, l.llista_be, l.nombre_be);
}
void carregar_llista_mal(int i) {
    auto& l = llistes();
    l.nombre_mal = dividir_de(i, &item::si_mal, l.llista_mal, l.nombre_mal);
}

} // namespace lumi
