// The pictures of the screen zones while an exercise plays, all painted by
// one widget over the player's client area: a zone never drawn shows
// nothing, and of the drawn ones a paint draws only what the screen shows.
// A file may hold tens of thousands of zones, one over another.
#pragma once

#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QWidget>
#include <functional>
#include <map>
#include <tuple>
#include <vector>

namespace lumi {

// The zones' pictures by file, each read once however many zones show it;
// a null picture for an empty name (nothing read) or an unreadable file.
class ImatgesZones {
  public:
    explicit ImatgesZones(std::function<QImage(const QString&)> llegir) : llegir_(std::move(llegir)) {}
    const QPixmap& operator()(const QString& fitxer);

  private:
    std::function<QImage(const QString&)> llegir_;
    QHash<QString, QPixmap> llegides_{{QString(), QPixmap()}};
    // Zones one after another mostly share a file.
    QString darrer_;
    QPixmap darrera_;
};

class CapaZones : public QWidget {
  public:
    // Over the whole of `pare`, following its size; takes no clicks.
    explicit CapaZones(QWidget* pare);

    // Slots 0..nombre() - 1: zone 0 and every zone of the runs so far.
    int nombre() const { return static_cast<int>(zones_.size()); }
    void crear_fins(int z);
    // Zone z shows its picture stretched over r (window pixels); an empty r
    // shows nothing.
    void col_locar(int z, const QRect& r);
    void posar_imatge(int z, const QPixmap& imatge);
    const QPixmap& imatge(int z) const { return zones_[static_cast<size_t>(z)].imatge; }
    // Every zone emptied and the layer hidden.
    void buidar();

  protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    struct Zona {
        QRect rect;
        QPixmap imatge;
    };
    const QPixmap& escalada(const QPixmap& imatge, QSize mida);
    std::vector<Zona> zones_;
    // Pictures as drawn (scaled, in a disabled control's colours), by picture
    // and size: zones that share a picture share them.
    std::map<std::tuple<qint64, int, int>, QPixmap> escalades_;
    qint64 pixels_escalats_ = 0;
    bool pendent_ = false; // a paint of the whole layer is on its way
};

} // namespace lumi
