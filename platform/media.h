// Sounds and videos driven by command strings, one medium per name or alias:
//   play <file>                      opens the file under its own name and plays it
//   open <file> type AVIVideo alias <a> parent <handle> style <n>
//   put <a> window at x y w h        places the video inside its parent
//   play <a>
//   close <a or file>  /  close all
// Results are 0 (done) or an error code; a medium that cannot play fails
// quietly and never blocks.
#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QMediaPlayer;
class QVideoWidget;

namespace lumi::plataforma {

// Error codes, in the numbering callers of such command strings expect.
constexpr int MCI_OK = 0;
constexpr int MCIERR_ORDRE_DESCONEGUDA = 261; // unrecognised command
constexpr int MCIERR_NOM_DESCONEGUT = 263;    // no medium of that name or alias
constexpr int MCIERR_PARAMETRE = 274;         // a missing or bad argument
constexpr int MCIERR_FITXER_INEXISTENT = 275; // the file does not exist
constexpr int MCIERR_SENSE_SORTIDA = 277;     // no audio output on this machine
constexpr int MCIERR_NO_ES_POT_LLEGIR = 278;  // the file cannot be played

// One command, taken apart.
struct OrdreMci {
    QString verb;      // "play", "open", "put", "close" in small letters; "" when unreadable
    QString nom;       // file, alias or "all" as written (quotes removed)
    QString tipus;     // open: the device type, "" when not given
    QString alias;     // open: "" when not given
    int32_t pare = 0;  // open: parent window handle
    int64_t estil = 0; // open: window style
    QRect finestra;    // put: x y w h
    bool valida = false;
};
OrdreMci analitzar_ordre_mci(const QString& ordre);

// Whatever executes the commands; tests put a recorder in place.
class Mci {
  public:
    virtual ~Mci() = default;
    virtual int enviar(const QString& ordre) = 0;
    // Runs `f` once if the medium open under `nom` turns out not to play
    // (opening is asynchronous: a damaged file is found out later).
    virtual void en_fallada(const QString& nom, std::function<void()> f) {
        (void)nom;
        (void)f;
    }
};

// The interpreter in use (the Qt Multimedia one until another is set; its
// module loads at the first call).
Mci& mci();
// nullptr puts the Qt Multimedia interpreter back; the caller keeps ownership.
void posar_mci(Mci* m);

// Sends one command to the interpreter in use.
int mciSendString(const QString& ordre);

// Stand-in for the short (8.3) path: the existing file's path, found without
// regard to letter case when the exact name is missing; "" when there is no
// such file.
QString cami_curt(const QString& fitxer);

// Makes Qt Multimedia use its GStreamer back end (the only one that plays
// MIDI and copes with no sound device). Call before the first media object;
// harmless later.
void triar_backend_media();

// Whether this machine has an audio output to play to.
bool hi_ha_sortida_audio();

// What follows is the media module's (moduls.h): the program reaches it
// through mci() and modul_media().

// The interpreter over Qt Multimedia.
class MciQt final : public Mci {
  public:
    MciQt();
    ~MciQt() override;
    int enviar(const QString& ordre) override;
    void en_fallada(const QString& nom, std::function<void()> f) override;

    // Looked at by tests and benchmarks, by name or alias in any letter case:
    // the Qt player of an open medium (nullptr for a sound, MIDI or one
    // libsndfile reads, which plays without one, and when none is open under
    // that name);
    // milliseconds played (-1 when none is open), its length, and whether it
    // has played to its end.
    QMediaPlayer* reproductor(const QString& nom) const;
    qint64 posicio(const QString& nom) const;
    qint64 durada(const QString& nom) const;
    bool acabat(const QString& nom) const;
    QVideoWidget* video(const QString& nom) const;
    int oberts() const;
    // The audio-output check; empty means the machine's own.
    void posar_comprovacio_sortida(std::function<bool()> f) { comprovacio_sortida_ = std::move(f); }

  private:
    struct Medi;
    const Medi* medi(const QString& nom) const; // nullptr when none is open under that name
    int obrir(const QString& fitxer, const QString& clau, int32_t pare);
    int reproduir(const QString& clau);
    int tancar(const QString& clau);
    bool sortida() const;

    std::map<QString, std::unique_ptr<Medi>> medis_;
    std::function<bool()> comprovacio_sortida_;
};

// The process's Qt Multimedia interpreter (created on first use).
MciQt& mci_qt();

// A sound file's samples, its channels mixed to mono; false when it cannot
// be read.
bool llegir_so_mono(const QString& fitxer, std::vector<int16_t>& mostres, int& per_segon);

} // namespace lumi::plataforma
