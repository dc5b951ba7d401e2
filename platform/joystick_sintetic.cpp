#include "platform/joystick_sintetic.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>

namespace lumi::plataforma {

namespace {

// -1 to 1 as the joystick service reports an axis: 0 to 65535, 32768 at rest.
int32_t eix(double v) {
    v = std::clamp(v, -1.0, 1.0);
    return static_cast<int32_t>(std::lround(v * (v < 0 ? 32768.0 : 32767.0))) + 32768;
}

} // namespace

bool llegir_guio_joystick(const QString& text, std::vector<PasJoystick>& guio, QString* error) {
    std::vector<PasJoystick> llegit;
    const QStringList linies = text.split(u'\n');
    for (qsizetype n = 0; n < linies.size(); ++n) {
        const QString linia = linies[n].section(u'#', 0, 0).simplified();
        if (linia.isEmpty()) continue;
        auto malament = [&](const char* que) {
            if (error) *error = QStringLiteral("line %1: %2").arg(n + 1).arg(QLatin1String(que));
            return false;
        };
        const QStringList camps = linia.split(u' ');
        if (camps.size() != 4) return malament("four fields expected: time x y buttons");
        PasJoystick p;
        bool ok_t = false, ok_x = false, ok_y = false;
        p.t = camps[0].toDouble(&ok_t);
        p.x = camps[1].toDouble(&ok_x);
        p.y = camps[2].toDouble(&ok_y);
        if (!ok_t || p.t < 0) return malament("bad time");
        if (!llegit.empty() && p.t < llegit.back().t) return malament("time goes back");
        if (!ok_x || !ok_y || std::abs(p.x) > 1 || std::abs(p.y) > 1)
            return malament("axes run from -1 to 1");
        static const QRegularExpression botons(QStringLiteral("^(-|[1-4]+)$"));
        if (!botons.match(camps[3]).hasMatch()) return malament("buttons are digits 1 to 4 or \"-\"");
        for (QChar c : camps[3])
            if (c != u'-') p.botons |= 1 << (c.digitValue() - 1);
        llegit.push_back(p);
    }
    guio = std::move(llegit);
    return true;
}

bool JoystickSintetic::carregar_guio(const QString& fitxer, QString* error) {
    QFile f(fitxer);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    return llegir_guio_joystick(QString::fromUtf8(f.readAll()), guio, error);
}

int JoystickSintetic::joyGetPos(int id, JOYINFO& info) {
    double t = 0;
    if (id != 0 || !obrir_dispositiu() || !present(&t)) return 1;
    PasJoystick ara;
    for (const PasJoystick& p : guio) {
        if (p.t > t) break;
        ara = p;
    }
    info.wXpos = eix(ara.x);
    info.wYpos = eix(ara.y);
    info.wZpos = eix(0);
    info.wButtons = ara.botons;
    return 0;
}

} // namespace lumi::plataforma
