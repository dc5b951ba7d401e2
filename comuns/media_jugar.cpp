#include "comuns/media_jugar.h"

#include "core/activitat.h"
#include "core/tipus_fitxer.h"
#include "platform/finestres.h"
#include "platform/media.h"
#include "platform/motor_veu.h"
#include "platform/pantalla.h"

#include <QPointer>

namespace lumi {

namespace {

// The window style a video is opened with (a child window).
constexpr int64_t WS_CHILD = 0x40000000;

QWidget* picture1() {
    auto& f = finestra_video();
    return f ? f() : nullptr;
}

bool es_avi(const QString& cami) {
    return tipus_de_nom(cami.trimmed()) == TipusFitxer::avi;
}

} // namespace

std::function<QWidget*()>& finestra_video() {
    static std::function<QWidget*()> f;
    return f;
}

std::function<void()>& reprendre_captura_so() {
    static std::function<void()> f;
    return f;
}

void tancar_media_actual(QWidget* caixa_video) {
    EstatJugador& j = jugador();
    if (j.media_actual.isEmpty()) return;
    if (es_avi(j.media_actual)) {
        plataforma::mciSendString(QStringLiteral("close animation"));
        if (caixa_video) caixa_video->hide();
    }
    plataforma::mciSendString(QStringLiteral("close ") + j.media_actual);
    j.media_actual.clear();
}

void reproduir_media(QString& fitxer) {
    using plataforma::mciSendString;
    EstatDispositius& d = dispositius();
    EstatJugador& j = jugador();
    plataforma::MotorVeu& motor = plataforma::motor_veu();

    if (d.veu_activa == -2) motor.PararReconeixement();
    if (d.nivell_so_actiu == -2) motor.FinalitzarCapturaNivellDeSo();

    QWidget* pic = picture1();
    tancar_media_actual(pic);

    const QString curt = plataforma::cami_curt(fitxer).trimmed();
    if (!es_avi(curt)) {
        mciSendString(QStringLiteral("play ") + curt);
    } else {
        const QRect pantalla = plataforma::rectangle_escriptori();
        if (pic) {
            pic->setGeometry(0, 0, pantalla.width(), pantalla.height());
            pic->show();
            pic->raise();
        }
        const int32_t handle = plataforma::registrar_finestra(pic);
        const int r = mciSendString(
            QStringLiteral("open ") + curt + QStringLiteral(" type AVIVideo alias animation parent ") +
            QString::number(handle) + QStringLiteral(" style ") + QString::number(WS_CHILD));
        if (r != plataforma::MCI_OK) {
            // A video that does not open must not leave the picture box
            // covering the window.
            if (pic) pic->hide();
        } else {
            mciSendString(QStringLiteral("put animation window at 1 1 ") +
                          QString::number(pantalla.width() - 2) + u' ' +
                          QString::number(pantalla.height() - 2));
            mciSendString(QStringLiteral("play animation"));
            // A damaged file is found out only once it is read: hide the box
            // then, unless another medium has taken its place.
            QPointer<QWidget> caixa(pic);
            plataforma::mci().en_fallada(QStringLiteral("animation"), [caixa, curt] {
                if (caixa && jugador().media_actual == curt) caixa->hide();
            });
        }
    }
    j.media_actual = curt;

    if (d.veu_activa == -2) motor.IniciarReconeixement();
    if (d.nivell_so_actiu == -2 && reprendre_captura_so()) reprendre_captura_so()();
}

QString reproduir_so(const QString& fitxer) {
    QString f = fitxer;
    reproduir_media(f);
    return QString();
}

} // namespace lumi
