// What a synthetic device can be told to do wrong, so that the failure paths
// of its callers run in tests: fail every open, or go away a given time after
// opening (on the platform clock), or at once by a call. A device that went
// away stays away, as an unplugged one would, until `tornar` plugs it in again.
#pragma once

namespace lumi::plataforma {

class DispositiuSintetic {
  public:
    bool falla_obrir = false;   // every open fails
    double desapareix_als = -1; // seconds after opening when it goes away; < 0 never

    void desapareixer() { desaparegut_ = true; }
    void tornar() { desaparegut_ = false; }
    // Seconds since the device was opened, on the platform clock.
    double temps() const;

  protected:
    ~DispositiuSintetic() = default;
    // Opens the device (again): false when it fails to open or has gone.
    bool obrir_dispositiu();
    void tancar_dispositiu() { obert_ = false; }
    // Open and not gone; notices the time to go away. `t` receives the
    // seconds since opening (one clock reading serves the caller too).
    bool present(double* t = nullptr);
    bool obert_ = false;

  private:
    bool desaparegut_ = false;
    double inici_ = 0;
};

} // namespace lumi::plataforma
