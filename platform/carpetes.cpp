#include "platform/carpetes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lumi::plataforma {

namespace {
QString assegurar(const QString& carpeta) {
    QDir().mkpath(carpeta);
    return carpeta;
}
QString base_usuari(QStandardPaths::StandardLocation lloc, const QString& subcarpeta) {
    QString base = QStandardPaths::writableLocation(lloc);
    if (base.isEmpty()) base = QDir::tempPath();
    return assegurar(base + u'/' + subcarpeta);
}
} // namespace

QString carpeta_programa() {
    const QString env = qEnvironmentVariable("LUMIRAGA_HOME");
    if (!env.isEmpty()) return assegurar(QDir::cleanPath(env));
    const QString exe = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (!exe.isEmpty() && QFileInfo(exe).isWritable()) return exe;
    return base_usuari(QStandardPaths::GenericDataLocation, QStringLiteral("lumiraga"));
}

QString fitxer_a_carpeta(const QString& carpeta, const QString& nom) {
    const QString exacte = carpeta + u'/' + nom;
    if (QFileInfo::exists(exacte)) return exacte;
    const QStringList tots = QDir(carpeta).entryList(QDir::Files | QDir::Hidden);
    for (const QString& f : tots) {
        if (f.compare(nom, Qt::CaseInsensitive) == 0) return carpeta + u'/' + f;
    }
    return exacte;
}

QString fitxer_ini_programa() {
    return fitxer_a_carpeta(carpeta_programa(), QStringLiteral("lumiraga.ini"));
}

QString fitxer_system_ini() {
    if (!qEnvironmentVariableIsEmpty("LUMIRAGA_HOME"))
        return carpeta_programa() + QStringLiteral("/system.ini");
    return base_usuari(QStandardPaths::GenericConfigLocation, QStringLiteral("lumiraga")) +
           QStringLiteral("/system.ini");
}

QString fitxer_desfer() {
    if (!qEnvironmentVariableIsEmpty("LUMIRAGA_HOME")) return carpeta_programa() + QStringLiteral("/lrq.tmp");
    return base_usuari(QStandardPaths::GenericCacheLocation, QStringLiteral("lumiraga")) +
           QStringLiteral("/lrq.tmp");
}

QString fitxer_ajuda(const QString& codi) {
    if (codi.isEmpty()) return {};
    QStringList carpetes;
    if (QCoreApplication::instance())
        carpetes << QCoreApplication::applicationDirPath() + QStringLiteral("/ajuda");
#ifdef LUMI_AJUDA_FONTS
    carpetes << QStringLiteral(LUMI_AJUDA_FONTS);
#endif
    for (const QString& c : carpetes) {
        const QFileInfo pagina(c + u'/' + codi + QStringLiteral(".html"));
        if (pagina.isFile()) return pagina.absoluteFilePath();
    }
    return {};
}

QString carpeta_execucio() {
    if (!qEnvironmentVariableIsEmpty("LUMIRAGA_HOME")) return carpeta_programa();
    QString r = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (r.isEmpty()) r = QDir::tempPath();
    return assegurar(r);
}

} // namespace lumi::plataforma
