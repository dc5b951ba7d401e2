#include "ajudes.h"
#include "core/camins.h"
#include "comuns/dialegs.h"
#include "core/idioma.h"
#include "platform/imatges.h"
#include "comuns/rec_graf.h"

#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QImage>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

using namespace lumi;
using namespace lumi::proves;

namespace {

// Runs `accio` on the next modal dialog of kind T as soon as it is up.
template <class T> std::shared_ptr<bool> respondre(std::function<void(T*)> accio) {
    auto fet = std::make_shared<bool>(false);
    auto* t = new QTimer;
    t->setInterval(10);
    auto intents = std::make_shared<int>(0);
    QObject::connect(t, &QTimer::timeout, [t, accio, fet, intents] {
        QWidget* modal = QApplication::activeModalWidget();
        T* d = qobject_cast<T*>(modal);
        if (!d && ++*intents < 500) return;
        t->stop();
        t->deleteLater();
        if (!d) {
            // Something else came up instead: close it so the test fails
            // rather than waits forever.
            if (modal) modal->close();
            return;
        }
        *fet = true;
        accio(d);
    });
    t->start();
    return fet;
}

QString escriure(const QString& cami, const QByteArray& dades = "x") {
    QFile f(cami);
    if (!f.open(QIODevice::WriteOnly)) return {};
    f.write(dades);
    return cami;
}

QString dibuix(const QString& cami, QColor color, const char* format = "BMP") {
    QImage img(8, 6, QImage::Format_RGB32);
    img.fill(color);
    return img.save(cami, format) ? cami : QString();
}

// A placeable metafile 100 x 50 holding one red rectangle.
QByteArray metafile_vermell() {
    QByteArray d;
    auto w16 = [&d](int v) {
        d.append(char(v & 0xFF));
        d.append(char((v >> 8) & 0xFF));
    };
    auto w32 = [&](uint32_t v) {
        w16(int(v & 0xFFFF));
        w16(int(v >> 16));
    };
    const int capsalera[] = {0xCDD7, 0x9AC6, 0, 0, 0, 100, 50, 72, 0, 0};
    int suma = 0;
    for (int v : capsalera) {
        w16(v);
        suma ^= v;
    }
    w16(suma);
    // Records: window org and extent, a red solid brush selected, the rectangle, end.
    QByteArray r;
    const QList<QList<int>> registres = {
        {0x020B, 0, 0}, {0x020C, 50, 100},       {0x02FC, 0, 0x00FF, 0x0000, 0},
        {0x012D, 0},    {0x041B, 50, 100, 0, 0}, {0x0000}};
    QByteArray cos;
    int maxim = 0;
    for (const auto& reg : registres) {
        const int mida = 3 + int(reg.size()) - 1;
        maxim = std::max(maxim, mida);
        QByteArray b;
        std::swap(d, b);
        w32(uint32_t(mida));
        for (int v : reg)
            w16(v);
        std::swap(d, b);
        cos += b;
    }
    w16(1);
    w16(9);
    w16(0x0300);
    w32(uint32_t(9 + cos.size() / 2));
    w16(1);
    w32(uint32_t(maxim));
    w16(0);
    d += cos;
    return d;
}

struct Triador : ::testing::Test {
    QTemporaryDir activitat_dir, altra_dir;
    QString act, altra;
    void SetUp() override {
        ASSERT_TRUE(activitat_dir.isValid() && altra_dir.isValid());
        act = activitat_dir.path();
        altra = altra_dir.path();
        carpeta_activitat() = act;
        activitat() = Activitat{};
        idioma() = IDIOMA_CATALA;
    }
    void TearDown() override { carpeta_activitat().clear(); }
};

} // namespace

TEST_F(Triador, SizeOptionsAtOpeningAndFromTheControls) {
    struct Cas {
        QString opcions;
        int boto;
        int lliscador;
        QString despres;
    };
    for (const Cas& c :
         {Cas{QStringLiteral("P0100"), 1, 100, QStringLiteral(":P0100")},
          Cas{QStringLiteral("P050"), 2, 50, QStringLiteral(":P050")},
          Cas{QStringLiteral("P030"), 2, 30, QStringLiteral(":P030")}, Cas{QString(), 0, 0, QString()}}) {
        SCOPED_TRACE(c.opcions.toStdString());
        rec_graf f;
        f.flag_graf->setText(c.opcions);
        f.show();
        EXPECT_TRUE(f.MIDA_GRAF[c.boto]->isChecked());
        EXPECT_EQ(f.HScroll1->value(), c.lliscador);
        EXPECT_EQ(f.flag_graf->text(), c.despres);
        EXPECT_EQ(f.HScroll1->isEnabled(), c.boto == 2);
    }
    rec_graf f;
    f.show();
    QTest::mouseClick(f.MIDA_GRAF[2], Qt::LeftButton);
    EXPECT_EQ(f.flag_graf->text(), QStringLiteral(":P050"));
    EXPECT_EQ(f.dibuix_percent->text(), QStringLiteral("50"));
    f.HScroll1->setFocus();
    f.HScroll1->setValue(8);
    QTest::keyClick(f.HScroll1, Qt::Key_Left);
    EXPECT_EQ(f.flag_graf->text(), QStringLiteral(":P07"));
    f.HScroll1->setValue(5);
    EXPECT_EQ(f.flag_graf->text(), QStringLiteral(":P05"));
    QTest::mouseClick(f.MIDA_GRAF[1], Qt::LeftButton);
    EXPECT_EQ(f.flag_graf->text(), QStringLiteral(":P0100"));
    QTest::mouseClick(f.MIDA_GRAF[0], Qt::LeftButton);
    EXPECT_EQ(f.flag_graf->text(), QString());
    EXPECT_FALSE(f.HScroll1->isEnabled());
    QTest::mouseClick(f.MIDA_GRAF[2], Qt::LeftButton);
    f.dibuix_percent->selectAll();
    QTest::keyClicks(f.dibuix_percent, QStringLiteral("100"));
    QTest::mouseClick(f.Command1[0], Qt::LeftButton);
    EXPECT_EQ(f.flag_graf->text(), QStringLiteral(":P0100"));
}

TEST_F(Triador, ZonePictureShowsTheZonesAndPicksOne) {
    activitat().zones_max = 4;
    rec_graf f;
    f.setWindowTitle(text_idioma(77));
    f.flag_graf->setText(QStringLiteral("003"));
    f.show();
    EXPECT_TRUE(f.mn_zona->isVisible());
    EXPECT_EQ(f.mn_zona->count(), 4);
    EXPECT_EQ(f.mn_zona->currentText(), QStringLiteral("Zona 3"));
    QTest::keyClick(f.mn_zona, Qt::Key_Up);
    EXPECT_EQ(f.flag_graf->text(), QStringLiteral("002"));
}

TEST_F(Triador, TypeFromTheInitialFileSetsThePatternAndSelectsIt) {
    escriure(act + QStringLiteral("/SO.WAV"));
    escriure(act + QStringLiteral("/b.mp3"));
    escriure(act + QStringLiteral("/c.bmp"));
    rec_graf f;
    for (int m : {39, 40, 41, 42, 43, 47, 44})
        f.Tipus_fitxer->addItem(text_idioma(m));
    f.Tipus_fitxer->setCurrentIndex(0);
    EXPECT_EQ(f.File1->pattern(), QStringLiteral("*.GIF;*.JPG;*.BMP;*.WMF"));
    f.show();
    // The name as an old activity spells it, in other letters.
    f.posar_nom_fitxer(QStringLiteral("so.wav"));
    EXPECT_EQ(f.Tipus_fitxer->currentText(), text_idioma(40));
    EXPECT_EQ(f.File1->pattern(), QStringLiteral("*.Wav;*.MID;*.MP3"));
    QStringList llista;
    for (int i = 0; i < f.File1->count(); ++i)
        llista << f.File1->item(i)->text();
    EXPECT_EQ(llista, QStringList({QStringLiteral("b.mp3"), QStringLiteral("SO.WAV")}));
    EXPECT_EQ(f.File1->fileName(), QStringLiteral("SO.WAV"));
    EXPECT_EQ(f.Text1->text(), QStringLiteral("SO.WAV"));
    EXPECT_FALSE(f.Frame1->isVisible());
    EXPECT_TRUE(f.so[0]->isVisible());

    // Play and stop of a sound only toggle the button's picture here.
    EXPECT_EQ(f.imatge_so(), rec_graf::IMATGE_PLAY);
    QTest::mouseClick(f.so[0], Qt::LeftButton);
    EXPECT_EQ(f.imatge_so(), rec_graf::IMATGE_STOP);
    QTest::mouseClick(f.so[0], Qt::LeftButton);
    EXPECT_EQ(f.imatge_so(), rec_graf::IMATGE_PLAY);

    // A name typed in the box and Enter selects that file; the dialog stays.
    f.Text1->setText(act + QStringLiteral("/c.bmp"));
    QTest::keyClick(f.Text1, Qt::Key_Return);
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.Tipus_fitxer->currentText(), text_idioma(39));
    EXPECT_EQ(f.File1->fileName(), QStringLiteral("c.bmp"));
    EXPECT_TRUE(f.Frame1->isVisible());
    EXPECT_TRUE(f.Frame1->isEnabled());
}

TEST_F(Triador, PreviewShowsPicturesAndNothingForBrokenOnes) {
    dibuix(act + QStringLiteral("/blau.bmp"), Qt::blue);
    escriure(act + QStringLiteral("/trencat.jpg"), "not a picture at all");
    escriure(act + QStringLiteral("/rect.wmf"), metafile_vermell());
    rec_graf f;
    f.show();
    f.posar_nom_fitxer(QStringLiteral("blau.bmp"));
    EXPECT_FALSE(f.Image1->pixmap().isNull());
    f.posar_nom_fitxer(QStringLiteral("trencat.jpg"));
    EXPECT_TRUE(f.Image1->pixmap().isNull());
    EXPECT_EQ(f.File1->fileName(), QStringLiteral("trencat.jpg"));

    const QImage wmf = plataforma::carregar_imatge(act + QStringLiteral("/rect.wmf"));
    ASSERT_FALSE(wmf.isNull());
    EXPECT_EQ(wmf.size(), QSize(100, 50));
    EXPECT_EQ(QColor(wmf.pixel(50, 25)), QColor(Qt::red));
    EXPECT_TRUE(plataforma::carregar_imatge(act + QStringLiteral("/trencat.jpg")).isNull());
    EXPECT_TRUE(plataforma::carregar_imatge(act + QStringLiteral("/no_hi_es.gif")).isNull());
    // A truncated metafile is an empty picture, not a crash.
    escriure(act + QStringLiteral("/tallat.wmf"), metafile_vermell().left(40));
    EXPECT_TRUE(plataforma::carregar_imatge(act + QStringLiteral("/tallat.wmf")).isNull());
}

TEST_F(Triador, CopiesTakeTheNextFreeName) {
    escriure(act + QStringLiteral("/foto.jpg"));
    escriure(act + QStringLiteral("/foto1.jpg"));
    const QString origen = escriure(altra + QStringLiteral("/foto.jpg"), "nova");
    const QString copia = copiar_a_carpeta(origen);
    EXPECT_EQ(copia, act + QStringLiteral("/foto2.jpg"));
    QFile f(copia);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("nova"));

    escriure(act + QStringLiteral("/a.b.c"));
    EXPECT_EQ(copiar_a_carpeta(escriure(altra + QStringLiteral("/a.b.c"))), act + QStringLiteral("/a1.b.c"));
    EXPECT_EQ(copiar_a_carpeta(altra + QStringLiteral("/a.b.c")), act + QStringLiteral("/a2.b.c"));

    // Already in the folder, however spelt: not copied again.
    const QString dins = act + QStringLiteral("/./foto.jpg");
    EXPECT_EQ(copiar_a_carpeta(dins), act + QStringLiteral("/foto.jpg"));
    EXPECT_FALSE(QFileInfo::exists(act + QStringLiteral("/foto3.jpg")));
    // Activity files, in any letter case, and missing files stay where they are.
    const QString lrq = escriure(altra + QStringLiteral("/SEGUENT.LRQ"));
    EXPECT_EQ(copiar_a_carpeta(lrq), lrq);
    EXPECT_EQ(copiar_a_carpeta(altra + QStringLiteral("/cap.jpg")), altra + QStringLiteral("/cap.jpg"));
    EXPECT_EQ(QDir(act).entryList(QDir::Files).size(), 6);
}

TEST_F(Triador, FailedCopyIsReportedAndNamesNoFile) {
    const QString origen = escriure(altra + QStringLiteral("/so.wav"));
    bool fallada = false;
    EXPECT_EQ(copiar_a_carpeta_en(origen, act + QStringLiteral("/no_existeix"), &fallada), QString());
    EXPECT_TRUE(fallada);
    carpeta_activitat() = act + QStringLiteral("/no_existeix");
    auto resposta = respondre_missatge(QMessageBox::Ok);
    EXPECT_EQ(copiar_a_carpeta(origen), QString());
    EXPECT_TRUE(resposta->vist);
    EXPECT_TRUE(resposta->text.startsWith(tradueix(QStringLiteral("fitxers|no_desat"))));
    EXPECT_TRUE(resposta->text.endsWith(QStringLiteral("/no_existeix/so.wav")));
}

TEST_F(Triador, ChoosingFromAnotherFolderCopiesAndAddsTheOptions) {
    escriure(act + QStringLiteral("/gat.bmp"));
    dibuix(altra + QStringLiteral("/gat.bmp"), Qt::green);
    QWidget pare;
    auto fet = respondre<rec_graf>([this](rec_graf* f) {
        EXPECT_EQ(f->windowTitle(), tradueix(QStringLiteral("Triar Fitxers")));
        EXPECT_EQ(f->Tipus_fitxer->count(), 7);
        EXPECT_TRUE(f->MIDA_GRAF[2]->isChecked());
        f->Dir1->setPath(altra);
        f->File1->setListIndex(0);
        QTest::mouseClick(f->Command1[0], Qt::LeftButton);
    });
    const QString r = triar_fitxers(QStringLiteral("gat.bmp:P040"), &pare, text_idioma(1));
    EXPECT_TRUE(*fet);
    EXPECT_EQ(r, act + QStringLiteral("/gat1.bmp:P040"));
}

TEST_F(Triador, CancelChoosesNothingEvenWithAFileHighlighted) {
    escriure(act + QStringLiteral("/gat.bmp"));
    auto fet = respondre<rec_graf>([](rec_graf* f) {
        EXPECT_EQ(f->File1->fileName(), QStringLiteral("gat.bmp"));
        QTest::mouseClick(f->Command1[1], Qt::LeftButton);
    });
    EXPECT_EQ(triar_fitxers(QStringLiteral("gat.bmp:P050"), nullptr, text_idioma(0)), QString());
    EXPECT_TRUE(*fet);
}

TEST_F(Triador, ZonePictureResultEndsWithTheZoneDigits) {
    activitat().zones_max = 3;
    escriure(act + QStringLiteral("/z.gif"));
    auto fet = respondre<rec_graf>([](rec_graf* f) {
        EXPECT_EQ(f->windowTitle(), text_idioma(77));
        EXPECT_FALSE(f->Frame1->isVisible());
        EXPECT_EQ(f->mn_zona->currentText(), QStringLiteral("Zona 1"));
        f->mn_zona->setFocus();
        QTest::keyClick(f->mn_zona, Qt::Key_Down);
        QTest::keyClick(f->mn_zona, Qt::Key_Down);
        QTest::mouseClick(f->Command1[0], Qt::LeftButton);
    });
    EXPECT_EQ(triar_fitxers(QStringLiteral("z.gif001"), nullptr, text_idioma(77)),
              act + QStringLiteral("/z.gif003"));
    EXPECT_TRUE(*fet);
}

TEST_F(Triador, FiltersShowTheirPatternsAndMatchEveryLetterCase) {
    EXPECT_EQ(filtres_dialeg(text_idioma(38)), (QStringList{text_idioma(41) + QStringLiteral(" (*.Lrq)"),
                                                            text_idioma(44) + QStringLiteral(" (*)")}));
    EXPECT_EQ(filtres_dialeg(QStringLiteral("G|*.GIF;*.jpg")),
              QStringList{QStringLiteral("G (*.GIF *.jpg)")});

    // The open dialog for a next activity lists "*.Lrq" files in any case.
    for (const char* nom : {"a.lrq", "B.LRQ", "c.Lrq.txt"})
        escriure(altra + u'/' + QString::fromLatin1(nom));
    QWidget form;
    auto vista = mirar_dialeg_fitxer(altra, 2);
    EXPECT_EQ(triar_fitxers(QString(), &form, text_idioma(37)), QString());
    ASSERT_TRUE(vista->vist);
    EXPECT_TRUE(vista->de_qt);
    vista->noms.sort(Qt::CaseInsensitive);
    EXPECT_EQ(vista->noms, (QStringList{QStringLiteral("a.lrq"), QStringLiteral("B.LRQ")}));
}

TEST_F(Triador, OpenDialogKeepsActivitiesAndRefusesOtherKinds) {
    const QString lrq = escriure(altra + QStringLiteral("/SEGUENT.LRQ"));
    QWidget form;
    auto triar = [](const QString& cami) {
        return respondre<QFileDialog>([cami](QFileDialog* d) {
            d->selectFile(cami);
            // The full path typed in the name box does not depend on the
            // dialog having listed the folder yet.
            if (auto* nom = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) nom->setText(cami);
            QMetaObject::invokeMethod(d, "accept");
        });
    };
    auto fet = triar(lrq);
    EXPECT_EQ(triar_fitxers(QString(), &form, text_idioma(37)), lrq);
    EXPECT_TRUE(*fet);
    EXPECT_EQ(activitat().exercici_modificat, CERT);
    EXPECT_TRUE(QDir(act).entryList(QDir::Files).isEmpty());

    // Other kinds: the form's filter grows an entry for the current file's
    // extension, and only files of the filter are taken.
    escriure(act + QStringLiteral("/f.jpg"));
    const QString bmp = escriure(altra + QStringLiteral("/d.bmp"));
    activitat().exercici_modificat = FALS;
    fet = triar(bmp);
    EXPECT_EQ(dialeg_obrir(QStringLiteral("f.jpg"), &form, QStringLiteral("altre")), QString());
    EXPECT_TRUE(*fet);
    EXPECT_EQ(activitat().exercici_modificat, FALS);
    EXPECT_TRUE(form.property("CMDialog1_Filter").toString().startsWith(QStringLiteral("JPG|*.JPG|")));
    fet = triar(bmp);
    EXPECT_EQ(triar_fitxers(QStringLiteral("x.bmp"), &form, QStringLiteral("altre")),
              act + QStringLiteral("/d.bmp"));
    EXPECT_TRUE(
        form.property("CMDialog1_Filter").toString().startsWith(QStringLiteral("BMP|*.BMP|JPG|*.JPG|")));
}

TEST_F(Triador, ColourAndFontDialogsChangeOnlyOnAChoice) {
    QWidget form;
    auto fet = respondre<QColorDialog>([](QColorDialog* d) {
        EXPECT_EQ(d->currentColor(), QColor(0x11, 0x22, 0x33));
        d->setCurrentColor(QColor(1, 2, 3));
        d->accept();
    });
    EXPECT_EQ(triar_color(&form, QString::number(0x332211)), QString::number(0x030201));
    EXPECT_TRUE(*fet);
    EXPECT_EQ(activitat().exercici_modificat, CERT);

    activitat().exercici_modificat = FALS;
    fet = respondre<QColorDialog>([](QColorDialog* d) { d->reject(); });
    EXPECT_EQ(triar_color(&form, QStringLiteral("255")), QString());
    EXPECT_EQ(activitat().exercici_modificat, FALS);

    font_text ft{QStringLiteral("DejaVu Sans"), 12, 0x123456, FALS, CERT};
    const font_text abans = ft;
    fet = respondre<QFontDialog>([](QFontDialog* d) { d->reject(); });
    EXPECT_FALSE(triar_font(&form, ft));
    EXPECT_EQ(ft, abans);
    auto triada = std::make_shared<QFont>();
    fet = respondre<QFontDialog>([triada](QFontDialog* d) {
        EXPECT_TRUE(d->currentFont().italic());
        QFont f = d->currentFont();
        f.setPointSize(20);
        f.setBold(true);
        f.setItalic(false);
        d->setCurrentFont(f);
        d->accept();
        *triada = d->selectedFont();
    });
    EXPECT_TRUE(triar_font(&form, ft));
    EXPECT_TRUE(*fet);
    EXPECT_EQ(ft.nom, triada->family());
    EXPECT_EQ(ft.mida, 20);
    EXPECT_EQ(ft.negreta, triada->bold() ? CERT : FALS);
    EXPECT_EQ(ft.cursiva, triada->italic() ? CERT : FALS);
    EXPECT_EQ(ft.color, 0x123456);
    EXPECT_EQ(activitat().exercici_modificat, CERT);
}
