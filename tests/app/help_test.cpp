// Context help: every window has a page naming its captions, F1 and the
// Help button open it, and the help window works beside a modal editor.

#include "app_fixture.h"

#include "app/about_dialog.h"
#include "app/application.h"
#include "app/channel_import_dialog.h"
#include "app/commands.h"
#include "app/compare_dialog.h"
#include "app/help_window.h"
#include "app/info_dialog.h"
#include "app/language_dialog.h"
#include "app/main_window.h"
#include "app/model_dialog.h"
#include "app/password_dialog.h"
#include "app/port_dialog.h"
#include "app/print_dialog.h"
#include "app/progress_dialog.h"
#include "app/transfers.h"
#include "editors/alarm_editor.h"
#include "editors/channel_editor.h"
#include "editors/comm_book_editor.h"
#include "editors/key_editor.h"
#include "editors/option_editor.h"
#include "editors/scan_editor.h"
#include "exchange/channel_csv.h"
#include "port_catalogue.h"
#include "signalling/dtmf_editor.h"
#include "signalling/five_tone_editor.h"
#include "signalling/five_tone_special_dialog.h"
#include "signalling/two_tone_editor.h"
#include "text/help_page.h"
#include "ui/help_topic.h"

#include <QAction>
#include <QDirIterator>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <set>

using namespace qtx;
using namespace qtx::app;

namespace {

QString PlainCaptionOf(const QString& caption)
{
    return QString::fromStdString(PlainCaption(caption.toStdString()));
}

// The caption IDs a window's elements carry, without OK, Cancel and its title.
std::set<int> carriedCaptions(QWidget* window)
{
    std::set<int> ids;
    QList<QObject*> objects = window->findChildren<QObject*>();
    for (QObject* o : objects) {
        for (const char* name : {"qtxText", "qtxTip"})
            if (const int id = o->property(name).toInt(); id > 0)
                ids.insert(id);
        for (int id : o->property("qtxTabs").value<QList<int>>())
            if (id > 0)
                ids.insert(id);
    }
    ids.erase(101);
    ids.erase(102);
    ids.erase(window->property("qtxText").toInt());
    return ids;
}

std::set<int> namedCaptions(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    std::set<int> ids;
    for (const HelpPlaceholder& p : HelpPlaceholders(std::string_view(bytes.constData(), bytes.size())))
        if (p.section == "OTHER")
            ids.insert(std::stoi(p.key));
    return ids;
}

class HelpTest : public qtx::testing::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        const QString source = qEnvironmentVariable("QTX_SOURCE_DIR") + "/help";
        QDirIterator it(source, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString target = programDir + "/help/" + QDir(source).relativeFilePath(file);
            QDir().mkpath(QFileInfo(target).path());
            ASSERT_TRUE(QFile::copy(file, target));
        }
    }

    // Runs `inside` once the next modal window is open, then closes it.
    static void whileModal(const std::function<void(QWidget*)>& inside)
    {
        QTimer::singleShot(0, [inside] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal) {
                ADD_FAILURE() << "no modal window";
                return;
            }
            inside(modal);
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        });
    }

    static void pressF1(QWidget* window)
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->windowHandle(), Qt::Key_F1);
    }
};

} // namespace

TEST_F(HelpTest, EveryWindowHasAPageInBothLanguagesNamingEveryCaptionItCarries)
{
    AppState st;
    StartUp(st, inputs());
    qtx::testing::ScriptedPrompter& pr = prompter;
    FileComparison comparison;
    UserToneTable userTones{};
    ChannelCsvImport csv;
    const std::vector<std::function<QWidget*()>> windows = {
        [&] { return new MainWindow(st, pr); },
        [&] { return new editors::ChannelEditor(st.ws.live, st.switches, st, pr, 1); },
        [&] { return new editors::OptionEditor(st.ws.live, st); },
        [&] { return new editors::KeyEditor(st.ws.live, st); },
        [&] { return new editors::ScanEditor(st.ws.live, st); },
        [&] { return new editors::AlarmEditor(st.ws.live, st); },
        [&] { return new editors::CommBookEditor(st.ws, st, pr); },
        [&] { return new signalling::TwoToneEditor(st.ws.live, st); },
        [&] { return new signalling::DtmfEditor(st.ws.live.body.Settings.Dtmf, st, pr); },
        [&] { return new signalling::DtmfSpecialDialog(st); },
        [&] { return new signalling::FiveToneSpecialDialog(SpecialCallTarget::List, 0, "12345", st, pr); },
        [&] { return new signalling::FiveToneEditor(st.ws.live, st, pr); },
        [&] { return new signalling::UserToneEditor(userTones, st); },
        [&] { return new InfoDialog(st, EmbeddedInfo{}); },
        [&] { return new PortDialog(st, PortCatalogue{}); },
        [&] { return new PasswordDialog(st, ""); },
        [&] { return new ProgressDialog(st, true); },
        [&] { return new ModelDialog(st); },
        [&] { return new LanguageDialog(st); },
        [&] { return new AboutDialog(st, {}); },
        [&] { return new SystemInfoDialog(st, {}); },
        [&] { return new CompareDialog(st, comparison); },
        [&] { return new ChannelImportDialog(st, csv); },
        [&] { return new PrintDialog(st, pr); },
    };
    for (const auto& make : windows) {
        std::unique_ptr<QWidget> window(make());
        const QString name = window->objectName();
        const QString topic = ui::HelpTopicOf(window.get());
        ASSERT_FALSE(topic.isEmpty()) << name.toStdString();
        const std::set<int> carried = carriedCaptions(window.get());
        for (const char* language : {"en", "zh"}) {
            const QString page = programDir + "/help/" + language + "/" + topic + ".html";
            EXPECT_TRUE(QFileInfo::exists(page)) << page.toStdString();
            const std::set<int> named = namedCaptions(page);
            std::string missing;
            for (int id : carried)
                if (!named.count(id))
                    missing += " " + std::to_string(id);
            EXPECT_TRUE(missing.empty()) << name.toStdString() << " " << language << " lacks" << missing;
        }
    }
}

TEST_F(HelpTest, F1InAModalEditorShowsItsPageAndTheHelpWindowTakesKeysBesideIt)
{
    Application app(inputs());
    app.showMainWindow();
    MainWindow* w = app.mainWindow();
    bool checked = false;
    whileModal([&](QWidget* editor) {
        EXPECT_EQ(editor->objectName(), "FrmOption");
        pressF1(editor);
        HelpWindow* help = app.helpWindow();
        ASSERT_TRUE(help);
        EXPECT_EQ(help->page(), "option-editor.html");
        EXPECT_TRUE(help->isVisible());
        // Keys reach the help window through the window system, where a
        // window blocked by the editor would drop them: Esc closes it.
        help->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(help));
        QTest::keyClick(help->windowHandle(), Qt::Key_Escape);
        EXPECT_FALSE(help->isVisible());
        EXPECT_TRUE(editor->isVisible());
        // The keys go back to the editor.
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == editor; }, 1000));
        // Open again: it outlives the editor.
        pressF1(editor);
        EXPECT_TRUE(app.helpWindow()->isVisible());
        checked = true;
    });
    w->action("MnuViewSetMode")->trigger();
    ASSERT_TRUE(checked);
    ASSERT_TRUE(app.helpWindow());
    EXPECT_TRUE(app.helpWindow()->isVisible());
    EXPECT_EQ(app.helpWindow()->page(), "option-editor.html");

    // From the main window, F1 shows the main window's page; the menu item Contents.
    pressF1(w);
    EXPECT_EQ(app.helpWindow()->page(), "main-window.html");
    w->action("MnuHelpContent")->trigger();
    EXPECT_EQ(app.helpWindow()->page(), "index.html");
}

TEST_F(HelpTest, EmbeddedInformationHelpButtonOpensItsPage)
{
    Application app(inputs());
    app.showMainWindow();
    bool clicked = false;
    whileModal([&](QWidget* viewer) {
        auto* button = viewer->findChild<QPushButton*>("CommandHelp");
        ASSERT_TRUE(button);
        EXPECT_EQ(button->text(), "&Help");
        button->click();
        ASSERT_TRUE(app.helpWindow());
        EXPECT_EQ(app.helpWindow()->page(), "embedded-info.html");
        EXPECT_TRUE(viewer->isVisible());
        clicked = true;
    });
    emit app.transfers().infoReady(EmbeddedInfo{});
    EXPECT_TRUE(clicked);
}

TEST_F(HelpTest, UnknownTopicsOpenContentsAndALanguageChangeReloadsThePage)
{
    Application app(inputs());
    app.showMainWindow();
    for (const char* topic : {"no-such-window", "", "../en/index", "main-window.html"}) {
        app.showHelp(topic);
        EXPECT_EQ(app.helpWindow()->page(), "index.html") << topic;
    }
    app.showHelp("channel-editor");
    HelpWindow* help = app.helpWindow();
    EXPECT_EQ(help->page(), "channel-editor.html");
    const QString english = help->view()->toPlainText();
    // The page shows the language file's captions, never a placeholder.
    EXPECT_TRUE(english.contains(PlainCaptionOf(app.state().text(1101))));
    EXPECT_FALSE(english.contains("{{"));

    app.state().setLanguage(kLanguageChinese);
    emit app.mainWindow()->languageChanged();
    EXPECT_EQ(help->page(), "channel-editor.html");
    EXPECT_TRUE(help->view()->source().toLocalFile().contains("/help/zh/"));
    const QString chinese = help->view()->toPlainText();
    EXPECT_NE(chinese, english);
    EXPECT_TRUE(chinese.contains(PlainCaptionOf(app.state().text(1101))));
    EXPECT_EQ(help->findChild<QPushButton*>("cmdBack")->text(), app.state().text(7100));
    EXPECT_EQ(help->windowTitle(), "QTX 帮助");
    // Opened again later, it stays in the language chosen.
    app.showHelp("nothing");
    EXPECT_TRUE(help->view()->source().toLocalFile().endsWith("/help/zh/index.html"));
}
