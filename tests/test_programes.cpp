#include "core/camins.h"
#include "platform/carpetes.h"
#include "core/fitxer_lrq.h"
#include "platform/pantalla.h"
#include "presentacio_prova.h"
#include "platform/processos.h"
#include "comuns/programes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
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

bool pid_viu(qint64 pid) {
    return pid > 0 && QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid));
}

qint64 pid_escrit(const QString& carpeta) {
    QFile f(carpeta + QStringLiteral("/pid"));
    if (!f.open(QIODevice::ReadOnly)) return 0;
    return f.readAll().trimmed().toLongLong();
}

// The header of a Windows program: what the wine route asks of a file.
const QByteArray PROGRAMA_WINDOWS("MZ\x90\0\3\0\0\0", 8);

// Stand-ins for wine and the desktop's opener, first on the PATH: each writes
// down what it was handed. The wine stand-in does what wine does with a file
// that is no Windows program: it runs it as it is. A Windows program "runs"
// until it is ended, recording its process id next to itself; it ignores the
// polite request to end when the file "tossut" lies beside the stand-ins.
struct Eines {
    QTemporaryDir dir;
    QByteArray path_vell;
    Eines() {
        path_vell = qgetenv("PATH");
        escriure(dir.filePath(QStringLiteral("wine")), R"sh(#!/bin/sh
echo "wine $*" >> "$(dirname "$0")/registre"
if [ "$(head -c 2 "$1")" != MZ ]; then exec "$1"; fi
[ -e "$(dirname "$0")/tossut" ] && trap '' TERM
echo $$ > "$(dirname "$1")/pid"
while :; do sleep 0.1; done
)sh",
                 true);
        escriure(dir.filePath(QStringLiteral("xdg-open")),
                 "#!/bin/sh\necho \"xdg-open $*\" >> \"$(dirname \"$0\")/registre\"\n", true);
        qputenv("PATH", dir.path().toUtf8() + ':' + path_vell);
    }
    ~Eines() { qputenv("PATH", path_vell); }
    // One line for each call.
    std::string registre() const {
        QFile f(dir.filePath(QStringLiteral("registre")));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return f.readAll().toStdString();
    }
    void tossut(bool si) {
        if (si)
            escriure(dir.filePath(QStringLiteral("tossut")), "", false);
        else
            QFile::remove(dir.filePath(QStringLiteral("tossut")));
    }
};

// A file that, were it ever run, leaves "<nom>.marca" beside itself.
QString parany(const QString& carpeta, const QString& nom, bool executable) {
    return escriure(carpeta + u'/' + nom,
                    "#!/bin/sh\ntouch \"" + (carpeta + u'/' + nom).toUtf8() + ".marca\"\n", executable);
}

// The markers that files of `carpeta` left by running, after giving a
// started one time to get there.
std::string marques(const QString& carpeta) {
    QThread::msleep(300);
    return QDir(carpeta).entryList({QStringLiteral("*.marca")}, QDir::Files).join(u' ').toStdString();
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

TEST_F(Programes, WindowsProgramRunsThroughWineAndClosingEndsIt) {
    Eines eines;
    for (bool tossut : {false, true}) {
        SCOPED_TRACE(tossut ? "ignores TERM" : "ends on TERM");
        eines.tossut(tossut);
        QFile::remove(carpeta + QStringLiteral("/pid"));
        const QString s = escriure(carpeta + QStringLiteral("/joc amb blancs.EXE"), PROGRAMA_WINDOWS, true);
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
    EXPECT_EQ(QByteArray::fromStdString(eines.registre()).count('\n'), 2);
}

TEST_F(Programes, BareNameComesFromTheProgramFolder) {
    Eines eines;
    const QString programa = plataforma::carpeta_programa();
    const QString s = escriure(programa + QStringLiteral("/joc.exe"), PROGRAMA_WINDOWS, false);
    const Llancament l = executar_programa(QStringLiteral("joc.exe"), 1);
    EXPECT_EQ(l.error, 0);
    EXPECT_NE(l.finestra, 0);
    EXPECT_EQ(pid_escrit(programa) > 0, true);
    EXPECT_EQ(eines.registre(), "wine " + s.toStdString() + '\n');
    tancar_finestra(l.finestra);
    QFile::remove(s);
    QFile::remove(programa + QStringLiteral("/pid"));
}

TEST_F(Programes, NamesThatFailTheExistenceCheckGiveError5) {
    const QString programa = plataforma::carpeta_programa();
    // Capitals ".EXE" with no folder: not prefixed, so no folder is named.
    escriure(programa + QStringLiteral("/NOTEPAD.EXE"), PROGRAMA_WINDOWS, true);
    escriure(carpeta + QStringLiteral("/NOTEPAD.EXE"), PROGRAMA_WINDOWS, true);
    // Spelt otherwise than the folder lists it.
    escriure(carpeta + QStringLiteral("/GAME.EXE"), PROGRAMA_WINDOWS, true);
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
    const QString exe = escriure(carpeta + QStringLiteral("/GAME.EXE"), PROGRAMA_WINDOWS, true);
    const Llancament l = executar_programa(exe, 1);
    EXPECT_EQ(l.error, 0);
    EXPECT_EQ(l.finestra, 0);
}

TEST_F(Programes, FileNamesReachNoShell) {
    Eines eines;
    // Were the name handed to a shell, it would create "pwned".
    const QString nom = carpeta + QStringLiteral("/x;touch pwned;$(touch pwned2) `touch pwned3`.exe");
    escriure(nom, PROGRAMA_WINDOWS, true);
    const Llancament l = executar_programa(nom, 1);
    EXPECT_EQ(l.error, 0);
    EXPECT_NE(l.finestra, 0);
    tancar_finestra(l.finestra);
    EXPECT_EQ(eines.registre(), "wine " + nom.toStdString() + '\n');
    for (const char* f : {"pwned", "pwned2", "pwned3"}) {
        EXPECT_FALSE(QFileInfo::exists(carpeta + u'/' + QLatin1String(f)));
        EXPECT_FALSE(QFileInfo::exists(QDir::currentPath() + u'/' + QLatin1String(f)));
    }
}

// Files handed around with an activity keep their execute bits; none of them
// may make the program run native code, whatever it is called.
TEST_F(Programes, NothingALaunchIsHandedRunsAsNativeCode) {
    Eines eines;
    // "payloadexe" has no dot; scripts named .exe, .scr or .com are what wine
    // would run as they are; the rest are scripts by name or by their start,
    // or documents marked executable.
    QStringList refusats{
        parany(carpeta, QStringLiteral("payloadexe"), true),
        parany(carpeta, QStringLiteral("prog.exe"), true),
        parany(carpeta, QStringLiteral("estalvi.scr"), true),
        parany(carpeta, QStringLiteral("prog.COM"), false),
        parany(carpeta, QStringLiteral("payload.sh"), true),
        parany(carpeta, QStringLiteral("altre.sh"), false),
        parany(carpeta, QStringLiteral("llegeix.txt"), false),
        parany(carpeta, QStringLiteral("fitxa.pdf"), true),
        parany(carpeta, QStringLiteral("dades"), false),
    };
    refusats << escriure(carpeta + QStringLiteral("/x.desktop"),
                         "[Desktop Entry]\nType=Application\nName=x\nExec=touch " + carpeta.toUtf8() +
                             "/x.desktop.marca\n",
                         false);
    refusats << escriure(carpeta + QStringLiteral("/script.py"), "import os\n", false);
    // A native program under a Windows name.
    QFile::copy(QStringLiteral("/bin/true"), carpeta + QStringLiteral("/elf.exe"));
    refusats << carpeta + QStringLiteral("/elf.exe");
    // A Windows program under another name goes nowhere either.
    refusats << escriure(carpeta + QStringLiteral("/programa.pdf"), PROGRAMA_WINDOWS, false);
    for (const QString& n : refusats) {
        SCOPED_TRACE(n.toStdString());
        const Llancament l = executar_programa(n, 3);
        EXPECT_EQ(l.error, ERROR_ARGUMENT);
        EXPECT_EQ(l.finestra, 0);
        EXPECT_EQ(plataforma::obrir_fitxer(n, carpeta), 0);
    }
    EXPECT_EQ(marques(carpeta), "");
    EXPECT_EQ(eines.registre(), "");

    // What is allowed goes where it belongs.
    const QString document = escriure(carpeta + QStringLiteral("/fitxa de treball.pdf"), "%PDF-1.4\n", false);
    const QString exe = escriure(carpeta + QStringLiteral("/joc.exe"), PROGRAMA_WINDOWS, true);
    EXPECT_EQ(executar_programa(document, 1).error, 0);
    const Llancament l = executar_programa(exe, 3);
    EXPECT_EQ(l.error, 0);
    tancar_finestra(l.finestra);
    EXPECT_EQ(eines.registre(), "xdg-open " + document.toStdString() + "\nwine " + exe.toStdString() + '\n');
}

// ---- the same through the player ----

namespace {

// The player window with its real launch services.
struct ActivitatRebuda : proves::FinestraProva {
    QTemporaryDir dir;
    void SetUp() override {
        FinestraProva::SetUp();
        serveis_presentacio() = serveis_presentacio_reals();
    }
    void TearDown() override {
        if (f) f->exercici_atura();
        FinestraProva::TearDown();
        plataforma::mostrar_cursor();
    }
};

} // namespace

TEST_F(ActivitatRebuda, ItsStimuliAndReactionsRunNoneOfTheFilesItNames) {
    Eines eines;
    const QString carpeta = dir.path();
    parany(carpeta, QStringLiteral("payloadexe"), true);
    parany(carpeta, QStringLiteral("prog.exe"), true);
    parany(carpeta, QStringLiteral("estalvi.scr"), true);
    {
        // Item 1 shows a program and answers the space bar with another; item
        // 2 shows a screen saver. Names are relative to the activity's folder.
        Activitat& a = activitat();
        a = Activitat{};
        a.items.assign(3, item{});
        a.nombre_items = 2;
        a.mode_estimul = QStringLiteral("1");
        a.items[1].estimuls = QStringLiteral("1") + proves::sep() + QStringLiteral("payloadexe");
        a.items[1].teclat[2] = 1;
        a.items[1].si_be = QStringLiteral("1") + proves::sep() + QStringLiteral("prog.exe");
        a.items[1].retard_be = 0.5f;
        a.items[2].estimuls = QStringLiteral("1") + proves::sep() + QStringLiteral("estalvi.scr");
        ASSERT_TRUE(desar_exercici(carpeta + QStringLiteral("/regal.lrq")));
        a = Activitat{};
    }
    f->carregar_lrq(carpeta + QStringLiteral("/regal.lrq"));
    ASSERT_TRUE(f->exercici_en_marxa);
    ASSERT_EQ(activitat().nombre_items, 2);
    QTest::keyClick(f.get(), Qt::Key_Space);

    EXPECT_EQ(marques(carpeta), "");
    EXPECT_EQ(eines.registre(), "");
    // A launch that fails is not the learner's business: no message, and the
    // run goes on as if the stimulus had shown nothing.
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(f->exercici_en_marxa);
    EXPECT_EQ(informe().respostes_be, 1);
    EXPECT_EQ(informe().nombre_preguntes, 2);
    EXPECT_TRUE(
        informe_detall().contains(QStringLiteral("| ESTIMUL ") + carpeta + QStringLiteral("/estalvi.scr")));
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
    const QString s =
        escriure(carpeta + QStringLiteral("/diu $1 \"hola\".sh"),
                 // Written aside and renamed, so the test never reads half of it.
                 "#!/bin/sh\nfor a in \"$0\" \"$@\"; do echo \"$a\"; done > \"" + sortida.toUtf8() +
                     ".part\" && mv \"" + sortida.toUtf8() + ".part\" \"" + sortida.toUtf8() + "\"\n",
                 true);
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
