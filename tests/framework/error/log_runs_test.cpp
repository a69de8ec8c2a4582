// Run numbers need fresh processes: each run here is a child that starts
// without having logged, as a new start of the program does.
#include <sys/wait.h>
#include <unistd.h>

#include <regex>

#include "error_fixture.h"
#include "framework/error/error_report.h"

namespace penwick {
namespace {

using testing::ErrorFixture;
using LogRunsTest = ErrorFixture;

int runChild(void (*body)()) {
    pid_t child = ::fork();
    if (child == 0) {
        body();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> runNumbers(const std::string& text) {
    std::vector<std::string> numbers;
    std::regex header(R"(\[#(\d+): )");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), header);
         it != std::sregex_iterator(); ++it)
        numbers.push_back((*it)[1]);
    return numbers;
}

TEST_F(LogRunsTest, EveryEntryOfARunCarriesTheLogSizeAtItsFirstWrite) {
    ASSERT_EQ(runChild([] {
                  logText("one");
                  logText("two");
              }),
              0);
    std::size_t sizeAfterFirstRun = log().size();
    ASSERT_EQ(runChild([] {
                  logText("three");
                  logText("four");
              }),
              0);
    std::vector<std::string> expected = {"0", "0", std::to_string(sizeAfterFirstRun),
                                         std::to_string(sizeAfterFirstRun)};
    EXPECT_EQ(runNumbers(log()), expected);
}

}  // namespace
}  // namespace penwick
