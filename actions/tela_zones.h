// The zone editor's canvas: a frameless window over the whole desktop at its
// origin, so that its pixels are the player's full-screen window's pixels.
// Its menu bar lies over it and shifts nothing.
#pragma once

#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace lumi {

class ACCIONS;

class TelaZones : public QWidget {
    Q_OBJECT
  public:
    TelaZones(ACCIONS* form);

    // Full screen over the desktop rectangle.
    void mostrar();
    // The picture of a file, read once; null for a missing or unreadable one.
    const QImage& imatge(const QString& fitxer);
    // The stand-in picture of a selected zone without one of its own.
    static const QImage& comodi();
    // The number label of zone k (window pixels), and where a press on the
    // labels lands: the zone, or 0.
    QRect rect_etiqueta(int k, const QFontMetrics& fm) const;
    int etiqueta_a(QPoint p) const;
    // Where a press on a zone's picture lands: the zone, or 0.
    int imatge_a(QPoint p) const;
    // The picture of zone k as the canvas shows it (window pixels).
    QRect rect_imatge(int k) const;

  protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    bool event(QEvent* e) override;

  private:
    void pintar_imatge(QPainter& p, const QString& fitxer, const QImage& img, const QRect& r);
    ACCIONS* form_;
    QHash<QString, QImage> imatges_;
    // Pictures scaled to the size they are drawn at, by file and size.
    QHash<QString, QPixmap> escalades_;
};

} // namespace lumi
