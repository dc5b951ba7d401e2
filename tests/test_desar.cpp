// Every save is whole or not at all, and leaves nothing beside the file even
// when the program is killed half way through.
#include "core/desar.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "platform/camera.h"
#include "platform/dreceres.h"
#include "platform/ini.h"
#include "platform/moduls.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace lumi;

namespace {

QByteArray llegir(const QString& cami) {
    QFile f(cami);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(cap)");
}

// What a folder holds, hidden files too, as one text for the messages.
std::string contingut(const QString& carpeta) {
    return QDir(carpeta)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
        .join(u' ')
        .toStdString();
}

void escriure(const QString& cami, const QByteArray& dades) {
    QFile f(cami);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(dades);
}

} // namespace

TEST(Desar, AnIniWriteKilledAtAnyMomentLeavesTheOldOrTheNewFileAndNoStray) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString ini = dir.filePath(QStringLiteral("lumiraga.ini"));
    // Long values, so a kill often lands inside a write.
    const QString a = QString(20000, u'a');
    const QString b = QString(30000, u'b');
    ASSERT_TRUE(plataforma::ini_escriure(ini, QStringLiteral("inici"), QStringLiteral("v"), b));
    const QByteArray fitxer_b = llegir(ini);
    ASSERT_TRUE(plataforma::ini_escriure(ini, QStringLiteral("inici"), QStringLiteral("v"), a));
    const QByteArray fitxer_a = llegir(ini);

    std::mt19937 gen(7);
    for (int k = 0; k < 300; ++k) {
        const pid_t fill = fork();
        ASSERT_GE(fill, 0);
        if (fill == 0) {
            for (int i = 0; i < 100000; ++i)
                plataforma::ini_escriure(ini, QStringLiteral("inici"), QStringLiteral("v"), i % 2 ? a : b);
            _exit(0);
        }
        usleep(static_cast<useconds_t>(200 + gen() % 3000));
        kill(fill, SIGKILL);
        int estat = 0;
        waitpid(fill, &estat, 0);
        const QByteArray ara = llegir(ini);
        ASSERT_TRUE(ara == fitxer_a || ara == fitxer_b) << "kill " << k << ": " << ara.size() << " bytes";
        // The next save leaves the file alone in its folder.
        ASSERT_TRUE(plataforma::ini_escriure(ini, QStringLiteral("inici"), QStringLiteral("v"), a));
        ASSERT_EQ(contingut(dir.path()), "lumiraga.ini") << "kill " << k;
    }
}

TEST(Desar, TheNextSaveRemovesOnlyItsOwnDeadCopies) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString f = dir.filePath(QStringLiteral("act.lrq"));
    const QString prefix = dir.filePath(prefix_copia_desant(QStringLiteral("act.lrq")));
    escriure(prefix + QStringLiteral("Ab12Cd"), "copia d'un desament mort");
    // A save still running holds its copy locked.
    escriure(prefix + QStringLiteral("Viu000"), "copia d'un desament viu");
    QFile viu(prefix + QStringLiteral("Viu000"));
    ASSERT_TRUE(viu.open(QIODevice::ReadOnly));
    ASSERT_EQ(flock(viu.handle(), LOCK_EX | LOCK_NB), 0);
    // Files that are not our copies of this file.
    escriure(f + QStringLiteral(".bak"), "x");
    escriure(dir.filePath(prefix_copia_desant(QStringLiteral("altre.lrq")) + QStringLiteral("Ab12Cd")), "x");
    escriure(prefix + QStringLiteral("llarg99"), "x");

    ASSERT_TRUE(desar_fitxer(f, "nou"));
    EXPECT_EQ(llegir(f), "nou");
    EXPECT_EQ(contingut(dir.path()),
              ".act.lrq.desant-llarg99 .act.lrq.desant-Viu000 .altre.lrq.desant-Ab12Cd "
              "act.lrq act.lrq.bak");
}

TEST(Desar, KeepsPermissionsFollowsLinksAndRefusesWhatItMayNotReplace) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString f = dir.filePath(QStringLiteral("a.ini"));
    escriure(f, "vell");
    ASSERT_TRUE(QFile::setPermissions(f, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    ASSERT_TRUE(desar_fitxer(f, "nou"));
    EXPECT_EQ(llegir(f), "nou");
    EXPECT_EQ(QFile::permissions(f) & 0x7777, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadUser | QFileDevice::WriteUser);

    // A shortcut becomes executable by its owner, and only by its owner.
    const QString d = dir.filePath(QStringLiteral("a.desktop"));
    plataforma::Drecera dr;
    dr.nom = QStringLiteral("Act");
    dr.ordre = {QStringLiteral("/usr/bin/lumiraga"), QStringLiteral("/act/a b.lrq")};
    ASSERT_TRUE(plataforma::escriure_drecera(d, dr));
    EXPECT_TRUE(QFile::permissions(d) & QFileDevice::ExeOwner);
    EXPECT_FALSE(QFile::permissions(d) & QFileDevice::ExeOther);
    EXPECT_EQ(QString::fromUtf8(llegir(d)), plataforma::text_drecera(dr));

    // Through a link the file it names changes; the link stays a link.
    const QString enllac = dir.filePath(QStringLiteral("enllac.ini"));
    ASSERT_TRUE(QFile::link(f, enllac));
    ASSERT_TRUE(desar_fitxer(enllac, "per l'enllac"));
    EXPECT_TRUE(QFileInfo(enllac).isSymLink());
    EXPECT_EQ(llegir(f), "per l'enllac");

    // A folder, or a folder that is not there, is no file to save.
    EXPECT_FALSE(desar_fitxer(dir.path(), "x"));
    EXPECT_FALSE(desar_fitxer(dir.filePath(QStringLiteral("no/hi/es.ini")), "x"));
    EXPECT_EQ(contingut(dir.path()), "a.desktop a.ini enllac.ini");
}

TEST(Desar, TheProgramsOwnFilesAreNeverWrittenThroughAnotherUsersLinkOrFile) {
    if (geteuid() != 0) GTEST_SKIP() << "a file of another user needs root";
    QTemporaryDir dir;
    const QString meu = dir.filePath(QStringLiteral("meu.lrq"));
    escriure(meu, "del mestre");
    QStringList avisos;
    avis_usuari() = [&](const QString& t) { avisos << t; };
    cami_desfer() = dir.filePath(QStringLiteral("lrq.tmp"));
    const std::pair<const char*, std::function<bool(const QString&)>> escriptures[] = {
        {"lumiraga.ini", [](const QString& c) { return plataforma::ini_escriure(c, "a", "b", "c"); }},
        {"lrq.tmp", [](const QString& c) { return desar_exercici(c); }},
        {"tmp.bmp",
         [](const QString& c) { return plataforma::desar_bmp(QImage(4, 4, QImage::Format_RGB32), c); }}};
    for (const QByteArray altre : {"", "d'un altre"})
        for (const auto& [nom, escriu] : escriptures) {
            const QString cami = dir.filePath(QLatin1String(nom));
            QFile::remove(cami);
            altre.isEmpty() ? QFile::link(meu, cami) : (escriure(cami, altre), true);
            ASSERT_EQ(lchown(QFile::encodeName(cami).constData(), 65534, 65534), 0);
            EXPECT_FALSE(escriu(cami)) << nom;
            EXPECT_EQ(llegir(meu) + llegir(cami), "del mestre" + (altre.isEmpty() ? "del mestre" : altre))
                << nom;
        }
    // Told once for each file, in the interface language.
    ASSERT_EQ(avisos.size(), 3);
    EXPECT_EQ(avisos[0], tradueix(QStringLiteral("fitxers|alie")) + u'\n' + dir.filePath("lumiraga.ini"));

    // Nor is the program's code taken from such a file.
    const QString modul = dir.filePath(QStringLiteral("liblumi_media.so"));
    escriure(modul, "codi");
    EXPECT_TRUE(plataforma::modul_de_confianca(modul));
    QFile::setPermissions(modul, QFile::permissions(modul) | QFile::WriteOther);
    EXPECT_FALSE(plataforma::modul_de_confianca(modul));
    ASSERT_EQ(chown(QFile::encodeName(modul).constData(), 65534, 65534), 0);
    QFile::setPermissions(modul, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    EXPECT_FALSE(plataforma::modul_de_confianca(modul));
}
