// The about window: its texts, the build line hidden at each opening and
// toggled by Ctrl+Alt+B, the links handed to the desktop, and closing.
#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QObject>
#include <QTest>
#include <QUrl>
#include <vector>

#include <QAction>
#include <fstream>

#include "model/tests/initial_default_list.h"
#include "about.h"
#include "core/paths.h"
#include "gui_main.h"
#include "test_env.h"
#include "ui/scripted_prompt.h"
#include "z5r/i18n.h"
#include "z5r/product_contacts.h"

namespace {

// Receives the links the window hands to the desktop.
class CLinkCatcher : public QObject {
    Q_OBJECT
public:
    CLinkCatcher() {
        for (const char* scheme : {"mailto", "https"}) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
        }
    }
    ~CLinkCatcher() override {
        for (const char* scheme : {"mailto", "https"}) QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    std::vector<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened.push_back(url); }
};

z5r::SAboutTexts Texts() {
    return z5r::MakeAboutTexts({"P", "2.1.0.5", "2.1.0.77"}, {"help@x.example", "https://www.x.example/"});
}

void PressToggle(QWidget& window) { QTest::keyClick(&window, Qt::Key_B, Qt::ControlModifier | Qt::AltModifier); }

TEST(AboutWindow, ShowsTheProductAndVersionWithTheBuildLineHidden) {
    z5r::TAboutForm about(nullptr, Texts());
    about.show();
    EXPECT_EQ(about.windowTitle().toStdString(), "О программе");
    EXPECT_TRUE(about.windowFlags().testFlag(Qt::Tool));
    EXPECT_TRUE(about.isModal());
    EXPECT_EQ(about.findChild<QLabel*>("TitleLabel")->text().toStdString(), "Программный комплекс Z5R");
    EXPECT_EQ(about.LabelVersion->text().toStdString(), "Версия 2.1.0.5");
    EXPECT_EQ(about.BuildLabel->text().toStdString(), "Build 2.1.0.77");
    EXPECT_FALSE(about.BuildLabel->isVisible());
    EXPECT_EQ(about.LabelMail->text().toStdString(), "help@x.example");
    EXPECT_EQ(about.LabelMail->toolTip().toStdString(), "Отправить письмо в службу поддержки");
    EXPECT_EQ(about.LabelURL->text().toStdString(), "https://www.x.example/");
    EXPECT_TRUE(about.LabelMail->font().underline());
    EXPECT_EQ(about.LabelURL->cursor().shape(), Qt::PointingHandCursor);
}

TEST(AboutWindow, CtrlAltBTogglesTheBuildLineWhichIsHiddenAgainAtTheNextOpening) {
    z5r::TAboutForm about(nullptr, Texts());
    about.show();
    PressToggle(about);
    EXPECT_TRUE(about.BuildLabel->isVisible());
    PressToggle(about);
    EXPECT_FALSE(about.BuildLabel->isVisible());
    PressToggle(about);
    about.hide();
    about.show();
    EXPECT_FALSE(about.BuildLabel->isVisible());
    QTest::keyClick(&about, Qt::Key_B, Qt::ControlModifier);  // not the toggle
    EXPECT_FALSE(about.BuildLabel->isVisible());
}

TEST(AboutWindow, TheLinksWriteAMailWithTheProductAsSubjectAndOpenTheSite) {
    CLinkCatcher catcher;
    z5r::TAboutForm about(nullptr, Texts());
    about.show();
    QTest::mouseClick(about.LabelMail, Qt::LeftButton);
    QTest::mouseClick(about.LabelURL, Qt::LeftButton);
    ASSERT_EQ(catcher.opened.size(), 2u);
    EXPECT_EQ(catcher.opened[0].scheme().toStdString(), "mailto");
    EXPECT_EQ(catcher.opened[0].path().toStdString(), "help@x.example");
    EXPECT_EQ(catcher.opened[0].query(QUrl::FullyDecoded).toStdString(), "subject=P 2.1.0.5");
    EXPECT_EQ(catcher.opened[1], QUrl(QStringLiteral("https://www.x.example/")));
}

TEST(AboutWindow, OkAndEscapeClose) {
    for (const bool byEscape : {false, true}) {
        z5r::TAboutForm about(nullptr, Texts());
        about.show();
        if (byEscape) QTest::keyClick(&about, Qt::Key_Escape);
        else QTest::mouseClick(about.OKButton, Qt::LeftButton);
        EXPECT_FALSE(about.isVisible()) << (byEscape ? "Escape" : "OK");
    }
}

// The help menu of the main window. This test program carries the project's
// version block, as the client does.
TEST(AboutCommands, AboutShowsThisProgramsVersionAndTheSiteCommandOpensTheMakersSite) {
    z5r::SetupCatalogue(APP_LOCALE_DIR, "ru");
    z5rtest::UserFolders folders;
    z5rtest::TempDir appDir;
    z5r::SetApplicationDirOverride(appDir.Str());
    std::ofstream(appDir.Path() / "config.xml") << "<connection/>\n";
    z5rtest::WriteInitialDefaultList(appDir.Str());
    CLinkCatcher catcher;
    z5r::CScriptedPrompt prompt;
    std::vector<std::string> versionLines;
    z5r::STMainOptions options;
    options.prompt = &prompt;
    options.runModal = [&versionLines](QDialog& dialog) {
        if (auto* about = qobject_cast<z5r::TAboutForm*>(&dialog)) {
            versionLines.push_back(about->LabelVersion->text().toStdString());
        }
        return static_cast<int>(QDialog::Rejected);
    };
    {
        z5r::TMain main(std::move(options));
        main.AboutAction->trigger();
        main.AboutAction->trigger();
        main.AddressAction->trigger();
    }
    z5r::SetApplicationDirOverride("");
    EXPECT_EQ(versionLines, (std::vector<std::string>(2, std::string("Версия ") + PRODUCT_VERSION)));
    ASSERT_EQ(catcher.opened.size(), 1u);
    EXPECT_EQ(catcher.opened[0], QUrl(QString::fromLatin1(z5r::kMakerSite)));
}

}  // namespace

#include "about_window_test.moc"
