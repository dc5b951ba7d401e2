// The speech engine's windows: training, patterns and level. They are device
// windows, not forms of the program (PROPIETAT_FINESTRA_DISPOSITIU).
#pragma once

#include <QString>
#include <QWidget>

namespace lumi::plataforma {

class MotorVeuReal;

// An engine text of the language tables ("motor_veu|<clau>"), "%1" by `arg`.
QString text_motor(const char* clau, const QString& arg = {});

QWidget* crear_finestra_entrenament(MotorVeuReal& m, QWidget* pare);
QWidget* crear_finestra_patrons(MotorVeuReal& m, QWidget* pare);
QWidget* crear_finestra_nivell(MotorVeuReal& m, QWidget* pare);

} // namespace lumi::plataforma
