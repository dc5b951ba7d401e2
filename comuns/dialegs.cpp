#include "comuns/dialegs.h"

#include "core/activitat.h"
#include "core/camins.h"
#include "comuns/formulari.h"
#include "core/idioma.h"
#include "comuns/rec_graf.h"
#include "core/vb.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QScreen>
#include <algorithm>
#include <memory>

namespace lumi {

namespace {

// The box wraps its text only at blanks: a run without one that is wider
// than `amplada` (a path with a long file name) is cut into lines, after a
// "/" where one fits.
QString partir_paraules_llargues(const QString& text, const QFontMetrics& fm, int amplada) {
    QString r;
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype fi = i;
        while (fi < text.size() && !text.at(fi).isSpace())
            ++fi;
        QString paraula = text.mid(i, fi - i);
        while (fm.horizontalAdvance(paraula) > amplada) {
            qsizetype n = 1;
            while (n < paraula.size() && fm.horizontalAdvance(paraula.left(n + 1)) <= amplada)
                ++n;
            const qsizetype barra = paraula.left(n).lastIndexOf(u'/');
            if (barra > 0) n = barra + 1;
            r += paraula.left(n) + u'\n';
            paraula.remove(0, n);
        }
        r += paraula;
        if (fi < text.size()) r += text.at(fi);
        i = fi;
    }
    return r;
}

} // namespace

QMessageBox::StandardButton missatge(QWidget* pare, const QString& text, QMessageBox::Icon icona,
                                     QMessageBox::StandardButtons botons, const QString& titol) {
    QMessageBox box(icona, titol, text, botons, pare);
    box.setObjectName(QStringLiteral("missatge"));
    // At most the width the box gives its text before it wraps.
    const int amplada = std::min(box.screen()->availableGeometry().width() / 2, 500);
    box.setText(partir_paraules_llargues(text, box.fontMetrics(), amplada));
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void avisar_no_nombre(QWidget* pare, const QString& text) {
    missatge(pare, tradueix(QStringLiteral("caixes|no_nombre")).arg(retallar(text)), QMessageBox::Warning);
}

void missatge_cami(QWidget* pare, const QString& text, const QString& cami) {
    QDialog box(pare);
    box.setObjectName(QStringLiteral("missatge"));
    box.setWindowTitle(QStringLiteral("LUMIRAGA"));
    auto* icona = new QLabel(&box);
    const int mida = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &box);
    icona->setPixmap(box.style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, &box).pixmap(mida));
    auto* etiqueta = new QLabel(text, &box);
    etiqueta->setWordWrap(true);
    auto* camp = new QLineEdit(cami, &box);
    camp->setReadOnly(true);
    // Wide enough for the whole path, as far as the screen goes; past it
    // the box scrolls, and the path is still copied whole.
    QStyleOptionFrame o;
    o.initFrom(camp);
    const QSize cal = camp->style()->sizeFromContents(
        QStyle::CT_LineEdit, &o, QSize(camp->fontMetrics().horizontalAdvance(cami + QStringLiteral("MM")), 0),
        camp);
    camp->setMinimumWidth(std::min(cal.width(), box.screen()->availableGeometry().width() - 120));
    auto* botons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    botons->button(QDialogButtonBox::Ok)->setDefault(true);
    QObject::connect(botons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto* g = new QGridLayout(&box);
    g->addWidget(icona, 0, 0, 2, 1, Qt::AlignTop);
    g->addWidget(etiqueta, 0, 1);
    g->addWidget(camp, 1, 1);
    g->addWidget(botons, 2, 0, 1, 2);
    g->setSizeConstraint(QLayout::SetFixedSize);
    camp->selectAll();
    camp->setFocus();
    box.exec();
}

bool confirmar_descartar(QWidget* pare) {
    if (!activitat().exercici_modificat) return false;
    const auto r = missatge(pare, text_idioma(30), QMessageBox::Critical,
                            QMessageBox::Ok | QMessageBox::Cancel, tradueix(QStringLiteral("Atencio")));
    return r != QMessageBox::Ok;
}

// ---- colour, font and file choosing ----

namespace {

// The kinds of resource callers name by message number.
bool es_tipus(const QString& tipus, int missatge) {
    return tipus == text_idioma(missatge);
}

// Windows' "all files" pattern also names files without an extension.
QString patro_qt(const QString& patro) {
    const QString p = patro.trimmed();
    if (p == u"*.*") return QStringLiteral("*");
    return p;
}

// The filter a form's Open dialog keeps between calls.
const char* const PROP_FILTRE = "CMDialog1_Filter";

} // namespace

QString carpeta_recursos() {
    const QString c = carpeta_activitat();
    return c.isEmpty() ? QDir::currentPath() : c;
}

QStringList filtres_dialeg(const QString& filtre) {
    QStringList r;
    const QStringList parts = filtre.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size() || (i < parts.size() && !parts[i].isEmpty()); i += 2) {
        const QString nom = parts[i];
        const QString patrons = i + 1 < parts.size() ? parts[i + 1] : QStringLiteral("*");
        QStringList qt;
        for (const QString& p : patrons.split(u';', Qt::SkipEmptyParts)) {
            const QString c = patro_qt(p);
            if (!c.isEmpty() && !qt.contains(c)) qt << c;
        }
        if (qt.isEmpty()) qt << QStringLiteral("*");
        r << nom + QStringLiteral(" (") + qt.join(u' ') + u')';
    }
    return r;
}

QString triar_color(QWidget* form, const QString& color) {
    QColorDialog dlg(color_desat(static_cast<int32_t>(static_cast<int64_t>(valor_inicial(color)))), form);
    dlg.setObjectName(QStringLiteral("CMDialog1"));
    dlg.setWindowTitle(text_idioma(10));
    if (dlg.exec() != QDialog::Accepted) return {};
    const QColor c = dlg.selectedColor();
    const int32_t triat = c.red() | (c.green() << 8) | (c.blue() << 16);
    activitat().exercici_modificat = CERT;
    return QString::number(triat);
}

bool triar_font(QWidget* form, font_text& font) {
    QFont inicial(font.nom);
    if (font.mida > 0) inicial.setPointSize(font.mida);
    inicial.setBold(font.negreta != FALS);
    inicial.setItalic(font.cursiva != FALS);
    // The box lists installed families only: a stored one that is not opens
    // on the family put in its place, and every family on a style of its own,
    // so that the box shows the stored size, bold and italic.
    const bool guardada = !font.nom.isEmpty();
    if (guardada) {
        const QFontInfo real(inicial);
        inicial.setFamily(real.family());
        inicial.setStyleName(real.styleName());
    }
    QFontDialog dlg(inicial, form);
    dlg.setObjectName(QStringLiteral("CMDialog1"));
    const QFont mostrada = dlg.currentFont();
    if (dlg.exec() != QDialog::Accepted) return false;
    const QFont f = dlg.selectedFont();
    // What the user left as the box showed it stays as stored.
    font_text triada = font;
    if (!guardada || f.family() != mostrada.family()) triada.nom = f.family();
    if (!guardada || f.pointSizeF() != mostrada.pointSizeF()) {
        const double punts = f.pointSizeF() > 0 ? f.pointSizeF() : f.pixelSize();
        triada.mida = a_enter16(punts).value_or(font.mida);
    }
    if (!guardada || f.bold() != mostrada.bold()) triada.negreta = f.bold() ? CERT : FALS;
    if (!guardada || f.italic() != mostrada.italic()) triada.cursiva = f.italic() ? CERT : FALS;
    if (triada != font) activitat().exercici_modificat = CERT;
    font = triada;
    return true;
}

QString dialeg_obrir(const QString& actual, QWidget* form, const QString& tipus) {
    QString filtre = form ? form->property(PROP_FILTRE).toString() : QString();
    QString nom_inicial;
    if (es_tipus(tipus, 37)) {
        filtre = text_idioma(38);
        nom_inicial = QStringLiteral("*.lrq");
    } else if (es_tipus(tipus, 9)) {
        filtre = text_idioma(13);
        nom_inicial = QStringLiteral("*.SonsVxdSR02");
    }
    if (!actual.isEmpty()) {
        const QString ext = dreta(actual, 3).toUpper();
        const QFileInfo fi(resoldre_fitxer(separadors_natius(actual), carpeta_recursos()));
        nom_inicial = fi.isFile() ? fi.fileName() : QStringLiteral("*.") + ext;
        filtre = ext + QStringLiteral("|*.") + ext + u'|' + filtre;
    }
    if (form) form->setProperty(PROP_FILTRE, filtre);

    QFileDialog dlg(form, tradueix(QStringLiteral("Triar Fitxers")), carpeta_recursos());
    dlg.setObjectName(QStringLiteral("CMDialog1"));
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    dlg.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filtres = filtres_dialeg(filtre);
    if (!filtres.isEmpty()) {
        dlg.setNameFilters(filtres);
        dlg.selectNameFilter(filtres.first());
    }
    if (!nom_inicial.isEmpty() && !nom_inicial.contains(u'*')) dlg.selectFile(nom_inicial);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    const QString triat = dlg.selectedFiles().first();
    // Only a file of one of the offered kinds is taken.
    if (!filtre.toUpper().contains(dreta(triat, 4).toUpper())) return {};
    activitat().exercici_modificat = CERT;
    return triat;
}

QString copiar_a_carpeta_en(const QString& cami, const QString& carpeta, bool* fallada) {
    if (fallada) *fallada = false;
    const QFileInfo fi(resoldre_fitxer(separadors_natius(cami)));
    if (cami.isEmpty() || !fi.isFile()) return cami;
    const QString nom = fi.fileName();
    // Activity files are referred to where they lie, never copied.
    if (nom.endsWith(QLatin1String(".lrq"), Qt::CaseInsensitive)) return cami;
    const QFileInfo desti_carpeta(carpeta);
    const QString canonica = desti_carpeta.canonicalFilePath();
    if (!canonica.isEmpty() && fi.canonicalPath() == canonica) return fi.absoluteFilePath();

    const qsizetype punt = nom.indexOf(u'.');
    const QString ext = punt >= 0 ? nom.mid(punt) : QString();
    const QString base = punt >= 0 ? nom.left(punt) : nom;
    const QString dir = QDir::cleanPath(carpeta);
    QString desti = dir + u'/' + base + ext;
    for (int n = 1; QFileInfo::exists(desti); ++n)
        desti = dir + u'/' + base + QString::number(n) + ext;
    if (!QFile::copy(fi.absoluteFilePath(), desti)) {
        if (fallada) *fallada = true;
        return {};
    }
    return desti;
}

QString copiar_a_carpeta(const QString& cami) {
    bool fallada = false;
    const QString r = copiar_a_carpeta_en(cami, carpeta_recursos(), &fallada);
    if (fallada)
        missatge(QApplication::activeWindow(),
                 tradueix(QStringLiteral("fitxers|no_desat")) + u'\n' + carpeta_recursos() + u'/' +
                     QFileInfo(cami).fileName(),
                 QMessageBox::Critical);
    return r;
}

QString triar_fitxers(const QString& actual, QWidget* form, const QString& tipus) {
    const bool llista = es_tipus(tipus, 0) || es_tipus(tipus, 1) || es_tipus(tipus, 3) ||
                        es_tipus(tipus, 4) || es_tipus(tipus, 16);
    const bool fons = es_tipus(tipus, 34);
    const bool zona = es_tipus(tipus, 77);
    const bool so = es_tipus(tipus, 40);
    if (!llista && !fons && !zona && !so) {
        const QString r = dialeg_obrir(actual, form, tipus);
        return r.isEmpty() ? r : copiar_a_carpeta(r);
    }

    // Made fresh for every choice and gone afterwards.
    std::unique_ptr<rec_graf> f(new rec_graf(form));
    QList<int> tipus_llista;
    if (llista) {
        f->setWindowTitle(tradueix(QStringLiteral("Triar Fitxers")));
        tipus_llista = {39, 40, 41, 42, 43, 47, 44};
    } else if (so) {
        f->setWindowTitle(tradueix(QStringLiteral("Triar Fitxers")));
        tipus_llista = {40, 39};
    } else {
        f->setWindowTitle(tipus);
        tipus_llista = {39, 44};
    }
    for (int m : tipus_llista)
        f->Tipus_fitxer->addItem(text_idioma(m));
    f->Tipus_fitxer->setCurrentIndex(0);

    if (fons || zona) f->flag_graf->setText(QStringLiteral("no"));
    if (zona) {
        if (!actual.isEmpty()) {
            f->flag_graf->setText(dreta(actual, 3));
            if (actual.size() > 3) f->posar_nom_fitxer(esquerra(actual, actual.size() - 3));
        } else {
            f->flag_graf->setText(QString());
        }
    } else if (!actual.isEmpty()) {
        if (llista) {
            f->posar_nom_fitxer(part_recurs(actual, 0));
            f->flag_graf->setText(part_recurs(actual, 1));
        } else {
            f->posar_nom_fitxer(actual);
        }
    }

    f->exec();

    QString r;
    if (f->File1->listIndex() >= 0) {
        const QString carpeta = f->File1->path();
        r = carpeta + u'/' + f->File1->fileName();
        if (carpeta != QDir::cleanPath(carpeta_recursos())) r = copiar_a_carpeta(r);
    }
    const QString opcions = f->flag_graf->text();
    // Options only ever follow a file: without one nothing was chosen.
    if (r.isEmpty()) return r;
    if (llista && !opcions.isEmpty() && opcions != u"no") r += opcions;
    if (zona) r += opcions;
    return r;
}

} // namespace lumi
