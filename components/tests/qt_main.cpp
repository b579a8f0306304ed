// Test main for the widget tests: one QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QString>

namespace {

// The offscreen platform warns about every top-level window it cannot size
// from hints; that noise would hide real messages.
void QuietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("propagateSizeHints"))) return;
    qt_message_output(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    // CTest sets it too; this covers runs by hand and the test listing.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
