// The machine's camera through V4L2, with libv4l2 converting whatever the
// device sends to RGB. A capture thread keeps the latest frame; the
// interface thread only copies it.
#include "platform/camera.h"
#include "platform/moduls.h"

#include <QDir>
#include <QRegularExpression>
#include <atomic>
#include <condition_variable>
#include <fcntl.h>
#include <libv4l2.h>
#include <linux/videodev2.h>
#include <memory>
#include <mutex>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace lumi::plataforma {

namespace {

// The capture nodes, in the order of their numbers: a node counts when its
// own capabilities include video capture (a UVC camera's metadata node does
// not).
std::vector<std::pair<QString, QString>> nodes_captura() {
    std::vector<std::pair<int, QString>> numerats;
    const QRegularExpression nom(QStringLiteral("^video(\\d+)$"));
    for (const QString& f : QDir(QStringLiteral("/dev")).entryList(QDir::System | QDir::Files)) {
        const auto m = nom.match(f);
        if (m.hasMatch()) numerats.emplace_back(m.captured(1).toInt(), QStringLiteral("/dev/") + f);
    }
    std::sort(numerats.begin(), numerats.end());
    std::vector<std::pair<QString, QString>> nodes;
    for (const auto& [n, cami] : numerats) {
        const int fd = ::open(cami.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK);
        if (fd < 0) continue;
        v4l2_capability cap{};
        if (::ioctl(fd, VIDIOC_QUERYCAP, &cap) == 0) {
            const uint32_t propies =
                (cap.capabilities & V4L2_CAP_DEVICE_CAPS) ? cap.device_caps : cap.capabilities;
            if (propies & V4L2_CAP_VIDEO_CAPTURE)
                nodes.emplace_back(cami, QString::fromUtf8(reinterpret_cast<const char*>(cap.card)));
        }
        ::close(fd);
    }
    return nodes;
}

class CameraV4l2 final : public Camera {
  public:
    ~CameraV4l2() override { tancar(); }

    QString descripcio(int index) override {
        const auto nodes = nodes_captura();
        if (index < 0 || index >= static_cast<int>(nodes.size())) return {};
        return nodes[static_cast<size_t>(index)].second;
    }

    bool obrir(int index) override {
        if (fd_ >= 0) return true;
        const auto nodes = nodes_captura();
        if (index < 0 || index >= static_cast<int>(nodes.size())) return false;
        const auto& [cami, nom] = nodes[static_cast<size_t>(index)];
        const int fd = v4l2_open(cami.toLocal8Bit().constData(), O_RDWR | O_NONBLOCK);
        if (fd < 0) return false;
        v4l2_format fmt{};
        fmt.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
        fmt.fmt.pix.width = AMPLADA_CAMERA;
        fmt.fmt.pix.height = ALCADA_CAMERA;
        fmt.fmt.pix.pixelformat = V4L2_PIX_FMT_RGB24;
        fmt.fmt.pix.field = V4L2_FIELD_ANY;
        // The driver answers with its nearest size; no format libv4l can
        // turn into RGB is no camera for us.
        if (v4l2_ioctl(fd, VIDIOC_S_FMT, &fmt) < 0 || fmt.fmt.pix.pixelformat != V4L2_PIX_FMT_RGB24) {
            v4l2_close(fd);
            return false;
        }
        fd_ = fd;
        amplada_ = static_cast<int>(fmt.fmt.pix.width);
        alcada_ = static_cast<int>(fmt.fmt.pix.height);
        fila_ = std::max<int>(static_cast<int>(fmt.fmt.pix.bytesperline), amplada_ * 3);
        nom_ = nom;
        atura_ = false;
        perduda_ = false;
        {
            std::lock_guard l(mutex_);
            darrer_ = QImage();
        }
        fil_ = std::thread([this] { capturar(); });
        std::unique_lock l(mutex_);
        const bool primer = cv_.wait_for(l, std::chrono::duration<double>(ESPERA_CAMERA),
                                         [this] { return !darrer_.isNull() || perduda_; });
        const bool ok = primer && !darrer_.isNull();
        l.unlock();
        if (!ok) tancar();
        return ok;
    }

    void tancar() override {
        if (fd_ < 0) return;
        atura_ = true;
        if (fil_.joinable()) fil_.join();
        v4l2_close(fd_);
        fd_ = -1;
        nom_.clear();
        std::lock_guard l(mutex_);
        darrer_ = QImage();
    }

    bool oberta() override { return fd_ >= 0 && !perduda_; }

    QImage fotograma() override {
        if (fd_ < 0 || perduda_) return {};
        std::lock_guard l(mutex_);
        return darrer_;
    }

    QString nom() override { return fd_ >= 0 ? nom_ : QString(); }

  private:
    void capturar() {
        std::vector<uchar> dades(static_cast<size_t>(fila_) * static_cast<size_t>(alcada_));
        while (!atura_) {
            fd_set fds;
            FD_ZERO(&fds);
            FD_SET(fd_, &fds);
            timeval tv{0, 200000};
            const int r = ::select(fd_ + 1, &fds, nullptr, nullptr, &tv);
            if (r < 0 && errno != EINTR) break;
            if (r <= 0) continue;
            const ssize_t n = v4l2_read(fd_, dades.data(), dades.size());
            if (n < 0) {
                if (errno == EAGAIN || errno == EINTR) continue;
                break; // unplugged, or the driver gave up
            }
            if (n < static_cast<ssize_t>(amplada_) * alcada_ * 3) continue;
            QImage im(dades.data(), amplada_, alcada_, fila_, QImage::Format_RGB888);
            QImage nou = im.convertToFormat(QImage::Format_RGB32);
            if (nou.size() != QSize(AMPLADA_CAMERA, ALCADA_CAMERA))
                nou = nou.scaled(AMPLADA_CAMERA, ALCADA_CAMERA, Qt::IgnoreAspectRatio,
                                 Qt::SmoothTransformation);
            std::lock_guard l(mutex_);
            darrer_ = std::move(nou);
            cv_.notify_all();
        }
        std::lock_guard l(mutex_);
        perduda_ = true;
        cv_.notify_all();
    }

    int fd_ = -1;
    int amplada_ = 0, alcada_ = 0, fila_ = 0;
    QString nom_;
    std::thread fil_;
    std::atomic<bool> atura_{false};
    std::atomic<bool> perduda_{false};
    std::mutex mutex_;
    std::condition_variable cv_;
    QImage darrer_;
};

} // namespace

} // namespace lumi::plataforma

extern "C" const lumi::plataforma::ModulCamera* lumi_modul_camera() {
    static const lumi::plataforma::ModulCamera m{
        []() -> lumi::plataforma::Camera* { return new lumi::plataforma::CameraV4l2; }};
    return &m;
}
