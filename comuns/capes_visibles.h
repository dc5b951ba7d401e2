// Of a pile of rectangles painted one over another, which ones the screen
// shows. Asked from the top of the pile down: a rectangle wholly under
// opaque ones, or outside the part being painted, is left out, so a paint
// costs what the screen shows however many rectangles lie under it.
#pragma once

#include <QRect>
#include <QRegion>
#include <array>
#include <map>
#include <tuple>

namespace lumi {

class CapesVisibles {
  public:
    // `a_pintar`: the part of `tot` being painted. Translucent rectangles of
    // opacity `alfa` (1..254) hide what lies under as many of them as it
    // takes to leave nothing of it in eight-bit colour; 0: they never do.
    CapesVisibles(const QRect& tot, const QRegion& a_pintar, int alfa = 0);

    // Whether r shows anything; r then lies over what is asked next.
    bool mostra(const QRect& r, bool opac);
    // Nothing asked next can show.
    bool tot_cobert() const { return tot_cobert_; }

    // Translucent layers of opacity alfa it takes to hide what lies under.
    static int capes_per_amagar(int alfa);

  private:
    static constexpr int MAX_CAPES = 8;
    void cobrir(QRegion& r, const QRegion& amb);
    QRect tot_;
    // cobert_[i]: covered by i + 1 translucent layers at least; the last
    // one used is what nothing below can show through.
    std::array<QRegion, MAX_CAPES> cobert_;
    int capes_ = 1;
    bool translucides_amaguen_ = false;
    // Layers piled on exactly one rectangle (an opaque one counts for all):
    // a pile of equal zones is told apart without region arithmetic.
    std::map<std::tuple<int, int, int, int>, int> iguals_;
    bool tot_cobert_ = false;
};

} // namespace lumi
