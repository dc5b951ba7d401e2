// Test entry: GoogleTest parses its arguments first (so test discovery at build
// time needs no display), then a QApplication exists for every test.
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
    return RUN_ALL_TESTS();
}
