#include "platform/presentacions.h"

#include "platform/finestres.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <csignal>
#include <sys/types.h>
#include <unistd.h>

namespace lumi::plataforma {

namespace {

FabricaPresentacions& fabrica() {
    static FabricaPresentacions f;
    return f;
}

QString cami_soffice() {
    QString s = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (s.isEmpty()) s = QStandardPaths::findExecutable(QStringLiteral("libreoffice"));
    return s;
}

// Impress in a profile of its own, so the show is a process of ours that we
// can end, never handed over to a LibreOffice the user already runs.
class Impress final : public AplicacioPresentacions {
  public:
    explicit Impress(QString programa) : programa_(std::move(programa)) {}
    ~Impress() override { acabar(); }

    bool posar_visible(bool visible) override {
        visible_ = visible;
        return true;
    }
    bool obrir(const QString& fitxer) override {
        const QFileInfo fi(fitxer);
        if (!fi.isFile()) return false;
        fitxer_ = fi.absoluteFilePath();
        return true;
    }
    bool executar_presentacio(int n) override {
        if (n != 1 || fitxer_.isEmpty() || !visible_) return false;
        acabar();
        const QString perfil =
            QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + QStringLiteral("/impress");
        QDir().mkpath(perfil);
        proces_ = new QProcess(QCoreApplication::instance());
        proces_->setProgram(programa_);
        proces_->setArguments(
            {QStringLiteral("-env:UserInstallation=") + QUrl::fromLocalFile(perfil).toString(),
             QStringLiteral("--norestore"), QStringLiteral("--nologo"), QStringLiteral("--show"), fitxer_});
        proces_->setStandardInputFile(QProcess::nullDevice());
        proces_->setStandardOutputFile(QProcess::nullDevice());
        proces_->setStandardErrorFile(QProcess::nullDevice());
        // A group of its own: the launcher starts the real office process as
        // a child, and ending the show must end both.
        proces_->setChildProcessModifier([] { ::setsid(); });
        proces_->start();
        if (!proces_->waitForStarted(3000)) return false;
        // The show comes up in front of the player.
        portar_al_davant(proces_, proces_->processId());
        return true;
    }
    bool tancar_presentacio(int n) override {
        if (n != 1 || fitxer_.isEmpty()) return false;
        fitxer_.clear();
        return true;
    }
    bool sortir_finestra_presentacio(int n) override {
        if (n != 1 || !proces_) return false;
        acabar();
        return true;
    }
    bool sortir() override {
        acabar();
        return true;
    }

  private:
    void acabar() {
        if (!proces_) return;
        if (proces_->state() != QProcess::NotRunning) {
            const auto pid = static_cast<pid_t>(proces_->processId());
            if (pid > 0) ::kill(-pid, SIGTERM);
            if (!proces_->waitForFinished(1500)) {
                if (pid > 0) ::kill(-pid, SIGKILL);
                proces_->waitForFinished(1000);
            }
        }
        proces_->deleteLater();
        proces_ = nullptr;
    }

    QString programa_;
    QString fitxer_;
    bool visible_ = false;
    QProcess* proces_ = nullptr;
};

} // namespace

std::unique_ptr<AplicacioPresentacions> crear_impress() {
    const QString programa = cami_soffice();
    if (programa.isEmpty()) return nullptr;
    return std::make_unique<Impress>(programa);
}

std::unique_ptr<AplicacioPresentacions> crear_aplicacio_presentacions() {
    if (fabrica()) return fabrica()();
    return crear_impress();
}

void posar_fabrica_presentacions(FabricaPresentacions f) {
    fabrica() = std::move(f);
}

} // namespace lumi::plataforma
