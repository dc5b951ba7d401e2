// The command interpreter: sounds (MIDI, and whatever libsndfile reads) play
// on a GStreamer pipeline of our own (so_directe.h), videos and the rest
// through Qt Multimedia's GStreamer back end.
#include "platform/finestres.h"
#include "platform/media.h"
#include "platform/moduls.h"
#include "platform/so_directe.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QPointer>
#include <QUrl>
#include <QVideoWidget>

namespace lumi::plataforma {

struct MciQt::Medi {
    QString fitxer;
    std::unique_ptr<QMediaPlayer> reproductor;
    QPointer<QVideoWidget> video; // owned by its parent window
    std::unique_ptr<SoDirecte> so;

    ~Medi() {
        if (reproductor) {
            reproductor->stop();
            reproductor->setVideoOutput(nullptr);
            reproductor.reset();
        }
        delete video.data();
    }
};

namespace {
QString clau_de(const QString& nom) {
    return nom.trimmed().toLower();
}
} // namespace

bool hi_ha_sortida_audio() {
    triar_backend_media();
    return !QMediaDevices::audioOutputs().isEmpty();
}

MciQt& mci_qt() {
    static MciQt m;
    return m;
}

MciQt::MciQt() = default;
MciQt::~MciQt() = default;

bool MciQt::sortida() const {
    return comprovacio_sortida_ ? comprovacio_sortida_() : hi_ha_sortida_audio();
}

int MciQt::enviar(const QString& ordre) {
    const OrdreMci o = analitzar_ordre_mci(ordre);
    if (!o.valida) return MCIERR_ORDRE_DESCONEGUDA;
    if (o.verb == u"open") return obrir(o.nom, o.alias.isEmpty() ? o.nom : o.alias, o.pare);
    if (o.verb == u"play") {
        const QString clau = clau_de(o.nom);
        if (medis_.find(clau) == medis_.end()) {
            // A file played by name opens under that name.
            const int r = obrir(o.nom, o.nom, 0);
            if (r != MCI_OK) return r;
        }
        return reproduir(clau);
    }
    if (o.verb == u"put") {
        auto it = medis_.find(clau_de(o.nom));
        if (it == medis_.end()) return MCIERR_NOM_DESCONEGUT;
        if (!it->second->video) return MCIERR_PARAMETRE;
        it->second->video->setGeometry(o.finestra);
        return MCI_OK;
    }
    if (o.verb == u"close") {
        if (clau_de(o.nom) == u"all") {
            medis_.clear();
            return MCI_OK;
        }
        return tancar(clau_de(o.nom));
    }
    return MCIERR_ORDRE_DESCONEGUDA;
}

int MciQt::obrir(const QString& fitxer, const QString& nom, int32_t pare) {
    const QString clau = clau_de(nom);
    // One medium per name: opening a name again replaces what it held.
    tancar(clau);

    const QFileInfo fi(fitxer);
    if (!fi.isFile()) return MCIERR_FITXER_INEXISTENT;
    if (!fi.isReadable()) return MCIERR_NO_ES_POT_LLEGIR;

    QWidget* finestra_pare = nullptr;
    if (pare != 0) {
        finestra_pare = finestra_per_handle(pare);
        if (!finestra_pare) return MCIERR_PARAMETRE;
    }
    const bool amb_so = sortida();
    // Without an audio output a sound has nowhere to go; a video still shows.
    if (!amb_so && !finestra_pare) return MCIERR_SENSE_SORTIDA;

    triar_backend_media();
    auto m = std::make_unique<Medi>();
    m->fitxer = fitxer;
    const QString font = fi.absoluteFilePath();
    if (!finestra_pare && (m->so = SoDirecte::obrir(font))) {
        medis_[clau] = std::move(m);
        return MCI_OK;
    }
    m->reproductor = std::make_unique<QMediaPlayer>();
    if (amb_so) m->reproductor->setAudioOutput(new QAudioOutput(m->reproductor.get()));
    if (finestra_pare) {
        m->video = new QVideoWidget(finestra_pare);
        m->video->hide();
        m->reproductor->setVideoOutput(m->video.data());
    }
    m->reproductor->setSource(QUrl::fromLocalFile(font));
    medis_[clau] = std::move(m);
    return MCI_OK;
}

int MciQt::reproduir(const QString& clau) {
    auto it = medis_.find(clau);
    if (it == medis_.end()) return MCIERR_NOM_DESCONEGUT;
    Medi& m = *it->second;
    if (m.so) {
        // Played again once ended, from its start; while it plays, nothing.
        if (m.so->sonant()) return MCI_OK;
        return m.so->reproduir() ? MCI_OK : MCIERR_NO_ES_POT_LLEGIR;
    }
    if (m.video) {
        m.video->show();
        m.video->raise();
    }
    m.reproductor->play();
    return m.reproductor->error() == QMediaPlayer::NoError ? MCI_OK : MCIERR_NO_ES_POT_LLEGIR;
}

int MciQt::tancar(const QString& clau) {
    auto it = medis_.find(clau);
    if (it == medis_.end()) return MCIERR_NOM_DESCONEGUT;
    medis_.erase(it);
    return MCI_OK;
}

void MciQt::en_fallada(const QString& nom, std::function<void()> f) {
    QMediaPlayer* p = reproductor(nom);
    // A sound without a Qt player was read when it opened.
    if (!p || !f) return;
    if (p->error() != QMediaPlayer::NoError || p->mediaStatus() == QMediaPlayer::InvalidMedia) {
        f();
        return;
    }
    // Tied to the player: closing the medium drops the notification with it.
    auto fet = std::make_shared<bool>(false);
    auto avisar = [fet, f] {
        if (*fet) return;
        *fet = true;
        f();
    };
    QObject::connect(p, &QMediaPlayer::errorOccurred, p, avisar);
    QObject::connect(p, &QMediaPlayer::mediaStatusChanged, p, [avisar](QMediaPlayer::MediaStatus s) {
        if (s == QMediaPlayer::InvalidMedia) avisar();
    });
}

const MciQt::Medi* MciQt::medi(const QString& nom) const {
    auto it = medis_.find(clau_de(nom));
    return it == medis_.end() ? nullptr : it->second.get();
}

QMediaPlayer* MciQt::reproductor(const QString& nom) const {
    const Medi* m = medi(nom);
    return m ? m->reproductor.get() : nullptr;
}

qint64 MciQt::posicio(const QString& nom) const {
    const Medi* m = medi(nom);
    if (!m) return -1;
    return m->so ? m->so->posicio_ms() : m->reproductor->position();
}

qint64 MciQt::durada(const QString& nom) const {
    const Medi* m = medi(nom);
    if (!m) return 0;
    return m->so ? m->so->durada_ms() : m->reproductor->duration();
}

bool MciQt::acabat(const QString& nom) const {
    const Medi* m = medi(nom);
    if (!m) return false;
    return m->so ? m->so->acabat() : m->reproductor->mediaStatus() == QMediaPlayer::EndOfMedia;
}

QVideoWidget* MciQt::video(const QString& nom) const {
    const Medi* m = medi(nom);
    return m ? m->video.data() : nullptr;
}

int MciQt::oberts() const {
    return static_cast<int>(medis_.size());
}

} // namespace lumi::plataforma

extern "C" const lumi::plataforma::ModulMedia* lumi_modul_media() {
    namespace pf = lumi::plataforma;
    static const pf::ModulMedia m{[]() -> pf::Mci& { return pf::mci_qt(); }, &pf::llegir_so_mono};
    return &m;
}
