// The main of the window tests: one application object for the process, on
// the offscreen platform unless the environment picks another.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/catalogue_translator.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    z5r::CCatalogueTranslator translator;
    QCoreApplication::installTranslator(&translator);
    return RUN_ALL_TESTS();
}
