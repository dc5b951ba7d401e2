#include "platform/media.h"

#include "core/camins.h"
#include "platform/moduls.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace lumi::plataforma {

namespace {

QString sense_cometes(QString s) {
    s = s.trimmed();
    if (s.size() >= 2 && s.startsWith(u'"') && s.endsWith(u'"')) s = s.mid(1, s.size() - 2).trimmed();
    return s;
}

Mci* g_mci = nullptr;

// Without the media module nothing plays, as on a machine with no output.
class MciAbsent final : public Mci {
  public:
    int enviar(const QString&) override { return MCIERR_SENSE_SORTIDA; }
};

} // namespace

OrdreMci analitzar_ordre_mci(const QString& ordre) {
    OrdreMci o;
    const QString s = ordre.trimmed();
    const qsizetype blanc = s.indexOf(QRegularExpression(QStringLiteral("\\s")));
    const QString verb = (blanc < 0 ? s : s.left(blanc)).toLower();
    const QString resta = blanc < 0 ? QString() : s.mid(blanc + 1).trimmed();
    if (resta.isEmpty()) return o;

    if (verb == u"play" || verb == u"close") {
        o.nom = sense_cometes(resta);
        o.valida = !o.nom.isEmpty();
    } else if (verb == u"open") {
        // The file name may hold blanks: the keywords are taken from the end.
        static const QRegularExpression re(
            QStringLiteral("^(.+?)(?:\\s+type\\s+(\\S+))?(?:\\s+alias\\s+(\\S+))?"
                           "(?:\\s+parent\\s+(-?\\d+))?(?:\\s+style\\s+(-?\\d+))?$"),
            QRegularExpression::CaseInsensitiveOption);
        const auto m = re.match(resta);
        if (!m.hasMatch()) return o;
        o.nom = sense_cometes(m.captured(1));
        o.tipus = m.captured(2);
        o.alias = m.captured(3);
        o.pare = m.captured(4).toInt();
        o.estil = m.captured(5).toLongLong();
        o.valida = !o.nom.isEmpty();
    } else if (verb == u"put") {
        static const QRegularExpression re(
            QStringLiteral("^(\\S+)\\s+window\\s+at\\s+(-?\\d+)\\s+(-?\\d+)\\s+(-?\\d+)\\s+(-?\\d+)$"),
            QRegularExpression::CaseInsensitiveOption);
        const auto m = re.match(resta);
        if (!m.hasMatch()) return o;
        o.nom = m.captured(1);
        o.finestra =
            QRect(m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt(), m.captured(5).toInt());
        o.valida = true;
    } else {
        return o;
    }
    o.verb = verb;
    return o;
}

Mci& mci() {
    if (g_mci) return *g_mci;
    static MciAbsent absent;
    const ModulMedia* m = modul_media();
    return m ? m->mci() : absent;
}

void posar_mci(Mci* m) {
    g_mci = m;
}

int mciSendString(const QString& ordre) {
    return mci().enviar(ordre);
}

QString cami_curt(const QString& fitxer) {
    const QString nom = fitxer.trimmed();
    if (nom.isEmpty()) return QString();
    const QString trobat = resoldre_fitxer(separadors_natius(nom), QString());
    const QFileInfo fi(trobat);
    if (!fi.isFile()) return QString();
    return QDir::cleanPath(fi.absoluteFilePath());
}

void triar_backend_media() {
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "gstreamer");
}

} // namespace lumi::plataforma
