// The services built on large libraries (Qt Multimedia, libsndfile, SDL,
// libwmf, Qt SVG, V4L2) live in modules of their own that the program loads
// where a service is first used: none of those libraries is mapped before
// the first window. A program that links the modules' code in (tests,
// benchmarks) uses it without loading anything.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <vector>

namespace lumi::plataforma {

class Camera;
class FontJoystick;
class Mci;
class Microfon;
class MotorVeu;

// Sounds and videos (Qt Multimedia) and sound files (libsndfile).
struct ModulMedia {
    Mci& (*mci)();
    // A sound file's samples mixed to mono; false when it cannot be read.
    bool (*llegir_so)(const QString& fitxer, std::vector<int16_t>& mostres, int& per_segon);
};

// The joystick, the microphone and the speech engine (SDL).
struct ModulSdl {
    FontJoystick& (*joystick)();
    // nullptr when SDL's audio does not start; the caller owns what it gets.
    Microfon* (*crear_microfon)();
    MotorVeu* (*crear_motor_veu)();
};

// Windows metafiles (libwmf, drawn with Qt SVG).
struct ModulImatges {
    QImage (*dibuixar_wmf)(const QByteArray& wmf);
};

// The webcam (V4L2); the caller owns what it gets.
struct ModulCamera {
    Camera* (*crear)();
};

// The module's services, loaded on the first call from liblumi_<name>.so
// beside the executable and from no other file; nullptr when it cannot be
// loaded (said once, through avis_modul()).
const ModulMedia* modul_media();
const ModulSdl* modul_sdl();
const ModulImatges* modul_imatges();
const ModulCamera* modul_camera();

// Whether a module file may be loaded: a regular file owned by the user or
// the system, in a folder owned by either, neither writable by anyone else.
// A missing file is no module.
bool modul_de_confianca(const QString& cami);

// Told, in the interface language, what will not work and why, once for
// each module that cannot be loaded; on the thread that first asked for it.
std::function<void(const QString& text)>& avis_modul();

} // namespace lumi::plataforma

// Each module's entry point.
extern "C" {
const lumi::plataforma::ModulMedia* lumi_modul_media();
const lumi::plataforma::ModulSdl* lumi_modul_sdl();
const lumi::plataforma::ModulImatges* lumi_modul_imatges();
const lumi::plataforma::ModulCamera* lumi_modul_camera();
}
