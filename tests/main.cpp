// Test entry: GoogleTest parses its arguments first (so test discovery at build
// time needs no display), then a QApplication exists for every test.
#include "app/connexions.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Every test run gets a program folder of its own.
    QTemporaryDir casa;
    if (qEnvironmentVariableIsEmpty("LUMIRAGA_HOME")) qputenv("LUMIRAGA_HOME", casa.path().toLocal8Bit());
    QApplication app(argc, argv);
    // Every test starts from the program's own wiring, whatever the one
    // before it replaced.
    struct Cablejat : ::testing::EmptyTestEventListener {
        void OnTestStart(const ::testing::TestInfo&) override { lumi::connectar_ganxos(); }
    };
    ::testing::UnitTest::GetInstance()->listeners().Append(new Cablejat);
    return RUN_ALL_TESTS();
}
