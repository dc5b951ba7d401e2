#include "platform/veu_nucli.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <complex>
#include <limits>
#include <numeric>
#include <numbers>
#include <system_error>
#include <thread>

namespace lumi::plataforma::veu {

namespace {

constexpr int FINESTRA = 400; // 25 ms analysis frame
constexpr int FFT = 512;
constexpr int FILTRES = static_cast<int>(BANDES);
constexpr int COEFICIENTS = 12; // c1 to c12: c0 (loudness) says nothing of the sound
constexpr double RANG_DB = 30;  // the bands' range over the floor
constexpr double MIN_DB = 38;   // quieter than this is never speech
constexpr double SOBRE_DB = 8;  // onset above the noise floor
constexpr double SOTA_DB = 8;   // end near the floor
constexpr int TRAMES_INICI = 3; // frames above the floor that make an onset
constexpr int TRAMES_FI = static_cast<int>(SEGONS_SILENCI_FI * MOSTRES_PER_SEGON / MOSTRES_TRAMA + 0.5);
constexpr int TRAMES_ABANS = 5;         // kept from before the onset
constexpr int TRAMES_ABANS_SOROLL = 15; // of a steady noise a sound rises over
constexpr int TRAMES_MINIMES = 10;
constexpr size_t TRAMES_SALA = 10; // the first heard, the room alone
// A steady noise before a sound: at least this long, within this spread.
constexpr int TRAMES_FERM = 10;
constexpr int TRAMES_FERM_MAXIMES = 80;
constexpr double FERM_DB = 5;
// A steady stretch this voiced is the sound's own start (a hum, the m of
// "ma"), not a noise: noises stay under 0.4, voices over 0.6.
constexpr double FERM_SONORITAT = 0.5;
// Steps of a path's costliest stretch: short, so a consonant the other
// sound lacks stands out.
constexpr int TRAM_PITJOR = 2;
// Where a sound starts on the frame grid is chance: a fall that lands
// between two frames leaves a frame half loud, one that does not leaves
// none, and the costliest stretch sees the difference. Takes are matched on
// the grid that suits them best of three.
constexpr int FASES = 3;
constexpr size_t TRAMES_DELTA = 2;
constexpr double NORMA_DELTA = 10; // twice the sum of the squared offsets
// Voicing: pitch periods of 2 to 16.7 ms (60 to 500 Hz) over a 25 ms window,
// every other frame within 20 dB of the loudest, and the share of them that
// tells a voice however short its voiced part.
constexpr int PERIODE_MINIM = 32, PERIODE_MAXIM = 267;
constexpr double SONORITAT_DB = 20, SONORITAT_QUANTIL = 0.9;
// A take is out of its sound when it is far less voiced than the others
// (a cough or a noise among vowels): by this much, and below this share.
constexpr double PRESA_SONORITAT_MARGE = 0.2, PRESA_SONORITAT_PART = 0.7;
// Unless it lies among its own by sound: then only this far below. On the
// tuning seeds real weak takes lie at most 1.83 times further from their
// own than those from each other, noises 2.78 and up or voiced under 0.39.
constexpr double PRESA_SONORITAT_PART_PROPERA = 0.45, PRESA_PROPERA = 2.2;
// Or far shorter than they are (a false start): on the tuning seeds, now
// that training asks to confirm a doubtful three, false starts reach 0.69
// of their entry's other takes, real takes of a clean session 0.77 and up
// (a real take under it in a session with strays is said again).
constexpr double PRESA_MIDA_PART = 0.72;
// Judged by two others, a weak one by it and a stronger one this many times
// further from both: the stronger is the sound's, the weak pair strays that
// came first (a cough and a noise before a hum lay 1.7 times further from it
// than from each other; a weak hum lies nearer its voiced takes).
constexpr double PRESA_APART = 1.5;
// Or when another entry holds two takes nearer it than its own, both within
// this many times that entry's spread: it sits among that entry's takes.
constexpr double PRESA_DINS = 2.5;
// Or when its nearest own take lies this many times further than its own
// others lie from theirs: on the tuning seeds real takes reach 2.57, strays
// 2.79 but for a false start of the sound itself.
constexpr double PRESA_LLUNY = 2.7;
// With only two others to measure by, a take this much further from its
// nearest than they are from each other makes its entry ask for one more:
// on the tuning seeds no genuine take of a clean session reaches it.
constexpr double PRESA_DUBTE = 2.2;
// It asks so many times: when every take that came in reply is set aside
// too (the three so close that a real take looks far), the three stand and
// training goes on. Once let three more strays stand on the held-out sets.
constexpr size_t RESPOSTES_DUBTE = 2;
// Whether a match stands out: the weights of the logs of its score over
// the runner-up's, over the other entries' takes' mean, over its own takes'
// spread, and of its place between these and the other entries' takes; and
// the most the sum may reach.
constexpr double PES_PROPORCIO = 0.5, PES_COHORT = 2, PES_DISPERSIO = 0.5, PES_SEPARACIO = 1;
constexpr double NOTA_MAXIMA = -1.15;
// An entry's spread is drawn this far, on a log scale, towards the mean of
// all entries': three takes say little of it alone.
constexpr double PART_DISPERSIO_COMUNA = 0.5;
// Two stretches are compared each with this share of the other's room noise
// added: enough to cover either room's colour, little enough to leave a
// quiet band its shape.
constexpr double PART_SOROLL = 0.5;
// An utterance keeps this share of the entry's least voiced take's voicing:
// a hum or a take under noise may fall far, a noise burst falls further.
constexpr double SONORITAT_PART = 0.3;
constexpr int MOSTRES_PRESA_MAXIMES = 3 * MOSTRES_PER_SEGON; // a training take

void fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double ang = -2 * std::numbers::pi / static_cast<double>(len);
        const std::complex<double> w(std::cos(ang), std::sin(ang));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> u(1);
            for (size_t k = 0; k < len / 2; ++k) {
                const auto x = a[i + k], y = a[i + k + len / 2] * u;
                a[i + k] = x + y;
                a[i + k + len / 2] = x - y;
                u *= w;
            }
        }
    }
}

double mel(double hz) {
    return 2595 * std::log10(1 + hz / 700);
}

double hz(double m) {
    return 700 * (std::pow(10, m / 2595) - 1);
}

struct Banc {
    std::vector<std::vector<double>> filtres;     // weight of each FFT bin
    std::vector<std::pair<size_t, size_t>> trams; // of each filter, the bins it weighs
    std::vector<double> hamming;
    std::array<std::array<double, COEFICIENTS>, FILTRES> dct; // band by band
    Banc() {
        const double lo = mel(60), hi = mel(7600);
        std::vector<double> punts(FILTRES + 2);
        for (int i = 0; i < FILTRES + 2; ++i)
            punts[static_cast<size_t>(i)] = hz(lo + (hi - lo) * i / (FILTRES + 1)) * FFT / MOSTRES_PER_SEGON;
        for (int f = 1; f <= FILTRES; ++f) {
            std::vector<double> w(FFT / 2 + 1);
            const double a = punts[static_cast<size_t>(f - 1)], b = punts[static_cast<size_t>(f)],
                         c = punts[static_cast<size_t>(f + 1)];
            for (int k = 0; k <= FFT / 2; ++k) {
                if (k > a && k <= b) w[static_cast<size_t>(k)] = (k - a) / (b - a);
                if (k > b && k < c) w[static_cast<size_t>(k)] = (c - k) / (c - b);
            }
            const auto pes = [](double x) { return x > 0; };
            const auto primer = std::find_if(w.begin(), w.end(), pes);
            const auto darrer = std::find_if(w.rbegin(), w.rend(), pes).base();
            trams.emplace_back(primer - w.begin(), std::max(primer, darrer) - w.begin());
            filtres.push_back(std::move(w));
        }
        for (int i = 0; i < FINESTRA; ++i)
            hamming.push_back(0.54 - 0.46 * std::cos(2 * std::numbers::pi * i / (FINESTRA - 1)));
        for (int c = 1; c <= COEFICIENTS; ++c)
            for (int f = 0; f < FILTRES; ++f)
                dct[static_cast<size_t>(f)][static_cast<size_t>(c - 1)] =
                    std::cos(std::numbers::pi * c * (f + 0.5) / FILTRES);
    }
};

const Banc& banc() {
    static const Banc b;
    return b;
}

double potencia(const int16_t* t, int n) {
    double s = 0;
    for (int i = 0; i < n; ++i)
        s += static_cast<double>(t[i]) * t[i];
    return s / n;
}

using Bandes = std::vector<std::array<double, BANDES>>;

// The mel bands' energies, frame by frame.
Bandes bandes_de(const Mostres& so) {
    const Banc& b = banc();
    Bandes bandes;
    if (so.size() < FINESTRA) return bandes;
    std::vector<std::complex<double>> x(FFT);
    for (size_t inici = 0; inici + FINESTRA <= so.size(); inici += MOSTRES_TRAMA) {
        std::fill(x.begin(), x.end(), 0);
        for (size_t i = 0; i < FINESTRA; ++i) {
            const double anterior = i + inici > 0 ? so[inici + i - 1] : 0;
            x[i] = (so[inici + i] - 0.97 * anterior) * b.hamming[i];
        }
        fft(x);
        auto& e = bandes.emplace_back();
        for (size_t f = 0; f < BANDES; ++f) {
            e[f] = 0;
            for (size_t k = b.trams[f].first; k < b.trams[f].second; ++k)
                if (b.filtres[f][k] > 0) e[f] += b.filtres[f][k] * std::norm(x[k]);
        }
    }
    return bandes;
}

// MFCC of the bands with a noise added to every frame, each coefficient less
// its mean over the stretch (so a microphone's colour or a level change does
// not count), and their deltas: DIMENSIONS values a frame, frame after frame.
constexpr size_t DIMENSIONS = 2 * COEFICIENTS;
std::vector<float> trets_de(Bandes bandes, const std::array<double, BANDES>& afegit) {
    const Banc& b = banc();
    std::vector<float> t;
    if (bandes.empty()) return t;
    double pic = 0;
    for (auto& e : bandes)
        for (size_t f = 0; f < BANDES; ++f) {
            e[f] += afegit[f];
            pic = std::max(pic, e[f]);
        }
    // What lies far under the loudest band of the stretch (a room's noise,
    // other in every room) is levelled to one floor.
    const double terra = pic * std::pow(10, -RANG_DB / 10) + 1;
    const size_t n = bandes.size();
    t.resize(n * DIMENSIONS);
    for (size_t i = 0; i < n; ++i) {
        // Every coefficient at once, each summed band after band.
        std::array<double, COEFICIENTS> c{};
        for (size_t f = 0; f < BANDES; ++f) {
            const double l = std::log(bandes[i][f] + terra);
            for (size_t k = 0; k < COEFICIENTS; ++k)
                c[k] += b.dct[f][k] * l;
        }
        for (size_t k = 0; k < COEFICIENTS; ++k)
            t[i * DIMENSIONS + k] = static_cast<float>(c[k]);
    }
    for (size_t k = 0; k < COEFICIENTS; ++k) {
        double mitjana = 0;
        for (size_t i = 0; i < n; ++i)
            mitjana += t[i * DIMENSIONS + k];
        mitjana /= static_cast<double>(n);
        for (size_t i = 0; i < n; ++i)
            t[i * DIMENSIONS + k] -= static_cast<float>(mitjana);
    }
    // And how each coefficient moves, over two frames either side: a
    // consonant's quick change tells "mo" from "o" where the spectra alone
    // are close.
    for (size_t i = 0; i < n; ++i)
        for (size_t k = 0; k < COEFICIENTS; ++k) {
            double d = 0;
            for (size_t o = 1; o <= TRAMES_DELTA; ++o)
                d += static_cast<double>(o) *
                     (t[std::min(n - 1, i + o) * DIMENSIONS + k] - t[(i >= o ? i - o : 0) * DIMENSIONS + k]);
            t[i * DIMENSIONS + COEFICIENTS + k] = static_cast<float>(d / NORMA_DELTA);
        }
    return t;
}

// The frame distance of frame i of `a` and frame j of `b`, `dim` values each.
double cost_trama(const float* a, const float* b, size_t dim) {
    double d = 0;
    for (size_t k = 0; k < dim; ++k) {
        const double x = a[k] - b[k];
        d += x * x;
    }
    return std::sqrt(d);
}

// The alignment of two stretches of `dim` values a frame. The frame
// distances are worked out a row at a time, every column at once.
Alineacio alinear(const std::vector<float>& a, const std::vector<float>& b, size_t dim) {
    const size_t n = a.size() / dim, m = b.size() / dim;
    const double inf = std::numeric_limits<double>::infinity();
    if (n == 0 || m == 0) return {inf, inf};
    // `b` value by value, frame after frame, padded to whole blocks of
    // BLOC frames: a block's distances are summed side by side.
    constexpr size_t BLOC = 4;
    const size_t mb = (m + BLOC - 1) / BLOC * BLOC;
    std::vector<float> bt(dim * mb);
    for (size_t j = 0; j < m; ++j)
        for (size_t k = 0; k < dim; ++k)
            bt[k * mb + j] = b[j * dim + k];
    // The cheapest step into each cell: 0 diagonal, 1 from above, 2 from the left.
    std::vector<uint8_t> pas(n * m);
    std::vector<double> abans(m + 1, inf), ara(m + 1, inf), fila(mb);
    abans[0] = 0;
    for (size_t i = 1; i <= n; ++i) {
        const float* x = a.data() + (i - 1) * dim;
        for (size_t j = 0; j < mb; j += BLOC) {
            std::array<double, BLOC> suma{};
            for (size_t k = 0; k < dim; ++k) {
                const float* y = bt.data() + k * mb + j;
                for (size_t l = 0; l < BLOC; ++l) {
                    const double d = x[k] - y[l];
                    suma[l] += d * d;
                }
            }
            for (size_t l = 0; l < BLOC; ++l)
                fila[j + l] = std::sqrt(suma[l]);
        }
        ara[0] = inf;
        for (size_t j = 1; j <= m; ++j) {
            const double d = fila[j - 1];
            const double diag = abans[j - 1] + 2 * d, amunt = abans[j] + d, esquerra = ara[j - 1] + d;
            uint8_t p = 0;
            double v = diag;
            if (amunt < v) v = amunt, p = 1;
            if (esquerra < v) v = esquerra, p = 2;
            ara[j] = v;
            pas[(i - 1) * m + j - 1] = p;
        }
        std::swap(abans, ara);
    }
    // Back along the path: the costliest stretch of it, where one sound has
    // a part the other lacks (a syllable more), however short.
    std::vector<double> cami;
    for (size_t i = n - 1, j = m - 1;;) {
        cami.push_back(cost_trama(a.data() + i * dim, b.data() + j * dim, dim));
        if (i == 0 && j == 0) break;
        const uint8_t p = i == 0 ? 2 : j == 0 ? 1 : pas[i * m + j];
        if (p != 2) --i;
        if (p != 1) --j;
    }
    const size_t w = std::min<size_t>(TRAM_PITJOR, cami.size());
    double suma = std::accumulate(cami.begin(), cami.begin() + static_cast<std::ptrdiff_t>(w), 0.0),
           pitjor = suma;
    for (size_t k = w; k < cami.size(); ++k) {
        suma += cami[k] - cami[k - w];
        pitjor = std::max(pitjor, suma);
    }
    return {abans[m] / static_cast<double>(n + m), pitjor / static_cast<double>(w)};
}

} // namespace

Sala sala_de(const Mostres& so, bool altres_fases) {
    Sala s;
    s.bandes = bandes_de(so);
    for (int k = 1; altres_fases && k < FASES; ++k) {
        const auto inici = static_cast<std::ptrdiff_t>(k * MOSTRES_TRAMA / FASES);
        if (so.size() >= static_cast<size_t>(inici + FINESTRA))
            s.altres_fases.push_back(bandes_de(Mostres(so.begin() + inici, so.end())));
    }
    // The frames the detector keeps before the onset and after the end,
    // band by band the quieter: the room, whatever sound starts or ends.
    const size_t n = s.bandes.size();
    constexpr size_t vora = TRAMES_ABANS;
    if (n >= 4 * vora)
        for (size_t f = 0; f < BANDES; ++f) {
            double abans = 0, despres = 0;
            for (size_t i = 0; i < vora; ++i) {
                abans += s.bandes[i][f];
                despres += s.bandes[n - 1 - i][f];
            }
            s.soroll[f] = std::min(abans, despres) / vora;
        }
    for (const auto& e : s.bandes)
        for (double x : e)
            s.pic = std::max(s.pic, x);
    return s;
}

namespace {

// The noise each of two stretches gets of the other's room.
std::pair<std::array<double, BANDES>, std::array<double, BANDES>> sorolls(const Sala& a, const Sala& b) {
    auto per_a = b.soroll, per_b = a.soroll;
    for (auto& x : per_a)
        x *= PART_SOROLL * a.pic / b.pic;
    for (auto& x : per_b)
        x *= PART_SOROLL * b.pic / a.pic;
    return {per_a, per_b};
}

// A stretch's features on each of its frame grids, with `afegit` in every band.
std::vector<std::vector<float>> trets_fases(const Sala& s, const std::array<double, BANDES>& afegit) {
    std::vector<std::vector<float>> t{trets_de(s.bandes, afegit)};
    for (const auto& fase : s.altres_fases)
        t.push_back(trets_de(fase, afegit));
    return t;
}

// `a` against whichever of `fases` matches best.
Alineacio millor_fase(const std::vector<float>& a, const std::vector<std::vector<float>>& fases) {
    Alineacio millor = alinear(a, fases[0], DIMENSIONS);
    for (size_t k = 1; k < fases.size(); ++k) {
        const Alineacio al = alinear(a, fases[k], DIMENSIONS);
        if (al.mitjana + al.pitjor < millor.mitjana + millor.pitjor) millor = al;
    }
    return millor;
}

} // namespace

Alineacio alinear_en_sala(const Sala& a, const Sala& b) {
    const auto [per_a, per_b] = sorolls(a, b);
    return millor_fase(trets_de(a.bandes, per_a), trets_fases(b, per_b));
}

std::pair<Alineacio, Alineacio> alinear_en_sala_dos(const Sala& a, const Sala& b) {
    // Each way gives each stretch the same noise: its features serve both.
    const auto [per_a, per_b] = sorolls(a, b);
    const auto ta = trets_fases(a, per_a), tb = trets_fases(b, per_b);
    return {millor_fase(ta[0], tb), millor_fase(tb[0], ta)};
}

double sonoritat(const Mostres& so) {
    const size_t n = FINESTRA + PERIODE_MAXIM;
    if (so.size() < n) return 0;
    std::vector<double> x(so.size());
    for (size_t i = 0; i < so.size(); ++i)
        x[i] = so[i] - (i > 0 ? 0.97 * so[i - 1] : 0);
    std::vector<double> energies;
    for (size_t i = 0; i + n <= x.size(); i += 2 * MOSTRES_TRAMA)
        energies.push_back(std::inner_product(x.begin() + static_cast<std::ptrdiff_t>(i),
                                              x.begin() + static_cast<std::ptrdiff_t>(i + FINESTRA),
                                              x.begin() + static_cast<std::ptrdiff_t>(i), 0.0));
    const double llindar =
        *std::max_element(energies.begin(), energies.end()) * std::pow(10, -SONORITAT_DB / 10);
    std::vector<double> r;
    for (size_t f = 0; f < energies.size(); ++f) {
        if (energies[f] < llindar || energies[f] <= 0) continue;
        const double* a = x.data() + f * 2 * MOSTRES_TRAMA;
        double millor = 0;
        for (int p = PERIODE_MINIM; p <= PERIODE_MAXIM; ++p) {
            double ab = 0, bb = 0;
            for (int k = 0; k < FINESTRA; ++k) {
                ab += a[k] * a[k + p];
                bb += a[k + p] * a[k + p];
            }
            if (bb > 0) millor = std::max(millor, ab / std::sqrt(energies[f] * bb));
        }
        r.push_back(millor);
    }
    if (r.empty()) return 0;
    std::sort(r.begin(), r.end());
    return r[std::min(r.size() - 1, static_cast<size_t>(SONORITAT_QUANTIL * static_cast<double>(r.size())))];
}

namespace {
// A match's score: the distance per step plus the costliest stretch.
double nota(const Alineacio& a) {
    return a.mitjana + a.pitjor;
}
} // namespace

void Patrons::posar_etiquetes(const QStringList& etiquetes) {
    entrades.clear();
    for (const QString& e : etiquetes)
        entrades.push_back(Entrada{e, {}});
    clau_.clear();
    marcades_.clear();
    sordes_.clear();
    dubtes_.clear();
    fixades_.clear();
}

QStringList Patrons::etiquetes() const {
    QStringList l;
    for (const Entrada& e : entrades)
        l << e.etiqueta;
    return l;
}

namespace {

uint64_t clau_nova() {
    static std::atomic<uint64_t> seguent{1};
    return seguent++;
}

// f(0) to f(n - 1) on every core, in any order; none more once `aturar` is set.
template <class F> void repartir(size_t n, const std::atomic<bool>* aturar, const F& f) {
    const size_t fils = std::min<size_t>(n, std::max(1U, std::thread::hardware_concurrency()));
    std::atomic<size_t> seguent{0};
    auto treballar = [&] {
        for (size_t i = seguent++; i < n && !(aturar && *aturar); i = seguent++)
            f(i);
    };
    std::vector<std::thread> altres;
    // A thread the system will not give leaves its share to the others.
    for (size_t k = 1; k < fils; ++k) {
        try {
            altres.emplace_back(treballar);
        } catch (const std::system_error&) {
            break;
        }
    }
    treballar();
    for (std::thread& t : altres)
        t.join();
}

} // namespace

void Patrons::afegir_presa(size_t entrada, Mostres presa) {
    if (entrada >= entrades.size()) return;
    entrades[entrada].sonoritats.push_back(sonoritat(presa));
    entrades[entrada].sales.push_back(sala_de(presa, true));
    entrades[entrada].claus.push_back(clau_nova());
    entrades[entrada].preses.push_back(std::move(presa));
    clau_.clear();
}

void Patrons::esborrar_presa(size_t entrada, size_t presa) {
    if (entrada >= entrades.size() || presa >= entrades[entrada].preses.size()) return;
    Entrada& e = entrades[entrada];
    // Every take comes in through afegir_presa: the four lists run together.
    const auto k = static_cast<std::ptrdiff_t>(presa);
    e.preses.erase(e.preses.begin() + k);
    e.sonoritats.erase(e.sonoritats.begin() + k);
    e.sales.erase(e.sales.begin() + k);
    e.claus.erase(e.claus.begin() + k);
    clau_.clear();
    marcades_.clear(); // what is left is judged afresh
    sordes_.clear();
    dubtes_.clear();
    fixades_.clear();
}

bool Patrons::entrada_buida(size_t entrada) const {
    return entrada >= entrades.size() || entrades[entrada].etiqueta.trimmed().isEmpty();
}

void Patrons::refer() const {
    std::vector<size_t> clau;
    for (size_t i = 0; i < entrades.size(); ++i)
        clau.push_back(entrada_buida(i) ? 0 : entrades[i].preses.size() + 1);
    if (clau == clau_) return;
    clau_ = std::move(clau);
    if (!marques_fixades()) apartar();
    auto valida = [this](size_t i, size_t k) { return !entrada_buida(i) && !apartades_[i][k]; };
    escales_.assign(entrades.size(), {});
    for (size_t i = 0; i < entrades.size(); ++i) {
        double propia = 0, altres = 0;
        int n = 0, m = 0;
        for (size_t a = 0; a < entrades[i].preses.size(); ++a) {
            if (!valida(i, a)) continue;
            double p = std::numeric_limits<double>::infinity(), q = p;
            for (size_t j = 0; j < entrades.size(); ++j)
                for (size_t b = 0; b < entrades[j].preses.size(); ++b)
                    if (valida(j, b) && (j != i || b != a)) {
                        double& x = j == i ? p : q;
                        x = std::min(x, distancia(i, a, j, b));
                    }
            if (p < std::numeric_limits<double>::infinity()) propia += p, ++n;
            if (q < std::numeric_limits<double>::infinity()) altres += q, ++m;
        }
        escales_[i] = {n > 0 ? propia / n : 0, m > 0 ? altres / m : 0};
    }
    // Those of takes no longer here go.
    std::vector<uint64_t> vives;
    for (const Entrada& e : entrades)
        vives.insert(vives.end(), e.claus.begin(), e.claus.end());
    std::sort(vives.begin(), vives.end());
    std::erase_if(distancies_, [&](const auto& d) {
        return !std::binary_search(vives.begin(), vives.end(), d.first.first) ||
               !std::binary_search(vives.begin(), vives.end(), d.first.second);
    });
    double log_comu = 0;
    int n = 0;
    for (const Escala& e : escales_)
        if (e.propia > 0) log_comu += std::log(e.propia), ++n;
    if (n < 2) return;
    log_comu /= n;
    for (Escala& e : escales_)
        if (e.propia > 0)
            e.propia =
                std::exp((1 - PART_DISPERSIO_COMUNA) * std::log(e.propia) + PART_DISPERSIO_COMUNA * log_comu);
}

double Patrons::distancia(size_t entrada, size_t presa, size_t altra, size_t altra_presa) const {
    const auto clau = std::pair{entrades[entrada].claus[presa], entrades[altra].claus[altra_presa]};
    if (const auto d = distancies_.find(clau); d != distancies_.end()) return d->second;
    return distancies_[clau] =
               nota(alinear_en_sala(entrades[entrada].sales[presa], entrades[altra].sales[altra_presa]));
}

bool Patrons::preparar(Feina* feina) const {
    // Each pair of named entries' takes not yet kept, matched both ways at once.
    std::vector<std::pair<size_t, size_t>> preses;
    for (size_t i = 0; i < entrades.size(); ++i)
        for (size_t k = 0; !entrada_buida(i) && k < entrades[i].preses.size(); ++k)
            preses.emplace_back(i, k);
    auto clau = [&](size_t x) { return entrades[preses[x].first].claus[preses[x].second]; };
    auto sala = [&](size_t x) -> const Sala& { return entrades[preses[x].first].sales[preses[x].second]; };
    std::vector<std::pair<size_t, size_t>> parelles;
    for (size_t x = 0; x < preses.size(); ++x)
        for (size_t y = x + 1; y < preses.size(); ++y)
            if (!distancies_.count({clau(x), clau(y)}) || !distancies_.count({clau(y), clau(x)}))
                parelles.emplace_back(x, y);
    if (feina) feina->totals += parelles.size();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<std::pair<double, double>> notes(parelles.size(), {nan, nan});
    repartir(parelles.size(), feina ? &feina->aturar : nullptr, [&](size_t p) {
        const auto [xy, yx] = alinear_en_sala_dos(sala(parelles[p].first), sala(parelles[p].second));
        notes[p] = {nota(xy), nota(yx)};
        if (feina) ++feina->fetes;
    });
    for (size_t p = 0; p < parelles.size(); ++p)
        if (!std::isnan(notes[p].first)) {
            const uint64_t x = clau(parelles[p].first), y = clau(parelles[p].second);
            distancies_[{x, y}] = notes[p].first;
            distancies_[{y, x}] = notes[p].second;
        }
    if (feina && feina->aturar) return false;
    refer();
    return true;
}

void Patrons::prendre_distancies(const std::vector<size_t>& de, const std::vector<double>& d) {
    // The takes in file order: each one's entry, and its place in it.
    std::vector<std::pair<size_t, size_t>> preses;
    for (size_t x = 0, k = 0; x < de.size(); ++x, ++k) {
        if (x > 0 && de[x] != de[x - 1]) k = 0;
        preses.emplace_back(de[x], k);
    }
    auto clau = [&](size_t x) { return entrades[preses[x].first].claus[preses[x].second]; };
    const size_t n = preses.size();
    std::vector<std::pair<size_t, size_t>> conegudes;
    for (size_t x = 0; x < n; ++x)
        for (size_t y = x + 1; y < n; ++y)
            if (!std::isnan(d[x * n + y]) && !std::isnan(d[y * n + x])) conegudes.emplace_back(x, y);
    // Matched again, the first and the last must give what was kept: else
    // they were kept another way, and none is taken.
    if (conegudes.empty()) return;
    for (const auto& [x, y] : {conegudes.front(), conegudes.back()}) {
        const auto [xy, yx] = alinear_en_sala_dos(entrades[preses[x].first].sales[preses[x].second],
                                                  entrades[preses[y].first].sales[preses[y].second]);
        if (nota(xy) != d[x * n + y] || nota(yx) != d[y * n + x]) return;
    }
    for (const auto& [x, y] : conegudes) {
        distancies_[{clau(x), clau(y)}] = d[x * n + y];
        distancies_[{clau(y), clau(x)}] = d[y * n + x];
    }
}

Patrons::Marca Patrons::marca(size_t entrada, size_t presa) const {
    refer();
    const uint64_t c = entrades[entrada].claus[presa];
    const auto d = dubtes_.find(c);
    return {apartades_[entrada][presa] != 0, sordes_.count(c) > 0, dubtoses_[entrada] != 0,
            d != dubtes_.end() ? static_cast<quint32>(d->second) : 0};
}

void Patrons::fixar(std::map<uint64_t, Marca> marques) {
    marcades_.clear();
    sordes_.clear();
    dubtes_.clear();
    // Should a take come, judging goes on from these as training would.
    for (const auto& [c, m] : marques) {
        if (m.apartada) marcades_.insert(c);
        if (m.sorda) sordes_.insert(c);
        if (m.dubte > 0) dubtes_.emplace(c, m.dubte);
    }
    fixades_ = std::move(marques);
    clau_.clear();
}

bool Patrons::marques_fixades() const {
    if (fixades_.empty()) return false;
    for (const Entrada& e : entrades)
        for (uint64_t c : e.claus)
            if (!fixades_.count(c)) {
                fixades_.clear();
                return false;
            }
    apartades_.assign(entrades.size(), {});
    dubtoses_.assign(entrades.size(), 0);
    for (size_t i = 0; i < entrades.size(); ++i)
        for (uint64_t c : entrades[i].claus) {
            const Marca& m = fixades_.at(c);
            apartades_[i].push_back(!entrada_buida(i) && m.apartada);
            dubtoses_[i] = dubtoses_[i] || (!entrada_buida(i) && m.confirmar);
        }
    return true;
}

void Patrons::conservar(const Patrons& abans) {
    std::map<uint64_t, Marca> marques;
    for (size_t i = 0; i < abans.entrades.size(); ++i)
        for (size_t k = 0; k < abans.entrades[i].claus.size(); ++k)
            marques[abans.entrades[i].claus[k]] = abans.marca(i, k);
    distancies_ = abans.distancies_;
    fixar(std::move(marques));
}

bool Patrons::presa_apartada(size_t entrada, size_t presa) const {
    if (entrada >= entrades.size() || presa >= entrades[entrada].preses.size()) return true;
    refer();
    return presa < apartades_[entrada].size() && apartades_[entrada][presa];
}

Patrons::Escala Patrons::escala(size_t entrada) const {
    if (entrada >= entrades.size()) return {};
    refer();
    return escales_[entrada];
}

namespace {
// The median of `x` (at least one value); of an even count, the mean of
// the middle two, or with `baixa` the lower, so that one long stray of two
// others does not set the measure.
double mediana(std::vector<double> x, bool baixa = false) {
    std::sort(x.begin(), x.end());
    const size_t m = x.size() / 2;
    return x.size() % 2 || baixa ? x[(x.size() - 1) / 2] : (x[m - 1] + x[m]) / 2;
}
} // namespace

// Each take judged against the takes still in, its own entry's and the
// others', none in an entry of fewer than three: out when another entry
// holds two takes nearer it than any of its own (a take of another sound
// said into this entry, or a false start of one: one stray in another entry
// is never enough), when far less voiced than its entry's others (a cough
// or a noise among vowels; a sound all of whose takes are unvoiced, a
// breath or a click, keeps them) or far shorter (a false start of its own
// sound). A take once out stays out while takes only come, so strays never
// outvote the takes they stand among.
void Patrons::apartar() const {
    const size_t n = entrades.size();
    auto& fora = apartades_;
    fora.assign(n, {});
    auto jutjada = [&](size_t i) { return !entrada_buida(i) && entrades[i].preses.size() >= 3; };
    for (size_t i = 0; i < n; ++i)
        for (uint64_t c : entrades[i].claus)
            fora[i].push_back(jutjada(i) && marcades_.count(c));
    const double inf = std::numeric_limits<double>::infinity();
    // The nearest of entry j's takes still in, take l of entry i aside.
    auto propera = [&](size_t i, size_t k, size_t j, size_t llevat) {
        double d = inf;
        for (size_t l = 0; l < fora[j].size(); ++l)
            if (l != llevat && !fora[j][l]) d = std::min(d, distancia(i, k, j, l));
        return d;
    };
    // How many times further take k lies from its own nearest than its own
    // others from theirs; 0 with fewer than `minim` others in.
    auto lluny = [&](size_t i, size_t k, size_t minim) {
        std::vector<double> altres;
        for (size_t l = 0; l < fora[i].size(); ++l)
            if (l != k && !fora[i][l]) {
                double d = inf;
                for (size_t m = 0; m < fora[i].size(); ++m)
                    if (m != k && m != l && !fora[i][m]) d = std::min(d, distancia(i, l, i, m));
                altres.push_back(d);
            }
        return altres.size() < minim ? 0.0 : propera(i, k, i, k) / mediana(altres);
    };
    for (bool canvi = true; canvi;) {
        canvi = false;
        // How far each entry's takes still in lie from their nearest other.
        std::vector<double> escampat(n, 0);
        for (size_t j = 0; j < n; ++j) {
            std::vector<double> d;
            for (size_t l = 0; l < fora[j].size(); ++l)
                if (!fora[j][l] && !entrada_buida(j)) d.push_back(propera(j, l, j, l));
            if (d.size() >= 2) escampat[j] = mediana(d);
        }
        for (size_t i = 0; i < n; ++i)
            for (size_t k = 0; jutjada(i) && k < fora[i].size(); ++k) {
                if (fora[i][k]) continue;
                double propia = propera(i, k, i, k);
                // Two of its own vouch for it, those set aside too: strays
                // that came first, still in, must not set each genuine take
                // aside in turn, whether one or two.
                std::vector<double> totes;
                for (size_t l = 0; l < fora[i].size(); ++l)
                    if (l != k) totes.push_back(distancia(i, k, i, l));
                std::nth_element(totes.begin(), totes.begin() + 1, totes.end());
                propia = std::min(propia, totes[1]);
                for (size_t j = 0; j < n && !fora[i][k]; ++j) {
                    if (j == i || escampat[j] == 0) continue;
                    int properes = 0;
                    for (size_t l = 0; l < fora[j].size(); ++l) {
                        const double d = distancia(i, k, j, l);
                        properes += !fora[j][l] && d < propia && d < PRESA_DINS * escampat[j];
                    }
                    if (properes >= 2) fora[i][k] = canvi = true;
                }
                // Far from all its own, as its own are not from one another.
                if (!fora[i][k] && lluny(i, k, 3) > PRESA_LLUNY) fora[i][k] = canvi = true;
            }
    }
    for (size_t i = 0; i < n; ++i) {
        const Entrada& e = entrades[i];
        std::vector<char> menys(fora[i].size(), 0), sordes(fora[i].size(), 0);
        for (size_t k = 0; jutjada(i) && k < fora[i].size(); ++k) {
            sordes[k] = fora[i][k] && sordes_.count(e.claus[k]);
            if (fora[i][k]) continue;
            std::vector<double> sonoritats, mides;
            std::vector<size_t> altres;
            for (size_t l = 0; l < fora[i].size(); ++l)
                if (l != k && !fora[i][l]) {
                    sonoritats.push_back(e.sonoritats[l]);
                    mides.push_back(static_cast<double>(e.preses[l].size()));
                    altres.push_back(l);
                }
            if (sonoritats.size() < 2) continue;
            // Two others still in may both be strays that came first: the
            // takes set aside, but for a weak voice, may tell a stronger voice
            // (never a weaker one, which would let a stray of theirs stay).
            double s = mediana(sonoritats);
            if (sonoritats.size() < 3) {
                // Or the take and the weaker of the two are strays that came
                // first: when the weaker lies by the take and the stronger
                // apart from both, the stronger tells the voice (a trained
                // sound is voiced).
                const size_t a = altres[0], b = altres[1];
                const auto [feble, fort] =
                    e.sonoritats[a] <= e.sonoritats[b] ? std::pair{a, b} : std::pair{b, a};
                const double lo = e.sonoritats[feble], hi = e.sonoritats[fort];
                const double prop = PRESA_APART * distancia(i, k, i, feble);
                if (lo < hi - PRESA_SONORITAT_MARGE && lo < PRESA_SONORITAT_PART * hi &&
                    prop < distancia(i, k, i, fort) && prop < distancia(i, feble, i, fort))
                    s = hi;
                for (size_t l = 0; l < fora[i].size(); ++l)
                    if (l != k && fora[i][l] && !sordes_.count(e.claus[l]))
                        sonoritats.push_back(e.sonoritats[l]);
                s = std::max(s, mediana(sonoritats));
            }
            const double v = e.sonoritats[k];
            sordes[k] = v < s - PRESA_SONORITAT_MARGE && v < PRESA_SONORITAT_PART * s &&
                        (v < PRESA_SONORITAT_PART_PROPERA * s || lluny(i, k, 2) > PRESA_PROPERA);
            menys[k] = static_cast<double>(e.preses[k].size()) < PRESA_MIDA_PART * mediana(mides, true);
        }
        // A sound said now and then with little voice (an "mm" half hummed)
        // must not stall its training: a weak take that lies among its own,
        // with two other weak takes nearer it than any of its own still in,
        // is the sound's own.
        for (size_t k = 0; k < menys.size(); ++k) {
            if (!sordes[k] || fora[i][k]) continue;
            int properes = 0;
            if (lluny(i, k, 2) <= PRESA_PROPERA) {
                const double propia = propera(i, k, i, k);
                for (size_t l = 0; l < menys.size(); ++l)
                    properes += l != k && sordes[l] && distancia(i, k, i, l) < propia;
            }
            if (properes < 2) {
                menys[k] = 1;
                sordes_.insert(e.claus[k]);
            }
        }
        // A cough or a noise left out now does not tell how long the
        // sound's takes are: the others are measured again without it.
        std::vector<char> muda(menys.size(), 0);
        for (size_t k = 0; k < menys.size(); ++k)
            muda[k] = !fora[i][k] && menys[k] && sordes_.count(e.claus[k]);
        const bool alguna = std::count(muda.begin(), muda.end(), 1) > 0;
        for (size_t k = 0; alguna && k < menys.size(); ++k) {
            if (fora[i][k] || muda[k]) continue;
            std::vector<double> mides;
            for (size_t l = 0; l < menys.size(); ++l)
                if (l != k && !fora[i][l] && !muda[l])
                    mides.push_back(static_cast<double>(e.preses[l].size()));
            menys[k] = mides.size() >= 2 &&
                       static_cast<double>(e.preses[k].size()) < PRESA_MIDA_PART * mediana(mides, true);
        }
        for (size_t k = 0; k < menys.size(); ++k)
            fora[i][k] = fora[i][k] || menys[k];
    }
    dubtoses_.assign(n, 0);
    for (size_t i = 0; i < n; ++i) {
        if (!jutjada(i) || std::count(fora[i].begin(), fora[i].end(), 0) != 3) continue;
        for (size_t k = 0; k < fora[i].size(); ++k)
            if (!fora[i][k] && lluny(i, k, 2) > PRESA_DUBTE) {
                const size_t quan = dubtes_.emplace(entrades[i].claus[k], fora[i].size()).first->second;
                dubtoses_[i] = dubtoses_[i] || fora[i].size() < quan + RESPOSTES_DUBTE;
            }
    }
    for (size_t i = 0; i < n; ++i)
        for (size_t k = 0; k < fora[i].size(); ++k)
            if (fora[i][k]) marcades_.insert(entrades[i].claus[k]);
}

int Patrons::preses_valides(size_t entrada) const {
    if (entrada >= entrades.size()) return 0;
    int n = 0;
    for (size_t i = 0; i < entrades[entrada].preses.size(); ++i)
        if (!presa_apartada(entrada, i)) ++n;
    return n;
}

bool Patrons::complets(int preses_per_entrada) const {
    bool alguna = false;
    for (size_t i = 0; i < entrades.size(); ++i) {
        if (entrada_buida(i)) continue;
        alguna = true;
        if (preses_valides(i) < preses_per_entrada) return false;
    }
    return alguna;
}

bool Patrons::per_confirmar(size_t entrada, int preses_per_entrada) const {
    if (entrada_buida(entrada) || preses_valides(entrada) != preses_per_entrada) return false;
    refer();
    return dubtoses_[entrada];
}

int Patrons::pendent(int des_de, int preses_per_entrada) const {
    const size_t n = entrades.size();
    for (bool confirmar : {false, true})
        for (size_t k = 0; k < n; ++k) {
            const size_t i = (static_cast<size_t>(std::max(des_de, 0)) + k) % n;
            if (confirmar ? per_confirmar(i, preses_per_entrada)
                          : !entrada_buida(i) && preses_valides(i) < preses_per_entrada)
                return static_cast<int>(i);
        }
    return -1;
}

namespace {
const QByteArray MAGIC = QByteArrayLiteral("LUMIRAGA-SONS\n");
// Version 2 keeps the distances between takes after them: the set opens
// without matching them all again. Version 3 keeps before them what training
// left on each take, so the set opens as the teacher last saw it, and a
// checksum after each of the two, so a damaged one is never trusted.
constexpr quint32 VERSIO_FITXER = 3;
constexpr quint32 MAX_ENTRADES = 32, MAX_PRESES = 64, MAX_MOSTRES = 30 * MOSTRES_PER_SEGON;
// Raise it with any change to how takes are matched: kept distances of
// another way are worked out again (a few are checked all the same).
constexpr quint32 METODE_DISTANCIES = 1;
constexpr qint64 BYTES_MARCA = 5, BYTES_SUMA = 32;

QByteArray suma(const QByteArray& b) {
    return QCryptographicHash::hash(b, QCryptographicHash::Sha256);
}

QDataStream& preparar_flux(QDataStream& s) {
    s.setVersion(QDataStream::Qt_6_4);
    s.setByteOrder(QDataStream::LittleEndian);
    return s;
}

// A kept distance is one worked out (never negative) or none (NaN).
bool distancia_valida(double d) {
    return std::isnan(d) || (std::isfinite(d) && d >= 0);
}
} // namespace

bool Patrons::desar(const QString& fitxer) const {
    QSaveFile f(fitxer);
    if (!f.open(QIODevice::WriteOnly)) return false;
    QDataStream s(&f);
    preparar_flux(s);
    s.writeRawData(MAGIC.constData(), static_cast<int>(MAGIC.size()));
    s << VERSIO_FITXER << static_cast<quint32>(MOSTRES_PER_SEGON) << static_cast<quint32>(entrades.size());
    for (const Entrada& e : entrades) {
        s << e.etiqueta << static_cast<quint32>(e.preses.size());
        for (const Mostres& p : e.preses) {
            s << static_cast<quint32>(p.size());
            for (int16_t x : p)
                s << x;
        }
    }
    QByteArray marques, taula;
    std::vector<uint64_t> claus;
    {
        QDataStream m(&marques, QIODevice::WriteOnly);
        preparar_flux(m);
        for (size_t i = 0; i < entrades.size(); ++i)
            for (size_t k = 0; k < entrades[i].claus.size(); ++k) {
                const Marca x = marca(i, k);
                m << static_cast<quint8>(x.apartada | x.sorda << 1 | x.confirmar << 2) << x.dubte;
                claus.push_back(entrades[i].claus[k]);
            }
    }
    {
        // Take against take in file order, NaN for those not worked out.
        QDataStream t(&taula, QIODevice::WriteOnly);
        preparar_flux(t);
        for (uint64_t x : claus)
            for (uint64_t y : claus) {
                const auto d = distancies_.find({x, y});
                t << (d != distancies_.end() ? d->second : std::numeric_limits<double>::quiet_NaN());
            }
    }
    auto escriure = [&s](const QByteArray& b) {
        s.writeRawData(b.constData(), static_cast<int>(b.size()));
        s.writeRawData(suma(b).constData(), BYTES_SUMA);
    };
    escriure(marques);
    s << METODE_DISTANCIES << static_cast<quint32>(claus.size());
    escriure(taula);
    s.writeRawData("FI", 2);
    return s.status() == QDataStream::Ok && f.commit();
}

std::optional<Patrons> Patrons::llegir(const QString& fitxer, QString* per_que, Feina* feina) {
    auto no = [&](const char* motiu) -> std::optional<Patrons> {
        if (per_que) *per_que = QString::fromLatin1(motiu);
        return std::nullopt;
    };
    QFile f(fitxer);
    if (!f.open(QIODevice::ReadOnly)) return no("motiu_lectura");
    if (f.read(MAGIC.size()) != MAGIC) return no("motiu_forani");
    QDataStream s(&f);
    preparar_flux(s);
    quint32 versio = 0, per_segon = 0, n = 0;
    s >> versio >> per_segon >> n;
    if (s.status() != QDataStream::Ok) return no("motiu_malmes");
    if (versio == 0 || versio > VERSIO_FITXER) return no("motiu_nou");
    if (per_segon != MOSTRES_PER_SEGON || n == 0 || n > MAX_ENTRADES) return no("motiu_malmes");
    Patrons p;
    std::vector<size_t> de; // each take's entry
    std::vector<Mostres> preses;
    bool llarga = false;
    for (quint32 i = 0; i < n; ++i) {
        QString etiqueta;
        quint32 nombre = 0;
        s >> etiqueta >> nombre;
        if (s.status() != QDataStream::Ok || nombre > MAX_PRESES) return no("motiu_malmes");
        p.entrades.push_back(Entrada{etiqueta, {}});
        for (quint32 k = 0; k < nombre; ++k) {
            quint32 mida = 0;
            s >> mida;
            if (s.status() != QDataStream::Ok || mida > MAX_MOSTRES || mida * 2 > f.bytesAvailable())
                return no("motiu_malmes");
            // Matching grows with the square of a take's length: the set's
            // takes are at most what training records.
            llarga = llarga || mida > static_cast<quint32>(MOSTRES_PRESA_MAXIMES);
            Mostres m(mida);
            for (auto& x : m)
                s >> x;
            if (s.status() != QDataStream::Ok) return no("motiu_malmes");
            de.push_back(i);
            preses.push_back(std::move(m));
        }
    }
    // A block of `bytes` and, from version 3, its checksum; false when the
    // file ends first, `sencer` false when the checksum does not match.
    auto bloc = [&](qint64 bytes, QByteArray& b, bool& sencer) {
        const qint64 amb_suma = bytes + (versio >= 3 ? BYTES_SUMA : 0);
        if (bytes < 0 || amb_suma > f.bytesAvailable()) return false;
        b.resize(bytes);
        if (s.readRawData(b.data(), static_cast<int>(bytes)) != bytes) return false;
        sencer = versio < 3 || f.read(BYTES_SUMA) == suma(b);
        return true;
    };
    std::vector<Marca> marques(preses.size()); // in file order
    bool marques_senceres = false;
    if (versio >= 3) {
        QByteArray b;
        if (!bloc(BYTES_MARCA * static_cast<qint64>(preses.size()), b, marques_senceres))
            return no("motiu_malmes");
        QDataStream m(b);
        preparar_flux(m);
        for (size_t k = 0; k < preses.size(); ++k) {
            quint8 bits = 0;
            Marca x;
            m >> bits >> x.dubte;
            x.apartada = bits & 1, x.sorda = bits & 2, x.confirmar = bits & 4;
            marques_senceres = marques_senceres && bits < 8 && x.dubte <= MAX_PRESES;
            marques[k] = x;
        }
    }
    quint32 metode = 0, nombre = 0;
    std::vector<double> distancies;
    if (versio >= 2) {
        s >> metode >> nombre;
        if (s.status() != QDataStream::Ok || nombre != preses.size()) return no("motiu_malmes");
        QByteArray b;
        bool sencera = false;
        if (!bloc(qint64{nombre} * nombre * 8, b, sencera)) return no("motiu_malmes");
        distancies.resize(static_cast<size_t>(nombre) * nombre);
        QDataStream t(b);
        preparar_flux(t);
        for (double& d : distancies) {
            t >> d;
            sencera = sencera && distancia_valida(d);
        }
        // Damaged: worked out again from the takes, which are whole.
        if (!sencera) distancies.clear();
    }
    char fi[2] = {};
    if (s.readRawData(fi, 2) != 2 || fi[0] != 'F' || fi[1] != 'I' || !f.atEnd()) return no("motiu_malmes");
    if (llarga) return no("motiu_llarga");
    // As afegir_presa does, take by take on every core.
    if (feina) feina->totals += preses.size();
    std::vector<double> sonoritats(preses.size());
    std::vector<Sala> sales(preses.size());
    repartir(preses.size(), feina ? &feina->aturar : nullptr, [&](size_t k) {
        sonoritats[k] = sonoritat(preses[k]);
        sales[k] = sala_de(preses[k], true);
        if (feina) ++feina->fetes;
    });
    if (feina && feina->aturar) return std::nullopt;
    for (size_t k = 0; k < preses.size(); ++k) {
        Entrada& e = p.entrades[de[k]];
        e.sonoritats.push_back(sonoritats[k]);
        e.sales.push_back(std::move(sales[k]));
        e.claus.push_back(clau_nova());
        e.preses.push_back(std::move(preses[k]));
    }
    if (metode == METODE_DISTANCIES && !distancies.empty()) p.prendre_distancies(de, distancies);
    if (marques_senceres) {
        // The takes went in by file order, entry after entry.
        std::map<uint64_t, Marca> per_clau;
        size_t k = 0;
        for (const Entrada& e : p.entrades)
            for (uint64_t c : e.claus)
                per_clau[c] = marques[k++];
        p.fixar(std::move(per_clau));
    }
    if (!p.preparar(feina)) return std::nullopt;
    return p;
}

Comparacio comparar(const Patrons& p, const Mostres& so) {
    Comparacio c;
    const Sala sala = sala_de(so);
    const double inf = std::numeric_limits<double>::infinity();
    c.distancia = c.distancia_segona = inf;
    c.sonoritat = sonoritat(so);
    // Each entry by its nearest valid take, the same for an entry of one take
    // as of ten; the costliest stretch of a path counts too, so a sound is
    // told from one that holds it (two syllables and one of them).
    std::vector<std::vector<double>> notes(p.entrades.size());
    double millor = inf, segona = inf;
    for (size_t i = 0; i < p.entrades.size(); ++i) {
        if (p.entrada_buida(i)) continue;
        double d = inf, n = inf;
        for (size_t k = 0; k < p.entrades[i].sales.size(); ++k) {
            if (p.presa_apartada(i, k)) continue;
            const Alineacio al = alinear_en_sala(sala, p.entrades[i].sales[k]);
            notes[i].push_back(nota(al));
            d = std::min(d, al.mitjana);
            n = std::min(n, notes[i].back());
        }
        if (notes[i].empty()) continue;
        const int num = static_cast<int>(i) + 1;
        if (n < millor) {
            c.segona = c.millor;
            c.distancia_segona = c.distancia;
            segona = millor;
            c.millor = num;
            c.distancia = d;
            millor = n;
        } else if (n < segona) {
            c.segona = num;
            c.distancia_segona = d;
            segona = n;
        }
    }
    c.proporcio = millor / segona;
    if (c.millor == 0) return c;
    // The match against the other entries' takes, whatever the room makes of
    // every distance.
    const size_t e = static_cast<size_t>(c.millor - 1);
    double altres = 0;
    size_t n = 0;
    for (size_t i = 0; i < notes.size(); ++i)
        if (i != e) {
            altres = std::accumulate(notes[i].begin(), notes[i].end(), altres);
            n += notes[i].size();
        }
    c.cohort = n > 0 ? millor * static_cast<double>(n) / altres : 0;
    // And against the spread of the entry's own takes, and their distance
    // from the other entries'.
    const Patrons::Escala x = p.escala(e);
    if (x.propia > 0) c.dispersio = millor / x.propia;
    if (x.propia > 0 && x.altres > x.propia)
        c.separacio = std::log(millor / x.propia) / std::log(x.altres / x.propia);
    const auto& s = p.entrades[e].sonoritats;
    double minima = inf;
    for (size_t k = 0; k < s.size(); ++k)
        if (!p.presa_apartada(e, k)) minima = std::min(minima, s[k]);
    if (minima < inf) c.sonoritat_minima = SONORITAT_PART * minima;
    return c;
}

int paraula_acceptada(const Comparacio& c, double llindar) {
    if (c.millor == 0 || c.distancia >= llindar) return 0;
    // With no other entry to weigh it against, the threshold alone.
    if (c.segona != 0 && c.cohort > 0) {
        const double nota = PES_PROPORCIO * std::log(c.proporcio) + PES_COHORT * std::log(c.cohort) +
                            (c.dispersio > 0 ? PES_DISPERSIO * std::log(c.dispersio) : 0) +
                            PES_SEPARACIO * c.separacio;
        if (nota >= NOTA_MAXIMA) return 0;
    }
    return c.sonoritat >= c.sonoritat_minima ? c.millor : 0;
}

void DetectorVeu::reiniciar() {
    pendent_.clear();
    historia_.clear();
    energies_.clear();
    potencies_.fill(0);
    actual_.clear();
    sobre_ = sota_ = 0;
    en_veu_ = false;
}

std::vector<Mostres> DetectorVeu::alimentar(const int16_t* m, size_t n) {
    fetes_.clear();
    for (size_t i = 0; i < n; ++i) {
        pendent_.push_back(m[i]);
        if (pendent_.size() == MOSTRES_TRAMA) {
            trama(pendent_.data());
            pendent_.clear();
        }
    }
    return std::move(fetes_);
}

void DetectorVeu::obrir(double terra_fi) {
    actual_.assign(historia_.begin(), historia_.end());
    energies_veu_.clear();
    terra_fi_ = terra_fi;
    sota_ = pujada_ = ferm_n_ = 0;
    ferm_suma_ = 0;
}

// Whether frame energy `e` completes a sound rising over a steady stretch
// that opened the utterance; the stretch is summed up as it goes.
bool DetectorVeu::pujada_sobre_soroll(double e) {
    if (refet_ || ferm_n_ >= TRAMES_FERM_MAXIMES) return false;
    const double mitjana = ferm_n_ > 0 ? ferm_suma_ / ferm_n_ : e;
    if (ferm_n_ >= TRAMES_FERM && e > mitjana + SOBRE_DB) {
        if (++pujada_ < TRAMES_INICI) return false;
        // A voiced stretch is the sound's own start, heard on as one
        // utterance: taken for a noise, the rest of "mamá" under it was lost.
        const size_t fi = static_cast<size_t>(TRAMES_INICI) * MOSTRES_TRAMA,
                     inici = fi + static_cast<size_t>(ferm_n_) * MOSTRES_TRAMA;
        if (actual_.size() >= inici &&
            sonoritat(Mostres(actual_.end() - static_cast<std::ptrdiff_t>(inici),
                              actual_.end() - static_cast<std::ptrdiff_t>(fi))) >= FERM_SONORITAT) {
            refet_ = true;
            return false;
        }
        return true;
    }
    pujada_ = 0;
    if (std::abs(e - mitjana) > FERM_DB) {
        // Not steady, unless on its way up to the sound.
        if (e < mitjana || ferm_n_ < TRAMES_FERM) ferm_n_ = TRAMES_FERM_MAXIMES;
        return false;
    }
    ferm_suma_ += e;
    ++ferm_n_;
    return false;
}

void DetectorVeu::trama(const int16_t* t) {
    // Over a few frames, so a room's rumble reads as one level.
    // The very first frame stands for those before it too, and the first
    // few only learn the room, both ways alike: a loud room, or one whose
    // noise is still rising when listening starts, is not taken for a sound.
    if (terra_ < 0) potencies_.fill(potencia(t, MOSTRES_TRAMA));
    potencies_[trames_++ % potencies_.size()] = potencia(t, MOSTRES_TRAMA);
    const double e =
        10 * std::log10(std::accumulate(potencies_.begin(), potencies_.end(), 0.0) / potencies_.size() + 1);
    if (terra_ < 0) terra_ = e;
    historia_.insert(historia_.end(), t, t + MOSTRES_TRAMA);
    energies_.push_back(e);
    const size_t guardades = TRAMES_INICI + TRAMES_ABANS;
    if (energies_.size() > guardades) {
        historia_.erase(historia_.begin(),
                        historia_.end() - static_cast<std::ptrdiff_t>(guardades * MOSTRES_TRAMA));
        energies_.erase(energies_.begin(), energies_.end() - static_cast<std::ptrdiff_t>(guardades));
    }
    if (trames_ <= TRAMES_SALA) {
        terra_ += 0.3 * (e - terra_);
        return;
    }

    if (!en_veu_) {
        if (e > terra_ + SOBRE_DB && e > MIN_DB) {
            // Still the sound that filled the last window: the floor follows it.
            if (sobre_ < 0) {
                terra_ += 0.02 * (e - terra_);
                return;
            }
            if (++sobre_ >= TRAMES_INICI) {
                en_veu_ = true;
                refet_ = false;
                // The sound is over when back near the quietest of the frames
                // before it: a noise under the onset threshold counts as room.
                // Right after a reset there are none, and the floor is the room.
                const auto abans = energies_.end() - TRAMES_INICI;
                obrir(abans == energies_.begin()
                          ? terra_
                          : std::max(terra_, *std::min_element(energies_.begin(), abans)));
            }
            return;
        }
        sobre_ = 0;
        // Down at once with a quieter room, up slowly with a louder one.
        terra_ += (e < terra_ ? 0.3 : 0.02) * (e - terra_);
        return;
    }

    actual_.insert(actual_.end(), t, t + MOSTRES_TRAMA);
    energies_veu_.push_back(e);
    if (pujada_sobre_soroll(e)) {
        // A sound rising over a steady noise may begin under it (the m of
        // "ma"): more of the noise before the rise is kept than of a quiet room.
        const size_t abans = static_cast<size_t>(TRAMES_ABANS_SOROLL + TRAMES_INICI) * MOSTRES_TRAMA;
        Mostres sentit(actual_.end() - static_cast<std::ptrdiff_t>(std::min(abans, actual_.size())),
                       actual_.end());
        obrir(ferm_suma_ / ferm_n_);
        actual_ = std::move(sentit);
        refet_ = true;
        return;
    }
    sota_ = e < terra_fi_ + SOTA_DB ? sota_ + 1 : 0;
    const bool acabada = sota_ >= TRAMES_FI;
    if (!acabada && static_cast<int>(actual_.size()) < mostres_finestra) return;
    size_t treure = TRAMES_FI - TRAMES_ABANS;
    if (acabada && refet_ && energies_veu_.size() >= static_cast<size_t>(TRAMES_FI)) {
        // After a sound that rose over a steady stretch, the level may go on
        // falling past it (the noise stopped, or it was the sound's own):
        // the end keeps that fall, as a take in a quiet room does.
        const auto cua = energies_veu_.end() - TRAMES_FI;
        const double minim = *std::min_element(cua, energies_veu_.end());
        const auto quiet =
            std::find_if(cua, energies_veu_.end(), [&](double x) { return x <= minim + SOTA_DB; });
        treure -= std::min<size_t>(treure, static_cast<size_t>(quiet - cua));
    }
    if (acabada) actual_.resize(actual_.size() - treure * MOSTRES_TRAMA);
    const int trames_veu = static_cast<int>(actual_.size()) / MOSTRES_TRAMA - TRAMES_ABANS;
    if (trames_veu >= TRAMES_MINIMES) fetes_.push_back(std::move(actual_));
    actual_.clear();
    en_veu_ = false;
    // A sound longer than the window must fall back before the next onset:
    // the floor follows it slowly meanwhile, so a fan switched on is soon room.
    sobre_ = acabada ? 0 : -1;
    // A noise the sound ended on is the room from now on.
    terra_ = acabada ? std::max(terra_, terra_fi_) : terra_ + 0.5 * (e - terra_);
}

void NucliVeu::posar_decimes(int decimes) {
    decimes_ = std::clamp(decimes, 1, 14);
}

int NucliVeu::mostres_finestra() const {
    if (enregistrant) return MOSTRES_PRESA_MAXIMES;
    // Takes left out (a long noise) do not stretch it.
    int presa = 0;
    for (size_t i = 0; i < patrons.entrades.size(); ++i)
        for (size_t k = 0; k < patrons.entrades[i].preses.size(); ++k)
            if (!patrons.entrada_buida(i) && !patrons.presa_apartada(i, k))
                presa = std::max(presa, static_cast<int>(patrons.entrades[i].preses[k].size()));
    return std::max(decimes_ * MOSTRES_PER_SEGON / 10, std::min(2 * presa, MOSTRES_PRESA_MAXIMES));
}

void NucliVeu::reiniciar() {
    detector_.reiniciar();
    maxim_ = comptador_ = 0;
}

std::vector<Esdeveniment> NucliVeu::alimentar(const int16_t* m, size_t n) {
    std::vector<Esdeveniment> r;
    std::vector<int16_t> amb_guany(n);
    for (size_t i = 0; i < n; ++i) {
        const double x = std::clamp(m[i] * guany, -32768.0, 32767.0);
        amb_guany[i] = static_cast<int16_t>(x);
        maxim_ = std::max(maxim_, std::abs(static_cast<int>(amb_guany[i])));
        ++total_;
        if (++comptador_ == MOSTRES_NIVELL) {
            if (nivells)
                r.push_back(Esdeveniment{Esdeveniment::Nivell, std::min(128, maxim_ >> 8), {}, {}, total_});
            maxim_ = comptador_ = 0;
        }
    }
    if (!reconeixent && !enregistrant && !provant) return r;
    detector_.mostres_finestra = mostres_finestra();
    for (Mostres& u : detector_.alimentar(amb_guany.data(), n)) {
        if (enregistrant) {
            r.push_back(Esdeveniment{Esdeveniment::Presa, 0, {}, std::move(u), total_});
            continue;
        }
        const Comparacio c = comparar(patrons, u);
        const int k = paraula_acceptada(c, llindar);
        if (k != 0 || provant) r.push_back(Esdeveniment{Esdeveniment::Paraula, k, c, {}, total_});
    }
    return r;
}

} // namespace lumi::plataforma::veu
