#include "camins.h"
#include "carpetes.h"
#include "processos.h"
#include "programes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace lumi;

namespace {

QString escriure(const QString& cami, const QByteArray& text, bool executable) {
    QFile f(cami);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(text);
    f.close();
    if (executable) f.setPermissions(f.permissions() | QFileDevice::ExeOwner);
    return cami;
}

// A script that records its process id next to itself and keeps running;
// with `tossut` it ignores the polite request to end.
QByteArray script_que_dura(bool tossut) {
    QByteArray s = "#!/bin/sh\n";
    if (tossut) s += "trap '' TERM\n";
    s += "echo $$ > \"$(dirname \"$0\")/pid\"\nwhile :; do sleep 0.1; done\n";
    return s;
}

qint64 pid_escrit(const QString& carpeta) {
    QFile f(carpeta + QStringLiteral("/pid"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    return f.readAll().trimmed().toLongLong();
}

bool pid_viu(qint64 pid) {
    return pid > 0 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
}

struct Programes : ::testing::Test {
    QTemporaryDir dir;
    QString carpeta;
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        carpeta = dir.path();
        carpeta_activitat() = carpeta;
    }
    void TearDown() override { carpeta_activitat().clear(); }
};

} // namespace

TEST_F(Programes, LaunchedScriptRunsAndClosingEndsIt) {
    for (bool tossut : {false, true}) {
        SCOPED_TRACE(tossut ? "ignores TERM" : "ends on TERM");
        QFile::remove(carpeta + QStringLiteral("/pid"));
        const QString s =
            escriure(carpeta + QStringLiteral("/joc amb blancs.sh"), script_que_dura(tossut), true);
        const Llancament l = executar_programa(s, 1);
        ASSERT_EQ(l.error, 0);
        ASSERT_NE(l.finestra, 0);
        EXPECT_TRUE(plataforma::proces_viu(l.finestra));
        const qint64 pid = pid_escrit(carpeta);
        ASSERT_TRUE(pid_viu(pid));
        tancar_finestra(l.finestra);
        EXPECT_FALSE(plataforma::proces_viu(l.finestra));
        EXPECT_FALSE(pid_viu(pid));
        // A second close of the same handle is harmless.
        tancar_finestra(l.finestra);
    }
}

TEST_F(Programes, BareNameComesFromTheProgramFolder) {
    const QString programa = plataforma::carpeta_programa();
    const QString s = escriure(programa + QStringLiteral("/joc.sh"), script_que_dura(false), true);
    const Llancament l = executar_programa(QStringLiteral("joc.sh"), 1);
    EXPECT_EQ(l.error, 0);
    EXPECT_NE(l.finestra, 0);
    EXPECT_EQ(pid_escrit(programa) > 0, true);
    tancar_finestra(l.finestra);
    QFile::remove(s);
    QFile::remove(programa + QStringLiteral("/pid"));
}

TEST_F(Programes, NamesThatFailTheExistenceCheckGiveError5) {
    const QString programa = plataforma::carpeta_programa();
    // Capitals ".EXE" with no folder: not prefixed, so no folder is named.
    escriure(programa + QStringLiteral("/NOTEPAD.EXE"), "MZ", true);
    escriure(carpeta + QStringLiteral("/NOTEPAD.EXE"), "MZ", true);
    // Spelt otherwise than the folder lists it.
    escriure(carpeta + QStringLiteral("/GAME.EXE"), "MZ", true);
    const QStringList noms{QStringLiteral("NOTEPAD.EXE"), carpeta + QStringLiteral("/Game.EXE"),
                           carpeta + QStringLiteral("/no_hi_es.sh"), QStringLiteral("no_hi_es.txt"),
                           QString()};
    for (const QString& n : noms) {
        SCOPED_TRACE(n.toStdString());
        const Llancament l = executar_programa(n, 1);
        EXPECT_EQ(l.error, ERROR_ARGUMENT);
        EXPECT_EQ(l.finestra, 0);
    }
    QFile::remove(programa + QStringLiteral("/NOTEPAD.EXE"));
}

TEST_F(Programes, WindowsProgramWithoutWineLaunchesNothing) {
    if (!plataforma::cami_wine().isEmpty()) GTEST_SKIP() << "wine is installed here";
    const QString exe = escriure(carpeta + QStringLiteral("/GAME.EXE"), "MZ", true);
    const Llancament l = executar_programa(exe, 1);
    EXPECT_EQ(l.error, 0);
    EXPECT_EQ(l.finestra, 0);
}

TEST_F(Programes, FileNamesReachNoShell) {
    // Were the name handed to a shell, it would create "pwned".
    const QString nom = carpeta + QStringLiteral("/x;touch pwned;$(touch pwned2) `touch pwned3`.sh");
    escriure(nom, "#!/bin/sh\nexit 0\n", true);
    const Llancament l = executar_programa(nom, 1);
    EXPECT_EQ(l.error, 0);
    // It ended within the wait: nothing left to close.
    EXPECT_EQ(l.finestra, 0);
    for (const char* f : {"pwned", "pwned2", "pwned3"}) {
        EXPECT_FALSE(QFileInfo::exists(carpeta + u'/' + QLatin1String(f)));
        EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + u'/' + QLatin1String(f)));
    }
}

// ---- shortcuts ----

namespace {

// The Exec value read back the way a desktop does: string escapes first, then
// the quoting rules, then "%%".
QStringList llegir_exec(const QString& valor) {
    QString s;
    for (qsizetype i = 0; i < valor.size(); ++i) {
        if (valor[i] == u'\\' && i + 1 < valor.size()) {
            const QChar c = valor[++i];
            s += c == u's'   ? QChar(u' ')
                 : c == u'n' ? QChar(u'\n')
                 : c == u't' ? QChar(u'\t')
                 : c == u'r' ? QChar(u'\r')
                             : c;
        } else {
            s += valor[i];
        }
    }
    QStringList args;
    QString actual;
    bool dins = false, hi_ha = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (dins) {
            if (c == u'\\' && i + 1 < s.size())
                actual += s[++i];
            else if (c == u'"')
                dins = false;
            else
                actual += c;
        } else if (c == u'"') {
            dins = hi_ha = true;
        } else if (c == u' ') {
            if (hi_ha) args << actual;
            actual.clear();
            hi_ha = false;
        } else {
            actual += c;
            hi_ha = true;
        }
    }
    if (hi_ha) args << actual;
    for (QString& a : args)
        a.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return args;
}

QMap<QString, QString> llegir_entrada(const QString& fitxer) {
    QMap<QString, QString> r;
    QFile f(fitxer);
    if (!f.open(QIODevice::ReadOnly)) return r;
    for (const QByteArray& linia : f.readAll().split('\n')) {
        const qsizetype eq = linia.indexOf('=');
        if (eq > 0) r[QString::fromUtf8(linia.left(eq))] = QString::fromUtf8(linia.mid(eq + 1));
    }
    return r;
}

struct Dreceres : Programes {
    QByteArray data_vell, config_vell;
    void SetUp() override {
        Programes::SetUp();
        data_vell = qgetenv("XDG_DATA_HOME");
        config_vell = qgetenv("XDG_CONFIG_HOME");
        QDir(carpeta).mkpath(QStringLiteral("config"));
        QDir(carpeta).mkpath(QStringLiteral("Escriptori"));
        escriure(carpeta + QStringLiteral("/config/user-dirs.dirs"),
                 "XDG_DESKTOP_DIR=\"" + (carpeta + QStringLiteral("/Escriptori")).toUtf8() + "\"\n", false);
        qputenv("XDG_DATA_HOME", (carpeta + QStringLiteral("/data")).toUtf8());
        qputenv("XDG_CONFIG_HOME", (carpeta + QStringLiteral("/config")).toUtf8());
    }
    void TearDown() override {
        qputenv("XDG_DATA_HOME", data_vell);
        qputenv("XDG_CONFIG_HOME", config_vell);
        Programes::TearDown();
    }
};

} // namespace

TEST_F(Dreceres, DesktopEntryForAnAwkwardNameReadsBackExactly) {
    const QString nom = QStringLiteral("act \"cometes\" $HOME `x` 100% \\ fi.lrq");
    const QString act = escriure(carpeta + u'/' + nom, "LUMIRAGA", false);
    // The name of the entry follows the stored-reference rule: "\" separates folders.
    const QString nom_drecera = QStringLiteral("act \"cometes\" $HOME 100%");
    ASSERT_EQ(crear_drecera(act, nom_drecera, QStringLiteral("Desktop"), QString()), DRECERA_DESADA);
    const QString fitxer =
        carpeta + QStringLiteral("/Escriptori/") + nom_drecera + QStringLiteral(".desktop");
    ASSERT_TRUE(QFileInfo::exists(fitxer));
    EXPECT_TRUE(QFileInfo(fitxer).isExecutable());
    const auto e = llegir_entrada(fitxer);
    EXPECT_EQ(e.value(QStringLiteral("Type")), QStringLiteral("Application"));
    EXPECT_EQ(e.value(QStringLiteral("Name")), nom_drecera);
    EXPECT_EQ(llegir_exec(e.value(QStringLiteral("Exec"))),
              QStringList({QCoreApplication::applicationFilePath(), act}));
    EXPECT_EQ(llegir_exec(e.value(QStringLiteral("Path"))), QStringList{carpeta});
}

TEST_F(Dreceres, ScriptTargetRunsWithItsArgumentsThroughTheDesktop) {
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    const QString sortida = carpeta + QStringLiteral("/args");
    const QString s = escriure(
        carpeta + QStringLiteral("/diu $1 \"hola\".sh"),
        "#!/bin/sh\nfor a in \"$0\" \"$@\"; do echo \"$a\"; done > \"" + sortida.toUtf8() + "\"\n", true);
    ASSERT_EQ(crear_drecera(s, QStringLiteral("diu"), carpeta, QStringLiteral("u \"dos tres\" %f")),
              DRECERA_DESADA);
    const QString fitxer = carpeta + QStringLiteral("/diu.desktop");
    EXPECT_EQ(llegir_exec(llegir_entrada(fitxer).value(QStringLiteral("Exec"))),
              QStringList({s, QStringLiteral("u"), QStringLiteral("dos tres"), QStringLiteral("%f")}));
    if (gio.isEmpty()) GTEST_SKIP() << "no gio to launch the entry with";
    QProcess p;
    p.start(gio, {QStringLiteral("launch"), fitxer});
    ASSERT_TRUE(p.waitForFinished(10000));
    for (int i = 0; i < 100 && !QFileInfo::exists(sortida); ++i)
        QThread::msleep(50);
    QFile f(sortida);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts),
              QStringList({s, QStringLiteral("u"), QStringLiteral("dos tres"), QStringLiteral("%f")}));
}

TEST_F(Dreceres, MissingTargetOrFolderGiveTheirErrors) {
    const QString act = escriure(carpeta + QStringLiteral("/act.lrq"), "LUMIRAGA", false);
    EXPECT_EQ(crear_drecera(carpeta + QStringLiteral("/cap.lrq"), QStringLiteral("cap"),
                            QStringLiteral("Desktop"), QString()),
              ERROR_NO_TROBAT);
    EXPECT_EQ(crear_drecera(act, QStringLiteral("act"), carpeta + QStringLiteral("/no_existeix"), QString()),
              ERROR_NO_TROBAT);
    // The program group of the menu does not exist yet.
    EXPECT_EQ(
        crear_drecera(act, QStringLiteral("\\lumiraga\\act.lrq"), QStringLiteral("Programs"), QString()),
        ERROR_CAMI);
    const QString grup = carpeta + QStringLiteral("/data/applications/lumiraga");
    ASSERT_TRUE(QDir().mkpath(grup));
    EXPECT_EQ(
        crear_drecera(act, QStringLiteral("\\lumiraga\\act.lrq"), QStringLiteral("Programs"), QString()),
        DRECERA_DESADA);
    const auto e = llegir_entrada(grup + QStringLiteral("/act.lrq.desktop"));
    EXPECT_EQ(e.value(QStringLiteral("Name")), QStringLiteral("act"));
}
