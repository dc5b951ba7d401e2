// Our stand-in of the sibling tracking program's window, titled as the
// callers look for it: the live camera image, a click on the object picks
// the tracked colour, sliders for the tolerances, the mask the tracker sees,
// and "Desar" to keep the settings in the program ini.
#pragma once

#include "platform/seguidor_color.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPushButton;
class QSlider;

namespace lumi {

inline const QString TITOL_OMBRA_VISOR = QStringLiteral(" Ombra Visor");

class OmbraVisor : public QWidget {
    Q_OBJECT
  public:
    explicit OmbraVisor(QWidget* pare = nullptr);
    ~OmbraVisor() override;

    QLabel* imatge = nullptr;  // the camera, 640 x 480; a click samples the colour
    QLabel* mascara = nullptr; // what the tracker sees with the settings shown
    QLabel* nom_camera = nullptr;
    QLabel* mostra = nullptr; // the colour tracked
    QSlider* tolerancia_to = nullptr;
    QSlider* saturacio_minima = nullptr;
    QSlider* valor_minim = nullptr;
    QSlider* area_minima = nullptr;
    QPushButton* Desar = nullptr;

    plataforma::ParametresColor parametres;
    plataforma::PosicioColor vist; // the tracker's answer on the frame shown

    // Picks the colour at a point of the camera image.
    void triar_color(QPoint p);
    void refrescar();
    void Desar_Click();

  protected:
    bool eventFilter(QObject* o, QEvent* e) override;

  private:
    void posar_parametres(const plataforma::ParametresColor& p);
    void llegir_controls();
    bool camera_agafada_ = false;
    QImage darrer_;
    plataforma::AnalitzadorColor analitzador_;
    QTimer refresc_;
};

// Opens the window, or brings the open one to the front; a Qt::Window child
// of the modal window in use, if any, so that it takes input while that one
// runs. Always true.
bool ombravisor_obrir();

// The sibling tracker's windows found by their title among the top-level
// windows are made top-most and brought up; false when there is none.
bool ombravisor_portar_davant();

} // namespace lumi
