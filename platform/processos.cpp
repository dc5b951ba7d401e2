#include "platform/processos.h"

#include "platform/finestres.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
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

// The machine's launcher: QProcess, and the desktop's opener for documents.
class ProcessosSistema final : public Processos {
  public:
    int32_t llancar(const QString& programa, const QStringList& arguments, const QString& carpeta) override;
    int32_t obrir(const QString& fitxer, const QString& carpeta) override;
    bool viu(int32_t handle) override;
    void acabar(int32_t handle, int gracia_ms) override;
};

Processos* g_processos = nullptr;

// Names that the desktop runs instead of showing, whatever its type database
// makes of their contents.
bool es_nom_de_llancador(const QString& sufix) {
    static const QStringList noms{
        QStringLiteral("DESKTOP"),  QStringLiteral("SH"),  QStringLiteral("BASH"), QStringLiteral("CSH"),
        QStringLiteral("KSH"),      QStringLiteral("ZSH"), QStringLiteral("FISH"), QStringLiteral("PY"),
        QStringLiteral("PYW"),      QStringLiteral("PL"),  QStringLiteral("RB"),   QStringLiteral("PHP"),
        QStringLiteral("LUA"),      QStringLiteral("TCL"), QStringLiteral("JS"),   QStringLiteral("JAR"),
        QStringLiteral("APPIMAGE"), QStringLiteral("RUN"), QStringLiteral("BIN"),  QStringLiteral("BAT"),
        QStringLiteral("CMD"),      QStringLiteral("PIF"), QStringLiteral("LNK"),  QStringLiteral("MSI"),
        QStringLiteral("VBS"),      QStringLiteral("WSF"), QStringLiteral("PS1")};
    return noms.contains(sufix);
}

// Types whose files the desktop's opener would run.
bool es_tipus_executable(const QMimeType& tipus) {
    for (const char* t : {"application/x-executable", "application/x-sharedlib", "application/x-desktop",
                          "application/x-shellscript", "application/x-ms-dos-executable",
                          "application/x-msdownload", "application/x-msi", "application/x-java-archive"})
        if (tipus.inherits(QLatin1String(t))) return true;
    return false;
}

} // namespace

QString cami_wine() {
    return QStandardPaths::findExecutable(QStringLiteral("wine"));
}

bool es_programa_windows(const QString& fitxer) {
    const QString s = QFileInfo(fitxer).suffix().toUpper();
    return s == u"EXE" || s == u"COM" || s == u"SCR";
}

Obertura obertura_de(const QString& fitxer) {
    const QFileInfo fi(fitxer);
    if (!fi.isFile()) return Obertura::refusada;
    QFile f(fi.absoluteFilePath());
    if (!f.open(QIODevice::ReadOnly)) return Obertura::refusada;
    const QByteArray cap = f.read(4);
    f.close();
    // Wine runs a native program handed to it as well: only a file with a
    // Windows program's header goes there.
    if (es_programa_windows(fitxer))
        return cap.startsWith("MZ") ? Obertura::programa_windows : Obertura::refusada;
    constexpr QFileDevice::Permissions execucio =
        QFileDevice::ExeOwner | QFileDevice::ExeUser | QFileDevice::ExeGroup | QFileDevice::ExeOther;
    if (fi.permissions() & execucio) return Obertura::refusada;
    if (cap.startsWith("#!") || cap.startsWith("\177ELF") || cap.startsWith("MZ")) return Obertura::refusada;
    if (es_nom_de_llancador(fi.suffix().toUpper())) return Obertura::refusada;
    if (es_tipus_executable(QMimeDatabase().mimeTypeForFile(fi))) return Obertura::refusada;
    return Obertura::document;
}

int32_t ProcessosSistema::llancar(const QString& programa, const QStringList& arguments,
                                  const QString& carpeta) {
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
    // Whatever it opens comes up in front of the player.
    portar_al_davant(p, p->processId());
    auto& r = registre();
    const int32_t handle = r.seguent++;
    r.processos[handle] = p;
    QObject::connect(p, &QProcess::finished, p, [handle, p] {
        registre().processos.erase(handle);
        p->deleteLater();
    });
    return handle;
}

int32_t ProcessosSistema::obrir(const QString& fitxer, const QString& carpeta) {
    const QFileInfo fi(fitxer);
    const Obertura o = obertura_de(fitxer);
    if (o == Obertura::refusada) return 0;
    if (o == Obertura::programa_windows) {
        const QString wine = cami_wine();
        if (wine.isEmpty()) return 0;
        QStringList args{fi.absoluteFilePath()};
        // A screen saver opened from the desktop runs full screen.
        if (fi.suffix().toUpper() == u"SCR") args << QStringLiteral("/s");
        return llancar(wine, args, carpeta);
    }
    const QString obridor = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!obridor.isEmpty()) return llancar(obridor, {fi.absoluteFilePath()}, carpeta);
    // No opener we can follow: the desktop may still open it, under a handle
    // of nothing, as nothing can close it later; 0 when nothing opened it.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(fi.absoluteFilePath()))) return 0;
    return registre().seguent++;
}

bool ProcessosSistema::viu(int32_t handle) {
    QProcess* p = proces_de(handle);
    return p && p->state() != QProcess::NotRunning;
}

void ProcessosSistema::acabar(int32_t handle, int gracia_ms) {
    QProcess* p = proces_de(handle);
    if (!p || p->state() == QProcess::NotRunning) return;
    p->terminate();
    if (!p->waitForFinished(gracia_ms)) {
        p->kill();
        p->waitForFinished(2000);
    }
}

Processos& processos() {
    static ProcessosSistema sistema;
    return g_processos ? *g_processos : sistema;
}

void posar_processos(Processos* p) {
    g_processos = p;
}

int32_t llancar_proces(const QString& programa, const QStringList& arguments, const QString& carpeta) {
    return processos().llancar(programa, arguments, carpeta);
}

int32_t obrir_fitxer(const QString& fitxer, const QString& carpeta) {
    return processos().obrir(fitxer, carpeta);
}

bool proces_viu(int32_t handle) {
    return processos().viu(handle);
}

void acabar_proces(int32_t handle, int gracia_ms) {
    processos().acabar(handle, gracia_ms);
}

} // namespace lumi::plataforma
