#include "actions/model_accions.h"

#include "actions/model_zones.h"
#include "core/codis.h"
#include "core/idioma.h"
#include "core/llistes.h"
#include "core/tecles.h"
#include "core/vb.h"

#include <algorithm>

namespace lumi {

namespace {

const QChar SEPARA(0xBB); // »
const QChar MICRO(0xB5);  // µ

// A term of the language tables; the Catalan key when the table lacks it.
QString terme(const QString& clau) {
    const QString t = tradueix(clau);
    return t.isEmpty() ? clau : t;
}

QString tres_xifres(int n) {
    return QString::number(n).rightJustified(3, u'0');
}

// A zone as the combos and lists show it, and as its token spells it.
QString nom_zona(int z, bool web) {
    return text_idioma(web ? 71 : 35) + tres_xifres(z);
}

// The number a text holds from `des_de` on: blanks skipped, digits only.
int numero_des_de(const QString& text, qsizetype des_de) {
    qsizetype i = std::max<qsizetype>(0, des_de);
    while (i < text.size() && text[i] == u' ')
        ++i;
    int n = 0;
    while (i < text.size() && text[i].isDigit() && n < 100000)
        n = n * 10 + text[i++].digitValue();
    return n;
}

// The zone number of an entry `nom_zona` spelt.
int numero_zona(const QString& entrada, bool web) {
    return numero_des_de(entrada, text_idioma(web ? 71 : 35).size());
}

// Where a three-character code stands in a code string, -1 when not.
qsizetype posicio_codi(const QString& codis, const QString& codi) {
    for (qsizetype p = 0; p + 3 <= codis.size(); p += 3)
        if (QStringView(codis).mid(p, 3) == codi) return p;
    return -1;
}

int16_t valor_caixa(const QString& text) {
    const double v = arrodonir_parell(valor_inicial(text));
    return static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
}

// The six key names that stand for options, with their option numbers.
struct TeclaOpcio {
    const char* nom;
    int opcio;
};
constexpr std::array<TeclaOpcio, 6> TECLES_OPCIO{{{"{Cur.Amunt}", 6},
                                                  {"{Cur.Avall}", 7},
                                                  {"{Cur.Dreta}", 8},
                                                  {"{Cur.Esque}", 9},
                                                  {"{ENTER}", 1},
                                                  {"{ESPAI}", 2}}};

int opcio_de_tecla(const QString& vtec) {
    for (const TeclaOpcio& t : TECLES_OPCIO)
        if (vtec == terme(QString::fromUtf8(t.nom))) return t.opcio;
    return -1;
}

// The item the planner shows: its stored copy is the one under edit.
int item_mostrat() {
    const auto& e = entorn_planificador();
    return e.item_mostrat ? e.item_mostrat() : 0;
}

} // namespace

InterficieZones& interficie_zones() {
    static InterficieZones z;
    return z;
}

int zones_ultima(const Activitat& a) {
    if (interficie_zones().calcula_zones_ultim) return interficie_zones().calcula_zones_ultim();
    const int maxim = zona_darrera(a);
    for (int k = maxim; k >= 1; --k) {
        const zona& z = a.zones[static_cast<size_t>(k)];
        if (zona_dibuixada(z)) return k;
    }
    return 0;
}

QString token_teclat_pantalla(int index) {
    // The key table's spelling, so that every token converts to its key.
    static const std::array<std::pair<const char*, bool>, 37> taula{{
        {"{F12}", false},   {"{Ins}", false},      {"{INICI}", true},      {"{Re.Pg}", false},
        {"{F2}", false},    {"{Supr}", false},     {"{Fi}", true},         {"{Av.Pg}", false},
        {"{F3}", false},    {"{Tab}", false},      {"{Retrocedir}", true}, {"{Alt}", false},
        {"{F4}", false},    {"{Bloq.May}", false}, {"{Bloq.Num}", false},  {"{Bloq.Desp}", false},
        {"{F5}", false},    {"{Cur.Esque}", true}, {"{Cur.Amunt}", true},  {"{Cur.Dreta}", true},
        {"{Ctrl}", false},  {"{Pausa}", false},    {"{Cur.Avall}", true},  {"{ENTER}", false},
        {"{F6}", false},    {"{Shift}", false},    {"{F11}", false},       {"{F10}", false},
        {"{F9}", false},    {"{F8}", false},       {"{F1}", false},        {"{F7}", false},
        {"{Altgr}", false}, {"{Win Esqu}", true},  {"{Win Dreta}", true},  {"{Win Menú}", false},
        {"{ESPAI}", true},
    }};
    if (index < 0 || index >= static_cast<int>(taula.size())) return {};
    const auto& [nom, traduit] = taula[static_cast<size_t>(index)];
    const QString t = QString::fromUtf8(nom);
    return traduit ? terme(t) : t;
}

QString token_ratoli(int boto) {
    if (boto == 1) return u'{' + terme(QStringLiteral("Clic esquerre")) + u'}';
    if (boto == 2) return u'{' + terme(QStringLiteral("Clic dret")) + u'}';
    return {};
}

QString token_joystick(int index) {
    static const std::array<const char*, 8> termes{"Amunt",  "Avall",  "Dreta",  "Esquerra",
                                                   "Botó 1", "Botó 2", "Botó 3", "Botó 4"};
    if (index < 0 || index > 7) return {};
    return u'{' + terme(QStringLiteral("Joystick")) + u' ' +
           terme(QString::fromUtf8(termes[static_cast<size_t>(index)])) + u'}';
}

QString token_web(int index) {
    static const std::array<const char*, 11> termes{
        "",      "Clic web cam", "Fora web cam", "Amunt Esquerra", "Amunt",   "Amunt Dreta",
        "Dreta", "Avall Dreta",  "Avall",        "Avall Esquerra", "Esquerra"};
    if (index < 1 || index > 10) return {};
    return u'{' + terme(QStringLiteral("Web")) + u' ' +
           terme(QString::fromUtf8(termes[static_cast<size_t>(index)])) + u'}';
}

QString token_zona(int z, bool web) {
    return u'{' + nom_zona(z, web) + u'}';
}

QString token_veu(int k) {
    return u'{' + text_idioma(32) + tres_xifres(k) + u'}';
}

QString token_nivell(const QString& baix, const QString& alt) {
    return u'{' + terme(QStringLiteral("Soroll entre ")) + baix + u' ' + alt + QStringLiteral(" }");
}

int fi_entrada_serie(const QString& text, int n) {
    qsizetype p = 0;
    for (int e = 0; e < n && p < text.size(); ++e) {
        if (text[p] == u'{') {
            const qsizetype f = text.indexOf(u'}', p);
            p = f < 0 ? text.size() : f + 1;
        } else {
            while (p < text.size() && text[p] != u'{')
                ++p;
        }
    }
    return static_cast<int>(p);
}

bool text_accio_valid(const QString& text) {
    if (!claus_equilibrades(text)) return false;
    for (qsizetype p = text.indexOf(u'{'); p >= 0; p = text.indexOf(u'{', p + 1)) {
        const qsizetype f = text.indexOf(u'}', p);
        if (f < 0) return false;
        if (accions_text_a_codis(text.mid(p, f - p + 1), 0) == QLatin1String("H00")) return false;
    }
    return true;
}

ModelAccions::ModelAccions(item& it_, Activitat& a_, EstatDispositius& d_) : it(it_), a(a_), d(d_) {}

// ------------------------------------------------------------------ load and fill

void ModelAccions::omplir_combos_zones() {
    tria_zones_mouse = {text_idioma(48)};
    tria_zones_web = {text_idioma(48)};
    const int maxim = zona_darrera_nomenable(a);
    for (int k = 1; k <= maxim; ++k) {
        const zona& z = a.zones[static_cast<size_t>(k)];
        if (!zona_dibuixada(z)) continue;
        tria_zones_mouse << nom_zona(k, false);
        tria_zones_web << nom_zona(k, true);
    }
}

void ModelAccions::carregar() {
    tecles.clear();
    tecla_seleccionada = -1;
    caixa_teclat = {};
    llista_veu.clear();
    llista_zones_mouse.clear();
    llista_zones_web.clear();
    niv_so = 0;
    nivell_so = {QStringLiteral("0"), QStringLiteral("128")};
    // Word 15 is not offered: the activity file keeps words 0 to 14 only.
    veu1 = {text_idioma(48)};
    zona_ultima_usada = zones_ultima(a);
    for (int k = 1; k <= 14; ++k)
        veu1 << text_idioma(32) + QString::number(k).rightJustified(2, u'0');
    omplir_combos_zones();
    // Setting the combo's text runs its change handler before the fill.
    tria_zones_mouse_change();
    omplir();
}

void ModelAccions::omplir() {
    item_guardat = it;
    sons = a.paraules_veu[0];
    decimes = numero_text(a.decimes_veu);
    tecles_actualitzar();
    serie_visual.clear();
    posar_paraula(it.serie);
    for (int i = 0; i <= 10; ++i)
        web_click(i, it.web[static_cast<size_t>(i)]);
    for (int i = 0; i <= 7; ++i)
        jostick_click(i, it.jostick[static_cast<size_t>(i)]);
    for (int i = 0; i <= 14; ++i)
        if (it.veu[static_cast<size_t>(i)] == 1)
            llista_veu << text_idioma(32) + QString::number(i).rightJustified(2, u'0');
    if (it.nivell[0] == 1) {
        // Written like any number, then clamped by the boxes' own change.
        nivell_so_canviar(0, numero_text(it.nivell[1]));
        nivell_so_canviar(1, numero_text(it.nivell[2]));
        niv_so_click(1);
    }
    for (int i = 0; i <= 2; ++i)
        ratoli_click(i, it.ratoli[static_cast<size_t>(i)]);
    for (qsizetype p = 0; p + 3 <= it.zones_ratoli.size(); p += 3)
        llista_zones_mouse << nom_zona(it.zones_ratoli.mid(p + 1, 2).toInt(nullptr, 16), false);
    for (qsizetype p = 0; p + 3 <= it.zones_web.size(); p += 3)
        llista_zones_web << nom_zona(it.zones_web.mid(p + 1, 2).toInt(nullptr, 16), true);
    recalcular_exclusio();
    if (interficie_zones().zones_mostrar_visor) interficie_zones().zones_mostrar_visor(0);
}

// ------------------------------------------------------------------ keys

void ModelAccions::teclat_click(int index, int16_t valor) {
    if (index < 0 || index > 10) return;
    caixa_teclat[static_cast<size_t>(index)] = valor;
    it.teclat[static_cast<size_t>(index)] = valor;
}

void ModelAccions::tecles_afagir(const QString& vtec) {
    if (tecles.contains(vtec)) return;
    const int o = opcio_de_tecla(vtec);
    if (o >= 0) {
        it.teclat[static_cast<size_t>(o)] = 1;
        teclat_click(o, 1);
    } else {
        it.tecles_llista += vtec;
        it.teclat[3] = 1;
    }
    tecles << vtec;
    tecla_seleccionada = static_cast<int>(tecles.size()) - 1;
}

void ModelAccions::tecles_esborrar(int index) {
    it.tecles_llista.clear();
    for (int i = 0; i < tecles.size(); ++i) {
        const int16_t guardat = i != index ? 1 : 0;
        const int o = opcio_de_tecla(tecles[i]);
        if (o >= 0) teclat_click(o, guardat);
        if (guardat) it.tecles_llista += tecles[i];
    }
    it.teclat[3] = it.tecles_llista.isEmpty() ? 0 : 1;
}

void ModelAccions::tecles_actualitzar() {
    const std::array<int16_t, 11> t = it.teclat;
    for (int i = 0; i <= 10; ++i) {
        if (t[static_cast<size_t>(i)] == 0) continue;
        switch (i) {
        case 0:
        case 4:
        case 5:
            teclat_click(i, 1);
            break;
        case 1:
            tecles << terme(QStringLiteral("{ENTER}"));
            break;
        case 2:
            tecles << terme(QStringLiteral("{ESPAI}"));
            break;
        case 3: {
            const QString v = codis_a_text(it.tecles_llista, 0);
            for (const QString& e : v.split(SEPARA, Qt::SkipEmptyParts)) {
                if (e.size() >= 2 && e.startsWith(MICRO) && e.endsWith(MICRO))
                    tecles << e.mid(1, e.size() - 2);
                else
                    tecles << u'{' + e + u'}';
            }
            break;
        }
        case 6:
            tecles << terme(QStringLiteral("{Cur.Amunt}"));
            break;
        case 7:
            tecles << terme(QStringLiteral("{Cur.Avall}"));
            break;
        case 8:
            tecles << terme(QStringLiteral("{Cur.Dreta}"));
            break;
        case 9:
            tecles << terme(QStringLiteral("{Cur.Esque}"));
            break;
        default:
            break;
        }
    }
}

void ModelAccions::tecles_suprimir() {
    const int k = tecla_seleccionada;
    if (k < 0 || k >= tecles.size()) return;
    tecles_esborrar(k);
    tecles.removeAt(k);
    tecla_seleccionada = k - 1;
}

void ModelAccions::ok_text(const QString& text) {
    if (text.isEmpty()) return;
    if (serie_marcada())
        series_afagir(text);
    else
        tecles_afagir(text);
}

void ModelAccions::teclat_pantalla(int index) {
    const QString t = token_teclat_pantalla(index);
    if (t.isEmpty()) return;
    if (!serie_marcada()) {
        if (index == 23) it.teclat[1] = 1;
        if (index == 36) it.teclat[2] = 1;
    }
    if (serie_marcada())
        series_afagir(t);
    else
        tecles_afagir(t);
}

// ------------------------------------------------------------------ series

void ModelAccions::posar_paraula(const QString& text) {
    paraula = text;
    it.serie = text;
    caixa_teclat[10] = text.isEmpty() ? 0 : 1;
    it.teclat[10] = caixa_teclat[10];
    recalcular_exclusio();
    serie_visual = codis_a_text(text, 0);
    serie_total = llista_comptar(serie_visual, QString(SEPARA));
    refrescar_icones(true);
}

QString ModelAccions::entrada_icona(int i) const {
    const int e = serie_primer + i;
    if (e < 1 || e > serie_total) return {};
    return llista_element(serie_visual, e, QString(SEPARA));
}

void ModelAccions::refrescar_icones(bool mostrar_ultimes) {
    if (mostrar_ultimes && serie_total > 7) serie_primer = serie_total - 7;
    if (serie_primer > serie_total) serie_primer = std::max(0, serie_total - 7);
}

void ModelAccions::marcar(int i) {
    marcada = {};
    if (i >= 1 && i <= 7) marcada[static_cast<size_t>(i)] = true;
}

void ModelAccions::series_afagir(const QString& vtec) {
    if (vtec.isEmpty()) return;
    int pos = 8;
    for (int i = 1; i <= 7; ++i)
        if (entrada_icona(i).isEmpty() || marcada[static_cast<size_t>(i)]) {
            pos = i;
            break;
        }
    const int abans = serie_primer + pos; // the new token goes before this entry
    QStringList davant, darrere;
    for (int i = 1; i <= serie_total; ++i)
        (i < abans ? davant : darrere) << llista_element(serie_visual, i, QString(SEPARA));
    // Plain runs go back bare: a run in braces would read as one unknown key.
    const QString primer = serie_de_entrades(davant) + vtec;
    const QString text = primer + serie_de_entrades(darrere);
    ++serie_total;
    if (serie_total > 7) serie_primer = serie_total - 7;
    posar_paraula(text);
    cursor = static_cast<int>(primer.size());
    seleccio = 0;
}

void ModelAccions::inserir_al_cursor(const QString& token) {
    if (cursor <= 0) cursor = static_cast<int>(paraula.size());
    const int p = std::min(cursor, static_cast<int>(paraula.size()));
    const int l = std::clamp(seleccio, 0, static_cast<int>(paraula.size()) - p);
    posar_paraula(paraula.left(p) + token + paraula.mid(p + l));
    cursor = p + static_cast<int>(token.size());
    seleccio = 0;
}

void ModelAccions::icona_premer(int i, bool dret) {
    // The caret goes after this icon's token, never inside it.
    if (i >= 1 && i <= 7 && !entrada_icona(i).isEmpty()) {
        cursor = fi_entrada_serie(paraula, serie_primer + i);
        seleccio = 0;
    }
    // An arrow too: the raised icons would name other entries once scrolled.
    const int abans = serie_primer + i - 1;
    if (abans >= 1 && abans <= serie_total && !llista_element(serie_visual, abans, QString(SEPARA)).isEmpty())
        marcar(i);
    if (dret) {
        marcar(i);
        return;
    }
    if (i == 8 && serie_primer > 0) --serie_primer;
    if (i == 9 && serie_primer < serie_total) ++serie_primer;
    refrescar_icones(false);
    if (i >= 1 && i <= 6 && !entrada_icona(i).isEmpty()) marcada[static_cast<size_t>(i)] = true;
}

void ModelAccions::icona_deixar(int desti, int arrossegada) {
    posar_paraula(llista_index(desti, arrossegada, serie_primer, serie_total, serie_visual));
}

void ModelAccions::icones_esborrar() {
    QStringList r;
    for (int e = 1; e <= serie_total; ++e) {
        const int icona = e - serie_primer;
        if (icona >= 1 && icona <= 7 && marcada[static_cast<size_t>(icona)]) continue;
        r << llista_element(serie_visual, e, QString(SEPARA));
    }
    marcada = {};
    posar_paraula(serie_de_entrades(r));
}

// ------------------------------------------------------------------ mouse, webcam, joystick

void ModelAccions::ratoli_click(int index, int16_t valor) {
    if (index >= 0 && index <= 3) it.ratoli[static_cast<size_t>(index)] = valor;
}

void ModelAccions::web_click(int index, int16_t valor) {
    if (index >= 0 && index <= 11) it.web[static_cast<size_t>(index)] = valor;
}

void ModelAccions::jostick_click(int index, int16_t valor) {
    if (index >= 0 && index <= 7) it.jostick[static_cast<size_t>(index)] = valor;
}

void ModelAccions::boto_token(const QString& control, int index) {
    QString token;
    if (control == QLatin1String("mouse")) {
        if (!llista_marcada() && !serie_marcada())
            ratoli_click(index, static_cast<int16_t>(1 - it.ratoli[index]));
        token = token_ratoli(index);
    } else if (control == QLatin1String("joy")) {
        if (!llista_marcada() && !serie_marcada())
            jostick_click(index, static_cast<int16_t>(1 - it.jostick[static_cast<size_t>(index)]));
        token = token_joystick(index);
    } else if (control == QLatin1String("web")) {
        if (!llista_marcada() && !serie_marcada())
            web_click(index, static_cast<int16_t>(1 - it.web[static_cast<size_t>(index)]));
        token = token_web(index);
    } else if (control == QLatin1String("so")) {
        if (!llista_marcada() && !serie_marcada()) niv_so_click(static_cast<int16_t>(1 - niv_so));
        token = token_nivell(nivell_so[0], nivell_so[1]);
    }
    if (serie_marcada() && !token.isEmpty()) inserir_al_cursor(token);
}

bool ModelAccions::tria_zona(bool web, int index) {
    const QStringList& combo = web ? tria_zones_web : tria_zones_mouse;
    if (index <= 0 || index >= combo.size()) return false;
    const int z = numero_zona(combo[index], web);
    const QString codi = (web ? u'W' : u'H') + hex2(z);
    QString& zones = web ? it.zones_web : it.zones_ratoli;
    if (!serie_marcada()) {
        if (posicio_codi(zones, codi) >= 0) return false;
        (web ? llista_zones_web : llista_zones_mouse) << combo[index];
        if (web)
            it.web[11] = 1;
        else
            it.ratoli[3] = 1;
        zones += codi;
        zona_ultima_usada = std::max(zona_ultima_usada, z);
        return true;
    }
    inserir_al_cursor(token_zona(z, web));
    return false;
}

void ModelAccions::tria_zones_mouse_change() {
    if (llista_zones_mouse.size() >= 2) it.ratoli[3] = 1;
    if (it.ratoli[3] < 0 || it.ratoli[3] > a.zones_max) it.ratoli[3] = 0;
}

void ModelAccions::esborrar_zona(bool web, int index) {
    QStringList& llista = web ? llista_zones_web : llista_zones_mouse;
    if (index < 0 || index >= llista.size()) return;
    const int z = numero_zona(llista[index], web);
    const QString codi = (web ? u'W' : u'H') + hex2(z);
    QString& zones = web ? it.zones_web : it.zones_ratoli;
    const qsizetype p = posicio_codi(zones, codi);
    if (p >= 0) zones.remove(p, 3);
    if (zones.isEmpty()) (web ? it.web[11] : it.ratoli[3]) = 0;
    llista.removeAt(index);
    zona_ultima_usada = zones_ultima(a);
}

int ModelAccions::entrada_zona(bool web, int z) const {
    // A label names a zone number; the combo skips free slots.
    const QStringList& combo = web ? tria_zones_web : tria_zones_mouse;
    for (int i = 1; i < combo.size(); ++i)
        if (numero_zona(combo[i], web) == z) return i;
    return 0;
}

// ------------------------------------------------------------------ voice and level

bool ModelAccions::item_usa_veu() const {
    return !llista_veu.isEmpty() || it.serie.contains(u'{' + text_idioma(32));
}

bool ModelAccions::item_usa_nivell() const {
    return it.nivell[0] == 1 || it.serie.contains(u'{' + terme(QStringLiteral("Soroll entre ")));
}

void ModelAccions::recalcular_exclusio() {
    d.fonemes_item = item_usa_veu() ? CERT : FALS;
    d.nivell_so_item = item_usa_nivell() ? CERT : FALS;
    controlveu_so();
}

void ModelAccions::controlveu_so() {
    nivell_actiu = d.fonemes_item + d.fonemes_actiu == 0;
    entrenament_actiu = d.nivell_so_item + d.nivell_so_actiu == 0;
}

void ModelAccions::niv_so_click(int16_t valor) {
    niv_so = valor;
    if (valor == 1) {
        it.nivell = {1, valor_caixa(nivell_so[0]), valor_caixa(nivell_so[1])};
    } else if (valor == 0) {
        it.nivell = {0, 0, 0};
    }
    recalcular_exclusio();
}

void ModelAccions::nivell_so_canviar(int index, const QString& text) {
    if (index < 0 || index > 1) return;
    nivell_so[static_cast<size_t>(index)] = text;
    const double v = valor_inicial(text);
    if (v < 1)
        nivell_so[static_cast<size_t>(index)] = QStringLiteral("0");
    else if (v > 128)
        nivell_so[static_cast<size_t>(index)] = QStringLiteral("128");
    if (niv_so == 1)
        it.nivell[static_cast<size_t>(index) + 1] = valor_caixa(nivell_so[static_cast<size_t>(index)]);
}

void ModelAccions::nivell_so_perdre_focus() {
    if (valor_caixa(nivell_so[1]) < valor_caixa(nivell_so[0])) {
        const QString baix = nivell_so[1];
        const QString alt = nivell_so[0];
        nivell_so_canviar(0, baix);
        nivell_so_canviar(1, alt);
    }
}

bool ModelAccions::veu_triar(int k) {
    if (k <= 0 || k >= veu1.size()) return false;
    const QString text = veu1[k];
    const bool afegida = !llista_marcada() && !serie_marcada() && !llista_veu.contains(text);
    if (afegida) {
        it.veu[static_cast<size_t>(k)] = 1;
        llista_veu << text;
        series_llista_actualitzar(a, item_mostrat(), k, 1, &it);
        sons = a.paraules_veu[0];
    }
    if (serie_marcada()) {
        series_llista_actualitzar(a, item_mostrat(), k, 1, &it);
        inserir_al_cursor(token_veu(numero_des_de(text, text_idioma(32).size())));
        sons = a.paraules_veu[0];
    }
    recalcular_exclusio();
    return afegida;
}

void ModelAccions::veu_esborrar(int index) {
    if (index < 0 || index >= llista_veu.size()) return;
    const int k = numero_des_de(llista_veu[index], text_idioma(32).size());
    if (k >= 0 && k <= 15) it.veu[static_cast<size_t>(k)] = 0;
    llista_veu.removeAt(index);
    series_llista_actualitzar(a, item_mostrat(), k, 0, &it);
    sons = a.paraules_veu[0];
    recalcular_exclusio();
}

// ------------------------------------------------------------------ ways out

int ModelAccions::acceptar(bool pagina_teclat, QString& llista_tecles) {
    if (pagina_teclat && !llista_tecles.isEmpty()) {
        // Refused before it reaches the item, where it would turn to characters.
        if (!text_accio_valid(llista_tecles)) return 49;
        ok_text(llista_tecles);
        llista_tecles.clear();
    }
    if (!text_accio_valid(it.tecles_llista)) return 49;
    if (!text_accio_valid(paraula)) return 50;
    desar_decimes();
    return 0;
}

int ModelAccions::tancar_finestra(const QString& llista_tecles) {
    // The typed key text is checked as Accept would, but not added.
    if (!text_accio_valid(llista_tecles)) return 49;
    QString cap;
    return acceptar(false, cap);
}

void ModelAccions::cancellar() {
    it = item_guardat;
    desar_decimes();
}

void ModelAccions::desar_decimes() {
    a.decimes_veu = valor_caixa(decimes);
}

} // namespace lumi
