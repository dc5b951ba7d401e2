#include "platform/seguidor_color.h"

#include "platform/camera.h"
#include "platform/carpetes.h"
#include "platform/ini.h"
#include "platform/rellotge.h"

#include <QColor>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <numeric>
#include <thread>

namespace lumi::plataforma {

namespace {

const QString SECCIO = QStringLiteral("OMBRAVISOR");

struct ClauParametre {
    const char* nom;
    int ParametresColor::*camp;
    int minim, maxim;
};
constexpr ClauParametre CLAUS[] = {
    {"to", &ParametresColor::to, 0, 359},
    {"tolerancia_to", &ParametresColor::tolerancia_to, 0, 180},
    {"saturacio_minima", &ParametresColor::saturacio_minima, 0, 255},
    {"valor_minim", &ParametresColor::valor_minim, 0, 255},
    {"area_minima", &ParametresColor::area_minima, 1, 640 * 480},
};

// Hue in degrees (0 to 360), saturation and value (0 to 255) of a colour.
void hsv(int r, int g, int b, double& h, int& s, int& v) {
    const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
    v = mx;
    s = mx == 0 ? 0 : (mx - mn) * 255 / mx;
    if (mx == mn) {
        h = 0;
        return;
    }
    const double d = mx - mn;
    if (mx == r)
        h = 60 * (g - b) / d;
    else if (mx == g)
        h = 60 * (2 + (b - r) / d);
    else
        h = 60 * (4 + (r - g) / d);
    if (h < 0) h += 360;
}

double distancia_to(double a, double b) {
    const double d = std::fmod(std::abs(a - b), 360.0);
    return std::min(d, 360 - d);
}

} // namespace

ParametresColor llegir_parametres_color() {
    ParametresColor p;
    const QString f = fitxer_ini_programa();
    for (const ClauParametre& c : CLAUS) {
        bool ok = false;
        const int v = ini_llegir(f, SECCIO, QLatin1String(c.nom)).trimmed().toInt(&ok);
        if (ok) p.*c.camp = std::clamp(v, c.minim, c.maxim);
    }
    return p;
}

bool desar_parametres_color(const ParametresColor& p) {
    QList<ClauValor> claus;
    for (const ClauParametre& c : CLAUS)
        claus.append({QLatin1String(c.nom), QString::number(p.*c.camp)});
    return ini_escriure(fitxer_ini_programa(), SECCIO, claus);
}

ParametresColor parametres_de_mostra(const QImage& font, QPoint centre, const ParametresColor& actuals) {
    const QImage im = font.convertToFormat(QImage::Format_RGB32);
    std::vector<int> r, g, b;
    for (int y = centre.y() - 3; y <= centre.y() + 3; ++y)
        for (int x = centre.x() - 3; x <= centre.x() + 3; ++x) {
            if (!im.rect().contains(x, y)) continue;
            const QRgb p = im.pixel(x, y);
            r.push_back(qRed(p));
            g.push_back(qGreen(p));
            b.push_back(qBlue(p));
        }
    if (r.empty()) return actuals;
    auto mediana = [](std::vector<int>& v) {
        std::nth_element(v.begin(), v.begin() + static_cast<long>(v.size() / 2), v.end());
        return v[v.size() / 2];
    };
    double h = 0;
    int s = 0, v = 0;
    hsv(mediana(r), mediana(g), mediana(b), h, s, v);
    ParametresColor p = actuals;
    p.to = static_cast<int>(std::lround(h)) % 360;
    // Room for shading towards the object's edge and for the camera's noise.
    p.saturacio_minima = std::max(40, s / 2);
    p.valor_minim = std::max(30, v * 2 / 5);
    return p;
}

void AnalitzadorColor::preparar_taula(const ParametresColor& p) {
    if (taula_feta_ && taula_per_ == p) return;
    taula_.assign(64 * 64 * 64, 0);
    for (int r = 0; r < 64; ++r)
        for (int g = 0; g < 64; ++g)
            for (int b = 0; b < 64; ++b) {
                double h = 0;
                int s = 0, v = 0;
                hsv(r * 4 + 2, g * 4 + 2, b * 4 + 2, h, s, v);
                taula_[static_cast<size_t>((r << 12) | (g << 6) | b)] =
                    v >= p.valor_minim && s >= p.saturacio_minima && distancia_to(h, p.to) <= p.tolerancia_to;
            }
    taula_per_ = p;
    taula_feta_ = true;
}

PosicioColor AnalitzadorColor::analitzar(const QImage& font, const ParametresColor& p,
                                         std::vector<uint8_t>* mascara) {
    if (font.isNull()) return {};
    preparar_taula(p);
    const QImage im = (font.format() == QImage::Format_RGB32 || font.format() == QImage::Format_ARGB32)
                          ? font
                          : font.convertToFormat(QImage::Format_RGB32);
    const int w = im.width(), h = im.height();
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    m_.resize(n);
    tmp_.resize(n);
    for (int y = 0; y < h; ++y) {
        const auto* fila = reinterpret_cast<const QRgb*>(im.constScanLine(y));
        uint8_t* m = &m_[static_cast<size_t>(y) * static_cast<size_t>(w)];
        for (int x = 0; x < w; ++x) {
            const QRgb c = fila[x];
            m[x] = taula_[((c >> 6) & 0x3F000) | ((c >> 4) & 0xFC0) | ((c >> 2) & 0x3F)];
        }
    }
    // An opening of 3 x 3 (erode, then dilate), each as a row pass and a
    // column pass; outside the frame counts as empty.
    // Written so that the compiler can run each row in vector steps.
    auto passada = [w, h](const std::vector<uint8_t>& de, std::vector<uint8_t>& a, bool erosio, bool files) {
        const auto W = static_cast<size_t>(w);
        for (int y = 0; y < h; ++y) {
            const uint8_t* c = &de[static_cast<size_t>(y) * W];
            uint8_t* o = &a[static_cast<size_t>(y) * W];
            if (files) {
                if (w == 1) {
                    o[0] = erosio ? 0 : c[0];
                    continue;
                }
                o[0] = erosio ? 0 : (c[0] | c[1]);
                o[W - 1] = erosio ? 0 : (c[W - 1] | c[W - 2]);
                if (erosio)
                    for (size_t x = 1; x + 1 < W; ++x)
                        o[x] = c[x - 1] & c[x] & c[x + 1];
                else
                    for (size_t x = 1; x + 1 < W; ++x)
                        o[x] = c[x - 1] | c[x] | c[x + 1];
            } else {
                const uint8_t* u = y > 0 ? c - W : nullptr;
                const uint8_t* d = y + 1 < h ? c + W : nullptr;
                if (erosio && (!u || !d)) {
                    std::fill(o, o + W, uint8_t{0});
                } else if (erosio) {
                    for (size_t x = 0; x < W; ++x)
                        o[x] = u[x] & c[x] & d[x];
                } else {
                    for (size_t x = 0; x < W; ++x)
                        o[x] = static_cast<uint8_t>((u ? u[x] : 0) | c[x] | (d ? d[x] : 0));
                }
            }
        }
    };
    passada(m_, tmp_, true, true);
    passada(tmp_, m_, true, false);
    passada(m_, tmp_, false, true);
    passada(tmp_, m_, false, false);
    if (mascara) *mascara = m_;

    // The blobs, from runs of set pixels joined to the runs they touch in
    // the row above (corners count).
    struct Tram {
        int x0, x1;
        int arrel;
    };
    std::vector<int> pare;
    std::vector<double> area, suma_x, suma_y;
    std::vector<Tram> anteriors, actuals;
    auto arrel = [&pare](int i) {
        while (pare[static_cast<size_t>(i)] != i) {
            pare[static_cast<size_t>(i)] = pare[static_cast<size_t>(pare[static_cast<size_t>(i)])];
            i = pare[static_cast<size_t>(i)];
        }
        return i;
    };
    for (int y = 0; y < h; ++y) {
        const uint8_t* m = &m_[static_cast<size_t>(y) * static_cast<size_t>(w)];
        actuals.clear();
        for (int x = 0; x < w;) {
            if (!m[x]) {
                ++x;
                continue;
            }
            const int x0 = x;
            while (x < w && m[x])
                ++x;
            const int x1 = x - 1;
            int id = static_cast<int>(pare.size());
            pare.push_back(id);
            const double llarg = x1 - x0 + 1;
            area.push_back(llarg);
            suma_x.push_back(llarg * (x0 + x1 + 1) / 2.0);
            suma_y.push_back(llarg * (y + 0.5));
            for (const Tram& t : anteriors) {
                if (t.x0 > x1 + 1 || t.x1 < x0 - 1) continue;
                const int a = arrel(t.arrel), b = arrel(id);
                if (a != b) pare[static_cast<size_t>(std::max(a, b))] = std::min(a, b);
            }
            actuals.push_back({x0, x1, id});
        }
        std::swap(anteriors, actuals);
    }
    // Totals per blob, at each run's root.
    for (size_t i = 0; i < pare.size(); ++i) {
        const auto r = static_cast<size_t>(arrel(static_cast<int>(i)));
        if (r == i) continue;
        area[r] += area[i];
        suma_x[r] += suma_x[i];
        suma_y[r] += suma_y[i];
        area[i] = 0;
    }
    size_t millor = 0;
    double maxima = 0;
    for (size_t i = 0; i < pare.size(); ++i)
        if (area[i] > maxima) {
            maxima = area[i];
            millor = i;
        }
    if (maxima < p.area_minima || maxima <= 0) return {};
    const double cx = suma_x[millor] / maxima * AMPLADA_CAMERA / w;
    const double cy = suma_y[millor] / maxima * ALCADA_CAMERA / h;
    return {true, static_cast<int16_t>(std::clamp<long>(std::lround(cx), 0, AMPLADA_CAMERA)),
            static_cast<int16_t>(std::clamp<long>(std::lround(cy), 0, ALCADA_CAMERA))};
}

namespace {

// Ours: frames are taken from the camera on the interface thread (the
// camera's own reading never blocks it) and looked at on a worker thread,
// which publishes the answer in one atomic word.
class SeguidorReal final : public SeguidorColor {
  public:
    ~SeguidorReal() override { finalitzar(); }

    bool iniciar(int16_t mode) override {
        if (en_marxa_) return true;
        if (!agafar_camera(0)) return false;
        {
            std::lock_guard l(mutex_);
            if (!parametres_posats_) params_ = llegir_parametres_color();
            atura_ = false;
            pendent_ = QImage();
        }
        publicat_.store(0, std::memory_order_release);
        inici_ = rellotge().monotonic();
        en_marxa_ = true;
        fil_ = std::thread([this] { treballar(); });
        timer_ = std::make_unique<QTimer>();
        // "Continuo" looks at every frame a camera gives; the others at
        // most ten a second.
        timer_->setInterval(mode == 1 ? 15 : 100);
        QObject::connect(timer_.get(), &QTimer::timeout, [this] { agafar(); });
        timer_->start();
        agafar();
        return true;
    }

    PosicioColor posicio() override {
        if (!en_marxa_) return {};
        const uint64_t p = publicat_.load(std::memory_order_acquire);
        if (!(p >> 63)) return {};
        const double segell = static_cast<double>(p & 0x7FFFFFFF) / 1000.0;
        // A frame 300 ms old or more says nothing about now.
        if (rellotge().monotonic() - inici_ - segell >= 0.3) return {};
        return {true, static_cast<int16_t>((p >> 47) & 0xFFFF), static_cast<int16_t>((p >> 31) & 0xFFFF)};
    }

    void finalitzar() override {
        if (!en_marxa_) return;
        timer_.reset();
        {
            std::lock_guard l(mutex_);
            atura_ = true;
            cv_.notify_all();
        }
        if (fil_.joinable()) fil_.join();
        en_marxa_ = false;
        publicat_.store(0, std::memory_order_release);
        deixar_camera();
    }

    void posar_parametres(const ParametresColor& p) override {
        std::lock_guard l(mutex_);
        params_ = p;
        parametres_posats_ = true;
    }

    ParametresColor parametres() const override {
        std::lock_guard l(mutex_);
        return parametres_posats_ ? params_ : llegir_parametres_color();
    }

  private:
    void agafar() {
        QImage f = camera().fotograma();
        if (f.isNull()) return; // gone: the last answer ages out
        std::lock_guard l(mutex_);
        pendent_ = std::move(f);
        segell_pendent_ = rellotge().monotonic() - inici_;
        cv_.notify_all();
    }

    void treballar() {
        AnalitzadorColor a;
        for (;;) {
            QImage f;
            double segell = 0;
            ParametresColor p;
            {
                std::unique_lock l(mutex_);
                cv_.wait(l, [this] { return atura_ || !pendent_.isNull(); });
                if (atura_) return;
                f = std::move(pendent_);
                pendent_ = QImage();
                segell = segell_pendent_;
                p = params_;
            }
            const PosicioColor r = a.analitzar(f, p);
            const auto ms = static_cast<uint64_t>(std::clamp(segell * 1000, 0.0, 2147483647.0));
            uint64_t paraula = ms & 0x7FFFFFFF;
            if (r.trobat)
                paraula |= (uint64_t{1} << 63) | (static_cast<uint64_t>(static_cast<uint16_t>(r.h)) << 47) |
                           (static_cast<uint64_t>(static_cast<uint16_t>(r.v)) << 31);
            publicat_.store(paraula, std::memory_order_release);
        }
    }

    bool en_marxa_ = false;
    double inici_ = 0;
    std::unique_ptr<QTimer> timer_;
    std::thread fil_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
    bool atura_ = false;
    QImage pendent_;
    double segell_pendent_ = 0;
    ParametresColor params_;
    bool parametres_posats_ = false;
    std::atomic<uint64_t> publicat_{0};
};

SeguidorColor* g_seguidor = nullptr;

} // namespace

SeguidorColor& seguidor_color() {
    static SeguidorReal nostre;
    return g_seguidor ? *g_seguidor : nostre;
}

void posar_seguidor_color(SeguidorColor* s) {
    g_seguidor = s;
}

} // namespace lumi::plataforma
