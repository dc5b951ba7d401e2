#include "player/Form1.h"
#include "ajudes.h"
#include "core/camins.h"
#include "platform/carpetes.h"
#include "contestador.h"
#include "core/fitxer_lrq.h"
#include "core/idioma.h"
#include "core/informe.h"
#include "platform/ini.h"
#include "platform/instancia.h"
#include "player/menus.h"
#include "platform/motor_veu.h"
#include "platform/motor_veu_sintetic.h"
#include "platform/rellotge_sintetic.h"
#include "veu_prova.h"

#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <deque>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>

using namespace lumi;
using namespace lumi::proves;

namespace {

const QStringList LLENGUES{IDIOMA_CATALA, IDIOMA_ESPANOL, IDIOMA_GALEGO};

// Answers the menus' open and save choices from a queue and keeps the requests.
struct TriadorProva {
    std::deque<std::optional<QString>> respostes;
    std::vector<EleccioFitxer> peticions;
};

struct Menus : ::testing::Test {
    QTemporaryDir tmp;
    TriadorProva triador;
    std::unique_ptr<Form1> f;

    void SetUp() override {
        QDir casa(plataforma::carpeta_programa());
        for (const QString& n : casa.entryList(QDir::Files))
            casa.remove(n);
        idioma() = IDIOMA_CATALA;
        activitat() = Activitat{};
        jugador() = EstatJugador{};
        dispositius() = EstatDispositius{};
        llistes() = Llistes{};
        carpeta_activitat().clear();
        triador_fitxer() = [this](QWidget*, const EleccioFitxer& e) -> std::optional<QString> {
            triador.peticions.push_back(e);
            if (triador.respostes.empty()) return std::nullopt;
            auto r = triador.respostes.front();
            triador.respostes.pop_front();
            return r;
        };
        f = std::make_unique<Form1>();
        ASSERT_TRUE(f->Form_Load());
        f->connectar_menus();
        // As the first activation leaves them with an empty word list.
        f->mn_fressa[1]->setEnabled(true);
    }
    void TearDown() override {
        f.reset();
        triador_fitxer() = dialeg_fitxer;
        obrir_planificar() = nullptr;
        ombravisor_engegar() = nullptr;
        mostrar_calibracio() = nullptr;
        plataforma::posar_motor_veu(nullptr);
        idioma() = IDIOMA_CATALA;
        QDir::setCurrent(plataforma::carpeta_programa());
        plataforma::alliberar_instancia_unica();
    }

    QString cami(const QString& nom) const { return tmp.filePath(nom); }

    // An activity file whose first item shows `estimuls`, written in Catalan
    // from `carpeta`; the program's activity is new again afterwards.
    QString escriure_activitat(const QString& fitxer, const QString& estimuls) {
        exercici_nou();
        activitat().items[1].estimuls = estimuls;
        carpeta_activitat() = QFileInfo(fitxer).absolutePath();
        EXPECT_TRUE(desar_exercici(fitxer));
        exercici_nou();
        return fitxer;
    }

    static QByteArray contingut(const QString& fitxer) {
        QFile fi(fitxer);
        return fi.open(QIODevice::ReadOnly) ? fi.readAll() : QByteArray();
    }
};

QString clau_form1(const char* control, int index) {
    return clau_traduccio(QStringLiteral("Form1"), QString::fromLatin1(control), index, u'c');
}

// A speech engine that answers as a working one would.
// The synthetic engine, its unit settling on a clock that moves by itself.
struct MotorMenus {
    plataforma::MotorVeuSintetic motor;
    plataforma::RellotgeSintetic rellotge;
    MotorMenus() {
        rellotge.pas = 0.05;
        motor.sons = QStringLiteral("PA,PE,PI");
        plataforma::posar_rellotge(&rellotge);
        plataforma::posar_motor_veu(&motor);
    }
    ~MotorMenus() {
        plataforma::posar_motor_veu(nullptr);
        plataforma::posar_rellotge(nullptr);
    }
};

} // namespace

// ---------------------------------------------------------------- speed

TEST_F(Menus, SpeedItemsScaleIn32BitFloatsAndRelabelInEveryLanguage) {
    for (int l = 0; l < 3; ++l) {
        f->mn_idioma[l]->trigger();
        f->mn_velocitat[3]->trigger();
        for (int k = 0; k < 3; ++k)
            f->mn_velocitat[0]->trigger();
        const float esperat = static_cast<float>(static_cast<float>(static_cast<float>(0.8) * 0.8) * 0.8);
        EXPECT_EQ(jugador().velocitat, esperat);
        EXPECT_NEAR(jugador().velocitat, 0.512f, 1e-6);
        const QString& ll = LLENGUES[l];
        EXPECT_EQ(f->mn_velocitat[0]->text(), tradueix_en(ll, clau_form1("mn_velocitat", 0)) + " 244");
        EXPECT_EQ(f->mn_velocitat[1]->text(), tradueix_en(ll, clau_form1("mn_velocitat", 1)) + " 195");
        EXPECT_EQ(f->mn_velocitat[2]->text(), tradueix_en(ll, clau_form1("mn_velocitat", 2)) + " 156");

        // "= Actual" changes nothing; "Incial 100" goes back.
        f->mn_velocitat[1]->trigger();
        EXPECT_EQ(jugador().velocitat, esperat);
        f->mn_velocitat[3]->trigger();
        EXPECT_EQ(jugador().velocitat, 1.0f);
        EXPECT_TRUE(f->mn_velocitat[0]->text().endsWith(" 125"));
        EXPECT_TRUE(f->mn_velocitat[1]->text().endsWith(" 100"));
        EXPECT_TRUE(f->mn_velocitat[2]->text().endsWith(" 80"));

        // Slower from 1.0: 1.25.
        f->mn_velocitat[2]->trigger();
        EXPECT_EQ(jugador().velocitat, 1.25f);
        EXPECT_TRUE(f->mn_velocitat[0]->text().endsWith(" 100"));
        EXPECT_TRUE(f->mn_velocitat[1]->text().endsWith(" 80"));
        EXPECT_TRUE(f->mn_velocitat[2]->text().endsWith(" 64"));
    }
    // No speed left: "faster" leaves 0 alone.
    jugador().velocitat = 0;
    f->mn_velocitat[0]->trigger();
    EXPECT_EQ(jugador().velocitat, 0.0f);
}

// ---------------------------------------------------------------- language

TEST_F(Menus, LanguageItemTicksOneWritesTheIniAndRetranslates) {
    const QString ini = plataforma::fitxer_ini_programa();
    for (int l : {1, 2, 0}) {
        f->mn_idioma[l]->trigger();
        EXPECT_EQ(idioma(), LLENGUES[l]);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(f->mn_idioma[k]->isChecked(), k == l);
        EXPECT_EQ(plataforma::ini_llegir(ini, QStringLiteral("inici"), QStringLiteral("idioma")),
                  LLENGUES[l]);
        EXPECT_EQ(f->mn_disc[1]->text(), tradueix_en(LLENGUES[l], clau_form1("mn_disc", 1)));
        EXPECT_EQ(f->mn_opcions->title(), tradueix_en(LLENGUES[l], clau_form1("mn_opcions", -1)));
    }
}

TEST_F(Menus, LanguageChangeTranslatesLoadedKeywordsAndSaveWritesCatalan) {
    const QString fitxer = escriure_activitat(cami("ordres.lrq"), QStringLiteral("2»CFONT_255|FONT_Arial"));
    triador.respostes = {fitxer};
    f->mn_disc[1]->trigger();
    ASSERT_EQ(activitat().fitxer_actual, fitxer);
    activitat().consigna = QStringLiteral("TANCAR_");

    f->mn_idioma[2]->trigger(); // galego
    EXPECT_EQ(activitat().items[1].estimuls, QStringLiteral("2»CFUENTE_255|FONTE_Arial"));
    EXPECT_EQ(activitat().consigna, QStringLiteral("PECHAR_"));
    f->mn_idioma[1]->trigger(); // español
    EXPECT_EQ(activitat().items[1].estimuls, QStringLiteral("2»CFUENTE_255|FUENTE_Arial"));
    EXPECT_EQ(activitat().consigna, QStringLiteral("CERRAR_"));

    // Saved from Spanish: the file holds the Catalan keywords.
    triador.respostes = {fitxer};
    f->mn_disc[2]->trigger();
    const QString text = QString::fromLatin1(contingut(fitxer));
    EXPECT_TRUE(text.contains(QStringLiteral("CFONT_255")));
    EXPECT_TRUE(text.contains(QStringLiteral("TANCAR_")));
    EXPECT_FALSE(text.contains(QStringLiteral("FUENTE_")));
    EXPECT_FALSE(text.contains(QStringLiteral("CERRAR_")));

    f->mn_idioma[0]->trigger();
    EXPECT_EQ(activitat().items[1].estimuls, QStringLiteral("2»CFONT_255|FONT_Arial"));
    EXPECT_EQ(activitat().consigna, QStringLiteral("TANCAR_"));
}

// ---------------------------------------------------------------- files

TEST_F(Menus, OpenAsksTheDialogInTheCurrentLanguageAndLoadsTheChoice) {
    const QString fitxer = escriure_activitat(cami("gat.lrq"), QStringLiteral("1»hola.bmp"));
    for (int l = 0; l < 3; ++l) {
        f->mn_idioma[l]->trigger();
        triador.peticions.clear();
        triador.respostes = {fitxer};
        f->mn_disc[1]->trigger();
        ASSERT_EQ(triador.peticions.size(), 1u);
        const EleccioFitxer& e = triador.peticions[0];
        EXPECT_FALSE(e.desar);
        EXPECT_EQ(e.titol, tradueix_en(LLENGUES[l], QStringLiteral("Fitxers Planificació Lumi Raga")));
        EXPECT_EQ(e.filtre,
                  tradueix_en(LLENGUES[l], QStringLiteral("Fitxers lumiraga|*.lrq|Altres fitxers|*.*")));
        EXPECT_EQ(activitat().fitxer_actual, fitxer);
        EXPECT_EQ(f->windowTitle(), QStringLiteral("LUMIRAGA - ") + fitxer);
        EXPECT_EQ(activitat().items[1].estimuls,
                  QStringLiteral("1»") + tmp.path() + QStringLiteral("/hola.bmp"));
    }
    // With a current file the dialog starts at it.
    triador.peticions.clear();
    f->mn_disc[1]->trigger();
    ASSERT_EQ(triador.peticions.size(), 1u);
    EXPECT_EQ(QDir(triador.peticions[0].carpeta), QDir(tmp.path()));
    EXPECT_EQ(triador.peticions[0].nom, QStringLiteral("gat.lrq"));
}

TEST_F(Menus, OpenCancelledAtEitherQuestionStopsThere) {
    // Unsaved changes and Cancel at the discard question: no dialog, nothing changes.
    activitat().exercici_modificat = CERT;
    activitat().items[1].estimuls = QStringLiteral("1»meu.bmp");
    {
        Contestador c({QMessageBox::Cancel});
        f->mn_disc[1]->trigger();
        ASSERT_EQ(c.textos.size(), 1);
        EXPECT_EQ(c.textos[0], text_idioma(30));
    }
    EXPECT_TRUE(triador.peticions.empty());
    EXPECT_EQ(activitat().items[1].estimuls, QStringLiteral("1»meu.bmp"));

    // No current file: the dialog starts in the program folder on "*.lrq";
    // Cancel there leaves a new activity and no file.
    activitat().exercici_modificat = FALS;
    f->mn_disc[1]->trigger();
    ASSERT_EQ(triador.peticions.size(), 1u);
    EXPECT_EQ(QDir(triador.peticions[0].carpeta), QDir(plataforma::carpeta_programa()));
    EXPECT_EQ(triador.peticions[0].nom, QStringLiteral("*.lrq"));
    EXPECT_TRUE(activitat().fitxer_actual.isEmpty());
    EXPECT_TRUE(activitat().items[1].estimuls.isEmpty());
}

TEST_F(Menus, SaveClearsTheModifiedFlagOnlyWhenTheWriteSucceeded) {
    activitat().items[1].estimuls = QStringLiteral("1»a.bmp");
    activitat().exercici_modificat = CERT;

    // A folder that does not exist: reported, nothing else changes.
    const QString dolent = cami("no/hi/es.lrq");
    triador.respostes = {dolent};
    {
        Contestador c;
        f->mn_disc[2]->trigger();
        ASSERT_EQ(c.textos.size(), 1);
        EXPECT_TRUE(c.textos[0].startsWith(tradueix(QStringLiteral("fitxers|no_desat"))));
        EXPECT_FALSE(tradueix(QStringLiteral("fitxers|no_desat")).isEmpty());
    }
    EXPECT_EQ(activitat().exercici_modificat, CERT);
    EXPECT_TRUE(activitat().fitxer_actual.isEmpty());
    EXPECT_FALSE(QFile::exists(dolent));

    // A good one.
    const QString bo = cami("bo.lrq");
    triador.respostes = {bo};
    f->mn_disc[2]->trigger();
    EXPECT_EQ(activitat().exercici_modificat, FALS);
    EXPECT_EQ(activitat().fitxer_actual, bo);
    EXPECT_EQ(f->windowTitle(), QStringLiteral("LUMIRAGA - ") + bo);
    EXPECT_TRUE(triador.peticions.back().desar);
    EXPECT_TRUE(QFile::exists(bo));

    // Cancel in the save dialog keeps the flag.
    activitat().exercici_modificat = CERT;
    f->mn_disc[2]->trigger();
    EXPECT_EQ(activitat().exercici_modificat, CERT);
}

TEST_F(Menus, SavingOverAnotherActivityAsksFirstButNotOverItself) {
    const QString altra = escriure_activitat(cami("altra.lrq"), QStringLiteral("1»altra.bmp"));
    const QByteArray abans = contingut(altra);
    activitat().items[1].estimuls = QStringLiteral("1»meva.bmp");

    triador.respostes = {altra};
    {
        Contestador c({QMessageBox::Cancel});
        f->mn_disc[2]->trigger();
        ASSERT_EQ(c.textos.size(), 1);
        EXPECT_EQ(c.textos[0], text_idioma(81) + QStringLiteral("altra.lrq"));
    }
    EXPECT_EQ(contingut(altra), abans);
    EXPECT_TRUE(activitat().fitxer_actual.isEmpty());

    triador.respostes = {altra};
    {
        Contestador c({QMessageBox::Ok});
        f->mn_disc[2]->trigger();
        EXPECT_EQ(c.textos.size(), 1);
    }
    EXPECT_NE(contingut(altra), abans);
    EXPECT_EQ(activitat().fitxer_actual, altra);

    // Its own file again: no question.
    activitat().items[1].estimuls = QStringLiteral("1»tercera.bmp");
    triador.respostes = {altra};
    {
        Contestador c;
        f->mn_disc[2]->trigger();
        EXPECT_TRUE(c.textos.isEmpty());
    }
    EXPECT_TRUE(contingut(altra).contains("tercera.bmp"));
}

TEST_F(Menus, AFileThatCouldNotBeReadIsNotSavedOverUnasked) {
    const QString danyat = escriure_activitat(cami("danyat.lrq"), {});
    ASSERT_TRUE(QFile::resize(danyat, 40));
    const QByteArray abans = contingut(danyat);
    triador.respostes = {danyat};
    {
        Contestador c;
        f->mn_disc[1]->trigger();
        ASSERT_TRUE(c.textos.value(0).startsWith(text_idioma(45)));
    }
    // No loses nothing; Yes writes, and then it is asked no more.
    const QString pregunta = tradueix(QStringLiteral("fitxers|sobreescriure_refusat")) + u'\n' + danyat;
    for (const auto resposta : {QMessageBox::No, QMessageBox::Yes, QMessageBox::Ok}) {
        triador.respostes = {danyat};
        Contestador c({resposta});
        f->mn_disc[2]->trigger();
        EXPECT_EQ(c.textos, resposta == QMessageBox::Ok ? QStringList{} : QStringList{pregunta});
        EXPECT_EQ(contingut(danyat) == abans, resposta == QMessageBox::No);
    }
}

// Root reads any file; without these capabilities (of this thread) it meets permissions as anyone.
void lectura_de_root(bool permesa) {
    __user_cap_header_struct h{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct c[2]{};
    const uint32_t dac = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH);
    syscall(SYS_capget, &h, c);
    c[0].effective = permesa ? c[0].effective | (c[0].permitted & dac) : c[0].effective & ~dac;
    syscall(SYS_capset, &h, c);
}

TEST_F(Menus, ARefusedFileLeavesAnUntitledActivityAndStartSaysWhenThereIsNothingToPlay) {
    const QString gat = escriure_activitat(cami("gat.lrq"), QStringLiteral("1»CENTRAT_Hola"));
    const QString no_llegit = tradueix(QStringLiteral("fitxers|no_llegit")) + QStringLiteral(": ") +
                              tradueix(QStringLiteral("fitxers|motiu_permis"));
    for (const auto& [nom, dades] : std::vector<std::pair<QString, QByteArray>>{
             {"notes.txt", "Notes\n"},
             {"buit.lrq", ""},
             {"foto.lrq", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)},
             {"soroll.lrq", QByteArray::fromHex("9c01ffe2837a00d1")},
             {"tancat.lrq", contingut(gat)}}) {
        const bool tancat = nom == u"tancat.lrq";
        QFile o(cami(nom));
        ASSERT_TRUE(o.open(QIODevice::WriteOnly) && o.write(dades) == dades.size() && o.flush());
        triador.respostes = {gat, o.fileName()};
        f->mn_disc[1]->trigger();
        lectura_de_root(!(tancat && o.setPermissions({})));
        Contestador r;
        f->mn_disc[1]->trigger();
        lectura_de_root(true);
        EXPECT_EQ(r.textos, QStringList{(tancat ? no_llegit : text_idioma(45)) + QChar(13) + o.fileName()});
        EXPECT_EQ(f->windowTitle(), tradueix(QStringLiteral("LUMIRAGA - Sense nom"))) << qPrintable(nom);
    }
    triador.respostes = {escriure_activitat(cami("buida.lrq"), {})}; // no item shows anything
    f->mn_disc[1]->trigger();
    Contestador r;
    f->mn_engegar->trigger();
    EXPECT_EQ(r.textos, QStringList{tradueix(QStringLiteral("jugador|sense_items"))});
}

TEST_F(Menus, SaveAsIntoAnotherFolderKeepsEveryMediumReachable) {
    QDir(tmp.path()).mkpath(QStringLiteral("A"));
    QDir(tmp.path()).mkpath(QStringLiteral("B"));
    QFile gat(cami("A/gat.bmp"));
    ASSERT_TRUE(gat.open(QIODevice::WriteOnly));
    gat.write("BM");
    gat.close();
    // Orders naming copies of it; options stay after the file.
    QDir(tmp.path()).mkpath(QStringLiteral("A/imatges"));
    ASSERT_TRUE(gat.copy(cami("A/imatges/gat.bmp")) && gat.copy(cami("A/PEUS.BMP")));
    const QStringList ordres{"gat.bmp:P0100", "IMATGES\\Gat.BMP:P050", "PEUS.BMP"};
    const QStringList fitxers{"gat.bmp", "imatges/gat.bmp", "PEUS.BMP"};
    const QString origen = escriure_activitat(cami("A/act.lrq"), QStringLiteral("3»") + ordres.join(u'|'));
    // Each order as the player and the report take it, from the current folder.
    auto comprovar = [&] {
        carregar_llista_estimul(1);
        for (int k = 0; k < 3; ++k) {
            const QString e = llistes().llista_estimuls.value(k + 1);
            EXPECT_EQ(QFileInfo(resoldre_fitxer(part_recurs(e, 0))).canonicalFilePath(),
                      QFileInfo(cami("A/" + fitxers[k])).canonicalFilePath());
            EXPECT_EQ(part_recurs(e, 1), part_recurs(ordres[k], 1)) << qPrintable(e);
        }
    };

    triador.respostes = {origen};
    f->mn_disc[1]->trigger();
    carregar_llista_estimul(1); // the lists the planner stores its shown item from
    const QString copia = cami("B/copia.lrq");
    triador.respostes = {copia};
    f->mn_disc[2]->trigger();
    ASSERT_EQ(activitat().fitxer_actual, copia);
    comprovar();

    // Reopened from its new folder, the picture is still the one in A.
    exercici_nou();
    carpeta_activitat() = plataforma::carpeta_programa();
    QDir::setCurrent(plataforma::carpeta_programa());
    triador.respostes = {copia};
    f->mn_disc[1]->trigger();
    ASSERT_EQ(activitat().fitxer_actual, copia);
    comprovar();

    // Saved back into A, the reference is relative again.
    triador.respostes = {origen};
    {
        Contestador c({QMessageBox::Ok});
        f->mn_disc[2]->trigger();
    }
    EXPECT_TRUE(contingut(origen).contains("3\xBBgat.bmp:P0100|IMATGES\\Gat.BMP:P050|PEUS.BMP"));

    // A colon in a folder's name cuts an order with options: that loss is told.
    QDir(tmp.path()).mkpath(QStringLiteral("C:D"));
    triador.respostes = {escriure_activitat(cami("C:D/act.lrq"), QStringLiteral("1»gat.bmp:P5")), copia};
    f->mn_disc[1]->trigger();
    Contestador c({QMessageBox::Ok});
    ASSERT_TRUE(gat.copy(cami("C:D/gat.bmp")));
    f->mn_disc[2]->trigger();
    EXPECT_EQ(c.textos.value(1),
              tradueix(QStringLiteral("fitxers|referencies_perdudes")) + u'\n' + cami("C:D/gat.bmp:P5"));
}

TEST_F(Menus, ShortcutsGoToTheDesktopAndTheProgramsMenu) {
    const QByteArray home = qgetenv("HOME"), dades = qgetenv("XDG_DATA_HOME"),
                     conf = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", tmp.path().toLocal8Bit());
    qputenv("XDG_DATA_HOME", cami("dades").toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", cami("conf").toLocal8Bit());

    const QString fitxer = escriure_activitat(cami("drecera.lrq"), QStringLiteral("1»a.bmp"));
    triador.respostes = {fitxer};
    f->mn_disc[1]->trigger();
    {
        Contestador c;
        f->mn_disc[3]->trigger();
        EXPECT_TRUE(c.textos.isEmpty()) << c.textos.join(u'|').toStdString();
    }
    EXPECT_TRUE(QFile::exists(cami("Desktop/drecera.lrq.desktop")));
    EXPECT_TRUE(QFile::exists(cami("dades/applications/lumiraga/drecera.lrq.desktop")));
    EXPECT_TRUE(contingut(cami("Desktop/drecera.lrq.desktop")).contains(fitxer.toUtf8()));

    // No activity file: both failures are told, with the code.
    exercici_nou();
    for (int l = 0; l < 3; ++l) {
        f->mn_idioma[l]->trigger();
        Contestador c;
        f->mn_disc[3]->trigger();
        ASSERT_EQ(c.textos.size(), 2);
        EXPECT_EQ(c.textos[0], text_idioma_en(LLENGUES[l], 80) + QStringLiteral(" E: 52\n\n"));
        EXPECT_EQ(c.textos[1], c.textos[0]);
    }

    qputenv("HOME", home);
    dades.isNull() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", dades);
    conf.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", conf);
}

TEST_F(Menus, RealFileDialogOpensTheChosenActivity) {
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    triador_fitxer() = dialeg_fitxer;
    const QString fitxer = escriure_activitat(cami("real.lrq"), QStringLiteral("1»x.bmp"));
    int intents = 0;
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d) return;
        // Until the dialog takes the answer; a dialog that never does is
        // closed so the test fails instead of waiting for ever.
        if (++intents > 200) {
            d->reject();
            return;
        }
        // Typed as a user would: selectFile leaves a focused name box alone.
        if (auto* nom = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            nom->setText(fitxer);
        else
            d->selectFile(fitxer);
        QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
    });
    t.start(10);
    f->mn_disc[1]->trigger();
    t.stop();
    EXPECT_GE(intents, 1);
    EXPECT_LE(intents, 200);
    EXPECT_EQ(QFileInfo(activitat().fitxer_actual).canonicalFilePath(),
              QFileInfo(fitxer).canonicalFilePath());
}

TEST_F(Menus, OpenDialogSpeaksTheInterfaceLanguageAndListsActivitiesInAnyCase) {
    triador_fitxer() = dialeg_fitxer;
    for (const char* nom : {"a.lrq", "B.LRQ", "c.txt"}) {
        QFile fi(cami(QString::fromLatin1(nom)));
        ASSERT_TRUE(fi.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        fi.write(QByteArray(nom[0] == 'a' ? 1536 : 0, 'x'));
        fi.setFileTime(QDateTime(QDate(2026, 12, 8), QTime(9, 5)), QFileDevice::FileModificationTime);
    }
    const QStringList cancel{QStringLiteral("Cancel·la"), QStringLiteral("Cancelar"),
                             QStringLiteral("Cancelar")};
    const QStringList columnes{QStringLiteral("1,50 KiB|document de text pla|8/12/26 9:05"),
                               QStringLiteral("1,50 KiB|documento de texto sencillo|8/12/26 9:05"),
                               QStringLiteral("1,50 KiB|documento de texto sinxelo|08/12/26 09:05")};
    for (int l : {1, 0, 2}) {
        f->mn_idioma[l]->trigger();
        auto vista = mirar_dialeg_fitxer(tmp.path(), 2);
        f->mn_disc[1]->trigger();
        ASSERT_TRUE(vista->vist) << l;
        EXPECT_TRUE(vista->de_qt);
        EXPECT_EQ(vista->cancel, cancel[l]) << l;
        const QStringList parts =
            tradueix_en(LLENGUES[l], QStringLiteral("Fitxers lumiraga|*.lrq|Altres fitxers|*.*")).split(u'|');
        EXPECT_EQ(vista->filtres,
                  (QStringList{parts[0] + QStringLiteral(" (*.lrq)"), parts[2] + QStringLiteral(" (*)")}));
        vista->noms.sort(Qt::CaseInsensitive);
        EXPECT_EQ(vista->noms, (QStringList{QStringLiteral("a.lrq"), QStringLiteral("B.LRQ")}));
        EXPECT_TRUE(vista->columnes.join(u'|').contains(columnes[l]))
            << qPrintable(vista->columnes.join(u'|'));
        EXPECT_FALSE(vista->retallada) << l;
    }
    EXPECT_TRUE(activitat().fitxer_actual.isEmpty());
}

// ---------------------------------------------------------------- start, planner, quit

TEST_F(Menus, StartAndPlannerAskForAFileFirst) {
    int planner = 0;
    obrir_planificar() = [&] { ++planner; };

    f->mn_engegar->trigger(); // Cancel: nothing starts
    EXPECT_EQ(triador.peticions.size(), 1u);
    EXPECT_TRUE(activitat().fitxer_actual.isEmpty());

    f->mn_FITXERS->trigger(); // Cancel: no planner
    EXPECT_EQ(triador.peticions.size(), 2u);
    EXPECT_EQ(planner, 0);

    const QString fitxer = escriure_activitat(cami("pla.lrq"), QStringLiteral("1»a.bmp"));
    triador.respostes = {fitxer};
    f->mn_FITXERS->trigger();
    EXPECT_EQ(planner, 1);
    EXPECT_EQ(activitat().fitxer_actual, fitxer);

    // A current file goes straight to the planner.
    f->mn_FITXERS->trigger();
    EXPECT_EQ(planner, 2);
    EXPECT_EQ(triador.peticions.size(), 3u);
}

TEST_F(Menus, QuitWithUnsavedChangesAndCancelKeepsRunning) {
    activitat().exercici_modificat = CERT;
    Contestador c({QMessageBox::Cancel});
    f->mn_FI->trigger();
    ASSERT_EQ(c.textos.size(), 1);
    EXPECT_EQ(c.textos[0], text_idioma(30));
    EXPECT_EQ(activitat().exercici_modificat, CERT);
}

// ---------------------------------------------------------------- sound patterns

TEST_F(Menus, PatternsWithoutAnEngineChangeNoMenuState) {
    // Without an engine the first item stays as designed: disabled.
    qputenv("SDL_AUDIODRIVER", "cap_ni_un"); // and the machine's engine finds no sound system
    plataforma::posar_motor_veu(&plataforma::motor_veu_maquina());
    jugador().estat_finestra = 1; // not the first activation: no start dialog
    f->mn_fressa[0]->setEnabled(false);
    f->Form_Activate();
    EXPECT_FALSE(f->mn_fressa[0]->isEnabled());
    emit f->mn_conf->aboutToShow();
    qunsetenv("SDL_AUDIODRIVER");
    EXPECT_FALSE(f->mn_rec_s[0]->menuAction()->isEnabled());
    // Reached all the same, it starts nothing and says nothing.
    proves::Contestador c;
    f->mn_fressa_Click(0);
    EXPECT_TRUE(c.textos.isEmpty());
    EXPECT_EQ(activitat().paraules_veu[0], QStringLiteral("A,AE,È,É,I,O,U"));
    EXPECT_EQ(dispositius().veu_activa, 0);
    EXPECT_EQ(dispositius().motor_veu_preparat, FALS);
    for (int i = 2; i <= 4; ++i)
        EXPECT_FALSE(f->mn_fressa[i]->isEnabled());
    f->mn_fressa[1]->trigger();
    EXPECT_FALSE(f->mn_fressa[4]->isEnabled());

    MotorMenus m;
    emit f->mn_conf->aboutToShow();
    EXPECT_TRUE(f->mn_rec_s[0]->menuAction()->isEnabled());
}

TEST_F(Menus, RecoveredPatternsTakeTheEnginesListNotTheClipboard) {
    MotorMenus m;
    QGuiApplication::clipboard()->setText(QStringLiteral("text aliè"));

    // The engine opens nothing: the list stays.
    m.motor.fitxer_obert = 0;
    f->mn_fressa[0]->trigger();
    EXPECT_EQ(dispositius().veu_activa, CERT);
    EXPECT_EQ(activitat().paraules_veu[0], QStringLiteral("A,AE,È,É,I,O,U"));

    m.motor.fitxer_obert = 1;
    f->mn_fressa[0]->trigger();
    EXPECT_EQ(activitat().paraules_veu[0], QStringLiteral("PA,PE,PI"));
    // Word k types the opened set's label k.
    EXPECT_EQ(activitat().paraules_veu[1], QStringLiteral("PA"));
    EXPECT_EQ(activitat().paraules_veu[3], QStringLiteral("PI"));
    EXPECT_TRUE(activitat().paraules_veu[4].isEmpty());
    EXPECT_EQ(dispositius().motor_veu_preparat, CERT);
    for (int i = 2; i <= 4; ++i)
        EXPECT_TRUE(f->mn_fressa[i]->isEnabled());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("text aliè"));

    f->mn_fressa[1]->trigger();
    EXPECT_EQ(m.motor.entrenaments, 1);
    EXPECT_EQ(dispositius().motor_veu_preparat, FALS);
    f->mn_fressa[2]->trigger();
    f->mn_fressa[3]->trigger();
    f->mn_fressa[4]->trigger();
    EXPECT_EQ(m.motor.grafiques, 1);
    EXPECT_EQ(m.motor.desats, 1);
    EXPECT_EQ(m.motor.nivells, 1);
}

// A file of 160 takes saved before distances were kept, recovered with the
// patterns window open, through the engine the program installs: stopped
// once, then let run, the window answers all along.
TEST_F(Menus, RecoveringALargePatternFileKeepsTheWindowAnsweringAndCanBeStopped) {
    const QString fitxer = cami("gran.SonsVxdSR02");
    ASSERT_TRUE(desar_patrons_sense_distancies(fitxer, 20, 8, 8000));
    qputenv("SDL_AUDIODRIVER", "dummy");
    plataforma::posar_motor_veu(&plataforma::motor_veu_maquina());
    plataforma::RellotgeSintetic rellotge; // the unit's settling pause goes by at once
    rellotge.pas = 0.05;
    plataforma::posar_rellotge(&rellotge);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    activitat().paraules_veu[0] = QStringLiteral("A,I");
    f->mn_fressa_Click(2);
    // The interface thread's own processor time between two ticks: what it
    // did away from its event loop, whatever else loads the machine.
    const auto cpu_fil = [] {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return 1e3 * static_cast<double>(ts.tv_sec) + 1e-6 * static_cast<double>(ts.tv_nsec);
    };
    double darrer = cpu_fil(), buit = 0;
    bool aturar = true;
    QTimer t;
    QObject::connect(&t, &QTimer::timeout, [&] {
        const double ara = cpu_fil();
        buit = std::max(buit, ara - darrer);
        darrer = ara;
        if (auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(fitxer);
            QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
        }
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<QProgressDialog*>(w); p && p->isVisible() && aturar) {
                aturar = false;
                QTest::keyClick(p, Qt::Key_Escape);
            }
    });
    t.start(10);
    f->mn_fressa[0]->trigger();
    EXPECT_FALSE(aturar);
    EXPECT_EQ(activitat().paraules_veu[0], QStringLiteral("A,I"));
    EXPECT_EQ(plataforma::motor_veu().SonsQueSeReconeixen(), QStringLiteral("A,I"));
    buit = 0;
    f->mn_fressa[0]->trigger();
    t.stop();
    EXPECT_EQ(activitat().paraules_veu[20], QStringLiteral("20"));
    const QListWidget* entrades = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == u"motor_veu_patrons")
            entrades = w->findChild<QListWidget*>(QStringLiteral("veu_entrades"));
    EXPECT_EQ(entrades ? entrades->count() : 0, 20);
    EXPECT_LT(buit, 250) << "ms the interface thread worked between two ticks";
    plataforma::posar_rellotge(nullptr);
}

// Saved where no folder is, through the engine the program installs.
TEST_F(Menus, AFailedPatternSaveNamesTheFileAndWhy) {
    qputenv("SDL_AUDIODRIVER", "dummy");
    plataforma::posar_motor_veu(&plataforma::motor_veu_maquina());
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    const QString fitxer = cami("cap/p.SonsVxdSR02"),
                  inici = tradueix(QStringLiteral("motor_veu|no_desat")) + u'\n' + fitxer + u'\n';
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(fitxer);
        QMetaObject::invokeMethod(d, "accept", Qt::DirectConnection);
    });
    proves::Contestador c;
    f->mn_fressa_Click(3);
    ASSERT_EQ(c.textos.size(), 1);
    EXPECT_TRUE(c.textos[0].startsWith(inici) && c.textos[0].size() > inici.size())
        << qPrintable(c.textos[0]);
}

TEST_F(Menus, TrainingNeedsAWordListOfTwoEntries) {
    MotorMenus m;
    proves::Contestador c;
    // No sounds: says where they are set.
    f->mn_fressa[1]->trigger();
    EXPECT_EQ(m.motor.entrenaments, 0);
    ASSERT_EQ(c.textos.size(), 1);
    EXPECT_EQ(c.textos[0], text_idioma(56) + u'\n' + tradueix(QStringLiteral("motor_veu|sense_sons")));
    c.textos.clear();
    // One entry starts nothing, silently.
    activitat().paraules_veu[0] = QStringLiteral("HOLA");
    f->mn_fressa[1]->trigger();
    EXPECT_EQ(m.motor.entrenaments, 0);
    EXPECT_EQ(m.motor.unitats, 0);
    dispositius().veu_activa = 0;
    activitat().paraules_veu[0] = QStringLiteral("HOLA,ADEU");
    f->mn_fressa[1]->trigger();
    EXPECT_EQ(m.motor.entrenaments, 1);
    EXPECT_TRUE(f->mn_fressa[2]->isEnabled());
    EXPECT_TRUE(f->mn_fressa[3]->isEnabled());
    EXPECT_TRUE(f->mn_fressa[4]->isEnabled());
    EXPECT_TRUE(c.textos.isEmpty());
}

// ---------------------------------------------------------------- webcam

TEST_F(Menus, WebcamItemsCopeWithNoCameraAndNoTracker) {
    // No camera: the image item says so and stays unticked, the others usable.
    {
        Contestador c;
        f->mn_ovs[1]->trigger();
        EXPECT_EQ(c.textos, QStringList{tradueix(QStringLiteral("OmbraVisor|sense_camera"))});
    }
    EXPECT_FALSE(f->mn_ovs[1]->isChecked());
    EXPECT_TRUE(f->mn_ovs[0]->isEnabled());
    EXPECT_TRUE(f->mn_ovs[2]->isEnabled());

    // The calibration window tells of a missing camera itself: the item
    // shows it over the player and adds no message of its own.
    {
        QWidget* sobre = nullptr;
        mostrar_calibracio() = [&](QWidget* pare) {
            sobre = pare;
            return true;
        };
        Contestador c;
        f->mn_ovs[0]->trigger();
        EXPECT_EQ(sobre, f.get());
        EXPECT_TRUE(c.textos.isEmpty());
    }
    // The tracker program's launch reports nothing, whatever came of it:
    // the item is ticked and the others wait.
    ombravisor_engegar() = [] { return false; };
    {
        Contestador c;
        f->mn_ovs[2]->trigger();
        EXPECT_TRUE(c.textos.isEmpty());
    }
    EXPECT_TRUE(f->mn_ovs[2]->isChecked());
    EXPECT_FALSE(f->mn_ovs[0]->isEnabled());
    EXPECT_FALSE(f->mn_ovs[1]->isEnabled());
}

TEST_F(Menus, TheTrackerItemOpensTheStandInWindowWithoutCamera) {
    // The program's own wiring: our stand-in window, which says there is no
    // camera and does not go with the forms.
    f->mn_ovs[2]->trigger();
    QWidget* visor = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == QStringLiteral(" Ombra Visor")) visor = w;
    ASSERT_NE(visor, nullptr);
    EXPECT_TRUE(f->mn_ovs[2]->isChecked());
    descarregar_formularis();
    EXPECT_TRUE(visor->isVisible());
    // Found by its title the next time: brought up, nothing launched again.
    f->mn_ovs[2]->trigger();
    EXPECT_TRUE(f->mn_ovs[2]->isChecked());
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        n += w->windowTitle() == QStringLiteral(" Ombra Visor");
    EXPECT_EQ(n, 1);
    // Its close box switches it off, as the item does.
    visor->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(f->mn_ovs[2]->isChecked());
    EXPECT_TRUE(f->mn_ovs[0]->isEnabled());
    EXPECT_TRUE(f->mn_ovs[1]->isEnabled());
}

TEST_F(Menus, TrackerProgramIsBroughtUpOrLaunchedAndTickedWhileOn) {
    int llancaments = 0;
    ombravisor_engegar() = [&] {
        ++llancaments;
        return true;
    };
    {
        QWidget visor;
        visor.setWindowTitle(QStringLiteral(" Ombra Visor"));
        visor.show();
        f->mn_ovs[2]->trigger();
        EXPECT_EQ(llancaments, 0);
        EXPECT_TRUE(visor.windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_TRUE(f->mn_ovs[2]->isChecked());
        EXPECT_FALSE(f->mn_ovs[0]->isEnabled());
        EXPECT_FALSE(f->mn_ovs[1]->isEnabled());
    }
    // Gone: unticked, the others back.
    EXPECT_FALSE(f->mn_ovs[2]->isChecked());
    EXPECT_TRUE(f->mn_ovs[0]->isEnabled());
    EXPECT_TRUE(f->mn_ovs[1]->isEnabled());
    // Not there and not ticked: launched.
    f->mn_ovs[2]->trigger();
    EXPECT_EQ(llancaments, 1);
    EXPECT_TRUE(f->mn_ovs[2]->isChecked());

    // While it runs the calibration item is off; once it is gone it works.
    bool calibrat = false;
    mostrar_calibracio() = [&](QWidget*) { return calibrat = true; };
    f->mn_ovs[0]->trigger();
    EXPECT_FALSE(calibrat);
    f->mn_ovs[2]->trigger();
    f->mn_ovs[0]->trigger();
    EXPECT_TRUE(calibrat);
}

// ---------------------------------------------------------------- help and about

TEST_F(Menus, HelpOpensThePageOfTheInterfaceLanguage) {
    QStringList oberts;
    auto abans = obrir_document();
    obrir_document() = [&](const QString& fi) {
        oberts << fi;
        return true;
    };
    const QStringList codis{QStringLiteral("ca"), QStringLiteral("es"), QStringLiteral("gl")};
    for (int l : {1, 2, 0}) {
        f->mn_idioma[l]->trigger();
        oberts.clear();
        f->ajuda->trigger();
        ASSERT_EQ(oberts.size(), 1) << l;
        const QFileInfo pagina(oberts[0]);
        EXPECT_TRUE(pagina.isFile());
        EXPECT_EQ(pagina.fileName(), codis[l] + QStringLiteral(".html"));
        const QByteArray html = contingut(oberts[0]);
        const QString text = QString::fromUtf8(html).simplified();
        EXPECT_TRUE(text.contains(QStringLiteral("<html lang=\"%1\">").arg(codis[l])));
        // It names the menus and the start dialog's buttons as they read in that language.
        QStringList noms;
        for (QMenu* m :
             {f->mn_opcions, f->mn_d, f->mn_conf, f->mn_vel, f->mn_rec_s[0], f->mn_id, f->mn_ajuda})
            noms << m->title();
        for (QAction* a : {f->mn_inici, f->mn_disc[0], f->mn_disc[1], f->mn_disc[2], f->mn_disc[3],
                           f->mn_FITXERS, f->mn_engegar, f->mn_informe, f->mn_FI, f->mn_ovs[0], f->mn_ovs[1],
                           f->mn_ovs[2], f->ajuda, f->quant_a})
            noms << a->text();
        for (int b = 0; b < 3; ++b)
            noms << tradueix_en(LLENGUES[l],
                                clau_traduccio(QStringLiteral("inici"), QStringLiteral("Command1"), b, u'c'));
        for (const QString& nom : noms)
            EXPECT_TRUE(text.contains(QString(nom).remove(u'&').trimmed()))
                << codis[l].toStdString() << ": " << nom.toStdString();
        // The build puts the same page and its style sheet beside the program.
        const QString installada = QStringLiteral(LUMI_CARPETA_EXECUTABLE "/ajuda/");
        EXPECT_EQ(contingut(installada + pagina.fileName()), html);
        EXPECT_TRUE(text.contains(QStringLiteral("href=\"ajuda.css\"")));
        const QByteArray estil = contingut(pagina.absolutePath() + QStringLiteral("/ajuda.css"));
        EXPECT_FALSE(estil.isEmpty());
        EXPECT_EQ(contingut(installada + QStringLiteral("ajuda.css")), estil);
    }
    // Opened from the menu only: F1 stays with the learner.
    EXPECT_TRUE(f->ajuda->shortcut().isEmpty());
    obrir_document() = abans;
}

TEST_F(Menus, AboutBoxShowsMessages15And14) {
    for (int l = 0; l < 3; ++l) {
        f->mn_idioma[l]->trigger();
        Contestador c;
        f->quant_a->trigger();
        ASSERT_EQ(c.titols.size(), 1);
        EXPECT_EQ(c.titols[0], text_idioma_en(LLENGUES[l], 15));
        EXPECT_EQ(c.textos[0], QString(text_idioma_en(LLENGUES[l], 14)).replace(u'\r', u'\n'));
    }
}

// ---------------------------------------------------------------- report

TEST_F(Menus, ReportItemPutsTheReportOnTheClipboardInTheCurrentLanguage) {
    informe().nom_exercici = QStringLiteral("informe.lrq");
    informe().nombre_preguntes = 3;
    for (int l = 0; l < 3; ++l) {
        f->mn_idioma[l]->trigger();
        QGuiApplication::clipboard()->clear();
        f->mn_informe->trigger();
        const QString text = QGuiApplication::clipboard()->text();
        EXPECT_TRUE(text.contains(text_idioma_en(LLENGUES[l], 20))) << text.toStdString();
        EXPECT_TRUE(text.contains(text_idioma_en(LLENGUES[l], 24))) << text.toStdString();
    }
    informe() = dades_informe{};
}
