#include "processos.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <map>

namespace lumi::plataforma {

namespace {

struct Registre {
    std::map<int32_t, QPointer<QProcess>> processos;
    int32_t seguent = 1;
};

Registre& registre() {
    static Registre r;
    return r;
}

QProcess* proces_de(int32_t handle) {
    auto& r = registre();
    const auto it = r.processos.find(handle);
    if (it == r.processos.end()) return nullptr;
    return it->second.data();
}

} // namespace

QString cami_wine() {
    return QStandardPaths::findExecutable(QStringLiteral("wine"));
}

bool es_programa_windows(const QString& fitxer) {
    const QString s = QFileInfo(fitxer).suffix().toUpper();
    return s == u"EXE" || s == u"COM" || s == u"SCR";
}

int32_t llancar_proces(const QString& programa, const QStringList& arguments, const QString& carpeta) {
    auto* p = new QProcess(QCoreApplication::instance());
    p->setProgram(programa);
    p->setArguments(arguments);
    if (!carpeta.isEmpty()) p->setWorkingDirectory(carpeta);
    // Nobody reads what the program prints: buffering it would only grow.
    p->setStandardInputFile(QProcess::nullDevice());
    p->setStandardOutputFile(QProcess::nullDevice());
    p->setStandardErrorFile(QProcess::nullDevice());
    p->start();
    if (!p->waitForStarted(5000)) {
        delete p;
        return 0;
    }
    auto& r = registre();
    const int32_t handle = r.seguent++;
    r.processos[handle] = p;
    QObject::connect(p, &QProcess::finished, p, [handle, p] {
        registre().processos.erase(handle);
        p->deleteLater();
    });
    return handle;
}

int32_t obrir_fitxer(const QString& fitxer, const QString& carpeta) {
    const QFileInfo fi(fitxer);
    if (!fi.exists()) return 0;
    if (es_programa_windows(fitxer)) {
        const QString wine = cami_wine();
        if (wine.isEmpty()) return 0;
        QStringList args{fi.absoluteFilePath()};
        // A screen saver opened from the desktop runs full screen.
        if (fi.suffix().toUpper() == u"SCR") args << QStringLiteral("/s");
        return llancar_proces(wine, args, carpeta);
    }
    if (fi.isFile() && fi.isExecutable()) return llancar_proces(fi.absoluteFilePath(), {}, carpeta);
    const QString obridor = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!obridor.isEmpty()) return llancar_proces(obridor, {fi.absoluteFilePath()}, carpeta);
    // No opener we can follow: the desktop still opens it, but nothing can close it later.
    QDesktopServices::openUrl(QUrl::fromLocalFile(fi.absoluteFilePath()));
    return 0;
}

bool proces_viu(int32_t handle) {
    QProcess* p = proces_de(handle);
    return p && p->state() != QProcess::NotRunning;
}

void acabar_proces(int32_t handle, int gracia_ms) {
    QProcess* p = proces_de(handle);
    if (!p || p->state() == QProcess::NotRunning) return;
    p->terminate();
    if (!p->waitForFinished(gracia_ms)) {
        p->kill();
        p->waitForFinished(2000);
    }
}

} // namespace lumi::plataforma
