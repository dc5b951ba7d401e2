#include "platform/so_directe.h"

#include <QFile>
#include <gst/app/gstappsrc.h>
#include <gst/gst.h>
#include <sndfile.h>

namespace lumi::plataforma {

namespace {
constexpr sf_count_t FRAMES_TROS = 4096;
} // namespace

bool SoDirecte::muntar(const char* descripcio) {
    if (!gst_init_check(nullptr, nullptr, nullptr)) return false;
    GError* error = nullptr;
    canonada_ = gst_parse_launch(descripcio, &error);
    if (canonada_) gst_object_ref_sink(canonada_);
    // A missing plugin still gives a pipeline, without that element.
    if (error) {
        g_error_free(error);
        return false;
    }
    if (canonada_) font_ = gst_bin_get_by_name(GST_BIN(canonada_), "font");
    return font_ != nullptr;
}

std::unique_ptr<SoDirecte> SoDirecte::obrir(const QString& fitxer) {
    std::unique_ptr<SoDirecte> s(new SoDirecte);
    const QByteArray nom = QFile::encodeName(fitxer);
    QFile f(fitxer);
    if (f.open(QIODevice::ReadOnly) && f.read(4) == "MThd") {
        if (!s->muntar("filesrc name=font ! midiparse ! fluiddec ! audioconvert ! audioresample ! "
                       "autoaudiosink"))
            return nullptr;
        g_object_set(s->font_, "location", nom.constData(), nullptr);
        return s;
    }
    SF_INFO info{};
    s->f_ = sf_open(nom.constData(), SFM_READ, &info);
    if (!s->f_ || info.channels < 1 || info.channels > 2 || info.samplerate < 1 || info.frames < 1)
        return nullptr;
    s->canals_ = info.channels;
    s->per_segon_ = info.samplerate;
    s->frames_ = info.frames;
    if (!s->muntar("appsrc name=font format=time ! audioconvert ! audioresample ! autoaudiosink"))
        return nullptr;
    GstCaps* caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout",
                                        G_TYPE_STRING, "interleaved", "rate", G_TYPE_INT, info.samplerate,
                                        "channels", G_TYPE_INT, info.channels, nullptr);
    gst_app_src_set_caps(GST_APP_SRC(s->font_), caps);
    gst_caps_unref(caps);
    g_signal_connect(s->font_, "need-data", G_CALLBACK(&SoDirecte::cal_dades), s.get());
    return s;
}

SoDirecte::~SoDirecte() {
    if (canonada_) {
        gst_element_set_state(canonada_, GST_STATE_NULL);
        gst_object_unref(canonada_);
    }
    if (font_) gst_object_unref(font_);
    if (f_) sf_close(f_);
}

// On the pipeline's streaming thread.
void SoDirecte::cal_dades(GstElement* font, unsigned, void* jo) {
    auto* s = static_cast<SoDirecte*>(jo);
    const gsize mida = static_cast<gsize>(FRAMES_TROS * s->canals_ * 2);
    GstBuffer* b = gst_buffer_new_allocate(nullptr, mida, nullptr);
    GstMapInfo m;
    gst_buffer_map(b, &m, GST_MAP_WRITE);
    const sf_count_t n = sf_readf_short(s->f_, reinterpret_cast<short*>(m.data), FRAMES_TROS);
    gst_buffer_unmap(b, &m);
    if (n <= 0) {
        gst_buffer_unref(b);
        gst_app_src_end_of_stream(GST_APP_SRC(font));
        return;
    }
    gst_buffer_set_size(b, static_cast<gssize>(n * s->canals_ * 2));
    GST_BUFFER_PTS(b) = gst_util_uint64_scale(static_cast<guint64>(s->llegits_), GST_SECOND,
                                              static_cast<guint64>(s->per_segon_));
    GST_BUFFER_DURATION(b) =
        gst_util_uint64_scale(static_cast<guint64>(n), GST_SECOND, static_cast<guint64>(s->per_segon_));
    s->llegits_ += n;
    gst_app_src_push_buffer(GST_APP_SRC(font), b);
}

bool SoDirecte::reproduir() {
    // Stopped first: the streaming thread is gone before the file rewinds.
    gst_element_set_state(canonada_, GST_STATE_NULL);
    if (f_) sf_seek(f_, 0, SEEK_SET);
    llegits_ = 0;
    acabat_ = false;
    GstBus* bus = gst_element_get_bus(canonada_);
    gst_bus_set_flushing(bus, TRUE);
    gst_bus_set_flushing(bus, FALSE);
    gst_object_unref(bus);
    iniciat_ = gst_element_set_state(canonada_, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
    return iniciat_;
}

void SoDirecte::mirar_bus() const {
    if (acabat_ || !iniciat_) return;
    GstBus* bus = gst_element_get_bus(canonada_);
    if (GstMessage* m =
            gst_bus_pop_filtered(bus, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))) {
        acabat_ = true;
        gst_message_unref(m);
    }
    gst_object_unref(bus);
}

bool SoDirecte::sonant() const {
    mirar_bus();
    return iniciat_ && !acabat_;
}

bool SoDirecte::acabat() const {
    mirar_bus();
    return acabat_;
}

qint64 SoDirecte::posicio_ms() const {
    gint64 t = 0;
    if (!iniciat_ || !gst_element_query_position(canonada_, GST_FORMAT_TIME, &t)) return 0;
    return t / GST_MSECOND;
}

qint64 SoDirecte::durada_ms() const {
    if (f_) return frames_ * 1000 / per_segon_;
    gint64 t = 0;
    return iniciat_ && gst_element_query_duration(canonada_, GST_FORMAT_TIME, &t) ? t / GST_MSECOND : 0;
}

} // namespace lumi::plataforma
