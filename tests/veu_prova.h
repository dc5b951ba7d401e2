// Helpers for the speech engine's tests and benchmarks: the fixture sounds,
// and feeding the engine faster than real time.
#pragma once

#include "platform/motor_veu_real.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <sndfile.h>

namespace lumi::proves {

// A sound file as 16-bit samples; empty when it cannot be read.
inline plataforma::veu::Mostres llegir_so(const QString& f) {
    SF_INFO info{};
    SNDFILE* s = sf_open(QFile::encodeName(f).constData(), SFM_READ, &info);
    if (!s) return {};
    plataforma::veu::Mostres m(static_cast<size_t>(info.frames));
    sf_read_short(s, m.data(), info.frames);
    sf_close(s);
    return m;
}

// The worker's results, then the messages they post, are handled.
inline void cedir(plataforma::MotorVeuReal& motor) {
    motor.esperar_feina();
    for (int k = 0; k < 3; ++k)
        QCoreApplication::processEvents();
}

// The samples in pieces of 400, then handled.
inline void alimentar(plataforma::MotorVeuReal& motor, const plataforma::veu::Mostres& m) {
    for (size_t i = 0; i < m.size(); i += 400)
        motor.alimentar(m.data() + i, std::min<size_t>(400, m.size() - i));
    cedir(motor);
}

} // namespace lumi::proves
