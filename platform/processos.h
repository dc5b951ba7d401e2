// Programs and documents the player launches, and closing them again.
//
// A launch gives a handle: a small positive number that stands for the
// launched process while it runs (0 means nothing was launched). Handles are
// never reused, so a stale handle closes nothing.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace lumi::plataforma {

// The wine loader, "" when it is not installed.
QString cami_wine();

// A Windows program by its extension (.EXE, .COM, .SCR, any letter case).
bool es_programa_windows(const QString& fitxer);

// How a file named by an activity may be opened. Activities travel between
// machines with their execute bits, so nothing they name runs as native code:
// a Windows program (.EXE, .COM, .SCR after a dot, with a Windows program's
// header) goes to wine; a document that is not executable and not a launcher
// (desktop entry, script, native or Windows program) goes to the desktop's
// opener; anything else is not opened at all.
enum class Obertura { refusada, programa_windows, document };
Obertura obertura_de(const QString& fitxer);

// Starts `programa` with an argument vector (never through a shell) in
// `carpeta`; the handle, or 0 when it could not start.
int32_t llancar_proces(const QString& programa, const QStringList& arguments, const QString& carpeta);

// Opens an existing file as obertura_de allows: a Windows program through
// wine (0 without wine), a document with the desktop's opener, anything else
// not at all. The handle, or 0.
int32_t obrir_fitxer(const QString& fitxer, const QString& carpeta);

// Whether the process of a handle still runs.
bool proces_viu(int32_t handle);

// Ends the process of a handle: asked to end first, killed when it has not
// ended after `gracia_ms`. Unknown or ended handles are ignored.
void acabar_proces(int32_t handle, int gracia_ms = 1000);

// What the four calls above go to.
class Processos {
  public:
    virtual ~Processos() = default;
    virtual int32_t llancar(const QString& programa, const QStringList& arguments,
                            const QString& carpeta) = 0;
    virtual int32_t obrir(const QString& fitxer, const QString& carpeta) = 0;
    virtual bool viu(int32_t handle) = 0;
    virtual void acabar(int32_t handle, int gracia_ms) = 0;
};

// The launcher in use (the machine's until another is set).
Processos& processos();
// nullptr puts the machine's launcher back; the caller keeps ownership.
void posar_processos(Processos* p);

} // namespace lumi::plataforma
