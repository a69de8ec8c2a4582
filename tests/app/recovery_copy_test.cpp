// Recovery copies: a drawing killed at random moments, the fatal report, and
// the offer at the next start (restore, discard, a damaged copy, nothing
// after a clean exit).
#include "app/recovery_copy.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/program_resources.h"
#include "app/sketch_app.h"
#include "app/sketchbook.h"
#include "framework/error/error_report.h"
#include "host/dialogs.h"
#include "host/window_style.h"
#include "model/sketch_file.h"
#include "tests/app/app_test_support.h"
#include "tests/app/recovery_state.h"
#include "tests/framework/headless_fixture.h"
#include "tests/support/private_home.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;
using namespace host;
using testing::SketchState;
using testing::stateOf;

class RecoveryTest : public testing::HeadlessTest {
  protected:
    RecoveryTest() {
        host.setSpecialFolder(CSIDL_PERSONAL, (folder() / "documents").string());
        findSketchbookFolder();
        makePath(sketchbookFolder());
    }

    std::string recovery() const { return recoveryFolder(); }

    std::vector<std::string> namesIn(const std::string& path) const {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(path, ignored))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    std::vector<std::string> copiesIn(const std::string& path) const {
        std::vector<std::string> copies;
        for (const std::string& name : namesIn(path))
            if (name.ends_with(".wnk") && name[0] != '.') copies.push_back(path + "/" + name);
        return copies;
    }
};

struct LogLine {
    bool done = false;
    SketchState state;
};

std::vector<LogLine> readLog(const std::string& path) {
    std::vector<LogLine> lines;
    std::istringstream in(readFileText(path));
    std::string kind;
    LogLine line;
    while (in >> kind >> line.state.points >> line.state.checksum) {
        line.done = kind == "done";
        lines.push_back(line);
    }
    return lines;
}

// What a copy left by a killed child may hold: the page of its last
// completed write, or of a later stroke whose write was under way. Absent
// only while no write had completed.
bool copyIsAllowed(const std::vector<LogLine>& log, const std::optional<SketchState>& copy,
                   std::string& why) {
    int lastDone = -1;
    for (int i = 0; i < int(log.size()); ++i)
        if (log[i].done) lastDone = i;
    if (lastDone < 0) {
        if (!copy) return true;
        for (const LogLine& line : log)
            if (!line.done && line.state == *copy) return true;
        why = "a copy of no page the child drew";
        return false;
    }
    if (!copy) {
        why = "no copy after a completed write";
        return false;
    }
    const SketchState& done = log[lastDone].state;
    if (*copy == done) return true;
    // A newer stroke than the one last done: its state line comes after
    // the state line of the one last done.
    int doneState = -1;
    for (int i = 0; i < lastDone; ++i)
        if (!log[i].done && log[i].state == done) doneState = i;
    for (int i = doneState + 1; i < int(log.size()); ++i)
        if (!log[i].done && log[i].state == *copy) return true;
    why = "the copy holds " + copy->text() + ", the last completed write " + done.text();
    return false;
}

TEST_F(RecoveryTest, AKilledDrawingLeavesItsLastCompletedCopyOrNoneAndNeverTouchesThePages) {
    // A page of the Sketchbook that recovery must never change.
    std::string page = sketchbookFolder() + "/2020-01-01_00-00-00.wnk";
    fs::copy_file(testing::kExampleSketch, page);
    const std::vector<unsigned char> pageBytes = readFileBytes(page);
    std::string appdata = (folder() / "appdata").string();
    std::mt19937 random(16);
    // The kill falls after 0 to 3 completed writes (so on any machine, busy
    // or not, some children die before their first copy and most after),
    // then 0 to 15 ms on, anywhere in the next stroke or write.
    std::uniform_int_distribution<int> writesBefore(0, 3);
    std::uniform_int_distribution<int> extraMs(0, 15);
    int withCopy = 0, restored = 0;
    const int kRuns = 200;
    for (int run = 0; run < kRuns; ++run) {
        std::string log = (folder() / ("child" + std::to_string(run) + ".log")).string();
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            execl(RECOVERY_KILL_CHILD, RECOVERY_KILL_CHILD, appdata.c_str(), log.c_str(),
                  std::to_string(run).c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        const int writes = writesBefore(random);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        auto completed = [&] {
            int n = 0;
            for (const LogLine& line : readLog(log))
                n += line.done;
            return n;
        };
        while (completed() < writes && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(extraMs(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself: " << status;

        std::vector<std::string> copies = copiesIn(recovery());
        ASSERT_LE(copies.size(), 1u) << "run " << run;
        std::optional<SketchState> copy;
        if (!copies.empty()) {
            Sketch sketch;
            ReadResult read = loadSketchFile(copies[0], sketch);
            ASSERT_TRUE(read) << "run " << run << ": a damaged copy: " << read.error;
            copy = stateOf(sketch);
            ++withCopy;
        }
        std::string why;
        ASSERT_TRUE(copyIsAllowed(readLog(log), copy, why)) << "run " << run << ": " << why;

        // The next start offers it; every tenth is restored, the rest discarded.
        bool restore = run % 10 == 0;
        if (copy) host.scriptMessageBox(restore ? IDYES : IDNO);
        RecoveryOffer offer =
            offerRecoveryCopies(kNoWindow, recovery(), sketchbookFolder(), 1.6e9 + run);
        EXPECT_TRUE(offer.damaged.empty());
        if (copy && restore) {
            ASSERT_EQ(offer.restoredPages.size(), 1u);
            Sketch restoredSketch;
            ASSERT_TRUE(loadSketchFile(offer.restoredPages[0], restoredSketch));
            EXPECT_EQ(stateOf(restoredSketch), *copy);
            ++restored;
        }
        // Nothing is left of the child but the temporary files of a save
        // it was killed in.
        for (const std::string& name : namesIn(recovery()))
            EXPECT_TRUE(name.starts_with(".penwick-")) << "run " << run << ": " << name;
        EXPECT_EQ(readFileBytes(page), pageBytes) << "run " << run;
    }
    // The kills fell both before the first write and after many.
    EXPECT_GT(withCopy, kRuns / 4);
    EXPECT_LT(withCopy, kRuns);
    EXPECT_GT(restored, 0);
    std::cout << withCopy << " of " << kRuns << " killed children left a copy\n";
}

// Draws one stroke across the canvas of the running program.
void drawStroke(headless::HeadlessHost& host, CanvasView& view, int y) {
    host.mousePress(view.handle(), headless::MouseButton::left, {50, y});
    for (int x = 60; x < 300; x += 10)
        host.mouseMove(view.handle(), {x, y + x / 10}, {});
    host.mouseRelease(view.handle(), headless::MouseButton::left, {300, y});
}

TEST_F(RecoveryTest, AFatalReportWritesTheCopyAtOnce) {
    // Earlier tests of this program leave threads behind (the host's); the
    // report runs in a fresh process of its own.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // That process makes a fixture of its own: it is told this one's folder.
    if (const char* shared = std::getenv("PENWICK_FATAL_TEST_FOLDER")) {
        host.setSpecialFolder(CSIDL_APPDATA, std::string(shared) + "/appdata");
        forgetAppDataFolder();
    }
    const std::string shared = std::getenv("PENWICK_FATAL_TEST_FOLDER")
                                   ? std::getenv("PENWICK_FATAL_TEST_FOLDER")
                                   : folder().string();
    testing::ScopedEnvironment environment;
    environment.set("PENWICK_FATAL_TEST_FOLDER", shared.c_str());
    const std::string expectedFile = shared + "/expected";
    EXPECT_EXIT(
        {
            ktWnd frame;
            frame.create(nullptr, "frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, kNoWindow, 0, 0,
                         700, 500, 0);
            CanvasView view;
            view.create(nullptr, "", WS_CHILD | WS_VISIBLE, 0, frame.handle(), 0, 0, 600, 400, 0);
            // The interval and the still delay are far away: only the report writes.
            RecoveryCopy copy(recoveryFolder(), {.intervalMs = 1000000, .stillMs = 1000000});
            RecoveryCopy::setForFatalReport(&copy);
            drawStroke(host, view, 100);
            pump();
            copy.tick(view, host.millisecondsSinceStart());
            if (copy.completedWrites() != 0 || fileExists(copy.path())) _exit(10);
            ::writeFileText(expectedFile, stateOf(view.sketch).text());
            reportError("broken", kNoWindow, false);
            _exit(11);  // not reached: the report ends the process
        },
        ::testing::ExitedWithCode(255), "");
    std::vector<std::string> copies = copiesIn(recovery());
    ASSERT_EQ(copies.size(), 1u);
    Sketch sketch;
    ASSERT_TRUE(loadSketchFile(copies[0], sketch));
    EXPECT_GT(stateOf(sketch).points, 0);
    EXPECT_EQ(stateOf(sketch).text(), readFileText(expectedFile));
}

TEST_F(RecoveryTest,
       TheNextStartRestoresOrDiscardsEachCopyKeepsADamagedOneAndAfterACleanExitOffersNothing) {
    std::string existing = sketchbookFolder() + "/2020-01-01_00-00-00.wnk";
    fs::copy_file(testing::kExampleSketch, existing);
    const std::vector<unsigned char> existingBytes = readFileBytes(existing);
    makePath(recovery());
    // Two copies programs that are gone left, and one a disk damaged.
    Sketch flower;
    ASSERT_TRUE(loadSketchFile(testing::kExampleSketch, flower));
    Sketch smaller = flower;
    smaller.shapes.removeAt(0, smaller.shapes.count() / 2);
    ASSERT_TRUE(saveSketchFile(recovery() + "/1-1.wnk", flower));
    ASSERT_TRUE(saveSketchFile(recovery() + "/2-2.wnk", smaller));
    std::vector<unsigned char> damaged = readFileBytes(recovery() + "/1-1.wnk");
    damaged.resize(damaged.size() / 2);
    writeFileBytes(recovery() + "/3-3.wnk", damaged);
    const SketchState flowerState = stateOf(flower);

    {
        SketchApp app;
        app.recoveryTiming = {.intervalMs = 50, .stillMs = 10};
        host.scriptMessageBox(IDYES);  // 1-1: restore
        host.scriptMessageBox(IDNO);   // 2-2: discard
        host.scriptMessageBox(IDOK);   // 3-3: reported
        host.whenIdle([&] {
            // The restored page is open, saved under a new name beside the old page.
            std::string opened = app.mainFrame()->currentFile();
            EXPECT_TRUE(liesIn(opened, sketchbookFolder()));
            EXPECT_NE(opened, existing);
            Sketch restored;
            ASSERT_TRUE(loadSketchFile(opened, restored));
            EXPECT_EQ(stateOf(restored), flowerState);
            EXPECT_EQ(stateOf(app.mainFrame()->view()->sketch), flowerState);
            EXPECT_EQ(namesIn(recovery()), std::vector<std::string>{"3-3.wnk.damaged"});
            EXPECT_EQ(readFileBytes(recovery() + "/3-3.wnk.damaged"), damaged);

            // New drawing on it gets a copy once the pen rests.
            drawStroke(host, *app.mainFrame()->view(), 200);
        });
        // Waits (real time too: the worker writes) for the copy.
        std::function<void()> waitForCopy = [&] {
            static int tries = 0;
            host.advance(20);
            RecoveryCopy* copy = app.recoveryCopy();
            if (copy->completedWrites() == 0 && ++tries < 500) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
                host.whenIdle(waitForCopy);
                return;
            }
            // Exit (Auto Save keeps the page): the copy goes.
            app.mainFrame()->post(WM_COMMAND, kCommandExit, 0);
            EXPECT_EQ(copy->completedWrites(), 1) << copy->lastError();
            Sketch copied;
            EXPECT_TRUE(loadSketchFile(copy->path(), copied));
            EXPECT_EQ(stateOf(copied), stateOf(app.mainFrame()->view()->sketch));
            EXPECT_NE(stateOf(copied), flowerState);
        };
        host.whenIdle(waitForCopy);
        EXPECT_EQ(app.run(&programResources(), "", SW_SHOW), 0);
        ASSERT_EQ(host.messageBoxes().size(), 3u);
        EXPECT_NE(host.messageBoxes()[2].text.find("3-3.wnk.damaged"), std::string::npos);
    }
    EXPECT_EQ(namesIn(recovery()), std::vector<std::string>{"3-3.wnk.damaged"});
    EXPECT_EQ(readFileBytes(existing), existingBytes);

    // After the clean exit the next start asks nothing.
    SketchApp again;
    host.whenIdle([&] { again.mainFrame()->post(WM_COMMAND, kCommandExit, 0); });
    EXPECT_EQ(again.run(&programResources(), "", SW_SHOW), 0);
    EXPECT_EQ(host.messageBoxes().size(), 3u);
}

}  // namespace
}  // namespace penwick
