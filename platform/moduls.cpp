#include "platform/moduls.h"

#include "core/idioma.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Defined where the modules' code is linked into the program.
#pragma weak lumi_modul_media
#pragma weak lumi_modul_sdl
#pragma weak lumi_modul_imatges
#pragma weak lumi_modul_camera

namespace lumi::plataforma {

std::function<void(const QString&)>& avis_modul() {
    static std::function<void(const QString&)> f;
    return f;
}

namespace {

// Why a module is not there: "moduls|absent", "moduls|no_fiable" or
// "moduls|no_carrega", with the file or folder at fault.
struct Falla {
    const char* clau = nullptr;
    QString cami;
};

// A shared program folder may be writable by others: code is only taken
// from a file that the user or the system owns and nobody else can change.
bool propi(const struct stat& st) {
    return (st.st_uid == 0 || st.st_uid == ::geteuid()) && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// The module file opened for reading, the very file the checks passed:
// no link is followed and nothing else is searched. -1 with the reason when
// it may not be loaded.
int obrir_modul(const QString& cami, Falla& falla) {
    const int barra = int(cami.lastIndexOf(u'/'));
    const QString carpeta = barra < 0 ? QStringLiteral(".") : cami.left(std::max(barra, 1));
    const int dir = ::open(QFile::encodeName(carpeta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st {};
    if (dir < 0) {
        falla = {"moduls|absent", cami};
        return -1;
    }
    const bool carpeta_propia = ::fstat(dir, &st) == 0 && propi(st);
    const int fd = carpeta_propia ? ::openat(dir, QFile::encodeName(cami.mid(barra + 1)).constData(),
                                             O_RDONLY | O_NOFOLLOW | O_CLOEXEC)
                                  : -1;
    const int error = errno;
    ::close(dir);
    if (!carpeta_propia)
        falla = {"moduls|no_fiable", carpeta};
    else if (fd < 0)
        falla = {error == ENOENT  ? "moduls|absent"
                 : error == ELOOP ? "moduls|no_fiable"
                                  : "moduls|no_carrega",
                 cami};
    else if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !propi(st))
        falla = {"moduls|no_fiable", cami};
    else
        return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

} // namespace

bool modul_de_confianca(const QString& cami) {
    Falla falla;
    const int fd = obrir_modul(cami, falla);
    if (fd >= 0) ::close(fd);
    return fd >= 0;
}

namespace {

// The module's entry, linked in or from liblumi_<nom>.so beside the
// executable. The library stays loaded for the rest of the run.
template <typename T> const T* carregar(const char* nom, const T* (*enllacat)()) {
    if (enllacat) return enllacat();
    const QString cami =
        QCoreApplication::applicationDirPath() + QStringLiteral("/liblumi_%1.so").arg(QLatin1String(nom));
    Falla falla;
    const int fd = obrir_modul(cami, falla);
    QString detall;
    if (fd >= 0) {
        // The descriptor checked, not the name: the file cannot be swapped
        // between the check and the load. Every symbol bound now: a module
        // that does not fit fails here, not in the middle of an exercise.
        // The descriptor stays open, as the module stays loaded: the loader
        // knows a module by that name, which another must not reuse.
        void* biblioteca = ::dlopen(("/proc/self/fd/" + std::to_string(fd)).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!biblioteca) ::close(fd);
        const QByteArray entrada = "lumi_modul_" + QByteArray(nom);
        if (auto f = biblioteca ? reinterpret_cast<const T* (*)()>(::dlsym(biblioteca, entrada.constData()))
                                : nullptr)
            return f();
        falla = {"moduls|no_carrega", cami};
        detall = u'\n' + QString::fromLocal8Bit(::dlerror());
    }
    const QString text = tradueix(QStringLiteral("moduls|") + QLatin1String(nom)) + u'\n' +
                         tradueix(QLatin1String(falla.clau)).arg(falla.cami);
    std::fprintf(stderr, "lumiraga: %s%s\n", qPrintable(text), qPrintable(detall));
    if (avis_modul()) avis_modul()(text);
    return nullptr;
}

// Loaded once, at the first call for its kind.
template <typename T> const T* un_cop(const char* nom, const T* (*enllacat)()) {
    static const T* m = carregar(nom, enllacat);
    return m;
}

} // namespace

const ModulMedia* modul_media() {
    return un_cop("media", lumi_modul_media);
}
const ModulSdl* modul_sdl() {
    return un_cop("sdl", lumi_modul_sdl);
}
const ModulImatges* modul_imatges() {
    return un_cop("imatges", lumi_modul_imatges);
}
const ModulCamera* modul_camera() {
    return un_cop("camera", lumi_modul_camera);
}

} // namespace lumi::plataforma
