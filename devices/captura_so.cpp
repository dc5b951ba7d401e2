#include "devices/captura_so.h"

#include "core/activitat.h"
#include "platform/finestres.h"
#include "core/idioma.h"
#include "platform/motor_veu.h"
#include "core/vb.h"

#include <QPointer>

namespace lumi {

namespace {

constexpr float VERSIO_MINIMA = 89;

// The sound-level hook: keeps the level the engine posted and the last two.
class GanxoNivellSo : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (e->type() != plataforma::MissatgeMotor::tipus()) return QObject::eventFilter(obj, e);
        auto* m = static_cast<plataforma::MissatgeMotor*>(e);
        EstatDispositius& d = dispositius();
        d.nivell_so = static_cast<int16_t>(m->lParam);
        const int k = d.nivells_so[10] == 1 ? 1 : 0;
        d.nivells_so[static_cast<size_t>(k)] = d.nivell_so;
        d.nivells_so[10] = static_cast<int16_t>((k + 1) % 2);
        return true;
    }
};

QPointer<GanxoNivellSo> g_ganxo;
int32_t g_token = 0;

QWidget* finestra() {
    auto& f = finestra_captura();
    return f ? f() : nullptr;
}

// Installs the hook once; the token is the window's handle (never 0).
void instal_lar_ganxo(QWidget* w) {
    EstatDispositius& d = dispositius();
    // Never two hooks: a second one would count each level twice.
    if (g_ganxo && g_ganxo->parent() != w) delete g_ganxo.data();
    if (!g_ganxo) {
        g_ganxo = new GanxoNivellSo(w);
        w->installEventFilter(g_ganxo);
        g_token = plataforma::registrar_finestra(w);
    }
    if (d.procOld_so == 0) d.procOld_so = g_token;
}

} // namespace

std::function<QWidget*()>& finestra_captura() {
    static std::function<QWidget*()> f;
    return f;
}

QString so_iniciar_captura() {
    EstatDispositius& d = dispositius();
    if (d.versio_motor_veu != 0 || d.procOld_rec != 0)
        return text_idioma(53) + QStringLiteral("procOld_rec =") + numero_text(d.procOld_rec);
    plataforma::MotorVeu& motor = plataforma::motor_veu();
    QWidget* w = finestra();
    // No engine, or no window for it to report to: nothing can start, and
    // nothing is recorded that would refuse a later start.
    if (!motor.present() || !w) return text_idioma(52);
    instal_lar_ganxo(w);
    d.versio_motor_veu = motor.NumeroVersio();
    if (d.versio_motor_veu < VERSIO_MINIMA) return text_idioma(51);
    if (motor.IniciarCapturaNivellDeSo(plataforma::registrar_finestra(w)) != 0) return text_idioma(52);
    return QStringLiteral("ok");
}

void so_finalitzar_captura() {
    plataforma::motor_veu().FinalitzarCapturaNivellDeSo();
    dispositius().nivell_so_actiu = -1;
}

int16_t so_reprendre_captura() {
    EstatDispositius& d = dispositius();
    if (d.versio_motor_veu == 0 && d.procOld_rec == 0) return so_iniciar_captura() == u"ok" ? 0 : -1;
    QWidget* w = finestra();
    if (!w) return -1;
    instal_lar_ganxo(w);
    return plataforma::motor_veu().IniciarCapturaNivellDeSo(plataforma::registrar_finestra(w));
}

bool restaurar_ganxo_so(int32_t token) {
    if (token == 0 || token != g_token || !g_ganxo) return false;
    delete g_ganxo.data();
    g_token = 0;
    return true;
}

bool so_deixar_per_veu() {
    EstatDispositius& d = dispositius();
    if (d.nivell_so_actiu == -2) return false;
    restaurar_ganxo_so(d.procOld_so);
    d.procOld_so = 0;
    return true;
}

} // namespace lumi
