// The speech engine's own working, apart from any thread, device or window:
// the sound level, an endpoint detector that finds each utterance on an
// adaptive noise floor, MFCC features and dynamic time warping against the
// trained takes, and the pattern files. It counts time in samples (16 kHz),
// so whoever feeds it decides how fast time goes.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <atomic>
#include <map>
#include <cstdint>
#include <optional>
#include <set>
#include <vector>

namespace lumi::plataforma::veu {

constexpr int MOSTRES_PER_SEGON = 16000;
constexpr int MOSTRES_NIVELL = 800; // one level every 50 ms
constexpr int MOSTRES_TRAMA = 160;  // the detector's 10 ms frame
// The quiet after a sound that tells the detector the sound is over.
constexpr double SEGONS_SILENCI_FI = 0.2;

using Mostres = std::vector<int16_t>;

// The dynamic-time-warping alignment of two stretches: the distance per step
// of the path, and the mean of its costliest few steps in a row.
struct Alineacio {
    double mitjana = 0, pitjor = 0;
};
// A stretch's mel band energies frame by frame, the room's noise in them
// (the quieter of the frames before its onset and of those after its end)
// and its loudest band; for a take, also the same bands on frames a third
// and two thirds of a frame later (an utterance is only ever matched on its
// own grid).
constexpr size_t BANDES = 26;
struct Sala {
    std::vector<std::array<double, BANDES>> bandes;
    std::vector<std::vector<std::array<double, BANDES>>> altres_fases;
    std::array<double, BANDES> soroll{};
    double pic = 1;
};
Sala sala_de(const Mostres& so, bool altres_fases = false);
// Two stretches aligned each with the other's room noise added, as far under
// its own loudest band as it lies under the other's: a sound heard in another
// room than its takes meets them in one room. The second stretch is taken on
// whichever of its frame grids matches best.
Alineacio alinear_en_sala(const Sala& a, const Sala& b);
// Both ways at once: alinear_en_sala(a, b) and alinear_en_sala(b, a).
std::pair<Alineacio, Alineacio> alinear_en_sala_dos(const Sala& a, const Sala& b);
// How much of a sound is voiced, 0 to 1: the periodicity of its voiced part
// (the pitch's normalised autocorrelation, high in the frames that have it).
// A noise, a cough or a clap gives little; a vowel or a hum much.
double sonoritat(const Mostres& so);

struct Entrada {
    QString etiqueta;
    std::vector<Mostres> preses;
    // Of each take, worked out when it is added, and a number no other take
    // has, for the distances kept between takes.
    std::vector<double> sonoritats = {};
    std::vector<Sala> sales = {};
    std::vector<uint64_t> claus = {};
};

// Long work done for someone who waits: they may stop it, and see how far
// it has gone (steps done of the steps known so far).
struct Feina {
    std::atomic<bool> aturar{false};
    std::atomic<size_t> fetes{0}, totals{0};
};

// The trained sounds: the entries of the unit, in list order.
class Patrons {
  public:
    std::vector<Entrada> entrades;

    void posar_etiquetes(const QStringList& etiquetes); // drops every take
    QStringList etiquetes() const;
    void afegir_presa(size_t entrada, Mostres presa);
    void esborrar_presa(size_t entrada, size_t presa);
    // An entry whose name is empty (the list "1,2," ends in one) is never
    // asked for in training nor matched; it keeps its place, so word numbers
    // stay as they are.
    bool entrada_buida(size_t entrada) const;
    // A take that does not match its sound's other takes (a cough, a chair,
    // a false start): training shows it, it does not count towards the
    // entry's takes, and matching leaves it out.
    bool presa_apartada(size_t entrada, size_t presa) const;
    int preses_valides(size_t entrada) const;
    // An entry at exactly `preses_per_entrada` valid takes, three, one of
    // which lies far from the other two: three takes cannot tell a stray
    // from an odd genuine take, so training asks for one more to judge them
    // by, once every entry has its takes. Nothing is set aside for it.
    bool per_confirmar(size_t entrada, int preses_per_entrada) const;
    // How an entry's valid takes lie: the mean score of each to its nearest
    // other (0 with fewer than two), drawn halfway to all entries' mean on a
    // log scale, and to the nearest take of another entry (0 without).
    struct Escala {
        double propia = 0, altres = 0;
    };
    Escala escala(size_t entrada) const;
    // Every named entry holds at least that many valid takes.
    bool complets(int preses_per_entrada) const;
    // The named entry short of valid takes that training asks for next:
    // `des_de` (the one being recorded) if it still is, else the next after
    // it, coming round to the first; when none is short, likewise one to
    // confirm; -1 when all are complete and none is to confirm.
    int pendent(int des_de, int preses_per_entrada) const;

    // Works out, on every core, every distance between takes that the takes
    // set aside and the spreads ask for, then those; false when `feina` was
    // stopped (the distances done are kept).
    bool preparar(Feina* feina = nullptr) const;

    // Pattern files keep the raw takes, so a later change of features keeps
    // saved sets valid. Reading gives nothing for a foreign, damaged or empty
    // file, or one with a take longer than training records; `per_que`
    // receives the key of the engine's text that says why ("motiu_lectura",
    // "motiu_forani", "motiu_malmes", "motiu_nou", "motiu_llarga"). The set
    // read comes prepared, unless `feina` was stopped (then nothing).
    bool desar(const QString& fitxer) const;
    static std::optional<Patrons> llegir(const QString& fitxer, QString* per_que = nullptr,
                                         Feina* feina = nullptr);
    // A set made again from these entries' takes (the unit started again):
    // the takes `abans` also holds keep the marks it shows for them and the
    // distances it worked out.
    void conservar(const Patrons& abans);

  private:
    // What training left on a take: set aside, as far less voiced, its entry
    // waiting for a confirming take, and the takes its entry had when it was
    // first doubted (0 never).
    struct Marca {
        bool apartada = false, sorda = false, confirmar = false;
        quint32 dubte = 0;
    };
    Marca marca(size_t entrada, size_t presa) const;
    // Marks kept whole for the takes they were given for: those takes are
    // judged by them alone until a take comes or goes.
    void fixar(std::map<uint64_t, Marca> marques);
    bool marques_fixades() const;
    void apartar() const;
    // Distances kept in a file: of take x against take y at x * n + y, the
    // takes in file order, `de` the entry of each.
    void prendre_distancies(const std::vector<size_t>& de, const std::vector<double>& d);
    void refer() const;
    double distancia(size_t entrada, size_t presa, size_t altra, size_t altra_presa) const;
    // The takes left out and each entry's spread, worked out again when the
    // entries' takes change.
    mutable std::vector<size_t> clau_;
    mutable std::vector<std::vector<char>> apartades_;
    mutable std::vector<Escala> escales_;
    mutable std::vector<char> dubtoses_;        // of three valid takes, one far from the others
    mutable std::set<uint64_t> marcades_;       // takes once left out, while takes only come
    mutable std::set<uint64_t> sordes_;         // of those, the ones left out as far less voiced
    mutable std::map<uint64_t, size_t> dubtes_; // a doubted take, and its entry's takes then
    // Take against take, each pair matched once: a new take is matched
    // against the others, not every take again.
    mutable std::map<std::pair<uint64_t, uint64_t>, double> distancies_;
    mutable std::map<uint64_t, Marca> fixades_;
};

// The match of one utterance against the named entries' valid takes: the
// best entry (1-based, 0 none) and the runner-up (0 none), each with the
// distance of its nearest take, and the best entry's score over the
// runner-up's. An entry's score is its nearest take's distance plus the
// costliest stretch of their path, whatever its number of takes.
struct Comparacio {
    int millor = 0;
    double distancia = 0;
    int segona = 0;
    double distancia_segona = 0;
    double proporcio = 0;
    // The best score over the mean of the other entries' takes' scores (0
    // without others), and over the mean of its own takes' scores to their
    // nearest other (0 with fewer than two).
    double cohort = 0, dispersio = 0;
    // Where the best score falls, on a log scale, from its takes' spread (0)
    // to their distance from the other entries' takes (1).
    double separacio = 0;
    // The utterance's voicing, and the least the best entry's takes allow.
    double sonoritat = 1, sonoritat_minima = 0;
};
// The utterance is given as samples: it meets each take in one room.
Comparacio comparar(const Patrons& p, const Mostres& so);
// A word only below the rejection threshold, and as likely the entry's as
// its takes are one another's rather than the other entries': one score
// weighs its lead over the runner-up, over the other entries' takes, over
// the spread of its own and its place between these, so a close match to
// a sound said much alike and a looser one to a sound said loosely both
// stand. And about as voiced as the entry's takes.
int paraula_acceptada(const Comparacio& c, double llindar);

// Finds utterances on the frames of a stream: onset some decibels above a
// noise floor that follows the room, end after a stretch back near the level
// heard before the sound or when the window is full. A steady noise that
// opens an utterance and then has a sound rise above it is taken as the room:
// the utterance starts again at the rise and ends when the noise is all that
// is left. A voiced steady stretch (a hum, the m of "ma") is the sound's own.
class DetectorVeu {
  public:
    int mostres_finestra = MOSTRES_PER_SEGON; // the longest utterance

    // Feeds samples; returns each utterance completed by them.
    std::vector<Mostres> alimentar(const int16_t* m, size_t n);
    void reiniciar();
    bool en_veu() const { return en_veu_; }
    double terra() const { return terra_; }

  private:
    void trama(const int16_t* t);
    void obrir(double terra_fi);
    bool pujada_sobre_soroll(double e);

    std::vector<int16_t> pendent_;      // samples short of a frame
    std::vector<int16_t> historia_;     // the last frames, for the stretch before the onset
    std::vector<double> energies_;      // of the frames in `historia_`
    std::vector<double> energies_veu_;  // of the utterance's frames since its onset
    std::array<double, 4> potencies_{}; // of the last frames
    size_t trames_ = 0;
    Mostres actual_; // the utterance under way
    std::vector<Mostres> fetes_;
    double terra_ = -1;
    double terra_fi_ = 0; // the level that ends the utterance under way
    // The frames since the onset while they may be a steady noise.
    double ferm_suma_ = 0;
    int ferm_n_ = 0;
    bool refet_ = false; // a sound rose over the steady stretch: judged once
    int sobre_ = 0, sota_ = 0, pujada_ = 0;
    bool en_veu_ = false;
};

// What the engine's core reports as it hears.
struct Esdeveniment {
    enum Tipus { Nivell, Paraula, Presa } tipus = Nivell;
    int valor = 0;      // the level, or the word (entry) number
    Comparacio comp;    // for a word, and for an utterance while testing
    Mostres presa;      // a take recorded in training
    int64_t mostra = 0; // the sample count at which it happened
};

// The core: levels always, and while recognising or recording, utterances.
class NucliVeu {
  public:
    double guany = 1.0;
    double llindar = 12.0;
    bool reconeixent = false;
    bool enregistrant = false; // utterances are takes, not words
    bool provant = false;      // report every utterance's match, word or not
    bool nivells = true;       // off where the levels are measured elsewhere
    Patrons patrons;

    // The listening time: the longest a sound may last and still be heard
    // whole. The engine listens at least twice as long as the longest valid
    // take, so a short value cuts no trained sound; training takes are never cut.
    void posar_decimes(int decimes);
    int mostres_finestra() const;
    std::vector<Esdeveniment> alimentar(const int16_t* m, size_t n);
    int64_t mostres_sentides() const { return total_; }
    void reiniciar();

  private:
    DetectorVeu detector_;
    int decimes_ = 10;
    int maxim_ = 0, comptador_ = 0;
    int64_t total_ = 0;
};

} // namespace lumi::plataforma::veu
