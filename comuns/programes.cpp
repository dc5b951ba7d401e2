#include "comuns/programes.h"

#include "core/camins.h"
#include "core/tipus_fitxer.h"
#include "platform/carpetes.h"
#include "platform/dreceres.h"
#include "platform/processos.h"
#include "platform/rellotge.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace lumi {

namespace {

// How long a launched program is given to come up before the caller goes on.
constexpr double ESPERA_LLANCAMENT = 1.0;

// The command line a desktop entry runs to open `objectiu`.
QStringList ordre_per_a(const QFileInfo& objectiu, const QString& arguments) {
    QStringList ordre;
    const QString cami = objectiu.absoluteFilePath();
    if (tipus_extensio(objectiu.suffix()) == TipusFitxer::lrq) {
        // An activity opens in this program.
        ordre << QCoreApplication::applicationFilePath() << cami;
    } else if (plataforma::es_programa_windows(cami)) {
        const QString wine = plataforma::cami_wine();
        ordre << (wine.isEmpty() ? QStringLiteral("wine") : wine) << cami;
    } else if (objectiu.isExecutable()) {
        ordre << cami;
    } else {
        ordre << QStringLiteral("xdg-open") << cami;
    }
    ordre << QProcess::splitCommand(arguments);
    return ordre;
}

} // namespace

Llancament executar_programa(const QString& fitxer, int16_t mostrar) {
    Q_UNUSED(mostrar);
    QString nom = QFileInfo::exists(fitxer) ? fitxer : separadors_natius(fitxer);
    // A bare document name lies in the program's folder; a name that already
    // says ".EXE" or ".COM" is left as given.
    if (!nom.contains(QLatin1String(".EXE")) && !nom.contains(QLatin1String(".COM")) && !es_absoluta(nom))
        nom = plataforma::carpeta_programa() + u'/' + nom;
    // The file must exist and its name must come after a folder, spelt as the
    // folder lists it.
    const QString trobat = resoldre_fitxer(nom);
    const QFileInfo fi(trobat);
    if (!fi.isFile()) return {0, ERROR_ARGUMENT};
    if (nom.indexOf(fi.fileName()) < 1) return {0, ERROR_ARGUMENT};
    // What an activity names never runs as native code: it is refused as a
    // name that cannot be launched.
    if (plataforma::obertura_de(fi.absoluteFilePath()) == plataforma::Obertura::refusada)
        return {0, ERROR_ARGUMENT};

    const int32_t h = plataforma::obrir_fitxer(fi.absoluteFilePath(), fi.absolutePath());
    if (h == 0) return {};
    plataforma::esperar(ESPERA_LLANCAMENT);
    // A program that ended within the wait left nothing to close.
    if (!plataforma::proces_viu(h)) return {};
    return {h, 0};
}

void tancar_finestra(int32_t finestra) {
    if (finestra != 0) plataforma::acabar_proces(finestra);
}

int crear_drecera(const QString& objectiu, const QString& nom, const QString& carpeta,
                  const QString& arguments) {
    // A native path is taken as it is; a stored reference goes through the lookup.
    const QFileInfo fi(QFileInfo::exists(objectiu) ? objectiu : resoldre_fitxer(separadors_natius(objectiu)));
    if (objectiu.trimmed().isEmpty() || !fi.exists()) return ERROR_NO_TROBAT;

    QString base = plataforma::carpeta_especial(carpeta);
    if (!base.isEmpty()) {
        // The user's own desktop and menu folders may not exist yet on a
        // fresh account; they are the desktop's, so making them is safe.
        QDir().mkpath(base);
    } else {
        base = separadors_natius(carpeta);
        if (base.isEmpty() || !QFileInfo(base).isDir()) return ERROR_NO_TROBAT;
    }
    QString relatiu = separadors_natius(nom);
    while (relatiu.startsWith(u'/'))
        relatiu.remove(0, 1);
    if (relatiu.isEmpty()) return ERROR_NO_TROBAT;
    const QString fitxer = QDir::cleanPath(base + u'/' + relatiu) + QStringLiteral(".desktop");
    const QFileInfo desti(fitxer);
    if (!desti.absoluteDir().exists()) return ERROR_CAMI;

    plataforma::Drecera d;
    d.nom = desti.completeBaseName();
    if (d.nom.endsWith(QLatin1String(".lrq"), Qt::CaseInsensitive)) d.nom.chop(4);
    d.ordre = ordre_per_a(fi, arguments);
    d.carpeta_treball = fi.absolutePath();
    return plataforma::escriure_drecera(fitxer, d) ? DRECERA_DESADA : ERROR_ACCES;
}

} // namespace lumi
