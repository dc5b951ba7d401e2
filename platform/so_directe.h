// A sound played on a fixed GStreamer pipeline of our own: a file libsndfile
// reads (WAV of any kind, ADPCM in full; AIFF, FLAC, Ogg...) fed from it, or
// a MIDI file through FluidSynth. Qt's player builds its pipeline as a file's
// streams appear and can deadlock doing so, freezing the whole program.
#pragma once

#include <QString>
#include <atomic>
#include <cstdint>
#include <memory>

struct sf_private_tag;
struct _GstElement;

namespace lumi::plataforma {

class SoDirecte {
  public:
    // nullptr when it is neither MIDI nor a sound libsndfile reads with one
    // or two channels, or no pipeline can be made.
    static std::unique_ptr<SoDirecte> obrir(const QString& fitxer);
    ~SoDirecte();
    SoDirecte(const SoDirecte&) = delete;
    SoDirecte& operator=(const SoDirecte&) = delete;

    // From its start; false when the output refuses it.
    bool reproduir();
    // Started and not yet played to its end (or failed).
    bool sonant() const;
    bool acabat() const;
    qint64 posicio_ms() const;
    qint64 durada_ms() const;

  private:
    SoDirecte() = default;
    bool muntar(const char* descripcio);
    static void cal_dades(_GstElement* font, unsigned mida, void* jo);
    void mirar_bus() const;

    sf_private_tag* f_ = nullptr; // read only by the pipeline's thread while it plays; null for MIDI
    int canals_ = 0;
    int per_segon_ = 0;
    qint64 frames_ = 0;
    qint64 llegits_ = 0;
    _GstElement* canonada_ = nullptr;
    _GstElement* font_ = nullptr;
    bool iniciat_ = false;
    mutable bool acabat_ = false;
};

} // namespace lumi::plataforma
