// The run's state and the answer cycle, without widgets: which run is
// playing, which question is open, how far a series has gone, and what an
// answer does to the counters and to the screen.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace lumi {

// A counter of the report grows by one, up to the 16-bit limit.
void sumar_u(int16_t& comptador);

// What the cycle asks of the window that shows the run.
class EscenaResposta {
  public:
    virtual ~EscenaResposta() = default;
    virtual void reaccio_be(int16_t i) = 0;
    virtual void reaccio_mal(int16_t i) = 0;
    virtual void reaccio_serie_be(int16_t i) = 0;
    virtual void estimul_presenta(int16_t i) = 0;
    virtual void pregunta_seguent() = 0;
    virtual void pantalla_prepara() = 0;
    // A right answer when the activity asks the window to step aside: it is
    // released and minimised until the answer time is over.
    virtual void apartar_finestra() = 0;
};

class CicleResposta {
  public:
    explicit CicleResposta(EscenaResposta& escena) : escena_(escena) {}

    // True from the start of a run to its stop: nothing is judged or counted
    // outside it.
    bool exercici_en_marxa = false;
    // Counts the starts, so a start that a nested one has replaced stops short.
    unsigned generacio_exercici = 0;
    // The answer window of the question on screen is running.
    bool pregunta_activa = false;
    // The codes of a series matched so far, and the right-reaction entry
    // chosen at its first step.
    QString sequencia_parcial;
    QString reaccio_serie_pendent;
    // Key-hold counter of the key-catching box.
    int16_t repeticions_tecla = 0;

    // One more answer; the open question is answered.
    void comptar_resposta();
    void tancar_pregunta_oberta();
    // The run that was judged is still the one playing (no stop, no chain
    // to another activity happened during the reaction).
    bool mateixa_execucio(unsigned generacio) const;

    // Judges against the item asked, or every item when none is; `tecla`
    // prepares the screen at a series' first code. True when the handler
    // ends there (the window stepped aside).
    bool jutjar(const std::function<int16_t(int16_t)>& comprova, bool tecla);
    // Acts on the result r for the item asked; true as above.
    bool actuar(int16_t i, int16_t r, bool tecla);
    // With no item asked: a step or a right answer of item i ends the pass.
    void actuar_sense_pregunta(int16_t i, int16_t r);
    // The right branch; true when the window stepped aside.
    bool resposta_be(int16_t i);

  private:
    EscenaResposta& escena_;
};

} // namespace lumi
