#include "platform/backends.h"

#include "platform/camera_sintetica.h"
#include "platform/joystick_sintetic.h"
#include "platform/media_sintetic.h"
#include "platform/microfon_sintetic.h"
#include "platform/motor_veu_sintetic.h"
#include "platform/processos_sintetic.h"
#include "platform/rellotge_sintetic.h"
#include "platform/seguidor_sintetic.h"

#include <QRegularExpression>
#include <array>
#include <cstdio>
#include <memory>

namespace lumi::plataforma {

namespace {

enum Servei { MEDIA, JOYSTICK, VEU, MICROFON, CAMERA, SEGUIDOR, PROCESSOS, RELLOTGE, ATZAR, SERVEIS };

constexpr std::array<const char*, SERVEIS> NOMS{"media",    "joystick",  "veu",      "microfon", "camera",
                                                "seguidor", "processos", "rellotge", "atzar"};

int servei_de(const QString& nom) {
    for (int i = 0; i < SERVEIS; ++i)
        if (nom == QLatin1String(NOMS[static_cast<size_t>(i)])) return i;
    return -1;
}

QString llista_serveis() {
    QStringList l;
    for (const char* n : NOMS)
        l << QLatin1String(n);
    return l.join(QStringLiteral(", "));
}

// One of each synthetic back end; only the chosen ones are put in place.
struct Sintetics {
    MciSintetic media;
    JoystickSintetic joystick;
    MotorVeuSintetic veu;
    MicrofonSintetic microfon;
    CameraSintetica camera;
    SeguidorSintetic seguidor;
    ProcessosSintetic processos;
    RellotgeSintetic rellotge;
    AtzarSintetic atzar;

    DispositiuSintetic* dispositiu(int s) {
        switch (s) {
        case JOYSTICK:
            return &joystick;
        case MICROFON:
            return &microfon;
        case CAMERA:
            return &camera;
        case SEGUIDOR:
            return &seguidor;
        default:
            return nullptr;
        }
    }
};

std::unique_ptr<Sintetics> g_sintetics;
std::array<bool, SERVEIS> g_triats{};

void posar(int s, Sintetics* x) {
    switch (s) {
    case MEDIA:
        posar_mci(x ? &x->media : nullptr);
        break;
    case JOYSTICK:
        posar_joystick(x ? &x->joystick : nullptr);
        break;
    case VEU:
        posar_motor_veu(x ? &x->veu : nullptr);
        break;
    case MICROFON:
        posar_microfon(x ? &x->microfon : nullptr);
        break;
    case CAMERA:
        posar_camera(x ? &x->camera : nullptr);
        break;
    case SEGUIDOR:
        posar_seguidor_color(x ? &x->seguidor : nullptr);
        break;
    case PROCESSOS:
        posar_processos(x ? &x->processos : nullptr);
        break;
    case RELLOTGE:
        posar_rellotge(x ? &x->rellotge : nullptr);
        break;
    case ATZAR:
        posar_atzar(x ? &x->atzar : nullptr);
        break;
    default:
        break;
    }
}

// Applies one option to the synthetic back end of service s; false when it
// is not one of its options or its value is wrong (`detall` may say why).
bool aplicar(Sintetics& x, int s, const QString& opcio, const QString& valor, QString& detall) {
    bool ok = false;
    if (opcio == u"falla" && valor.isNull()) {
        if (DispositiuSintetic* d = x.dispositiu(s))
            d->falla_obrir = true;
        else if (s == VEU)
            x.veu.resultat_captura = x.veu.resultat_reconeixement = 1;
        else if (s == PROCESSOS)
            x.processos.falla = true;
        else
            return false;
        return true;
    }
    if (opcio == u"desapareix") {
        DispositiuSintetic* d = x.dispositiu(s);
        const double t = valor.toDouble(&ok);
        if (!d || !ok || t < 0) return false;
        d->desapareix_als = t;
        return true;
    }
    if (s == JOYSTICK && opcio == u"guio") return x.joystick.carregar_guio(valor, &detall);
    if (s == MICROFON && opcio == u"wav") {
        if (!x.microfon.carregar_wav(valor)) detall = QStringLiteral("no sound file can be read there");
        return detall.isEmpty();
    }
    if (s == CAMERA && opcio == u"color") {
        const QColor c = QColor::fromString(valor);
        if (c.isValid()) x.camera.color_disc = c;
        return c.isValid();
    }
    if (s == CAMERA && opcio == u"realista" && valor.isNull()) {
        // Shading, sensor noise, YUYV colour and a background of several tones.
        x.camera.realista = true;
        x.camera.soroll = 5;
        x.camera.fons_tons = {QColor(200, 170, 120), QColor(90, 110, 90), QColor(150, 150, 160),
                              QColor(70, 70, 70)};
        return true;
    }
    if (s == CAMERA && opcio == u"pantalla") {
        // "X Y;X Y;X Y;X Y": the screen's corners in the frame.
        std::vector<QPointF> punts;
        for (const QString& p : valor.split(u';', Qt::SkipEmptyParts)) {
            const QStringList xy = p.split(u' ', Qt::SkipEmptyParts);
            bool ok_x = false, ok_y = false;
            if (xy.size() != 2) return false;
            punts.emplace_back(xy[0].toDouble(&ok_x), xy[1].toDouble(&ok_y));
            if (!ok_x || !ok_y) return false;
        }
        if (punts.size() != 4) return false;
        x.camera.pantalla = std::move(punts);
        return true;
    }
    if (s == CAMERA && opcio == u"cami") {
        auto cami = llegir_cami(valor);
        if (cami) x.camera.cami = std::move(*cami);
        return cami.has_value();
    }
    if (s == VEU && opcio == u"paraules") {
        std::vector<ParaulaDita> dites;
        for (const QString& d : valor.split(u';', Qt::SkipEmptyParts)) {
            bool ok_k = false, ok_t = false;
            const ParaulaDita p{d.section(u'@', 1).toDouble(&ok_t), d.section(u'@', 0, 0).toInt(&ok_k)};
            if (!ok_k || !ok_t || p.paraula < 1 || p.paraula > 32 || (!dites.empty() && p.t < dites.back().t))
                return false;
            dites.push_back(p);
        }
        x.veu.paraules = std::move(dites);
        return true;
    }
    if (s == RELLOTGE && opcio == u"pas") {
        const double pas = valor.toDouble(&ok);
        if (!ok || pas < 0) return false;
        x.rellotge.pas = pas;
        return true;
    }
    if (s == ATZAR && opcio == u"valors") {
        std::deque<float> valors;
        for (const QString& a : valor.split(u';', Qt::SkipEmptyParts)) {
            const double v = a.toDouble(&ok);
            if (!ok || v < 0 || v >= 1) return false;
            valors.push_back(static_cast<float>(v));
        }
        if (valors.empty()) return false;
        x.atzar.valors = std::move(valors);
        return true;
    }
    return false;
}

} // namespace

QStringList triar_backends(const QString& backends, const QString& opcions) {
    QStringList queixes;
    std::array<bool, SERVEIS> sintetic{};
    for (const QString& entrada : backends.split(u',', Qt::SkipEmptyParts)) {
        const QString e = entrada.trimmed().toLower();
        const qsizetype dos_punts = e.indexOf(u':');
        const QString nom = dos_punts < 0 ? QString() : e.left(dos_punts).trimmed();
        const QString valor = (dos_punts < 0 ? e : e.mid(dos_punts + 1)).trimmed();
        const int s = dos_punts < 0 ? SERVEIS : servei_de(nom);
        if (s < 0) {
            queixes << QStringLiteral("LUMIRAGA_BACKENDS: unknown service \"%1\" (the services are %2)")
                           .arg(nom, llista_serveis());
            continue;
        }
        if (valor != u"sintetic" && valor != u"real") {
            queixes << QStringLiteral("LUMIRAGA_BACKENDS: \"%1\" is neither \"sintetic\" nor \"real\"")
                           .arg(entrada.trimmed());
            continue;
        }
        if (s == SERVEIS)
            sintetic.fill(valor == u"sintetic");
        else
            sintetic[static_cast<size_t>(s)] = valor == u"sintetic";
    }

    // Nothing may point at the previous synthetic back ends once they go.
    for (int s = 0; s < SERVEIS; ++s)
        posar(s, nullptr);
    g_sintetics = std::make_unique<Sintetics>();
    Sintetics& x = *g_sintetics;
    // Chosen from the environment, the clock must move by itself, or the
    // first wait would never end; the speech engine hears the microphone.
    x.rellotge.pas = 0.01;
    x.veu.amb_microfon = true;
    x.atzar.ciclic = true;
    // Unscripted, chance must still vary: a constant would leave a draw
    // that avoids the last item drawing for ever.
    x.atzar.llavor.emplace();

    for (const QString& entrada : opcions.split(u',', Qt::SkipEmptyParts)) {
        const QString e = entrada.trimmed();
        const int s = servei_de(e.section(u':', 0, 0).trimmed().toLower());
        const QString opcio_valor = e.section(u':', 1).trimmed();
        // "opcio=valor" or "opcio@valor"; an option without a value has a null one.
        const qsizetype sep = opcio_valor.indexOf(QRegularExpression(QStringLiteral("[=@]")));
        const QString opcio = (sep < 0 ? opcio_valor : opcio_valor.left(sep)).toLower();
        const QString valor = sep < 0 ? QString() : opcio_valor.mid(sep + 1);
        if (s < 0) {
            queixes << QStringLiteral("LUMIRAGA_SINTETIC: \"%1\" names no service (the services are %2)")
                           .arg(e, llista_serveis());
        } else if (!sintetic[static_cast<size_t>(s)]) {
            queixes << QStringLiteral("LUMIRAGA_SINTETIC: \"%1\" ignored: %2 is not synthetic")
                           .arg(e, QLatin1String(NOMS[static_cast<size_t>(s)]));
        } else if (QString detall; !aplicar(x, s, opcio, valor, detall)) {
            queixes << QStringLiteral("LUMIRAGA_SINTETIC: \"%1\" not understood%2; ignored")
                           .arg(e, detall.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(detall));
        }
    }

    for (int s = 0; s < SERVEIS; ++s)
        if (sintetic[static_cast<size_t>(s)]) posar(s, &x);
    g_triats = sintetic;
    for (const QString& q : queixes)
        std::fprintf(stderr, "lumiraga: %s\n", q.toLocal8Bit().constData());
    return queixes;
}

bool servei_sintetic(const QString& nom) {
    const int s = servei_de(nom);
    return s >= 0 && g_triats[static_cast<size_t>(s)];
}

void triar_backends_entorn() {
    if (!qEnvironmentVariableIsSet("LUMIRAGA_BACKENDS") && !qEnvironmentVariableIsSet("LUMIRAGA_SINTETIC"))
        return;
    triar_backends(qEnvironmentVariable("LUMIRAGA_BACKENDS"), qEnvironmentVariable("LUMIRAGA_SINTETIC"));
}

} // namespace lumi::plataforma
