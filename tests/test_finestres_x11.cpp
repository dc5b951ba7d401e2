// A program that a stimulus launches comes up over the player, on a real X
// server with a window manager (run under Xvfb by its own CTest entry; skipped
// on the offscreen platform).
#include "player/Form1.h"
#include "core/activitat.h"
#include "platform/connexio_x.h"
#include "platform/finestres.h"
#include "core/fitxer_lrq.h"
#include "core/informe.h"
#include "platform/instancia.h"
#include "platform/pantalla.h"
#include "player/presentacio.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <map>

using namespace lumi;
using plataforma::atom_x;

namespace {

QByteArray propietat(xcb_connection_t* c, xcb_window_t w, xcb_atom_t nom, xcb_atom_t tipus) {
    xcb_get_property_reply_t* r =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, nom, tipus, 0, 4096), nullptr);
    QByteArray v;
    if (r)
        v = QByteArray(static_cast<const char*>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
    free(r);
    return v;
}

// A window or an atom held in a property.
uint32_t valor32(const QByteArray& v) {
    uint32_t x = 0;
    if (v.size() >= 4) memcpy(&x, v.constData(), 4);
    return x;
}

// The screen as the window manager keeps it: the root's children from the
// bottom up, and the window with the keyboard.
struct Pantalla {
    xcb_connection_t* c;
    xcb_window_t arrel;

    std::vector<xcb_window_t> apilades() const {
        std::vector<xcb_window_t> v;
        xcb_query_tree_reply_t* r = xcb_query_tree_reply(c, xcb_query_tree(c, arrel), nullptr);
        if (!r) return v;
        const xcb_window_t* f = xcb_query_tree_children(r);
        v.assign(f, f + xcb_query_tree_children_length(r));
        free(r);
        return v;
    }
    // The child of the root that holds w (its frame, or w itself).
    xcb_window_t marc(xcb_window_t w) const {
        for (;;) {
            xcb_query_tree_reply_t* r = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
            if (!r) return 0;
            const xcb_window_t pare = r->parent;
            free(r);
            if (pare == arrel || pare == 0) return w;
            w = pare;
        }
    }
    int posicio(xcb_window_t w) const {
        const std::vector<xcb_window_t> v = apilades();
        const xcb_window_t m = marc(w);
        for (size_t i = 0; i < v.size(); ++i)
            if (v[i] == m) return static_cast<int>(i);
        return -1;
    }
    // The managed window titled `titol`, 0 when none is.
    xcb_window_t titulada(const QByteArray& titol) const {
        const QByteArray llista = propietat(c, arrel, atom_x(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
        for (qsizetype i = 0; i + 4 <= llista.size(); i += 4) {
            const xcb_window_t w = valor32(llista.mid(i, 4));
            if (propietat(c, w, atom_x(c, "_NET_WM_NAME"), atom_x(c, "UTF8_STRING")) == titol) return w;
        }
        return 0;
    }
    xcb_window_t activa() const {
        return valor32(propietat(c, arrel, atom_x(c, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW));
    }
    bool gestor() const {
        return !propietat(c, arrel, atom_x(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).isEmpty();
    }
};

struct FinestresX11 : ::testing::Test {
    // The window manager, started once for these tests when none runs.
    static inline QProcess* gestor = nullptr;
    QTemporaryDir dir;
    QByteArray path_vell;
    std::unique_ptr<Form1> f;
    Pantalla p{};

    void SetUp() override {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X server";
        auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        p.c = x11->connection();
        p.arrel = xcb_setup_roots_iterator(xcb_get_setup(p.c)).data->root;
        if (!gestor && !p.gestor()) {
            const QString jwm = QStandardPaths::findExecutable(QStringLiteral("jwm"));
            if (jwm.isEmpty()) GTEST_SKIP() << "no window manager";
            gestor = new QProcess;
            gestor->start(jwm, {});
            QElapsedTimer t;
            t.start();
            while (!p.gestor() && t.elapsed() < 10000)
                QTest::qWait(50);
            ASSERT_TRUE(p.gestor());
        }
        // Wine stand-in: the "Windows program" is a window of our own.
        path_vell = qgetenv("PATH");
        QFile wine(dir.filePath(QStringLiteral("wine")));
        ASSERT_TRUE(wine.open(QIODevice::WriteOnly));
        wine.write("#!/bin/sh\nexec '" LUMI_FINESTRA_LLANCADA "' \"$(basename \"$1\")\"\n");
        wine.close();
        wine.setPermissions(wine.permissions() | QFileDevice::ExeOwner);
        qputenv("PATH", dir.path().toUtf8() + ':' + path_vell);

        activitat() = Activitat{};
        jugador() = EstatJugador{};
        f = std::make_unique<Form1>();
        ASSERT_TRUE(f->Form_Load());
        jugador().estat_finestra = 1; // already activated: no start dialog
        f->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(f.get()));
    }
    void TearDown() override {
        if (f) {
            f->atura_per_esc();
            f.reset();
        }
        plataforma::alliberar_instancia_unica();
        plataforma::mostrar_cursor();
        activitat() = Activitat{};
        if (!path_vell.isEmpty()) qputenv("PATH", path_vell);
    }
    static void TearDownTestSuite() {
        if (!gestor) return;
        gestor->terminate();
        gestor->waitForFinished(3000);
        delete gestor;
        gestor = nullptr;
    }
    QString programa(const QString& nom) {
        QFile e(dir.filePath(nom));
        if (!e.open(QIODevice::WriteOnly)) return {};
        e.write(QByteArray("MZ\x90\0", 4));
        return nom;
    }
};

} // namespace

TEST_F(FinestresX11, ProgramsOfStimuliComeUpOverThePlayer) {
    // Item 1 launches a program for 2 s and times out after 3 s, which puts
    // the player on top; so does item 2, which shows nothing; item 3
    // launches another program.
    const QString s = QString(QChar(0xBB));
    Activitat& a = activitat();
    a.items.assign(4, item{});
    a.nombre_items = 3;
    a.mode_estimul = QStringLiteral("1");
    a.items[1].estimuls = QStringLiteral("1") + s + programa(QStringLiteral("primer.exe"));
    a.items[1].retard_estimul = 2;
    a.items[1].retard_accio = 3;
    a.items[2].estimuls = QStringLiteral("1") + s + QStringLiteral("res.bmp");
    a.items[2].retard_accio = 1;
    a.items[3].estimuls = QStringLiteral("1") + s + programa(QStringLiteral("segon.exe"));
    a.items[3].retard_estimul = 2;
    a.items[3].retard_accio = 30;
    const QString act = dir.filePath(QStringLiteral("act.lrq"));
    ASSERT_TRUE(desar_exercici(act));

    // Whether each program's window was seen over the player, and with the
    // keyboard, while it was there.
    std::map<QByteArray, std::pair<bool, bool>> vistes;
    QTimer mirar;
    // And whether the window manager kept the player on top after item 1's
    // time-out, while item 2 launched nothing.
    bool jugador_a_sobre = false;
    QObject::connect(&mirar, &QTimer::timeout, [&] {
        const xcb_window_t id = static_cast<xcb_window_t>(f->windowHandle()->winId());
        if (jugador().index_actual == 2) {
            const QByteArray estat = propietat(p.c, id, atom_x(p.c, "_NET_WM_STATE"), XCB_ATOM_ATOM);
            const xcb_atom_t dalt = atom_x(p.c, "_NET_WM_STATE_ABOVE");
            for (qsizetype i = 0; i + 4 <= estat.size(); i += 4)
                jugador_a_sobre = jugador_a_sobre || valor32(estat.mid(i, 4)) == dalt;
        }
        const int jugador = p.posicio(id);
        for (const QByteArray& nom : {QByteArray("primer.exe"), QByteArray("segon.exe")}) {
            const xcb_window_t w = p.titulada(nom);
            if (!w || jugador < 0) continue;
            auto& [a_sobre, teclat] = vistes[nom];
            a_sobre = a_sobre || p.posicio(w) > jugador;
            teclat = teclat || p.activa() == w;
        }
    });
    mirar.start(50);
    f->carregar_lrq(act);
    ASSERT_TRUE(f->exercici_en_marxa);
    // The second program has come and gone once item 3's stimulus is over.
    QElapsedTimer t;
    t.start();
    while (!(jugador().index_actual == 3 && vistes.count("segon.exe") && !p.titulada("segon.exe")) &&
           t.elapsed() < 20000)
        QTest::qWait(50);
    mirar.stop();

    EXPECT_EQ(jugador().index_actual, 3);
    ASSERT_EQ(vistes.count("primer.exe"), 1u);
    ASSERT_EQ(vistes.count("segon.exe"), 1u);
    EXPECT_TRUE(vistes["primer.exe"].first) << "first program beneath the player";
    EXPECT_TRUE(vistes["primer.exe"].second) << "first program without the keyboard";
    EXPECT_TRUE(vistes["segon.exe"].first) << "program after a time-out beneath the player";
    EXPECT_TRUE(vistes["segon.exe"].second) << "program after a time-out without the keyboard";
    EXPECT_TRUE(jugador_a_sobre);
}

TEST_F(FinestresX11, ALaunchedProgramsWindowIsBroughtOverTheOnesInFront) {
    // Started through a launcher, as a desktop's opener or a program's own
    // script would: the window belongs to a child of the launched process.
    QProcess programa;
    programa.start(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"), QStringLiteral("'" LUMI_FINESTRA_LLANCADA "' llancat; true")});
    ASSERT_TRUE(programa.waitForStarted());
    QElapsedTimer t;
    t.start();
    while (!p.titulada("llancat") && t.elapsed() < 10000)
        QTest::qWait(50);
    const xcb_window_t w = p.titulada("llancat");
    ASSERT_NE(w, 0u);
    // The player takes the front again, as a time-out makes it do.
    const xcb_window_t jugador = static_cast<xcb_window_t>(f->windowHandle()->winId());
    f->raise();
    f->activateWindow();
    t.restart();
    while (!(p.posicio(jugador) > p.posicio(w) && p.activa() == jugador) && t.elapsed() < 5000)
        QTest::qWait(50);
    ASSERT_GT(p.posicio(jugador), p.posicio(w));

    plataforma::portar_al_davant(&programa, programa.processId());
    t.restart();
    while (!(p.posicio(w) > p.posicio(jugador) && p.activa() == w) && t.elapsed() < 5000)
        QTest::qWait(50);
    EXPECT_GT(p.posicio(w), p.posicio(jugador));
    EXPECT_EQ(p.activa(), w);
    const QByteArray seu = propietat(p.c, w, atom_x(p.c, "_NET_WM_PID"), XCB_ATOM_CARDINAL);
    ASSERT_EQ(seu.size(), 4);
    EXPECT_NE(valor32(seu), programa.processId());
    ::kill(static_cast<pid_t>(valor32(seu)), SIGTERM);
    programa.waitForFinished();
}
