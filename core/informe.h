// The counters and the detail log of the running exercise.
#pragma once

#include <QDate>
#include <QString>
#include <cstdint>

namespace lumi {

struct dades_informe {
    QString capcalera;
    int32_t temps_inici = 0;
    int32_t temps_final = 0;
    int32_t temps_exercici = 0;
    int16_t respostes_be = 0;
    int16_t respostes_mal = 0;
    int16_t nombre_preguntes = 0;
    int16_t nombre_respostes = 0;
    int16_t preguntes_no_respostes = 0;
    int16_t pregunta_oberta = 0; // -1 true
    QString nom_exercici;

    bool operator==(const dades_informe&) const = default;
};

dades_informe& informe();
// Lines, each beginning with CR LF.
QString& informe_detall();

// Line break of the report and of the detail log.
inline const QString SALT_INFORME = QStringLiteral("\r\n");
// The star lines that frame the boxes of the report.
inline const QString ESTRELLES_32 = QString(32, u'*');
inline const QString ESTRELLES_30 = QString(30, u'*');

// Time of day as the log lines and the header write it ("09:05:07"), from
// seconds since midnight. One fixed format so reports read the same everywhere.
QString hora_text(double segons_dia);
// The header: date, three blanks, time.
QString capcalera_informe(const QDate& data, double segons_dia);

// The detail log followed by the summary box and its seven values; message
// texts in the current language.
QString text_resum_informe(const dades_informe& d, const QString& detall);
// The opening of a detail box: 32-star line, title line, 32-star line. No
// break before or after.
QString caixa_detall_informe();
// The whole report: title, header, two empty lines, detail box, then the
// detail log and summary.
QString text_informe(const dades_informe& d, const QString& detall);

} // namespace lumi
