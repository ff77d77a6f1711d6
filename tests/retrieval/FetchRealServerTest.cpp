#include "app/LoopScheduler.h"
#include "app/MainController.h"
#include "support/FakeClock.h"
#include "support/RunEndView.h"
#include "support/retrieval/PyFtpServer.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace nimbrel {
namespace {

namespace fs = std::filesystem;
using testing::RunEndView;

const std::array<std::string, 5> Codes = {"EHAM", "KJFK", "LFPG", "RJTT", "YSSY"};

std::string StationFile(const std::string& code) {
    return "2026/12/08 05:30\r\n" + code + " 080530Z 24012KT 9999 FEW020 12/08 Q1013\r\n";
}

// The weather server's folder layout with five station files, removed afterwards.
class StationFolder {
public:
    StationFolder()
        : root_(fs::temp_directory_path() / ("nimbrel-ftp-" + std::to_string(getpid()))) {
        const fs::path stations = root_ / "data/observations/metar/stations";
        fs::create_directories(stations);
        for (const std::string& code : Codes) {
            std::ofstream(stations / (code + ".TXT"), std::ios::binary) << StationFile(code);
        }
    }
    ~StationFolder() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    StationFolder(const StationFolder&) = delete;
    StationFolder& operator=(const StationFolder&) = delete;

    std::string Path() const { return root_.string(); }

private:
    fs::path root_;
};

class FetchRealServer : public ::testing::TestWithParam<bool> {};

TEST_P(FetchRealServer, RetrievesFiveStationsOverOneConnection) {
    const StationFolder folder;
    const testing::PyFtpServer server(folder.Path());
    ASSERT_NE(server.Port(), 0) << "pyftpdlib did not start";

    testing::FakeClock clock;
    TLogList log(clock);
    LoopScheduler loop;
    RunEndView view([&loop] { loop.Quit(); });
    TSettings settings;
    for (int slot = 1; slot <= 5; ++slot) {
        settings.Slot(slot).LocationCode = Codes.at(static_cast<std::size_t>(slot - 1));
    }
    settings.FtpActiveMode = GetParam();
    TMainController controller(loop, view, log, settings, nullptr, {"127.0.0.1", server.Port()},
                               std::chrono::seconds(20));
    controller.StartGetWeatherReport();
    loop.Run();

    ASSERT_FALSE(controller.ConnectionFailed()) << ::testing::PrintToString(log.Lines());
    for (std::size_t i = 0; i < Codes.size(); ++i) {
        const std::string file = StationFile(Codes[i]);
        EXPECT_EQ(controller.METAR()[i], file.substr(0, file.size() - 2));
    }
    EXPECT_EQ(log.Count(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Modes, FetchRealServer, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Active" : "Passive"; });

} // namespace
} // namespace nimbrel
