// The player window: the program's main window and its start-up object.
#pragma once

#include "core/activitat.h"
#include "player/capa_zones.h"
#include "player/cicle_resposta.h"

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QSignalBlocker>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <vector>

namespace lumi {

enum class ClasseOrdre : uint8_t;

class Form1 : public QMainWindow, private EscenaResposta {
    Q_OBJECT
  public:
    // The one player window (created by the program's main).
    static Form1* instancia();

    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The run and its answer cycle; the window shows what it decides.
    CicleResposta cicle{*this};

    // Initialises the program; false when it must end at once (a second copy).
    bool Form_Load();
    void Form_Activate();
    void Form_Resize();
    // Cancel is set when the user keeps the program open.
    void Form_Unload(int16_t& Cancel);

    // Caption with a translated fallback for "untitled".
    void posar_titol(const QString& t) { setWindowTitle(t); }

    // Speed menu captions for a speed factor (32-bit float arithmetic).
    static int percentatge_velocitat(float velocitat, int index);

    // Whether the window shows an exercise (full screen).
    bool es_maximitzada() const;

    // Controls, in creation order.
    QLabel* web_cursor = nullptr;
    QTimer* t_web_control = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* t_web = nullptr;
    QWidget* Picture1 = nullptr;
    QTimer* T_so = nullptr;
    QLineEdit* forat = nullptr;
    QTimer* t_joystick = nullptr;
    QTimer* t_estimular = nullptr;
    CapaZones* I_zona = nullptr;
    QLabel* Label_KK = nullptr;
    QLabel* t_total = nullptr;
    QLabel* Label_par = nullptr;
    QLabel* Temps = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* imatge_fons = nullptr;

    // Menus.
    QMenu* mn_opcions = nullptr;
    QAction* mn_inici = nullptr;
    QMenu* mn_d = nullptr;
    std::vector<QAction*> mn_disc;
    QAction* mn_FITXERS = nullptr;
    QAction* mn_engegar = nullptr;
    QAction* mn_informe = nullptr;
    QAction* mn_fitxer_salvap = nullptr;
    QAction* mn_FI = nullptr;
    QMenu* mn_conf = nullptr;
    QMenu* mn_vel = nullptr;
    std::vector<QAction*> mn_velocitat;
    std::vector<QMenu*> mn_rec_s;
    std::vector<QAction*> mn_fressa;
    std::vector<QAction*> mn_ovs;
    QMenu* mn_id = nullptr;
    std::vector<QAction*> mn_idioma;
    QMenu* mn_ajuda = nullptr;
    QAction* ajuda = nullptr;
    QAction* quant_a = nullptr;

    // The screen-saver entry remembered at start.
    QString estalvi_pantalla;
    // Command line: the activity to load and start, empty for none, and the
    // folder it was given in, where a relative path is looked for first.
    QString linia_ordres;
    QString carpeta_inicial;

    // Question and series state shared by the presentation, the answers and
    // the reactions.
    std::array<float, 4> temps_pregunta{};
    bool& pregunta_activa = cicle.pregunta_activa;
    QString& sequencia_parcial = cicle.sequencia_parcial;
    QString& reaccio_serie_pendent = cicle.reaccio_serie_pendent;
    int16_t& repeticions_tecla = cicle.repeticions_tecla;

    // ---- Stimulus presentation, text orders, slide shows and movies ----
    void estimul_presenta(int16_t i) override;
    void pantalla_prepara() override;
    void text_executa(QString& ordre);
    void pps_executa(const QString& fitxer);
    void pps_atura();
    // Shows the picture of a picture order in Image2 with its placement
    // option (the reaction player uses it too).
    // Shows a picture as the background, stretched over the whole window.
    void fons_mostrar(const QImage& im);
    void imatge_mostrar(const QString& ordre);
    // Plays a movie order in a new black full-screen movie window for
    // `segons` from when it is shown, then destroys the window. Returns the
    // monotonic time at which it was shown.
    double flash_mostrar(const QString& ordre, float segons);
    // Background colour of the window (colour number as stored).
    void color_finestra(int32_t color_vb);
    // Colours of Label_par (colour numbers as stored); -1 keeps that one.
    void colors_label(int32_t fons, int32_t text);
    // Grows at every question presented and at a stop: a presentation or
    // reaction that sees it change while it waits has been overtaken and stops
    // drawing its entry. A reaction to an answer given meanwhile does not
    // overtake it (the instruction plays its whole time).
    uint64_t generacio_pregunta = 0;
    // Set once a TANCAR order has closed the window: nothing more is shown.
    bool tancada_per_ordre = false;

    // ---- Exercise start and stop, question sequence, report ----
    // A module that cannot be loaded, told to the teacher: at once outside a
    // run, at a start with what else is missing, or when Esc gives the
    // window back.
    void avisar_modul(const QString& text);
    void engegar_exercici();
    void exercici_atura();
    void carregar_lrq(const QString& fitxer);
    void atura_per_esc(); // the Esc branch of the key handler (and an aborted start)
    void pregunta_seguent() override;
    QString prep_informe();
    void mn_informe_Click();
    void t_estimular_Timer();
    void t_total_Change();
    // Connects t_estimular to its tick; called once from the constructor.
    void connectar_exercici();
    // Sets the caption of t_total and runs t_total_Change when it changed.
    void posar_t_total(const QString& caption);
    // True from the start of a run to its stop. The answer handlers judge
    // and count nothing while it is false, so the learner's input after the
    // total time (or any stop) changes no counter.
    bool& exercici_en_marxa = cicle.exercici_en_marxa;
    // The report window, created on first use.
    class FinestraInforme* finestra_informe();
    // The activity to chain to: `valor` is exercici_seguent, `r` a random
    // number in [0, 1). Names in `carpeta` are compared without regard to
    // case; the result is the file's real path, "" for none.
    static QString fitxer_encadenat(const QString& valor, const QString& fitxer_actual,
                                    const QString& carpeta, float r);
    // The activity files of a folder (names ending "lrq" in any case), sorted.
    static QStringList fitxers_activitat(const QString& carpeta);
    // Run-time bookkeeping of the exercise (monotonic clock).
    double inici_total_monotonic = 0;
    double inici_pregunta_monotonic = 0;
    float inici_pregunta_vist = -1;
    bool pregunta_vista = false;
    QString prefix_informe;
    bool prefix_informe_pendent = false;
    // The start (its generacio_exercici) last refused for a device.
    unsigned arrencada_refusada = 0;
    class FinestraInforme* finestra_informe_ = nullptr;
    // The background sound as the media layer opened it; "" when none plays.
    QString so_fons_actiu;
    // Counts the starts, so a start that a nested one has replaced stops short.
    unsigned& generacio_exercici = cicle.generacio_exercici;
    // The tick is asking the next question after a time-out.
    bool preguntant_per_temps = false;
    // Frameless and full screen, for the run.
    void pantalla_exercici();
    // Not on top any more; place and size stay.
    void treure_primer_pla();
    // Launches a program of a stimulus or reaction over the player: the
    // window's handle, or 0.
    int32_t llancar_programa(const QString& fitxer, int16_t mostrar);

    // ---- Answers: capture and matchers; reactions ----
    void atrapa_si();
    void atrapa_no();
    void focus();
    void Form_KeyDown(int16_t& KeyCode, int16_t Shift);
    int16_t f_so(int16_t baix, int16_t alt, int16_t mode);
    void reaccio_be(int16_t i) override;
    void reaccio_mal(int16_t i) override;
    void reaccio_serie_be(int16_t i) override;
    // Routes the window's key and mouse events and the device timers to the
    // handlers below; called once from the constructor.
    void connectar_resposta();
    // Buttons 1 left, 2 right, 4 middle; positions in the client area's pixels.
    void Form_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void Form_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void Image1_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void Label_par_MouseDown(int16_t Button, int16_t Shift, float X, float Y);
    void Label_par_MouseMove(int16_t Button, int16_t Shift, float X, float Y);
    void forat_KeyPress(int16_t KeyAscii);
    void forat_KeyUp(int16_t KeyCode, int16_t Shift);
    void t_joystick_Timer();
    void T_so_Timer();
    void t_web_Timer();
    void t_web_control_Timer();
    // The matchers on the window's state; each copies item i into items(0).
    int16_t comprova_tecla(int16_t i, int16_t tecla);
    int16_t comprova_zona(int16_t i, int16_t boto, float x, float y);
    int16_t comprova_joystic(int16_t i, const QString& events);
    int16_t comprova_web(int16_t i, int16_t x, int16_t y);
    int16_t comprova_so(int16_t i);
    // Plays one reaction entry for its time (seconds, not scaled by the speed).
    void fitxer_executa(const QString& entrada, float temps);
    // Plays one order of a stimulus or reaction entry by its class. A movie
    // plays for `temps` from when its window shows, which sets t0; a slide
    // show or a program is held by the caller's `esperar`, then ended.
    // Activity files and texts are the caller's: the two callers differ.
    ClasseOrdre ordre_executa(const QString& ordre, float temps, double& t0,
                              const std::function<void()>& esperar);
    // An answer is being handled (between atrapa_si and atrapa_no).
    bool resposta_en_curs() const { return forat && forat->isEnabled(); }
    bool eventFilter(QObject* objecte, QEvent* e) override;

  private:
    int nombre_formularis() const;
    bool entrada_bloquejada() const;
    // A modifier key the item being asked (or, between questions, any item)
    // takes is judged as it is pressed; another one only at its release, when
    // no other key came meanwhile: the Shift of Shift+Esc is no answer.
    bool modificador_pres(int16_t vk) const;
    int16_t modificador_pendent_ = 0;
    void netejar_estimul();
    // After a stimulus or reaction entry: its medium closed, its picture and
    // text hidden, the background colour back.
    void netejar_entrada();
    // A right answer that steps the window aside.
    void apartar_finestra() override;
    void posar_cursor_client(QPoint p);
    void serie_imatge(const QString& ordre, float f, int P);
    void serie_text(const QString& ordre, int P, int S, float f);
    bool resposta_connectada_ = false;

  public:
    // Waits with painting and media going on, but no learner input and no
    // tick of the player's timers.
    void esperar_sense_entrada(double segons);
    // The player's timers held until the result goes.
    std::vector<std::unique_ptr<QSignalBlocker>> retenir_temporitzadors();
    // ---- Menus ----
    void mn_DISC_Click(int16_t Index);
    void mn_engegar_Click();
    void mn_idioma_Click(int16_t Index);
    void mn_inici_Click();
    void mn_FITXERS_Click();
    void mn_FI_Click();
    void mn_velocitat_Click(int16_t Index);
    void mn_fressa_Click(int16_t Index);
    void mn_ovs_Click(int16_t Index);
    void ajuda_Click();
    void quant_a_Click();
    // Connects every menu item to its handler; called once by the constructor.
    void connectar_menus();
    // The first activation without a command line: the menus, then the start
    // dialog as a modal window.
    void obrir_inici();
    // The speed items' captions for the current speed.
    void rotular_velocitat();
    bool menus_connectats = false;
    // The tracking window's item unticked, the other webcam items back.
    void ombra_visor_apagada();
    // Watches the open tracking windows: one that goes unticks the item.
    void seguir_ombra_visor();

  protected:
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

  private:
    void crear_controls();
    void crear_menus();
    void imatge_centrar();
    void mostrar_menus(bool visibles);

    bool activant_ = false;
    bool activat_alguna_vegada_ = false;
    bool dibuixada_ = false;
    bool saliint_ = false; // the program is ending: nothing more to ask

    // The devices the run started with; one that goes away is told to the
    // teacher once the window is given back, never to the learner.
    struct DispositiusExercici {
        bool camera = false;
        bool microfon = false;
        bool joystick = false;
    };
    DispositiusExercici dispositius_exercici_;
    // What modules were found missing while the window was the run's.
    QStringList avisos_moduls_;
    QStringList dispositius_perduts_;
    DispositiusExercici dispositius_presents() const;
    void anotar_dispositius_perduts();
};

// The environment a new activity needs from the player window.
EntornNou entorn_nou();
// A new activity in the program's current state.
void exercici_nou();

} // namespace lumi
