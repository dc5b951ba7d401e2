// The movie window: a window of its own, full screen, for one movie. No
// movie player exists here, so the window stays black for the movie's time.
#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

namespace lumi {

class Flash : public QWidget {
    Q_OBJECT
  public:
    explicit Flash(QWidget* parent = nullptr);
    ~Flash() override;

    // Carries the name of the movie; setting it starts the movie.
    QLabel* peli = nullptr;
    // Where the movie plays (the "Flash" control).
    QWidget* pantalla = nullptr;

    void posar_peli(const QString& ordre);
    // What the movie control was given to play.
    QString pelicula() const { return pelicula_; }

    // Hides every movie window still shown (a newer question takes the screen).
    static void amagar_totes();
    // Movie windows alive now.
    static int vives();

    // The window that takes an Esc pressed over the movie: the movie has the
    // keyboard, and Esc must still stop the run.
    QPointer<QWidget> jugador;

  protected:
    void keyPressEvent(QKeyEvent* e) override;

  private:
    void Flash_peli_Change();
    QString pelicula_;
};

} // namespace lumi
