#include "core/activitat.h"
#include "core/camins.h"
#include "player/inici.h"
#include "comuns/llistes_fitxers.h"
#include "comuns/rec_graf.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace lumi;

namespace {

QStringList textos(const QComboBox* c) {
    QStringList r;
    for (int i = 0; i < c->count(); ++i)
        r << c->itemText(i);
    return r;
}

QStringList textos(const QListWidget* l) {
    QStringList r;
    for (int i = 0; i < l->count(); ++i)
        r << l->item(i)->text().trimmed();
    return r;
}

} // namespace

TEST(LlistesFitxers, StartDialogAndChooserShareTheDrivesAndFollowTheFolder) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    carpeta_activitat() = tmp.path();
    for (const char* nom : {"b.LRQ", "A.lrq", "Z.Lrq", "c.txt"}) {
        QFile f(tmp.filePath(QString::fromLatin1(nom)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    const EstatJugador jugador_abans = jugador();
    rec_graf triador;
    inici* d = inici::instancia();

    // One rule on both forms: the root and the home folder, none of the
    // system's own mounts.
    const QStringList drives = textos(d->Drive1);
    EXPECT_EQ(textos(triador.Drive1), drives);
    EXPECT_EQ(drives.value(0), QStringLiteral("/"));
    EXPECT_TRUE(drives.contains(QDir::homePath()));
    for (const QString& u : drives)
        for (const char* sistema : {"/proc", "/sys", "/dev", "/run/user"})
            EXPECT_FALSE(u.startsWith(QLatin1String(sistema))) << u.toStdString();

    // The drive list shows the drive that holds the folder shown.
    d->posar_carpeta(QDir::homePath());
    triador.Dir1->setPath(QDir::homePath());
    EXPECT_EQ(d->Drive1->drive(), QDir::homePath());
    EXPECT_EQ(triador.Drive1->drive(), QDir::homePath());
    d->posar_carpeta(tmp.path());
    triador.Dir1->setPath(tmp.path());
    EXPECT_EQ(d->Drive1->drive(), QStringLiteral("/"));
    EXPECT_EQ(triador.Drive1->drive(), QStringLiteral("/"));

    // The start dialog's activities, whatever their letter case, in the
    // order a reader expects.
    EXPECT_EQ(textos(d->File1),
              (QStringList{QStringLiteral("A.lrq"), QStringLiteral("b.LRQ"), QStringLiteral("Z.Lrq")}));

    d->descarregar();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    carpeta_activitat().clear();
    jugador() = jugador_abans;
}

TEST(LlistesFitxers, DriveListTakesTheLongestRootHoldingTheFolder) {
    LlistaUnitats u;
    u.clear();
    u.addItems({QStringLiteral("/"), QStringLiteral("/home/u"), QStringLiteral("/media/u/USB")});
    u.setCurrentIndex(1);
    QSignalSpy canvis(&u, &QComboBox::currentIndexChanged);
    const struct {
        const char* carpeta;
        const char* drive;
    } casos[] = {{"/media/u/USB/fotos/", "/media/u/USB"},
                 {"/media/u/USB2", "/"},
                 {"/home/u", "/home/u"},
                 {"/home/usuari", "/"}};
    for (const auto& c : casos) {
        u.seguir(QString::fromLatin1(c.carpeta));
        EXPECT_EQ(u.drive(), QString::fromLatin1(c.drive)) << c.carpeta;
    }
    EXPECT_EQ(canvis.count(), 0);
}

TEST(LlistesFitxers, FolderListLeadsDownFromTheRootAndGoesWhereChosen) {
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    for (const char* nom : {"b", "A", "c"})
        ASSERT_TRUE(QDir(tmp.path()).mkdir(QString::fromLatin1(nom)));
    LlistaCarpetes l;
    QSignalSpy canvis(&l, &LlistaCarpetes::canviat);
    ASSERT_TRUE(l.setPath(tmp.path() + QStringLiteral("/./")));
    EXPECT_EQ(l.path(), QDir::cleanPath(tmp.path()));

    // "/", each folder on the way, the folder itself (current), then its
    // subfolders without regard to letter case.
    const QStringList passos = tmp.path().split(u'/', Qt::SkipEmptyParts);
    QStringList esperat{QStringLiteral("/")};
    esperat << passos << QStringList{QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("c")};
    EXPECT_EQ(textos(&l), esperat);
    EXPECT_EQ(l.currentRow(), passos.size());

    // Enter on a subfolder goes into it; one on the root goes up there.
    l.setCurrentRow(static_cast<int>(passos.size()) + 2);
    QTest::keyClick(&l, Qt::Key_Return);
    EXPECT_EQ(l.path(), tmp.filePath(QStringLiteral("b")));
    l.setCurrentRow(0);
    QTest::keyClick(&l, Qt::Key_Return);
    EXPECT_EQ(l.path(), QStringLiteral("/"));
    EXPECT_EQ(canvis.count(), 3);

    // A folder that is not there leaves the list as it was.
    const QStringList abans = textos(&l);
    EXPECT_FALSE(l.setPath(tmp.filePath(QStringLiteral("no_hi_es"))));
    EXPECT_EQ(l.path(), QStringLiteral("/"));
    EXPECT_EQ(textos(&l), abans);
    EXPECT_EQ(canvis.count(), 3);
}
