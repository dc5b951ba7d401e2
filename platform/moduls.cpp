#include "platform/moduls.h"

#include <QCoreApplication>
#include <QFile>
#include <QLibrary>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

// Defined where the modules' code is linked into the program.
#pragma weak lumi_modul_media
#pragma weak lumi_modul_sdl
#pragma weak lumi_modul_imatges
#pragma weak lumi_modul_camera

namespace lumi::plataforma {

// A shared program folder may be writable by others: code is only taken
// from a file that the user or the system owns and nobody else can change.
bool modul_de_confianca(const QString& cami) {
    struct stat st {};
    if (::stat(QFile::encodeName(cami).constData(), &st) != 0) return true;
    return (st.st_uid == 0 || st.st_uid == ::geteuid()) && (st.st_mode & S_IWOTH) == 0;
}

namespace {

// The module's entry, linked in or from liblumi_<nom>.so beside the
// executable (else wherever the system looks for libraries). The library
// stays loaded for the rest of the run.
template <typename T> const T* carregar(const char* nom, const T* (*enllacat)()) {
    if (enllacat) return enllacat();
    const QString fitxer = QStringLiteral("liblumi_%1.so").arg(QLatin1String(nom));
    const QByteArray entrada = "lumi_modul_" + QByteArray(nom);
    QString error;
    for (const QString& cami : {QCoreApplication::applicationDirPath() + u'/' + fitxer, fitxer}) {
        if (!modul_de_confianca(cami)) {
            error = QStringLiteral("%1: not owned by this user, or writable by others").arg(cami);
            continue;
        }
        QLibrary biblioteca(cami);
        // Every symbol bound now: a module that does not fit fails here, not
        // in the middle of an exercise.
        biblioteca.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        if (auto f = reinterpret_cast<const T* (*)()>(biblioteca.resolve(entrada.constData()))) return f();
        if (error.isEmpty()) error = biblioteca.errorString();
    }
    std::fprintf(stderr, "lumiraga: %s\n", qPrintable(error));
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
