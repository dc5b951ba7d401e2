#include "devices/modul_joystic.h"

#include "platform/carpetes.h"
#include "platform/ini.h"
#include "platform/joystick.h"
#include "core/vb.h"

#include <QFileInfo>

namespace lumi {

bool joystick_provar(int id) {
    EstatDispositius& d = dispositius();
    d.joy_centre = JOYINFO{};
    if (plataforma::joystick().joyGetPos(id, d.joy_info) != 0) return false;
    d.joy_centre = d.joy_info;
    d.num_joystick = static_cast<int16_t>(id + 1);
    d.sensibilitat_joystick = 3;
    return true;
}

QString joystick_esdeveniment(const JOYINFO& l, const JOYINFO& c, int sensibilitat) {
    const double s = sensibilitat / 10.0;
    QString e;
    const double x = l.wXpos, y = l.wYpos, cx = c.wXpos, cy = c.wYpos;
    if (x > (1 + s) * cx) e += u'D';
    if (x < (1 - s) * cx) e += u'E';
    if (y > (1 + s) * cy) e += u'R';
    if (y < (1 - s) * cy) e += u'A';
    uint32_t b = static_cast<uint32_t>(l.wButtons);
    for (int k = 1; b != 0; ++k, b /= 2) {
        if (b & 1) e += QString::number(k);
    }
    return e;
}

QString joystick_traduir(const QString& estat, const QString& botons) {
    QString out;
    for (QChar c : estat) {
        const qsizetype p = botons.indexOf(c);
        out += p >= 0 ? QString::number(p + 1) : QString(c);
    }
    return out;
}

QString joystick_traduir(const QString& estat) {
    return joystick_traduir(estat, dispositius().joy_botons.value(0));
}

QString joystick_llegir() {
    EstatDispositius& d = dispositius();
    if (d.num_joystick != 1 && d.num_joystick != 2) return {};
    if (plataforma::joystick().joyGetPos(d.num_joystick - 1, d.joy_info) != 0) return {};
    return joystick_traduir(joystick_esdeveniment(d.joy_info, d.joy_centre, d.sensibilitat_joystick));
}

void carregar_joystick_ini(const QString& fitxer, EstatDispositius& d) {
    if (!QFileInfo::exists(fitxer)) return;
    const QString seccio = QStringLiteral("Joystick");
    const QString n = plataforma::ini_llegir(fitxer, seccio, QStringLiteral("num_joy_button"));
    if (!n.isEmpty()) {
        // A count that is negative or beyond what a joystick can have leaves
        // the count as it was.
        auto v = a_enter16(valor_inicial(n));
        if (v && *v >= 0 && *v <= 32) d.num_joy_botons = *v;
    }
    d.joy_botons = QStringList();
    for (int k = 0; k <= d.num_joy_botons; ++k)
        d.joy_botons.append(QString());
    for (int k = 1; k <= d.num_joy_botons; ++k) {
        const QString v = plataforma::ini_llegir(fitxer, seccio, QString::number(k));
        if (!v.isEmpty()) d.joy_botons[k] = v;
        d.joy_botons[0] += d.joy_botons[k].trimmed();
    }
}

void carregar_joystick_ini() {
    carregar_joystick_ini(plataforma::fitxer_ini_programa(), dispositius());
}

} // namespace lumi
