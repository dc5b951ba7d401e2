#include "planner/model_planificador.h"

#include "actions/captions_accions.h"
#include "core/camins.h"
#include "core/codis.h"
#include "core/desar.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "core/llistes.h"
#include "core/vb.h"

#include <QFile>
#include <algorithm>
#include <limits>
#include <map>

namespace lumi {

namespace {

const QString SEP = QString(QChar(separador_ordres));

int16_t verdader(bool b) {
    return b ? CERT : FALS;
}

// Entry e of a list array, "" when there is none.
QString element(const QStringList& l, int e) {
    return e >= 1 && e < l.size() ? l.at(e) : QString();
}

// The settings of the general page, compared to tell a change.
bool mateixos_generals(const Activitat& a, const QString& carpeta, const font_text& font, int16_t finestra,
                       const QString& consigna, int16_t temps) {
    return a.carpeta_veu == carpeta && a.font == font && a.finestra_opcio == finestra &&
           a.consigna == consigna && a.temps_total == temps;
}

} // namespace

QString marca_seguent() {
    return text_idioma(59) + u'_';
}

QString marca_anterior() {
    return text_idioma(60) + u'_';
}

QString llista_item(const QStringList& entrades, int nombre, bool sense_retallar_sola) {
    QStringList fetes;
    for (int e = 1; e <= nombre && e < entrades.size(); ++e) {
        const QString t = retallar(entrades.at(e));
        if (!t.isEmpty()) fetes << t;
    }
    if (fetes.isEmpty()) return {};
    if (sense_retallar_sola && fetes.size() == 1) {
        // The one entry as the user left it.
        for (int e = 1; e <= nombre && e < entrades.size(); ++e)
            if (!retallar(entrades.at(e)).isEmpty()) fetes[0] = entrades.at(e);
    }
    return ruta_absoluta(QString::number(fetes.size()) + SEP + fetes.join(u'|'));
}

QString text_temps(float v) {
    return (v >= 0 ? QStringLiteral(" ") : QString()) + single_text(v);
}

QString text_temps_doble(double v) {
    return (v >= 0 ? QStringLiteral(" ") : QString()) + double_text(v);
}

QChar caracter_prohibit(const QString& text) {
    for (QChar c : text)
        if (c == u'|' || c == QChar(separador_ordres) || c == u'"') return c;
    return {};
}

// ------------------------------------------------------------------ grids

QStringList* ModelPlanificador::llista(int k) const {
    Llistes& l = llistes();
    switch (k) {
    case ESTIMULS:
        return &l.llista_estimuls;
    case SI_BE:
        return &l.llista_be;
    case SI_MAL:
        return &l.llista_mal;
    case ACCIO:
        return &l.llista_accio;
    default:
        return nullptr;
    }
}

int ModelPlanificador::nombre_entrades(int k) const {
    const Llistes& l = llistes();
    switch (k) {
    case ESTIMULS:
        return l.nombre_estimuls;
    case SI_BE:
        return l.nombre_be;
    case SI_MAL:
        return l.nombre_mal;
    case ACCIO:
        return activitat().graella_comptes[ACCIO][0][1];
    case CONSIGNA:
        return 1;
    default:
        return 0;
    }
}

void ModelPlanificador::posar_nombre_entrades(int k, int n) {
    const auto v = static_cast<int16_t>(n);
    Llistes& l = llistes();
    switch (k) {
    case ESTIMULS:
        l.nombre_estimuls = v;
        break;
    case SI_BE:
        l.nombre_be = v;
        break;
    case SI_MAL:
        l.nombre_mal = v;
        break;
    case ACCIO:
        activitat().graella_comptes[ACCIO][0][1] = v;
        break;
    default:
        break;
    }
}

void ModelPlanificador::barra_ajustar(int k) {
    const int n = nombre_entrades(k);
    activitat().graella_comptes[k][0][1] = static_cast<int16_t>(n);
    barra_max[k] = std::max(1, n);
}

QString ModelPlanificador::entrada(int k, int e) const {
    if (k == CONSIGNA) return e == 1 ? activitat().consigna : QString();
    if (e < 1 || e > nombre_entrades(k)) return {};
    const QStringList* l = llista(k);
    return l ? element(*l, e) : QString();
}

void ModelPlanificador::marcar_modificat() const {
    activitat().exercici_modificat = CERT;
}

void ModelPlanificador::ordres_OMPLIR(int k) {
    if (k < 0 || k > 5) return;
    Activitat& a = activitat();
    auto& celles = a.graella_celles[k];
    auto& comptes = a.graella_comptes[k];
    for (int r = 1; r <= 4; ++r) {
        for (int c = 1; c <= 7; ++c)
            celles[r][c].clear();
        // The instruction is one entry, shown in the one row it has.
        const int e = k == CONSIGNA ? r : comptes[0][0] + r - 1;
        const QString text = ruta_relativa(entrada(k, e));
        const int n = llista_comptar(text, SEP);
        comptes[r][1] = static_cast<int16_t>(std::min(n, 32767));
        comptes[r][0] = 1;
        for (int c = 1; c <= std::min(n, 7); ++c)
            celles[r][c] = llista_element(text, c, SEP);
        if (n > 6) celles[r][7] = marca_seguent();
    }
    f_et_inf(k, QString());
}

void ModelPlanificador::ord_omplir_fila(int fila, int k) {
    if (k < 0 || k > 5 || fila < 1 || fila > 4) return;
    Activitat& a = activitat();
    auto& celles = a.graella_celles[k][fila];
    const auto& comptes = a.graella_comptes[k];
    const int s = comptes[fila][0];
    const int n = comptes[fila][1];
    const QString text = entrada(k, k == CONSIGNA ? fila : comptes[0][0] + fila - 1);
    f_et_inf(k, text);
    for (int j = 1; j <= 7; ++j)
        celles[j] = llista_element(text, s + j - 1, SEP);
    if (s > 1) celles[1] = marca_anterior();
    if (s + 6 <= n) celles[7] = marca_seguent();
}

void ModelPlanificador::ord_seguent(int fila, int k) {
    if (k < 0 || k > 5 || fila < 1 || fila > 4) return;
    auto& f = activitat().graella_comptes[k][fila];
    if (f[0] + 6 <= f[1]) ++f[0];
    ord_omplir_fila(fila, k);
}

void ModelPlanificador::ord_anterior(int fila, int k) {
    if (k < 0 || k > 5 || fila < 1 || fila > 4) return;
    auto& f = activitat().graella_comptes[k][fila];
    if (f[0] > 0) --f[0];
    ord_omplir_fila(fila, k);
}

void ModelPlanificador::f_et_inf(int k, const QString& ordre) {
    int etiqueta = 0;
    if (k == ESTIMULS) etiqueta = 1;
    if (k == SI_BE) etiqueta = 3;
    if (k == SI_MAL) etiqueta = 4;
    if (etiqueta == 0) return;
    et_inf[etiqueta] = QStringLiteral("?");
    if (ordre.size() >= 2) {
        et_inf[etiqueta] = QStringLiteral("x");
        return;
    }
    const QStringList* l = llista(k);
    for (int e = 0; e <= nombre_entrades(k) && e < l->size(); ++e) {
        if (l->at(e).size() > 1) {
            et_inf[etiqueta] = QStringLiteral("x");
            return;
        }
    }
}

void ModelPlanificador::barra_canviada(int k, int valor) {
    if (k < 1 || k > 4) return;
    valor = std::clamp(valor, 1, barra_max[k]);
    barra_valor[k] = valor;
    activitat().graella_comptes[k][0][0] = static_cast<int16_t>(valor);
    ordres_OMPLIR(k);
}

VistaGraella ModelPlanificador::ordres_repinta(int k) const {
    VistaGraella v;
    if (k < 1 || k > 5) return v;
    const Activitat& a = activitat();
    const int files = k == CONSIGNA ? 1 : 4;
    v.celles[1].visible = true;
    for (int r = 1; r <= files; ++r) {
        for (int c = 1; c <= 7; ++c) {
            const int i = (r - 1) * 7 + c;
            auto& cella = v.celles[static_cast<size_t>(i)];
            cella.text = a.graella_celles[k][r][c];
            cella.tipus = k == ACCIO ? icona_accio_tipus(cella.text) : icona_recurs_tipus(cella.text);
            if (!cella.tipus.isEmpty()) {
                cella.visible = true;
                if (c < 7) v.celles[static_cast<size_t>(i + 1)].visible = true;
                if (k <= ACCIO && r < 4) v.celles[static_cast<size_t>(r * 7 + 1)].visible = true;
            }
            if (k <= SI_MAL && a.graella_comptes[k][r][1] >= 7) {
                const QString& t = cella.text;
                if (!t.isEmpty() && t != marca_anterior() && t != marca_seguent())
                    v.numeros_ordre[static_cast<size_t>(i)] = numero_text(a.graella_comptes[k][r][0] + c - 1);
            }
        }
        if (k <= SI_MAL && barra_valor[k] > 1)
            v.numeros_entrada[static_cast<size_t>(r)] = numero_text(r + barra_valor[k] - 1);
    }
    return v;
}

// ------------------------------------------------------------------ order edits

bool ModelPlanificador::ord_afagir(int fila, int columna, int k, const QString& contingut) {
    if (k < 1 || k > 5 || fila < 1 || fila > 4) return false;
    Activitat& a = activitat();
    auto& comptes = a.graella_comptes[k];
    int e = k == CONSIGNA ? 1 : comptes[0][0] + fila - 1;
    QString text;
    if (comptes[fila][1] != 0) {
        text = entrada(k, e);
    } else if (k != CONSIGNA) {
        // An empty row becomes the entry after the last one, never one
        // further down with blank entries before it.
        e = std::min(e, nombre_entrades(k) + 1);
        QStringList* l = llista(k);
        while (l->size() <= e)
            l->append(QString());
        if (e > nombre_entrades(k)) posar_nombre_entrades(k, e);
        if (k <= SI_MAL) barra_ajustar(k);
        comptes[fila][0] = 1;
    }
    QString nou;
    if (text.isEmpty()) {
        nou = contingut;
        comptes[fila][1] = 1;
        comptes[fila][0] = 1;
    } else {
        QStringList ordres = text.split(SEP);
        // Before the order shown at the column; a position before the first
        // goes to the front, one past the last to the end.
        const int posicio = comptes[fila][0] + columna - 1;
        const qsizetype on = std::clamp<qsizetype>(posicio - 1, 0, ordres.size());
        ordres.insert(on, contingut);
        nou = ordres.join(SEP);
        comptes[fila][1] = static_cast<int16_t>(ordres.size());
        const int n = comptes[fila][1];
        if (n > 6 && columna >= 5) ++comptes[fila][0];
        if (n > 6 && columna < 3 && comptes[fila][0] > 0) --comptes[fila][0];
    }
    if (k == CONSIGNA)
        a.consigna = nou;
    else
        (*llista(k))[e] = nou;
    f_et_inf(k, nou);
    if (k != ACCIO) marcar_modificat();
    return !text.isEmpty();
}

void ModelPlanificador::ord_esborrar(int fila, int columna, int k) {
    if (k < 1 || k > 5 || fila < 1 || fila > 4) return;
    if (k == ACCIO) {
        accio_esborrar(columna);
        accions_llista_omplir();
        return;
    }
    Activitat& a = activitat();
    auto& comptes = a.graella_comptes[k];
    const int e = k == CONSIGNA ? 1 : comptes[0][0] + fila - 1;
    const QString text = entrada(k, e);
    if (text.isEmpty()) return;
    QStringList ordres = text.split(SEP);
    if (columna < 1 || columna > ordres.size()) return;
    ordres.removeAt(columna - 1);
    const int n = static_cast<int>(ordres.size());
    comptes[fila][1] = static_cast<int16_t>(n);
    int16_t& s = comptes[fila][0];
    if (s + columna >= n && n > 6) s = static_cast<int16_t>(n - 5);
    if (n < 7) s = 1;
    marcar_modificat();
    if (n == 0) {
        fila_esborrar(fila, k);
        return;
    }
    if (k == CONSIGNA)
        a.consigna = ordres.join(SEP);
    else
        (*llista(k))[e] = ordres.join(SEP);
}

void ModelPlanificador::fila_esborrar(int fila, int k) {
    if (k < 1 || k > 5 || fila < 1 || fila > 4) return;
    Activitat& a = activitat();
    auto& comptes = a.graella_comptes[k];
    if (k <= SI_MAL) {
        const int e = comptes[0][0] + fila - 1;
        const int m = nombre_entrades(k);
        if (e >= 1 && e <= m) {
            QStringList& l = *llista(k);
            l.removeAt(e);
            while (l.size() > m) // entries 1..m-1 stay, nothing after them
                l.removeLast();
            posar_nombre_entrades(k, m - 1);
            barra_ajustar(k);
            barra_valor[k] = std::min(barra_valor[k], barra_max[k]);
            comptes[0][0] = static_cast<int16_t>(barra_valor[k]);
            marcar_modificat();
        }
    } else if (k == CONSIGNA) {
        if (!a.consigna.isEmpty()) marcar_modificat();
        a.consigna.clear();
    }
    ordres_OMPLIR(k);
}

void ModelPlanificador::accio_esborrar(int col) {
    item& it = planificador().item_editat[0];
    const QString t = codis_a_text(it.serie, 0);
    const int p = activitat().graella_comptes[ACCIO][1][0] + col - 1;
    const int n = llista_comptar(t, SEP);
    if (p < 1 || p > n) return;
    QStringList entrades;
    for (int i = 1; i <= n; ++i)
        if (i != p) entrades << llista_element(t, i, SEP);
    it.serie = serie_de_entrades(entrades);
    marcar_modificat();
}

// ------------------------------------------------------------------ the working copy

void ModelPlanificador::item_carregar(int n) {
    Activitat& a = activitat();
    Llistes& l = llistes();
    EstatPlanificador& p = planificador();
    EstatDispositius& d = dispositius();
    if (n < 0 || n >= static_cast<int>(a.items.size())) return;
    item_mostrat = n;

    a.graella_celles = {};
    a.graella_comptes = {};
    for (int i = 1; i <= 4; ++i)
        et_inf[i] = QStringLiteral("?");

    p.item_editat[0] = a.items[n];
    item& w = p.item_editat[0];
    w.tecles_llista = accions_text_a_codis(a.items[n].tecles_llista, 1);
    w.serie = accions_text_a_codis(a.items[n].serie, 1);

    retard[4] = text_temps(w.retard_be);
    retard[3] = text_temps(w.retard_accio);
    retard[5] = text_temps(w.retard_estimul);
    retard[7] = text_temps(w.retard_mal);
    retard[0] = text_temps(a.retard_tots_be);
    retard[1] = text_temps(a.retard_tots_accio);
    retard[2] = text_temps(a.retard_tots_estimul);
    retard[6] = text_temps(a.retard_tots_mal);

    // Every list starts empty: an empty list leaves the split untouched.
    l.llista_be = QStringList{QString()};
    l.llista_mal = QStringList{QString()};
    l.llista_estimuls = QStringList{QString()};
    l.llista_accio = QStringList{QString()};
    l.nombre_be = l.nombre_mal = l.nombre_estimuls = 0;
    carregar_llista_be(n);
    carregar_llista_mal(n);
    carregar_llista_estimul(n);
    for (int k : {SI_BE, SI_MAL, ESTIMULS}) {
        barra_ajustar(k);
        barra_canviada(k, 1);
    }

    p.font_editada = a.font;
    fitxer_so = a.carpeta_veu;
    finestra_opcio = a.finestra_opcio == 1 ? 1 : 0;

    a.graella_comptes[CONSIGNA][0][1] = 1;
    ordres_OMPLIR(CONSIGNA);

    t_total = numero_text(a.temps_total);

    d.nivell_so_actiu = usa_nivell_so(n);
    d.nivell_so_item =
        verdader(w.nivell[0] == 1 || w.serie.contains(u'{' + tradueix(QStringLiteral("Soroll entre "))));
    d.fonemes_actiu = usa_veu(n);
    bool veu = w.serie.contains(u'{' + text_idioma(32));
    for (int16_t v : w.veu)
        veu = veu || v != 0;
    d.fonemes_item = verdader(veu);

    // Only the exact option numbers select an option; anything else names a file.
    static const QStringList opcions{QStringLiteral(" 1"), QStringLiteral("1"), QStringLiteral(" 2"),
                                     QStringLiteral("2")};
    const qsizetype o = opcions.indexOf(a.exercici_seguent);
    fit_exer.clear();
    if (o >= 0) {
        exer_seg = static_cast<int>(o / 2);
    } else if (!a.exercici_seguent.isEmpty()) {
        fit_exer = a.exercici_seguent;
        exer_seg = 2;
    } else {
        exer_seg = -1;
    }

    tots_temps = a.tots_temps_global != 0 ? 1 : 0;
    if (tots_temps == 0) tots_temps_Click();
    p.temps_tots_canviats = false;

    accions_llista_omplir();
}

bool ModelPlanificador::accio_definida() const {
    const item& w = planificador().item_editat[0];
    auto algun = [](const auto& v, size_t n) {
        for (size_t i = 0; i < n && i < v.size(); ++i)
            if (v[i] != 0) return true;
        return false;
    };
    return algun(w.teclat, 11) || algun(w.ratoli, 4) || algun(w.jostick, 8) || algun(w.nivell, 3) ||
           algun(w.veu, 15) || algun(w.web, 12) || !w.tecles_llista.isEmpty() || !w.serie.isEmpty() ||
           !w.zones_ratoli.isEmpty() || !w.zones_web.isEmpty();
}

item ModelPlanificador::item_format_desat() const {
    const Llistes& l = llistes();
    item it = planificador().item_editat[0];
    it.tecles_llista = accions_text_a_codis(it.tecles_llista, 0);
    it.serie = accions_text_a_codis(it.serie, 0);
    it.si_be = llista_item(l.llista_be, l.nombre_be);
    it.si_mal = llista_item(l.llista_mal, l.nombre_mal, true);
    it.estimuls = llista_item(l.llista_estimuls, l.nombre_estimuls);
    return it;
}

bool ModelPlanificador::generals_posar(Activitat& a) const {
    // The total time fits the player's clock: 0 (no limit) to 32767 s.
    const std::optional<double> v = numero_escrit(t_total);
    const auto temps =
        v ? static_cast<int16_t>(std::clamp(arrodonir_parell(*v), 0.0, 32767.0)) : a.temps_total;
    const auto finestra = static_cast<int16_t>(finestra_opcio == 1 ? 1 : 0);
    const QString consigna = ruta_absoluta(a.consigna);
    const font_text& font = planificador().font_editada;
    const bool canvi = !mateixos_generals(a, fitxer_so, font, finestra, consigna, temps);
    a.carpeta_veu = fitxer_so;
    a.font = font;
    a.finestra_opcio = finestra;
    a.consigna = consigna;
    a.temps_total = temps;
    return canvi;
}

void ModelPlanificador::generals_desar() {
    EstatDispositius& d = dispositius();
    if (generals_posar(activitat())) marcar_modificat();
    d.nivell_so_actiu = verdader(d.nivell_so_item != 0 || d.nivell_so_actiu != 0);
    d.fonemes_actiu = verdader(d.fonemes_item != 0 || d.fonemes_actiu != 0);
}

ModelPlanificador::Desat ModelPlanificador::item_desar(int n) {
    Activitat& a = activitat();
    EstatPlanificador& p = planificador();
    Llistes& l = llistes();
    // The settings of the general page are the activity's, whatever happens
    // to the item.
    struct Generals {
        ModelPlanificador* m;
        ~Generals() { m->generals_desar(); }
    } generals{this};

    if (n < 1 || n > a.nombre_items || n >= static_cast<int>(a.items.size())) return Desat::fora;
    if (!accio_definida()) return Desat::sense_accio;
    while (llista_item(l.llista_be, l.nombre_be).isEmpty()) {
        if (!preguntar(58)) return Desat::cancellat;
        if (!pont.primera_reaccio || !pont.primera_reaccio()) return Desat::cancellat;
    }

    const std::vector<item> abans = a.items;
    item& it = a.items[n];
    it = item_format_desat();

    if (tots_temps == 1) {
        if (p.temps_tots_canviats) {
            if (!preguntar(70)) p.temps_tots_canviats = false;
        } else {
            p.temps_tots_canviats = true;
        }
        if (p.temps_tots_canviats) {
            for (int i = 1; i <= a.nombre_items; ++i) {
                a.items[i].retard_be = a.retard_tots_be;
                a.items[i].retard_mal = a.retard_tots_mal;
                a.items[i].retard_accio = a.retard_tots_accio;
                a.items[i].retard_estimul = a.retard_tots_estimul;
            }
            if (it.retard_be == 0) it.retard_be = 1;
            if (it.retard_mal == 0) it.retard_mal = 1;
        } else {
            tots_temps = 0;
            tots_temps_Click();
        }
    }
    p.temps_tots_canviats = false;

    auto copiar_a_tots = [&](int& caixa, bool& sel, int missatge, int16_t& global, QString item::*camp,
                             void (ModelPlanificador::*clic)()) {
        if (caixa == 0 || !sel) return;
        sel = false;
        if (preguntar(missatge)) {
            global = 1;
            for (int i = 1; i <= a.nombre_items; ++i)
                a.items[i].*camp = it.*camp;
        } else {
            caixa = 0;
            (this->*clic)();
        }
    };
    copiar_a_tots(tots_be, p.sel_be, 17, a.tots_be_global, &item::si_be, &ModelPlanificador::tots_be_Click);
    if (l.nombre_mal > 0)
        copiar_a_tots(tots_mal, p.sel_mal, 18, a.tots_mal_global, &item::si_mal,
                      &ModelPlanificador::tots_mal_Click);
    copiar_a_tots(tots_estimul, p.sel_est, 19, a.tots_estimul_global, &item::estimuls,
                  &ModelPlanificador::tots_estimul_Click);

    if (a.items != abans) marcar_modificat();
    return Desat::fet;
}

void ModelPlanificador::item_ultim_mostrar() {
    item_mostrar(std::numeric_limits<int>::max());
}

void ModelPlanificador::item_mostrar(int n) {
    Activitat& a = activitat();
    // An activity without items gets an empty one to edit, never the
    // player's scratch element.
    if (a.nombre_items < 1) {
        a.nombre_items = 1;
        a.items.resize(2);
    }
    n = std::clamp(n, 1, static_cast<int>(a.nombre_items));
    item_carregar(n);
    item_mostrat = n;
    navegador_max = a.nombre_items;
    copiar_actiu = a.nombre_items > 1;
    veure();
}

void ModelPlanificador::navegar(int valor) {
    valor = std::clamp(valor, 1, std::max<int>(1, activitat().nombre_items));
    if (valor == item_mostrat) return;
    if (pont.retards_confirmar) pont.retards_confirmar();
    // A move is no change of the teacher's, nor is what the store copies to
    // every item: the snapshot stays the state before her last change.
    punt_desfer();
    item_desar(item_mostrat);
    item_carregar(valor);
    item_mostrat = valor;
    veure();
}

// ------------------------------------------------------------------ item commands

Activitat ModelPlanificador::mostrada() const {
    // The shown item's orders and the general page's settings go in though
    // not yet stored.
    Activitat m = activitat();
    if (item_mostrat >= 1 && item_mostrat <= m.nombre_items &&
        item_mostrat < static_cast<int>(m.items.size())) {
        m.items[static_cast<size_t>(item_mostrat)] = item_format_desat();
        generals_posar(m);
    }
    return m;
}

bool ModelPlanificador::desar_desfer(Activitat& a) {
    std::swap(activitat(), a);
    const bool desat = desar_exercici(cami_desfer());
    std::swap(activitat(), a);
    if (desat) return true;
    // Another user's file there has been told of already, by the save itself.
    if (!desfer_fallat && pont.avisar && !fitxer_alie(cami_desfer()))
        pont.avisar(tradueix(QStringLiteral("fitxers|no_desat")) + QStringLiteral("\n") + cami_desfer());
    desfer_fallat = true;
    return false;
}

namespace {

// The settings of `a` as the file writes them: its items and zones are
// compared as they are, which is cheaper than writing them.
QByteArray ajustos(Activitat& a) {
    std::vector<item> items;
    std::vector<zona> zones;
    std::swap(items, a.items);
    std::swap(zones, a.zones);
    const int16_t n = a.nombre_items;
    const auto m = a.zones_max;
    a.nombre_items = 0;
    a.zones_max = 0;
    QByteArray r = escriure_activitat(a, idioma(), carpeta_activitat());
    std::swap(items, a.items);
    std::swap(zones, a.zones);
    a.nombre_items = n;
    a.zones_max = m;
    return r;
}

} // namespace

void ModelPlanificador::veure() {
    vist_.activitat = mostrada();
    vist_.ajustos = ajustos(vist_.activitat);
    vist_.dades.clear();
    vist_.fet = true;
}

bool ModelPlanificador::escriure_desfer() {
    veure();
    return desar_desfer(vist_.activitat);
}

bool ModelPlanificador::punt_desfer() {
    Activitat ara = mostrada();
    QByteArray ara_ajustos = ajustos(ara);
    const Activitat& v = vist_.activitat;
    if (vist_.fet && ara.nombre_items == v.nombre_items && ara.zones_max == v.zones_max &&
        ara.items == v.items && ara.zones == v.zones && ara_ajustos == vist_.ajustos)
        return true;
    // Something differs in memory; only what the file would write counts.
    QByteArray dades = escriure_activitat(ara, idioma(), carpeta_activitat());
    if (vist_.fet && vist_.dades.isEmpty())
        vist_.dades = escriure_activitat(v, idioma(), carpeta_activitat());
    const bool igual = vist_.fet && dades == vist_.dades;
    const bool desat = !vist_.fet || igual || desar_desfer(vist_.activitat);
    vist_.activitat = std::move(ara);
    vist_.ajustos = std::move(ara_ajustos);
    vist_.dades = std::move(dades);
    vist_.fet = true;
    return desat;
}

bool ModelPlanificador::afegir() {
    Activitat& a = activitat();
    const item& w = planificador().item_editat[0];
    int16_t suma = 0;
    auto sumar = [&suma](const auto& v, size_t n) {
        for (size_t i = 0; i < n && i < v.size(); ++i)
            suma = static_cast<int16_t>(suma + v[i]);
    };
    sumar(w.teclat, 11);
    sumar(w.ratoli, 4);
    sumar(w.jostick, 8);
    sumar(w.web, 12);
    sumar(w.veu, 15);
    sumar(w.nivell, 1);
    if (suma == 0) return false;

    a.nombre_items = static_cast<int16_t>(a.nombre_items + 1);
    a.items.resize(static_cast<size_t>(a.nombre_items) + 1);
    copiar_actiu = a.nombre_items > 1;
    item& nou = a.items[a.nombre_items];
    if (tots_be != 0) nou.si_be = a.items[1].si_be;
    if (tots_mal != 0) nou.si_mal = a.items[1].si_mal;
    if (tots_estimul != 0) nou.estimuls = a.items[1].estimuls;
    nou.retard_accio = a.retard_tots_accio;
    nou.retard_be = a.retard_tots_be;
    nou.retard_mal = a.retard_tots_mal;
    nou.retard_estimul = a.retard_tots_estimul;
    marcar_modificat();
    navegador_max = a.nombre_items;
    navegar(a.nombre_items);
    return true;
}

bool ModelPlanificador::esborrar() {
    Activitat& a = activitat();
    if (a.nombre_items < 2) return false;
    const PasDesfer pas(*this);
    const int p = std::clamp(item_mostrat, 1, static_cast<int>(a.nombre_items));
    a.items.erase(a.items.begin() + p);
    a.nombre_items = static_cast<int16_t>(a.nombre_items - 1);
    marcar_modificat();
    const int q = std::min<int>(p, a.nombre_items);
    item_carregar(q);
    item_mostrat = q;
    navegador_max = a.nombre_items;
    copiar_actiu = a.nombre_items > 1;
    items_series_revisar(a, &planificador().item_editat[0]);
    return true;
}

void ModelPlanificador::copiar() {
    EstatPlanificador& p = planificador();
    p.item_editat.resize(2);
    p.item_editat[1] = item_format_desat();
    enganxar_actiu = true;
}

bool ModelPlanificador::enganxar() {
    Activitat& a = activitat();
    EstatPlanificador& p = planificador();
    if (p.item_editat.size() < 2) return false;
    const item copia = p.item_editat[1];
    const PasDesfer pas(*this);
    item_desar(item_mostrat);
    a.nombre_items = static_cast<int16_t>(a.nombre_items + 1);
    a.items.resize(static_cast<size_t>(a.nombre_items) + 1);
    a.items[a.nombre_items] = copia;
    marcar_modificat();
    p.item_editat.resize(1);
    item_carregar(a.nombre_items);
    item_mostrat = a.nombre_items;
    navegador_max = a.nombre_items;
    enganxar_actiu = false;
    copiar_actiu = a.nombre_items > 1;
    return true;
}

bool ModelPlanificador::desfer() {
    const QString cami = cami_desfer();
    QFile f(cami);
    QString error;
    if (!f.open(QIODevice::ReadOnly)) {
        error = text_idioma(45) + QStringLiteral("\n") + cami;
    } else {
        OpcionsLectura o;
        o.llengua = idioma();
        o.carpeta = carpeta_activitat();
        const ResultatLectura r = llegir_activitat(f.readAll(), cami, activitat(), o);
        if (r.missatge != 0) error = r.text_missatge;
    }
    if (!error.isEmpty()) {
        if (pont.avisar) pont.avisar(error);
        return false;
    }
    carregar_exercici(cami);
    marcar_modificat();
    item_mostrar(item_mostrat);
    return true;
}

void ModelPlanificador::tots_be_Click() {
    EstatPlanificador& p = planificador();
    p.sel_be = tots_be != 0;
    activitat().tots_be_global = verdader(p.sel_be);
}

void ModelPlanificador::tots_mal_Click() {
    EstatPlanificador& p = planificador();
    p.sel_mal = tots_mal != 0;
    activitat().tots_mal_global = verdader(p.sel_mal);
}

void ModelPlanificador::tots_estimul_Click() {
    EstatPlanificador& p = planificador();
    p.sel_est = tots_estimul != 0;
    activitat().tots_estimul_global = verdader(p.sel_est);
}

// ------------------------------------------------------------------ general page

void ModelPlanificador::retard_LostFocus(int Index) {
    Activitat& a = activitat();
    item& w = planificador().item_editat[0];
    // A box that holds no number goes back to its stored time.
    const std::array<float, 8> desats{a.retard_tots_be,  a.retard_tots_accio, a.retard_tots_estimul,
                                      w.retard_accio,    w.retard_be,         w.retard_estimul,
                                      a.retard_tots_mal, w.retard_mal};
    std::array<double, 8> b{};
    for (size_t i = 0; i < 8; ++i)
        b[i] = numero_escrit(retard[i]).value_or(valor_inicial(single_text(desats[i])));

    // One group: action time, stimulus time and the two reaction boxes;
    // `cas` is 0 (a reaction changed), 1 (the action) or 2 (the stimulus).
    auto regla = [](double& accio, double& estimul, double& r1, double& r2, int cas) {
        double r = std::min(r1, r2);
        if (estimul + r <= accio) return;
        if (cas == 0) {
            estimul = accio - r;
            if (estimul < 0) {
                estimul = 0;
                accio = r;
            }
        } else if (cas == 1) {
            estimul = accio - r;
            if (estimul < 0) estimul = 0;
        } else if (cas == 2) {
            r = accio - estimul;
            if (r < 1) {
                r = 1;
                accio = estimul + 1;
            }
        }
        if (r2 < r) r2 = r;
        if (r1 < r) r1 = r;
    };
    regla(b[1], b[2], b[0], b[6], Index <= 2 ? Index : -1);
    for (size_t i : {1, 2, 0, 6})
        retard[i] = text_temps_doble(b[i]);
    const std::array<float, 4> abans{a.retard_tots_be, a.retard_tots_mal, a.retard_tots_accio,
                                     a.retard_tots_estimul};
    a.retard_tots_be = static_cast<float>(valor_inicial(retard[0]));
    a.retard_tots_mal = static_cast<float>(valor_inicial(retard[6]));
    a.retard_tots_accio = static_cast<float>(valor_inicial(retard[1]));
    a.retard_tots_estimul = static_cast<float>(valor_inicial(retard[2]));
    if (abans !=
        std::array<float, 4>{a.retard_tots_be, a.retard_tots_mal, a.retard_tots_accio, a.retard_tots_estimul})
        marcar_modificat();
    if (Index < 3 && a.tots_temps_global == 1) planificador().temps_tots_canviats = true;

    const int cas = Index == 4 ? 0 : Index == 3 ? 1 : Index == 5 ? 2 : -1;
    regla(b[3], b[5], b[4], b[7], cas);
    for (size_t i : {3, 5, 4, 7})
        retard[i] = text_temps_doble(b[i]);
    w.retard_accio = static_cast<float>(valor_inicial(retard[3]));
    w.retard_be = static_cast<float>(valor_inicial(retard[4]));
    w.retard_estimul = static_cast<float>(valor_inicial(retard[5]));
    w.retard_mal = static_cast<float>(valor_inicial(retard[7]));
}

void ModelPlanificador::tots_temps_Click() {
    activitat().tots_temps_global = static_cast<int16_t>(tots_temps);
    const bool tots = tots_temps == 1;
    if (tots) planificador().temps_tots_canviats = true;
    for (size_t i : {0, 1, 2})
        retard_actiu[i] = tots;
    for (size_t i : {3, 4, 5})
        retard_actiu[i] = !tots;
}

void ModelPlanificador::atzar_Click(bool marcat) {
    activitat().mode_estimul = marcat ? QStringLiteral("0") : QStringLiteral("1");
}

void ModelPlanificador::Exer_seg_Click(int Index) {
    marcar_modificat();
    if (Index == 0 || Index == 1) {
        activitat().exercici_seguent = numero_text(Index + 1);
        fit_exer.clear();
    }
    if (Index >= 0 && Index <= 2) exer_seg = Index;
}

void ModelPlanificador::fit_exer_LostFocus() {
    activitat().exercici_seguent = fit_exer;
    if (fit_exer.isEmpty())
        exercici_esborrar();
    else
        exer_seg = 2;
}

void ModelPlanificador::exercici_triat(const QString& fitxer) {
    if (fitxer.isEmpty()) return;
    fit_exer = fitxer;
    activitat().exercici_seguent = fitxer;
    exer_seg = 2;
    marcar_modificat();
}

void ModelPlanificador::exercici_esborrar() {
    marcar_modificat();
    fit_exer.clear();
    activitat().exercici_seguent.clear();
    exer_seg = -1;
}

void ModelPlanificador::Option1_Click(int Index) {
    marcar_modificat();
    finestra_opcio = Index == 1 ? 1 : 0;
}

// ------------------------------------------------------------------ the ACCIO list

QStringList ModelPlanificador::accions_entrades() const {
    const item& w = planificador().item_editat[0];
    const QString blanc = QStringLiteral(" ");
    QStringList e;
    if (!w.serie.isEmpty()) e << tradueix(QStringLiteral("Sèrie")) + blanc + codis_a_text(w.serie, 0);
    for (int j = 0; j <= 9; ++j)
        if (j != 3 && w.teclat[static_cast<size_t>(j)] > 0)
            e << tradueix(QStringLiteral("Teclat")) + blanc + caption_accions(QStringLiteral("teclat"), j);
    // The editor's typing box is empty after its fill: the word alone.
    if (!w.tecles_llista.isEmpty()) e << tradueix(QStringLiteral("Llista Tecles")) + blanc;
    for (int j = 0; j <= 10; ++j)
        if (w.web[static_cast<size_t>(j)] != 0)
            e << tradueix(QStringLiteral("Web")) + blanc + caption_accions(QStringLiteral("web"), j);
    for (int j = 0; j <= 7; ++j)
        if (w.jostick[static_cast<size_t>(j)] != 0)
            e << tradueix(QStringLiteral("Joystick")) + blanc + caption_accions(QStringLiteral("jostick"), j);
    for (int j = 0; j <= 14; ++j)
        if (w.veu[static_cast<size_t>(j)] == 1)
            e << text_idioma(32) + QStringLiteral("%1").arg(j, 2, 10, QChar(u'0'));
    if (w.nivell[0] == 1)
        e << tradueix(QStringLiteral("Soroll_entre")) + blanc + numero_text(w.nivell[1]) +
                 numero_text(w.nivell[2]);
    for (int j = 0; j <= 2; ++j)
        if (w.ratoli[static_cast<size_t>(j)] != 0)
            e << tradueix(QStringLiteral("Ratolí")) + blanc + caption_accions(QStringLiteral("ratoli"), j);
    auto zones = [&](const QString& paraula, const QString& codis) {
        QString t = paraula;
        for (qsizetype i = 0; i + 3 <= codis.size(); i += 3) {
            bool ok = false;
            const int z = codis.mid(i + 1, 2).toInt(&ok, 16);
            t += blanc + QStringLiteral("%1").arg(ok ? z : 0, 3, 10, QChar(u'0'));
        }
        e << t;
    };
    if (w.ratoli[3] != 0) zones(tradueix(QStringLiteral("Ratolí_Zona")), w.zones_ratoli);
    if (w.web[11] != 0) zones(tradueix(QStringLiteral("Web_Zona")), w.zones_web);
    return e;
}

QString ModelPlanificador::titol_accions(int pagina) {
    static const std::map<int, const char*> paraules{
        {0, "Ratolí"}, {1, "Teclat"}, {2, "Joystick"}, {3, "Veu"}, {6, "Web"}};
    const auto p = paraules.find(pagina);
    if (p == paraules.end()) return {};
    return text_idioma(33) + QStringLiteral(" ") + tradueix(QString::fromUtf8(p->second));
}

int ModelPlanificador::pagina_accio(const QString& entrada) {
    static const std::map<QString, int> pagines{{QStringLiteral("RATOLI"), 0},
                                                {QStringLiteral("TECLAT"), 1},
                                                {QStringLiteral("JOYSTICK"), 2},
                                                {QStringLiteral("VEU"), 3},
                                                {QStringLiteral("WEB"), 6}};
    const auto p = pagines.find(icona_accio_tipus(entrada));
    return p == pagines.end() ? -1 : p->second;
}

void ModelPlanificador::accions_llista_omplir() {
    Activitat& a = activitat();
    Llistes& l = llistes();
    for (size_t i : {3, 4, 5})
        retard_actiu[i] = tots_temps != 1;
    const QStringList e = accions_entrades();
    l.llista_accio = QStringList{QString()} + e;
    if (!e.isEmpty()) et_inf[2] = QStringLiteral("x");
    a.graella_comptes[ACCIO][0][1] = static_cast<int16_t>(std::min<qsizetype>(e.size(), 32767));
    barra_max[ACCIO] = std::max<int>(1, static_cast<int>(e.size()));
    barra_canviada(ACCIO, 1);
}

// ------------------------------------------------------------------ cells

QString ModelPlanificador::text_cella(int k, int index) const {
    if (k < 0 || k > 5 || index < 1 || index > 28) return {};
    return activitat().graella_celles[k][fila_cella(index)][columna_cella(index)];
}

bool ModelPlanificador::es_marca(const QString& text) const {
    return text == marca_seguent() || text == marca_anterior();
}

bool ModelPlanificador::punt_insercio(int k, int fila, int columna, bool premsa_esquerra) const {
    if (k < 1 || k > 5 || fila < 1 || fila > 4 || columna < 1 || columna > 7) return false;
    const Activitat& a = activitat();
    if (fila == 1 && columna == 1) return true;
    if (columna == 1)
        return premsa_esquerra ? a.graella_comptes[k][fila - 1][1] >= 1
                               : !a.graella_celles[k][fila - 1][1].isEmpty();
    return !a.graella_celles[k][fila][columna - 1].isEmpty();
}

bool ModelPlanificador::accio_popup_permes(int index) const {
    return fila_cella(index) == 1 && !planificador().item_editat[0].serie.isEmpty() &&
           activitat().graella_comptes[ACCIO][0][0] == 1;
}

QString& ModelPlanificador::portapapers() const {
    return activitat().graella_celles[0][0][0];
}

namespace {

// The entry row `fila` of list k shows exists (rows past the end show nothing).
bool fila_existeix(const ModelPlanificador& m, int k, int fila) {
    if (k == CONSIGNA) return fila == 1;
    const int e = activitat().graella_comptes[k][0][0] + fila - 1;
    return e >= 1 && e <= m.nombre_entrades(k);
}

} // namespace

bool ModelPlanificador::ord_DragDrop(int desti, int origen, int k, int k_origen) {
    const int maxim = k == CONSIGNA ? 7 : 28;
    if (k != k_origen || k < 1 || k > 5 || k == ACCIO || desti < 1 || desti > maxim || origen < 1 ||
        origen > maxim)
        return false;
    Activitat& a = activitat();
    const int fd = fila_cella(desti), cd = columna_cella(desti);
    const int fo = fila_cella(origen), co = columna_cella(origen);
    const auto& cel = a.graella_celles[k];
    const bool tocant = !cel[fd][cd].isEmpty() || (cd > 1 && !cel[fd][cd - 1].isEmpty()) ||
                        (cd == 1 && fd > 1 && !cel[fd - 1][1].isEmpty());
    const QString arrossegat = cel[fo][co];
    if (!tocant || arrossegat.isEmpty() || arrossegat == cel[fd][cd] || es_marca(cel[fd][cd]) ||
        es_marca(arrossegat))
        return false;
    const PasDesfer pas(*this);
    int posicio = a.graella_comptes[k][fo][0] + co - 1;
    ord_afagir(fd, cd, k, arrossegat);
    if (fo == fd && co > cd) ++posicio;
    ord_esborrar(fo, posicio, k);
    for (int f : {fo, fd})
        if (fila_existeix(*this, k, f)) ord_omplir_fila(f, k);
    return true;
}

bool ModelPlanificador::accio_DragDrop(int desti, int origen, int k_origen) {
    Activitat& a = activitat();
    item& w = planificador().item_editat[0];
    if (k_origen != ACCIO || desti == origen || fila_cella(desti) != 1 || fila_cella(origen) != 1 ||
        desti > 7 || origen < 1 || desti < 1 || w.serie.isEmpty() || a.graella_comptes[ACCIO][0][0] != 1)
        return false;
    const QString arrossegat = text_cella(ACCIO, origen);
    if (arrossegat.isEmpty() || es_marca(arrossegat) || es_marca(text_cella(ACCIO, desti))) return false;
    const PasDesfer pas(*this);
    const QString text = codis_a_text(w.serie, 0);
    const int offset = a.graella_comptes[ACCIO][1][0] - 1;
    const int n = llista_comptar(text, SEP);
    const int mogut = offset + columna_cella(origen), davant = offset + columna_cella(desti);
    if (mogut < 1 || mogut > n) return false;
    QStringList noves;
    const QString entrada_moguda = llista_element(text, mogut, SEP);
    bool posat = false;
    for (int i = 1; i <= n; ++i) {
        if (i == mogut) continue;
        if (i == davant) {
            noves << entrada_moguda;
            posat = true;
        }
        noves << llista_element(text, i, SEP);
    }
    if (!posat) noves << entrada_moguda;
    w.serie = serie_de_entrades(noves);
    marcar_modificat();
    accions_llista_omplir();
    return true;
}

void ModelPlanificador::ordre_editada(int index, int k, const QString& text, bool substituir,
                                      int inici_abans) {
    if (k < 1 || k > 5 || k == ACCIO || text.isEmpty()) return;
    const PasDesfer pas(*this);
    const int fila = fila_cella(index), columna = columna_cella(index);
    ord_afagir(fila, columna, k, text);
    if (substituir) {
        auto& comptes = activitat().graella_comptes[k][fila];
        ord_esborrar(fila, inici_abans + columna, k);
        comptes[0] = static_cast<int16_t>(comptes[1] < 7 ? 1 : inici_abans);
    }
    if (fila_existeix(*this, k, fila)) ord_omplir_fila(fila, k);
}

bool ModelPlanificador::menu2_esborrar(int index, int k) {
    const QString text = text_cella(k, index);
    if (text.isEmpty() || es_marca(text)) return false;
    const int fila = fila_cella(index), columna = columna_cella(index);
    const PasDesfer pas(*this);
    if (k == ACCIO) {
        ord_esborrar(fila, columna, k);
        return true;
    }
    ord_esborrar(fila, activitat().graella_comptes[k][fila][0] + columna - 1, k);
    if (fila_existeix(*this, k, fila)) ord_omplir_fila(fila, k);
    return true;
}

bool ModelPlanificador::menu2_copiar(int index, int k) {
    const QString text = text_cella(k, index);
    if (text.isEmpty() || es_marca(text)) return false;
    portapapers() = text;
    return true;
}

bool ModelPlanificador::menu2_enganxar(int index, int k) {
    if (k < 1 || k > 5 || k == ACCIO || portapapers().isEmpty()) return false;
    const int fila = fila_cella(index), columna = columna_cella(index);
    if (text_cella(k, index).isEmpty() && !punt_insercio(k, fila, columna, true)) return false;
    const PasDesfer pas(*this);
    if (ord_afagir(fila, columna, k, portapapers())) portapapers().clear();
    if (fila_existeix(*this, k, fila)) ord_omplir_fila(fila, k);
    return true;
}

} // namespace lumi
