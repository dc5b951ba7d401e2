// The synthetic media interpreter: it records the commands and plays nothing.
#pragma once

#include "platform/media.h"

#include <QStringList>

namespace lumi::plataforma {

class MciSintetic : public Mci {
  public:
    QStringList ordres;    // every command sent, in order
    int resultat = MCI_OK; // what every command returns

    int enviar(const QString& ordre) override {
        ordres << ordre;
        return resultat;
    }
};

} // namespace lumi::plataforma
