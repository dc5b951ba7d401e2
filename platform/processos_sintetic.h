// The synthetic launcher: it records what it was asked to start and gives
// handles, but runs nothing. A launched "process" lives until it is ended.
#pragma once

#include "platform/processos.h"

#include <set>
#include <vector>

namespace lumi::plataforma {

class ProcessosSintetic : public Processos {
  public:
    struct Llancament {
        int32_t handle = 0;
        QString programa; // the program, or the file opened
        QStringList arguments;
        QString carpeta;
    };
    std::vector<Llancament> llancaments; // in order
    std::vector<int32_t> acabats;        // the handles ended, in order
    bool falla = false;                  // nothing starts: every launch gives 0

    int32_t llancar(const QString& programa, const QStringList& arguments, const QString& carpeta) override;
    // Like the machine's: only an existing file opens.
    int32_t obrir(const QString& fitxer, const QString& carpeta) override;
    bool viu(int32_t handle) override { return vius_.count(handle) > 0; }
    void acabar(int32_t handle, int gracia_ms) override;

  private:
    std::set<int32_t> vius_;
    int32_t seguent_ = 1;
};

} // namespace lumi::plataforma
