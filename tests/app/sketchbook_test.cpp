// The program's pages as a person keeps them: started, drawn, paged, saved
// and quit on the headless host, with real files in a private documents
// folder and settings in a private data folder.
#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include "app/main_frame.h"
#include "app/page_order.h"
#include "app/program_resources.h"
#include "app/sketch_app.h"
#include "app/sketchbook.h"
#include "framework/controls/message_box.h"
#include "framework/platform/paths.h"
#include "framework/platform/time.h"
#include "host/dialogs.h"
#include "host/keys.h"
#include "host/messages.h"
#include "host/window_style.h"
#include "model/sketch_file.h"
#include "tests/app/app_test_support.h"
#include "tests/framework/headless_fixture.h"
#include "tests/support/gzip.h"
#include "tests/support/temp_folder.h"

namespace penwick {
namespace {

namespace fs = std::filesystem;
using namespace host;
using host::headless::Modifiers;
using host::headless::MouseButton;
using testing::HeadlessTest;

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// A page of `shapes` one-point shapes.
void writePage(const fs::path& path, int shapes) {
    Sketch sketch;
    for (int i = 0; i < shapes; ++i)
        sketch.shapes.append(Shape{});
    ASSERT_TRUE(saveSketchFile(path.string(), sketch));
}

// A box's text with its wrapping undone: every run of blanks and line ends
// one blank.
std::string oneLine(std::string_view text) {
    std::string line;
    for (char c : text) {
        bool blank = c == ' ' || c == '\n' || c == '\r';
        if (!blank)
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += ' ';
    }
    return line;
}

int shapesIn(const fs::path& path) {
    Sketch sketch;
    return loadSketchFile(path.string(), sketch) ? int(sketch.shapes.count()) : -1;
}

class SketchbookTest : public HeadlessTest {
  protected:
    fs::path documents() const { return folder() / "documents"; }
    fs::path book() const { return documents() / "Sketchbook"; }
    fs::path config() const { return folder() / "appdata" / "Corvana" / "Penwick" / "config.xml"; }

    // Runs the program; `steps` run one after another whenever it is idle,
    // then File > Exit closes it (through the save query).
    void runProgram(std::vector<std::function<void(MainFrame&)>> steps,
                    const std::string& commandLine = "") {
        SketchApp app;
        for (auto& step : steps)
            host.whenIdle([&app, step] { step(*app.mainFrame()); });
        host.whenIdle([&app] { app.mainFrame()->post(WM_COMMAND, kCommandExit, 0); });
        keepTheLoopFed();
        EXPECT_EQ(app.run(&programResources(), commandLine, SW_SHOW), 0);
    }

    // A stroke drawn with the mouse across the canvas.
    void drawStroke(MainFrame& frame, int y) {
        Window canvas = frame.view()->handle();
        host.mousePress(canvas, MouseButton::left, {40, y});
        for (int x = 60; x <= 200; x += 20)
            host.mouseMove(canvas, {x, y + x / 10});
        host.mouseRelease(canvas, MouseButton::left, {200, y + 20});
    }

    // With no step left the headless host ends the loop it waits in, which
    // may still be a box's: one step more lets the main loop see its end.
    void keepTheLoopFed() {
        host.whenIdle([] {});
    }

    // The modal box in front: its text and title are recorded, and the
    // button `answer` closes it.
    std::function<void(MainFrame&)> answerBox(int answer, std::string* text = nullptr) {
        return [this, answer, text](MainFrame& frame) {
            Window box = host.foregroundWindow();
            ASSERT_NE(box, frame.handle()) << "no box is open";
            if (text)
                if (auto* shown = dynamic_cast<ktMessageBox*>(ktWnd::fromHandle(box)))
                    *text = oneLine(shown->copyText().view());
            // Posted: the box's own loop takes it and ends before the next step.
            host.postMessage(box, WM_COMMAND, WParam(answer), 0);
        };
    }

    std::vector<std::string> pages() const { return pagesInOrder(book().string(), ".wnk"); }
};

TEST_F(SketchbookTest, FirstStartDrawsAPageThatTheNextStartOpensAgain) {
    ASSERT_FALSE(fs::exists(config()));
    runProgram({[&](MainFrame& frame) {
                    // Defaults: Auto Save and Sense Pressure on, Active Smooth off.
                    Menu bar = host.windowMenu(frame.handle());
                    host.openMenuBarPopup(frame.handle(), 0);
                    Menu file = host.menuItem(bar, 0)->subMenu;
                    EXPECT_TRUE(host.menuItem(file, 9)->flags & MF_CHECKED);  // Auto Save
                    host.openMenuBarPopup(frame.handle(), 4);
                    Menu options = host.menuItem(bar, 4)->subMenu;
                    EXPECT_TRUE(host.menuItem(options, 0)->flags & MF_CHECKED);
                    EXPECT_FALSE(host.menuItem(options, 1)->flags & MF_CHECKED);
                    EXPECT_EQ(host.windowText(frame.handle()), "Untitled");
                    EXPECT_TRUE(fs::is_directory(book()));
                    drawStroke(frame, 50);
                    drawStroke(frame, 150);
                },
                [&](MainFrame& frame) {
                    EXPECT_EQ(host.windowText(frame.handle()), "Untitled *");
                    frame.onCommand(kCommandActiveSmooth);
                }});
    // Quitting saved the page under the date and time, and remembered it.
    ASSERT_EQ(pages().size(), 1u);
    const fs::path page = book() / pages()[0];
    EXPECT_EQ(shapesIn(page), 2);
    EXPECT_TRUE(std::regex_match(page.filename().string(),
                                 std::regex(R"(\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d\.wnk)")))
        << page;
    ValueNode settings;
    ASSERT_TRUE(settings.loadXml(config().string()));
    EXPECT_EQ(settings.find("lastFile")->asString().view(), page.string());
    EXPECT_EQ(settings.find("smooth")->asInt(), 1);
    EXPECT_EQ(settings.find("autoSave")->asInt(), 1);

    runProgram({[&](MainFrame& frame) {
                    EXPECT_EQ(frame.currentFile(), page.string());
                    EXPECT_EQ(host.windowText(frame.handle()), page.filename().string());
                    EXPECT_EQ(frame.view()->sketch.shapes.count(), 2);
                    EXPECT_TRUE(frame.view()->options & kSmooth);
                    // A view change alone marks the page.
                    host.wheel(120, {100, 100});
                },
                [&](MainFrame& frame) {
                    EXPECT_EQ(host.windowText(frame.handle()), page.filename().string() + " *");
                }});
    EXPECT_EQ(pages().size(), 1u);  // saved into the same page
}

TEST_F(SketchbookTest, SettingsOtherProgramsWroteAndFilesOutsideTheSketchbook) {
    // A settings file written by hand: a declaration, a comment, a member
    // the program does not know; Auto Save off.
    fs::create_directories(config().parent_path());
    std::ofstream(config()) << "<?xml version=\"1.0\"?>\n<!-- mine -->\n<OBJECT>\n"
                               " <INT name=\"autoSave\" val=\"0\"/>\n"
                               " <STRING name=\"theme\">dark</STRING>\n</OBJECT>\n";
    const fs::path outside = folder() / "elsewhere" / "outside.wnk";
    fs::create_directories(outside.parent_path());
    writePage(outside, 3);
    runProgram(
        {[&](MainFrame& frame) {
            EXPECT_EQ(frame.currentFile(), outside.string());
            EXPECT_EQ(frame.view()->sketch.shapes.count(), 3);
            Menu bar = host.windowMenu(frame.handle());
            host.openMenuBarPopup(frame.handle(), 0);
            EXPECT_FALSE(host.menuItem(host.menuItem(bar, 0)->subMenu, 9)->flags & MF_CHECKED);
        }},
        "\"" + outside.string() + "\"");
    ValueNode settings;
    ASSERT_TRUE(settings.loadXml(config().string()));
    EXPECT_EQ(settings.find("lastFile")->asString().view(), "");  // not a Sketchbook page
    EXPECT_EQ(settings.find("theme")->asString().view(), "dark");
    EXPECT_EQ(settings.find("autoSave")->asInt(), 0);
    runProgram({[&](MainFrame& frame) { EXPECT_EQ(frame.currentFile(), ""); }});
}

TEST_F(SketchbookTest, PagingFollowsTheNaturalOrderWithoutWrappingAround) {
    fs::create_directories(book());
    for (const char* name :
         {"2020-01-01_00-00-10.wnk", "2020-01-01_00-00-9.wnk", "2020-01-01_00-00-11.wnk"})
        writePage(book() / name, 1);
    std::ofstream(book() / ".penwick-abcdef.tmp") << "an interrupted save";
    fs::create_directories(book() / "folder.wnk");
    auto at = [&](const char* name) {
        return [this, name](MainFrame& frame) {
            EXPECT_EQ(fs::path(frame.currentFile()).filename(), name);
        };
    };
    auto command = [](int id) { return [id](MainFrame& frame) { frame.onCommand(id); }; };
    EXPECT_EQ(pages(),
              (std::vector<std::string>{"2020-01-01_00-00-9.wnk", "2020-01-01_00-00-10.wnk",
                                        "2020-01-01_00-00-11.wnk"}));
    runProgram({
        // From a new page, next does nothing and previous opens the last.
        command(kCommandNextPage),
        at(""),
        command(kCommandPreviousPage),
        at("2020-01-01_00-00-11.wnk"),
        command(kCommandPreviousPage),
        at("2020-01-01_00-00-10.wnk"),
        command(kCommandPreviousPage),
        at("2020-01-01_00-00-9.wnk"),
        command(kCommandPreviousPage),
        at("2020-01-01_00-00-9.wnk"),  // no wrap-around
        command(kCommandLastPage),
        at("2020-01-01_00-00-11.wnk"),
        command(kCommandNextPage),
        at("2020-01-01_00-00-11.wnk"),
        command(kCommandFirstPage),
        at("2020-01-01_00-00-9.wnk"),
        // A changed new page is saved under the time, which comes last, then
        // left for the page before it.
        command(kCommandNew),
        [&](MainFrame& frame) { drawStroke(frame, 80); },
        command(kCommandPreviousPage),
        at("2020-01-01_00-00-11.wnk"),
    });
    EXPECT_EQ(pages().size(), 4u);
    EXPECT_EQ(shapesIn(book() / pages().back()), 1);
    EXPECT_TRUE(fs::exists(book() / ".penwick-abcdef.tmp"));  // young: another save's, perhaps
}

TEST_F(SketchbookTest, WithoutAutoSaveQuittingAsksAndEveryAnswerIsKept) {
    const fs::path page = folder() / "page.wnk";  // outside: not opened again
    writePage(page, 1);
    const std::string before = bytesOf(page);
    std::string asked;
    SketchApp app;
    host.whenIdle([&] {
        MainFrame& frame = *app.mainFrame();
        frame.onCommand(kCommandAutoSave);
        drawStroke(frame, 60);
        frame.post(WM_COMMAND, kCommandExit, 0);
    });
    // Cancel: the window stays.
    host.whenIdle([&] { answerBox(IDCANCEL, &asked)(*app.mainFrame()); });
    host.whenIdle([&] {
        EXPECT_TRUE(host.isWindow(app.mainFrame()->handle()));
        EXPECT_NE(asked.find("Save changes to page.wnk?"), std::string::npos) << asked;
        EXPECT_EQ(bytesOf(page), before);
        app.mainFrame()->post(WM_COMMAND, kCommandExit, 0);
    });
    // No: the window closes and the page is as it was.
    host.whenIdle([&] { answerBox(IDNO)(*app.mainFrame()); });
    keepTheLoopFed();
    EXPECT_EQ(app.run(&programResources(), "\"" + page.string() + "\"", SW_SHOW), 0);
    EXPECT_EQ(bytesOf(page), before);

    // Yes on a new page asks for a name.
    const fs::path named = folder() / "named.wnk";
    host.scriptFileDialog({{named.string()}});
    runProgram({[&](MainFrame& frame) { drawStroke(frame, 60); },
                [&](MainFrame& frame) { frame.post(WM_COMMAND, kCommandExit, 0); },
                [&](MainFrame& frame) { answerBox(IDYES, &asked)(frame); }});
    EXPECT_NE(asked.find("Save changes to ?"), std::string::npos) << asked;
    EXPECT_EQ(shapesIn(named), 1);
    ASSERT_EQ(host.fileDialogs().size(), 1u);
    EXPECT_FALSE(host.fileDialogs()[0].open);
    EXPECT_EQ(host.fileDialogs()[0].filters.size(), 3u);
    EXPECT_EQ(host.fileDialogs()[0].defaultExtension, "wnk");
}

TEST_F(SketchbookTest, SaveAsSvgExportsAndCopyAsNewLeavesTheOriginalPage) {
    fs::create_directories(book());
    const fs::path page = book() / "original.wnk";
    writePage(page, 2);
    const std::string before = bytesOf(page);
    const fs::path svg = folder() / "picture.SVG";
    host.scriptFileDialog({{svg.string()}});
    runProgram(
        {[&](MainFrame& frame) {
             drawStroke(frame, 60);
             frame.onCommand(kCommandSaveAs);
         },
         [&](MainFrame& frame) {
             // The export is written; the page is still the changed original.
             EXPECT_EQ(host.fileDialogs().back().initialName, "");  // a Sketchbook page
             EXPECT_NE(bytesOf(svg).find("<svg"), std::string::npos);
             EXPECT_EQ(host.windowText(frame.handle()), "original.wnk *");
             frame.post(WM_COMMAND, kCommandCopyAsNew, 0);
         },
         [&](MainFrame& frame) { EXPECT_EQ(host.windowText(frame.handle()), "Untitled *"); }},
        "\"" + page.string() + "\"");
    // Quitting saved the copy as a new page; the original is untouched.
    EXPECT_EQ(bytesOf(page), before);
    ASSERT_EQ(pages().size(), 2u);
    EXPECT_EQ(shapesIn(book() / pages()[0]), 3);  // dates sort before letters
}

TEST_F(SketchbookTest, EveryEditIsKeptWhenThePageIsLeft) {
    // Each edit on its own page of three shapes, then the next page: the
    // page's file must hold the edit.
    fs::create_directories(book());
    struct Edit {
        const char* name;
        std::function<void(MainFrame&)> act;
        int shapesAfter;
    };
    auto key = [this](int vk, Modifiers mods = {}) {
        return [this, vk, mods](MainFrame&) { host.keyDown(vk, mods); };
    };
    const Modifiers ctrl{false, true, false};
    const std::vector<Edit> edits = {
        {"delete-selection.wnk",
         [&](MainFrame& frame) {
             host.keyDown('A', ctrl);
             key(VK_DELETE)(frame);
         },
         0},
        {"back.wnk", key(VK_BACK), 2},
        // Strokes at the group level make a shape still being drawn.
        {"group-level.wnk",
         [&](MainFrame& frame) {
             key('3')(frame);
             drawStroke(frame, 60);
             drawStroke(frame, 90);
         },
         4},
        {"undo-after-save.wnk",
         [&](MainFrame& frame) {
             drawStroke(frame, 60);
             frame.post(WM_COMMAND, kCommandSave, 0);
             host.keyDown('Z', ctrl);
         },
         3},
    };
    for (const Edit& edit : edits)
        writePage(book() / edit.name, 3);
    writePage(book() / "z-last.wnk", 1);
    std::vector<std::function<void(MainFrame&)>> steps;
    for (const Edit& edit : edits) {
        steps.push_back(
            [this, &edit](MainFrame& frame) { frame.open((book() / edit.name).string()); });
        steps.push_back(edit.act);
        steps.push_back([](MainFrame& frame) { frame.post(WM_COMMAND, kCommandNextPage, 0); });
    }
    runProgram(steps);
    for (const Edit& edit : edits)
        EXPECT_EQ(shapesIn(book() / edit.name), edit.shapesAfter) << edit.name;
}

TEST_F(SketchbookTest, NewPagesSavedInOneSecondGetNamesOneSecondApart) {
    fs::create_directories(book());
    const double t = makeTime(2026, 12, 9, 10, 0, 5);
    std::string error;
    std::string first = claimNewPage(book().string(), t, error);
    std::string second = claimNewPage(book().string(), t, error);
    EXPECT_EQ(fs::path(first).filename(), "2026-12-09_10-00-05.wnk");
    EXPECT_EQ(fs::path(second).filename(), "2026-12-09_10-00-06.wnk");
    releaseClaimedPage(second);
    EXPECT_FALSE(fs::exists(second));
    // A claim that holds a page is never released.
    writePage(first, 1);
    releaseClaimedPage(first);
    EXPECT_TRUE(fs::exists(first));
    // Through the program: two new pages in a row.
    auto newPage = [](MainFrame& frame) { frame.post(WM_COMMAND, kCommandNew, 0); };
    runProgram({[&](MainFrame& frame) { drawStroke(frame, 50); }, newPage,
                [&](MainFrame& frame) { drawStroke(frame, 90); }, newPage,
                [&](MainFrame& frame) { EXPECT_EQ(frame.view()->sketch.shapes.count(), 0); }});
    EXPECT_EQ(pages().size(), 3u);
}

TEST_F(SketchbookTest, DeletingMovesToTheNextPageOrTheLastAndTheOnlyPageLeavesANewOne) {
    fs::create_directories(book());
    for (const char* name : {"a1.wnk", "a2.wnk", "a3.wnk"})
        writePage(book() / name, 1);
    auto deleteAnswering = [&](int answer) {
        return std::vector<std::function<void(MainFrame&)>>{
            [](MainFrame& frame) { frame.post(WM_COMMAND, kCommandDelete, 0); }, answerBox(answer)};
    };
    std::vector<std::function<void(MainFrame&)>> steps;
    auto add = [&](std::vector<std::function<void(MainFrame&)>> more) {
        steps.insert(steps.end(), more.begin(), more.end());
    };
    auto at = [](std::string name) {
        return std::vector<std::function<void(MainFrame&)>>{[name](MainFrame& frame) {
            EXPECT_EQ(fs::path(frame.currentFile()).filename().string(), name);
        }};
    };
    add(deleteAnswering(IDNO));
    add(at("a2.wnk"));
    add(deleteAnswering(IDYES));  // a2 goes, a3 follows
    add(at("a3.wnk"));
    add(deleteAnswering(IDYES));  // the last by order: the last left
    add(at("a1.wnk"));
    add(deleteAnswering(IDYES));  // the only page
    add(at(""));
    runProgram(steps, "\"" + (book() / "a2.wnk").string() + "\"");
    EXPECT_TRUE(pages().empty());
}

TEST_F(SketchbookTest, DamagedAndNewerPagesAreReportedAndNeverWrittenOver) {
    fs::create_directories(book());
    const fs::path good = book() / "good.wnk";
    writePage(good, 2);
    const fs::path truncated = book() / "truncated.wnk";
    std::string whole = bytesOf(good);
    std::ofstream(truncated, std::ios::binary) << whole.substr(0, whole.size() / 2);
    const std::string truncatedBytes = bytesOf(truncated);
    const fs::path dropped2 = folder() / "second.wnk";
    writePage(dropped2, 5);
    writePage(folder() / "third.wnk", 6);

    std::string report;
    runProgram({[&](MainFrame& frame) {
                    drawStroke(frame, 40);  // good.wnk, changed
                    // Of three files dropped at once only the first opens.
                    // (Had the others opened, the last would be the page now.)
                    host.dropFiles(frame.handle(), {truncated.string(), dropped2.string(),
                                                    (folder() / "third.wnk").string()});
                },
                answerBox(IDOK, &report),
                [&](MainFrame& frame) {
                    // Leaving the page saved it; the damaged file did not open
                    // and the page stays, with its name and its state.
                    EXPECT_NE(report.find(truncated.string()), std::string::npos) << report;
                    EXPECT_EQ(frame.currentFile(), good.string());
                    EXPECT_FALSE(frame.view()->modified);
                    EXPECT_EQ(frame.view()->sketch.shapes.count(), 3);
                    drawStroke(frame, 120);
                }},
               "\"" + good.string() + "\"");
    EXPECT_EQ(bytesOf(truncated), truncatedBytes);
    EXPECT_EQ(shapesIn(good), 4);

    // The last page damaged at start-up: reported, a new page starts, and
    // quitting writes that new page, not the damaged file.
    ValueNode settings;
    ASSERT_TRUE(settings.loadXml(config().string()));
    settings.member("lastFile").setString(truncated.string());
    ASSERT_TRUE(settings.saveXml(config().string()));
    runProgram({answerBox(IDOK, &report), [&](MainFrame& frame) {
                    EXPECT_NE(report.find("truncated.wnk"), std::string::npos) << report;
                    EXPECT_EQ(host.windowText(frame.handle()), "Untitled");
                    drawStroke(frame, 40);
                }});
    EXPECT_EQ(bytesOf(truncated), truncatedBytes);
    EXPECT_EQ(pages().size(), 3u);
}

// A page of a newer program: the version the files begin with is 108.
void writeNewerPage(const fs::path& path) {
    writePage(path, 1);
    std::string payload = testing::gunzip(path.string());
    const int32_t version = 108;
    std::memcpy(payload.data(), &version, 4);
    ASSERT_TRUE(testing::writeGzipFile(path.string(), payload));
}

TEST_F(SketchbookTest, PagingStepsOverANewerPageAndCarriesNoStepsAcross) {
    fs::create_directories(book());
    writePage(book() / "a.wnk", 1);
    writeNewerPage(book() / "b.wnk");
    const std::string newer = bytesOf(book() / "b.wnk");
    writePage(book() / "c.wnk", 2);
    const std::string third = bytesOf(book() / "c.wnk");
    // What a killed save left: an empty claim, old and new. Neither is a page.
    std::ofstream(book() / "0-old-claim.wnk");
    fs::last_write_time(book() / "0-old-claim.wnk",
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    std::ofstream(book() / "0-new-claim.wnk");
    std::string report;
    const Modifiers ctrl{false, true, false};
    runProgram({[&](MainFrame& frame) {
                    EXPECT_FALSE(fs::exists(book() / "0-old-claim.wnk"));
                    EXPECT_EQ(pages(), (std::vector<std::string>{"a.wnk", "b.wnk", "c.wnk"}));
                    drawStroke(frame, 50);
                },
                // An undone stroke on a.wnk, then the next page.
                [&](MainFrame&) { host.keyDown('Z', ctrl); },
                [](MainFrame& frame) { frame.post(WM_COMMAND, kCommandNextPage, 0); },
                answerBox(IDOK, &report),
                [&](MainFrame& frame) {
                    EXPECT_NE(report.find("unsupported version 108"), std::string::npos) << report;
                    EXPECT_EQ(fs::path(frame.currentFile()).filename(), "c.wnk");
                    // The redo step of a.wnk does not come to c.wnk.
                    EXPECT_EQ(host.focusWindow(), frame.view()->handle());  // back from the box
                    host.keyDown('Y', ctrl);
                },
                [](MainFrame& frame) { frame.post(WM_COMMAND, kCommandNew, 0); }},
               "\"" + (book() / "a.wnk").string() + "\"");
    EXPECT_EQ(bytesOf(book() / "b.wnk"), newer);
    EXPECT_EQ(bytesOf(book() / "c.wnk"), third);
    EXPECT_EQ(host.beeps().back(), MB_ICONHAND);  // nothing to redo
}

TEST_F(SketchbookTest, PreviousFromANewPageOpensTheOnlyPageAndNextStaysPut) {
    fs::create_directories(book());
    writePage(book() / "only.wnk", 1);
    runProgram(
        {[](MainFrame& frame) { frame.onCommand(kCommandNextPage); },
         [](MainFrame& frame) { EXPECT_EQ(frame.currentFile(), ""); },
         [](MainFrame& frame) { frame.onCommand(kCommandPreviousPage); },
         [&](MainFrame& frame) { EXPECT_EQ(frame.currentFile(), (book() / "only.wnk").string()); },
         [](MainFrame& frame) { frame.onCommand(kCommandNextPage); },
         [&](MainFrame& frame) {
             EXPECT_EQ(frame.currentFile(), (book() / "only.wnk").string());
         }});
}

TEST_F(SketchbookTest, AReadOnlyPageIsNeverReplaced) {
    fs::create_directories(book());
    const fs::path page = book() / "kept.wnk";
    writePage(page, 1);
    fs::permissions(page, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string before = bytesOf(page);
    std::string report;
    runProgram(
        {[&](MainFrame& frame) { drawStroke(frame, 50); },
         [](MainFrame& frame) { frame.post(WM_COMMAND, kCommandNew, 0); }, answerBox(IDOK, &report),
         [&](MainFrame& frame) {
             EXPECT_NE(report.find("the file is read-only"), std::string::npos) << report;
             EXPECT_EQ(frame.currentFile(), page.string());
             EXPECT_TRUE(frame.view()->modified);
             frame.onCommand(kCommandCopyAsNew);  // kept as a new page instead
         }},
        "\"" + page.string() + "\"");
    EXPECT_EQ(bytesOf(page), before);
    EXPECT_EQ(pages().size(), 2u);
}

TEST_F(SketchbookTest, AFailedSaveIsReportedAndThePageStaysOpenWithItsChanges) {
    // The page's folder is gone when the page is left.
    const fs::path gone = folder() / "gone";
    fs::create_directories(gone);
    writePage(gone / "page.wnk", 1);
    std::string report;
    SketchApp app;
    host.whenIdle([&] {
        drawStroke(*app.mainFrame(), 50);
        fs::remove_all(gone);
        app.mainFrame()->post(WM_COMMAND, kCommandExit, 0);
    });
    host.whenIdle([&] { answerBox(IDOK, &report)(*app.mainFrame()); });
    host.whenIdle([&] {
        MainFrame& frame = *app.mainFrame();
        EXPECT_NE(report.find((gone / "page.wnk").string()), std::string::npos) << report;
        EXPECT_TRUE(host.isWindow(frame.handle()));  // not closed
        EXPECT_TRUE(frame.view()->modified);
        EXPECT_EQ(frame.view()->sketch.shapes.count(), 2);
        // Saved elsewhere, it can be left.
        host.scriptFileDialog({{(folder() / "rescued.wnk").string()}});
        frame.onCommand(kCommandSaveAs);
        frame.post(WM_COMMAND, kCommandExit, 0);
    });
    keepTheLoopFed();
    EXPECT_EQ(app.run(&programResources(), "\"" + (gone / "page.wnk").string() + "\"", SW_SHOW), 0);
    EXPECT_EQ(shapesIn(folder() / "rescued.wnk"), 2);
}

TEST_F(SketchbookTest, ASketchbookThatCannotBeMadeIsReportedOnceAndDrawingGoesOn) {
    // The documents folder is a file: no folder can be made in it.
    std::ofstream(documents()) << "not a folder";
    std::string report;
    std::vector<std::function<void(MainFrame&)>> steps = {
        answerBox(IDOK, &report),
        [&](MainFrame& frame) {
            EXPECT_NE(report.find(book().string()), std::string::npos) << report;
            drawStroke(frame, 40);
            frame.post(WM_COMMAND, kCommandExit, 0);
        },
        // Quitting cannot save the new page: said so, and the window stays.
        answerBox(IDOK, &report),
        [&](MainFrame& frame) {
            EXPECT_NE(report.find("takes no new page"), std::string::npos) << report;
            EXPECT_TRUE(frame.view()->modified);
            frame.onCommand(kCommandAutoSave);  // off: quitting asks
            frame.post(WM_COMMAND, kCommandExit, 0);
        },
        answerBox(IDNO)};
    SketchApp app;
    for (auto& step : steps)
        host.whenIdle([&app, step] { step(*app.mainFrame()); });
    keepTheLoopFed();
    EXPECT_EQ(app.run(&programResources(), "", SW_SHOW), 0);
    EXPECT_EQ(bytesOf(documents()), "not a folder");
}

}  // namespace
}  // namespace penwick
