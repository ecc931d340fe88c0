// The user's settings file and the zoom menu around it: written whole, never read half written,
// odd files left alone without blocking, a missing folder made, a failed save said in the menu,
// and only the zooms whose window fits the screen offered.
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "EditorTestSupport.h"
#include "editor/ZoomMenu.h"
#include "editor/ZoomSetting.h"
#include "gui/Port.h"

namespace {

namespace fs = std::filesystem;

class SettingsFile : public EditorFixture {
protected:
    void SetUp() override {
        EditorFixture::SetUp();
        char pattern[] = "/tmp/brindle-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        saved = std::getenv("XDG_CONFIG_HOME");
        useConfig(root + "/config");
    }
    void TearDown() override {
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
        std::error_code ignored;
        fs::remove_all(root, ignored);
        headless::setWorkArea(0, 0);
        EditorFixture::TearDown();
    }
    void useConfig(const std::string& folder) { setenv("XDG_CONFIG_HOME", folder.c_str(), 1); }
    std::string file() const { return std::string(std::getenv("XDG_CONFIG_HOME")) + "/brindleLoop/settings.txt"; }

    std::string root;
    std::string saved;
};

TEST_F(SettingsFile, WrittenWholeIntoAFolderMadeWhenMissing) {
    // A configuration folder that does not exist yet, several levels deep.
    useConfig(root + "/not/there/yet");
    EXPECT_TRUE(zoomSetting::write(150));
    EXPECT_EQ(zoomSetting::read(), 150);
    // Nothing but the file is left in the folder: the temporary file was renamed over it.
    int32_t entries = 0;
    for (const auto& entry : fs::directory_iterator(root + "/not/there/yet/brindleLoop")) {
        EXPECT_EQ(entry.path().filename(), "settings.txt");
        ++entries;
    }
    EXPECT_EQ(entries, 1);
    EXPECT_TRUE(zoomSetting::write(0));
    EXPECT_FALSE(fs::exists(file()));
    EXPECT_EQ(zoomSetting::read(), 0);
}

TEST_F(SettingsFile, WritersRacingAReaderNeverLeaveItHalfWritten) {
    // Two writers (as two processes would) and a reader: every read finds one of the values.
    ASSERT_TRUE(zoomSetting::write(125));
    std::atomic<bool> stop{false};
    std::atomic<int32_t> torn{0};
    std::thread reader([&] {
        while (!stop) {
            const int32_t seen = zoomSetting::read();
            if (seen != 200 && seen != 300 && seen != 125) ++torn;
        }
    });
    std::thread first([] {
        for (int i = 0; i < 300; ++i) zoomSetting::write(200);
    });
    for (int i = 0; i < 300; ++i) zoomSetting::write(300);
    first.join();
    stop = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
    const int32_t last = zoomSetting::read();
    EXPECT_TRUE(last == 200 || last == 300) << last;
}

TEST_F(SettingsFile, AnythingButARegularFileIsLeftAloneWithoutBlocking) {
    const struct {
        const char* what;
        bool fifo;
    } cases[] = {{"a FIFO", true}, {"a folder", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        useConfig(root + "/" + (c.fifo ? "fifo" : "folder"));
        fs::create_directories(root + "/" + (c.fifo ? "fifo" : "folder") + "/brindleLoop");
        if (c.fifo) {
            ASSERT_EQ(mkfifo(file().c_str(), 0600), 0);
        } else {
            fs::create_directories(file());
        }
        // Read on a thread of its own: a read that blocks on the FIFO is unblocked by a writer
        // below, after the test has failed.
        auto reading = std::async(std::launch::async, [] { return zoomSetting::read(); });
        const bool returned = reading.wait_for(std::chrono::seconds(3)) == std::future_status::ready;
        if (!returned && c.fifo) {
            std::ofstream unblock(file());
        }
        EXPECT_TRUE(returned);
        EXPECT_EQ(reading.get(), 0);
        // Not replaced either: the save fails and says so.
        EXPECT_FALSE(zoomSetting::write(200));
        struct stat status {};
        ASSERT_EQ(lstat(file().c_str(), &status), 0);
        EXPECT_EQ(c.fifo ? S_ISFIFO(status.st_mode) : S_ISDIR(status.st_mode), true);
    }
}

TEST_F(SettingsFile, TheMenuOffersWhatFitsAndSaysWhenASaveFailed) {
    const struct {
        Point workArea;
        std::vector<int32_t> offered;
    } screens[] = {
        {{0, 0}, {ZoomMenu::kAutomatic, 100, 125, 150, 200, 300}},
        {{1366, 728}, {ZoomMenu::kAutomatic, 100, 125, 150, 200}},  // 1366 x 768 less a panel
        {{800, 560}, {ZoomMenu::kAutomatic, 100, 125, 150}},
        {{400, 200}, {ZoomMenu::kAutomatic, 100}},
    };
    const Point name{430, 280};
    for (const auto& screen : screens) {
        headless::setWorkArea(screen.workArea.h, screen.workArea.v);
        open();
        idle();
        press(PressScript().at(name, buttonRight).release());
        ZoomMenu* menu = editor()->getZoomMenu();
        ASSERT_TRUE(menu->isOpen());
        std::vector<int32_t> offered;
        for (int32_t i = 0; i < menu->entryCount(); ++i) offered.push_back(menu->entry(i));
        EXPECT_EQ(offered, screen.offered) << screen.workArea.h;
        press(PressScript().at({5, 5}).release());
        dispatch(effEditClose);
    }
    // A pick that cannot be saved (a folder where the file goes) is used and said.
    headless::setWorkArea(0, 0);
    fs::create_directories(file());
    open();
    idle();
    press(PressScript().at(name, buttonRight).release());
    const Rect row = editor()->getZoomMenu()->rowOf(125);
    press(PressScript().at({row.left + 20, row.top + 5}).release());
    EXPECT_TRUE(editor()->zoomSaveFailed());
    idle();
    EXPECT_EQ(headless::windowSize(frame()->getWindow()), (Point{656, 375}));
    // "Automatic" goes back to the host's and the screen's factor.
    fs::remove(file());
    press(PressScript().at(Point{430 * 5 / 4, 280 * 5 / 4}, buttonRight).release());
    ZoomMenu* menu = editor()->getZoomMenu();
    ASSERT_TRUE(menu->isOpen());
    EXPECT_EQ(menu->row(menu->entryCount()).height(), 18);  // the notice's row
    const Rect automatic = menu->rowOf(ZoomMenu::kAutomatic);
    press(PressScript().at({(automatic.left + 20) * 5 / 4, (automatic.top + 5) * 5 / 4}).release());
    EXPECT_FALSE(editor()->zoomSaveFailed());
    EXPECT_EQ(editor()->getUserZoom(), 0);
    idle();
    EXPECT_EQ(headless::windowSize(frame()->getWindow()), (Point{525, 300}));
}

}  // namespace
