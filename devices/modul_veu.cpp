#include "devices/modul_veu.h"

#include "comuns/dialegs.h"
#include "core/idioma.h"
#include "devices/captura_so.h"
#include "platform/finestres.h"
#include "platform/motor_veu.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <algorithm>

namespace lumi {

namespace {

constexpr int ENTRADES = 32;

// The engine's key presses for a text: every character as itself, with no
// key-sending syntax ("+", "^", "{" and "(" are just characters).
void teclejar(const QString& text, QWidget* per_defecte) {
    QWidget* desti = QApplication::focusWidget();
    if (!desti) desti = per_defecte;
    if (!desti) return;
    for (const QChar c : text) {
        const QChar m = c.toUpper();
        const int tecla =
            m.unicode() < 0x100 ? static_cast<int>(m.unicode()) : static_cast<int>(Qt::Key_unknown);
        QCoreApplication::postEvent(desti,
                                    new QKeyEvent(QEvent::KeyPress, tecla, Qt::NoModifier, QString(c)));
        QCoreApplication::postEvent(desti,
                                    new QKeyEvent(QEvent::KeyRelease, tecla, Qt::NoModifier, QString(c)));
    }
}

// The action editor, when loaded, gets its three engine buttons enabled.
void habilitar_accions() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        QWidget* accions =
            w->objectName() == QLatin1String("ACCIONS") ? w : w->findChild<QWidget*>("ACCIONS");
        if (!accions) continue;
        for (const char* nom : {"CommandGuardar", "CommandObrir", "CommandVeureLesFuncions"})
            if (auto* b = accions->findChild<QWidget*>(QLatin1String(nom))) b->setEnabled(true);
        return;
    }
}

// The word hook: the engine's messages on the player window.
class GanxoParaules : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (e->type() != plataforma::MissatgeMotor::tipus()) return QObject::eventFilter(obj, e);
        const auto* m = static_cast<plataforma::MissatgeMotor*>(e);
        EstatDispositius& d = dispositius();
        if (m->wParam == -1) {
            if (d.motor_veu_preparat == FALS) {
                if (jugador_veu().menus_preparats) jugador_veu().menus_preparats();
                habilitar_accions();
            }
            d.motor_veu_preparat = CERT;
        } else if (m->wParam >= 1 && m->wParam <= ENTRADES) {
            teclejar(activitat().paraules_veu[static_cast<size_t>(m->wParam)], qobject_cast<QWidget*>(obj));
        }
        return true; // every engine message stops here
    }
};

QPointer<GanxoParaules> g_ganxo;
int32_t g_token = 0;
// A unit that gave the window to the sound level: the engine still holds it.
bool g_unitat_deixada = false;

void enganxar(QWidget* w) {
    if (g_ganxo && g_ganxo->parent() != w) delete g_ganxo.data();
    if (!g_ganxo) {
        g_ganxo = new GanxoParaules(w);
        w->installEventFilter(g_ganxo);
        g_token = plataforma::registrar_finestra(w);
    }
}

} // namespace

JugadorVeu& jugador_veu() {
    static JugadorVeu j;
    return j;
}

int partir_paraules_veu(Activitat& a, EstatDispositius& d) {
    for (int k = 1; k <= ENTRADES; ++k)
        a.paraules_veu[static_cast<size_t>(k)].clear();
    QString resta = a.paraules_veu[0];
    int i = 0;
    for (qsizetype p = resta.indexOf(u','); p >= 0 && i <= 30; p = resta.indexOf(u',')) {
        ++i;
        a.paraules_veu[static_cast<size_t>(i)] = resta.left(p);
        resta = resta.mid(p + 1);
    }
    a.paraules_veu[static_cast<size_t>(i + 1)] = resta;
    d.num_paraules_veu = static_cast<int16_t>(i + 1);
    return i;
}

bool veu_iniciar_unitat() {
    Activitat& a = activitat();
    EstatDispositius& d = dispositius();
    auto& fc = finestra_captura();
    QWidget* w = fc ? fc() : nullptr;
    // The engine hears one thing at a time: a unit already hooked, or the
    // sound level being captured, refuses; a capture that stopped gives way.
    if (d.procOld_rec != 0 || !so_deixar_per_veu()) {
        missatge(w, text_idioma(54), QMessageBox::NoIcon);
        return false;
    }
    if (a.paraules_veu[0].isEmpty()) {
        missatge(w, text_idioma(56), QMessageBox::NoIcon);
        return false;
    }
    const int i = partir_paraules_veu(a, d);
    if (a.decimes_veu < 1)
        a.decimes_veu = 2;
    else if (a.decimes_veu > 14)
        a.decimes_veu = 14;
    if (i == 0) return false;
    plataforma::MotorVeu& motor = plataforma::motor_veu();
    // No engine here: nothing to say (a load naming a pattern set stays quiet).
    if (!motor.present() || !w) return false;
    if (motor.IniciarUnitReconeixementDeSonsSenseQuadreInicial(plataforma::registrar_finestra(w),
                                                               d.num_paraules_veu, a.paraules_veu[0]) != 0) {
        missatge(w, text_idioma(55), QMessageBox::NoIcon);
        return false;
    }
    d.versio_motor_veu = motor.NumeroVersio();
    d.motor_veu_preparat = FALS;
    // The hook listens before the pause: the window keeps handling events
    // while the engine settles, and the engine's first messages count.
    enganxar(w);
    g_unitat_deixada = false;
    if (jugador_veu().esperar) jugador_veu().esperar(1.0);
    motor.AssignarNumeroDeDecimesDeSegonDereconeixement(a.decimes_veu);
    d.procOld_rec = g_token;
    // Only a unit that runs lets go of the pattern folder.
    a.carpeta_veu.clear();
    return true;
}

bool veu_obrir_paraules_carpeta(const QString& carpeta) {
    Activitat& a = activitat();
    EstatDispositius& d = dispositius();
    const QString carpeta_abans = a.carpeta_veu, paraules_abans = a.paraules_veu[0];
    auto fallada = [&] {
        a.carpeta_veu = carpeta_abans;
        a.paraules_veu[0] = paraules_abans;
        if (d.procOld_rec != 0) partir_paraules_veu(a, d);
        return false;
    };
    if (a.paraules_veu[0].isEmpty()) a.paraules_veu[0] = QStringLiteral("A,I");
    if (d.veu_activa == FALS) {
        d.veu_activa = veu_iniciar_unitat() ? CERT : FALS;
        if (d.veu_activa == FALS) return fallada();
    }
    // The path goes to the engine directly: the user's clipboard is left alone.
    if (plataforma::motor_veu().ObrirFitxerReconeixementDeParaulesDeLaCarpeta(carpeta) == 0) return fallada();
    a.carpeta_veu = carpeta;
    veu_prendre_sons();
    return true;
}

void veu_prendre_sons() {
    Activitat& a = activitat();
    EstatDispositius& d = dispositius();
    const QString sons = plataforma::motor_veu().SonsQueSeReconeixen();
    if (!sons.isEmpty()) a.paraules_veu[0] = sons;
    // Word k must type the opened set's label k.
    partir_paraules_veu(a, d);
    d.motor_veu_preparat = CERT;
}

bool restaurar_ganxo_veu(int32_t token) {
    if (token == 0 || token != g_token || !g_ganxo) return false;
    delete g_ganxo.data();
    g_token = 0;
    return true;
}

void veu_deixar_per_nivell() {
    EstatDispositius& d = dispositius();
    g_unitat_deixada = g_unitat_deixada || d.procOld_rec != 0;
    restaurar_ganxo_veu(d.procOld_rec);
    d.procOld_rec = 0;
    d.veu_activa = FALS;
}

bool veu_reprendre_unitat() {
    EstatDispositius& d = dispositius();
    if (!g_unitat_deixada || d.procOld_rec != 0) return false;
    auto& fc = finestra_captura();
    QWidget* w = fc ? fc() : nullptr;
    if (!w) return false;
    enganxar(w);
    g_unitat_deixada = false;
    d.procOld_rec = g_token;
    d.veu_activa = CERT;
    return true;
}

} // namespace lumi
