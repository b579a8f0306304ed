// The splash window on the offscreen platform: its look, its background, and
// what its two timers do when the client is missing or cannot be started.
// The delays are shortened; the program uses 3000 and 8000 ms.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QTest>
#include <optional>
#include <string>
#include <vector>

#include "splash_background.h"
#include "splash_form.h"
#include "test_files.h"

namespace {

using z5r::SSplashOptions;
using z5r::TSplashForm;

constexpr int kNever = 600000;
constexpr int kShort = 10;
constexpr int kWaitMs = 10000;

struct SMessage {
    std::string caption;
    std::string text;
};

class SplashForm : public ::testing::Test {
protected:
    SSplashOptions Options(int loadDelayMs, int exitDelayMs) {
        SSplashOptions options;
        options.folder = folder_.Str();
        options.parameters = {"a", "b"};
        options.showError = [this](const std::string& caption, const std::string& text) {
            messages_.push_back({caption, text});
        };
        options.end = [this](int code) { exitCode_ = code; };
        options.loadDelayMs = loadDelayMs;
        options.exitDelayMs = exitDelayMs;
        return options;
    }
    static void Activate(TSplashForm& form) {
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(&form, &activate);
    }
    bool WaitForEnd() {
        return QTest::qWaitFor([this] { return exitCode_.has_value(); }, kWaitMs);
    }

    z5rtest::TempDir folder_;
    std::vector<SMessage> messages_;
    std::optional<int> exitCode_;
};

TEST_F(SplashForm, BorderlessOnTopWithTheProductNameAndTheRightsNotice) {
    TSplashForm form(Options(kNever, kNever));
    EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(form.size(), QSize(z5r::kSplashWidth, z5r::kSplashHeight));
    EXPECT_EQ(form.NameLabel->text().toStdString(), "Программный комплекс Z5R");
    EXPECT_EQ(form.BottomLabel->text().split(QLatin1Char('\n')).size(), 3);
    EXPECT_TRUE(form.NameLabel->alignment() & Qt::AlignRight);
}

TEST_F(SplashForm, APictureFileReplacesTheBackgroundUnlessItIsNoPicture) {
    QImage picture(200, 120, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(folder_.Str() + "/back.png")));
    z5rtest::WriteFile(folder_, "text.png", "not a picture");
    const struct {
        const char* config;
        QSize size;
    } cases[] = {
        {"[Picture]\np=back.png\n", QSize(200, 120)},
        {"[Picture]\np=text.png\n", QSize(z5r::kSplashWidth, z5r::kSplashHeight)},
        {"[Picture]\np=absent.png\n", QSize(z5r::kSplashWidth, z5r::kSplashHeight)},
    };
    for (const auto& c : cases) {
        z5rtest::WriteFile(folder_, z5r::kLauncherConfigName, c.config);
        TSplashForm form(Options(kNever, kNever));
        EXPECT_EQ(form.size(), c.size) << c.config;
    }
}

TEST_F(SplashForm, AMissingClientIsReportedWhenTheLoadTimerFiresAndTheLauncherEnds) {
    TSplashForm form(Options(kShort, kNever));
    form.show();
    Activate(form);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(*exitCode_, z5r::kExitFailed);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].caption, "Ошибка");
    EXPECT_EQ(messages_[0].text, "Файл Client_Z5R.dat не найден. Пожалуйста переустановите программу.");
    EXPECT_FALSE(form.ExitTimer->isActive());
}

TEST_F(SplashForm, AClientThatCannotStartIsReportedByTheExitTimer) {
    z5rtest::WriteFile(folder_, z5r::kDefaultClientFileName, "not a program");
    TSplashForm form(Options(kShort, 300));
    form.show();
    Activate(form);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(*exitCode_, z5r::kExitFailed);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].text, "Файл Z5R_Client.cfg не найден. Пожалуйста переустановите программу.");
}

TEST_F(SplashForm, TheLoadTimerWaitsForTheFirstActivationAndTheParametersAreTakenOnce) {
    TSplashForm form(Options(kNever, kNever));
    EXPECT_FALSE(form.LoadTimer->isActive());
    EXPECT_TRUE(form.ExitTimer->isActive());
    Activate(form);
    Activate(form);
    EXPECT_TRUE(form.LoadTimer->isActive());
    EXPECT_EQ(form.ArgumentString(), "a b ");
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
