// Helpers for form tests: answering modal message boxes from a timer.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QTimer>
#include <memory>

namespace lumi::proves {

// Answers the next modal message box with `boto` and keeps its text.
struct RespostaMissatge {
    QString text;
    QString titol;
    bool vist = false;
};

inline std::shared_ptr<RespostaMissatge> respondre_missatge(QMessageBox::StandardButton boto) {
    auto r = std::make_shared<RespostaMissatge>();
    auto* t = new QTimer;
    t->setInterval(10);
    auto intents = std::make_shared<int>(0);
    std::weak_ptr<RespostaMissatge> feble = r;
    QObject::connect(t, &QTimer::timeout, [feble, t, boto, intents] {
        auto r = feble.lock();
        // The test that asked has ended: nothing left to answer.
        if (!r) {
            t->stop();
            t->deleteLater();
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            // Give up after a few seconds so a box that never came cannot
            // be answered in a later test.
            if (++*intents > 300) {
                t->stop();
                t->deleteLater();
            }
            return;
        }
        r->text = box->text();
        r->titol = box->windowTitle();
        r->vist = true;
        t->stop();
        t->deleteLater();
        if (QAbstractButton* b = box->button(boto))
            b->click();
        else
            box->reject();
    });
    t->start();
    return r;
}

} // namespace lumi::proves

namespace lumi::proves {

// Closes the next modal dialog (the start dialog of a first activation) and
// keeps its name, so a test of the player window can go on.
struct DialegTancat {
    QString nom;
};

inline std::shared_ptr<DialegTancat> tancar_dialeg_modal() {
    auto r = std::make_shared<DialegTancat>();
    std::weak_ptr<DialegTancat> feble = r;
    auto* t = new QTimer;
    t->setInterval(10);
    auto intents = std::make_shared<int>(0);
    QObject::connect(t, &QTimer::timeout, [feble, t, intents] {
        auto r = feble.lock();
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (r && d) {
            r->nom = d->objectName();
            d->reject();
        }
        if (!r || d || ++*intents > 300) {
            t->stop();
            t->deleteLater();
        }
    });
    t->start();
    return r;
}

} // namespace lumi::proves
