#include "framework/error/error_report.h"

#include <cerrno>
#include <cstring>
#include <regex>

#include "error_fixture.h"
#include "host/dialogs.h"
#include "host/window_style.h"

namespace penwick {
namespace {

using testing::ErrorFixture;
using ErrorReportTest = ErrorFixture;

const std::string kIntro =
    "Unfortunately, a program error has occurred. This will be\n"
    "logged, and along with the following details may be of use\n"
    "in the future resolution of this error.\n\n";

TEST_F(ErrorReportTest, LogEntryHasRunNumberLocalTimeAndElapsedMilliseconds) {
    host_.advance(1234);
    logText("first line\nsecond line");
    std::string text = log();
    std::regex entry(R"(\[#\d+: \w{3} \w{3} [ \d]\d \d\d:\d\d:\d\d \d{4} \(T\+1234ms\)\]\n)"
                     "first line\nsecond line\n");
    EXPECT_TRUE(std::regex_match(text, entry)) << text;
}

TEST_F(ErrorReportTest, LongEntriesAreCutAndNoDataFolderMeansNoLog) {
    logText(std::string(5000, 'x'));
    std::string text = log();
    EXPECT_EQ(text.size(), 4095u);
    EXPECT_EQ(text.back(), 'x');  // cut inside the text, before its line feed

    std::filesystem::remove_all(root_);
    host_.setSpecialFolder(host::CSIDL_APPDATA, "");
    forgetAppDataFolder();
    logText("nowhere");
    reportError("still shown", host::kNoWindow, true);
    EXPECT_EQ(host_.messageBoxes().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(root_));
}

TEST_F(ErrorReportTest, ContinuableReportAsksYesNoAndLogsTheAnswer) {
    host::CreateRequest request;
    request.style = host::WS_POPUP;
    request.proc = [](host::Window w, std::uint32_t m, host::WParam wp, host::LParam lp) {
        return host::instance().defaultProc(w, m, wp, lp);
    };
    host::Window owner = host_.createWindow(request);
    host_.scriptMessageBox(host::IDYES);
    reportError("ktVS::Replace() not implemented", owner, true);

    ASSERT_EQ(host_.messageBoxes().size(), 1u);
    const host::headless::MessageBoxCall& box = host_.messageBoxes()[0];
    EXPECT_EQ(box.owner, owner);
    EXPECT_EQ(box.title, "penwick - Error");
    EXPECT_EQ(box.type, host::MB_YESNO | host::MB_ICONHAND);
    EXPECT_EQ(box.text.substr(0, kIntro.size()), kIntro);
    EXPECT_NE(box.text.find("\n\nktVS::Replace() not implemented\n\nYou may attempt to continue"),
              std::string::npos);
    EXPECT_EQ(box.text.substr(box.text.size() - 20), "Attempt to continue?");
    std::string text = log();
    EXPECT_NE(text.find("]\nERROR:\nktVS::Replace() not implemented\n["), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 20), "User continued: Yes\n");
    EXPECT_EQ(errorDialogNesting(), 0);
}

TEST_F(ErrorReportTest, MissingTextAndDeadOwnerAreReplaced) {
    reportError(nullptr, host::Window{0x9999}, true);
    ASSERT_EQ(host_.messageBoxes().size(), 1u);
    EXPECT_EQ(host_.messageBoxes()[0].owner, host::kNoWindow);
    EXPECT_NE(host_.messageBoxes()[0].text.find("\n\nAn unknown error has occurred.\n\n"),
              std::string::npos);
    EXPECT_NE(log().find("ERROR:\nAn unknown error has occurred.\n"), std::string::npos);
}

TEST_F(ErrorReportTest, ReportsWhileTheDialogIsOpenAreOnlyCounted) {
    host_.setMessageBoxHandler([&](const host::headless::MessageBoxCall&) {
        // Messages handled while the box is open fail twice more.
        reportError("again", host::kNoWindow, true);
        reportError("and again", host::kNoWindow, false);
        EXPECT_EQ(errorDialogNesting(), 3);
        return host::IDYES;
    });
    reportError("first", host::kNoWindow, true);
    EXPECT_EQ(host_.messageBoxes().size(), 1u);
    std::string text = log();
    EXPECT_EQ(text.find("again"), std::string::npos);
    const std::string tail =
        "User continued: Yes\n(2 additional exceptions occurred while dialog was open)\n";
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(errorDialogNesting(), 0);
}

TEST_F(ErrorReportTest, FatalReportShowsOkLogsAndExitsWithMinusOne) {
    EXPECT_EXIT(reportError("cannot go on", host::kNoWindow, false), ::testing::ExitedWithCode(255),
                "");
    std::string text = log();
    EXPECT_NE(text.find("ERROR:\ncannot go on\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 20), "User continued: Yes\n");
    // The child's box must be an error box with OK alone, else it ends
    // with another code.
    host_.setMessageBoxHandler([](const host::headless::MessageBoxCall& call) {
        if (call.type != (host::MB_OK | host::MB_ICONHAND)) ::_exit(3);
        return host::IDOK;
    });
    EXPECT_EXIT(reportError("shown", host::kNoWindow, false), ::testing::ExitedWithCode(255), "");
}

TEST_F(ErrorReportTest, AnsweringNoEndsTheProcess) {
    host_.scriptMessageBox(host::IDNO);
    EXPECT_EXIT(reportError("stop", host::kNoWindow, true), ::testing::ExitedWithCode(255), "");
    std::string text = log();
    EXPECT_EQ(text.substr(text.size() - 19), "User continued: No\n");
}

TEST_F(ErrorReportTest, MessageTraceNamesTheMessageAndItsParameters) {
    EXPECT_EQ(messageTrace("Bad thing", 0x0111, 40012, 0).view(),
              "\tBad thing\n\tCLASS: ktWnd\n\tMESSAGE: 273 (0x0111)\n\tWPARAM: 40012 (0x9C4C)\n"
              "\tLPARAM: 0 (0x0000)");
    EXPECT_EQ(messageTrace(nullptr, 0x000F, 0, 0).view(),
              "\tCLASS: ktWnd\n\tMESSAGE: 15 (0x000F)\n\tWPARAM: 0 (0x0000)\n\tLPARAM: 0 (0x0000)");
}

TEST_F(ErrorReportTest, LastSystemErrorIsShownButNotLogged) {
    EXPECT_EQ(win32ErrorText(ENOENT).view(), std::strerror(ENOENT));
    errno = EACCES;
    showLastWin32Error(host::kNoWindow);
    ASSERT_EQ(host_.messageBoxes().size(), 1u);
    EXPECT_EQ(host_.messageBoxes()[0].title, "Win32 Error");
    EXPECT_EQ(host_.messageBoxes()[0].text, std::strerror(EACCES));
    EXPECT_EQ(host_.messageBoxes()[0].type, host::MB_OK | host::MB_ICONHAND);
    EXPECT_FALSE(std::filesystem::exists(logPath()));
}

}  // namespace
}  // namespace penwick
